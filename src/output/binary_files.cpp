#include "output/binary_files.h"

#include <cstring>

#include "model/file_io.h"
#include "model/file_names.h"
#include "model/utf8_path.h"

namespace railscen {
namespace {

// Explicit little-endian stores into a buffer sized beforehand, so the layout depends
// neither on the host nor on padding.
class ByteWriter {
  public:
    explicit ByteWriter(std::uint8_t* at) : at_(at) {}

    void byte(std::uint8_t v) { *at_++ = v; }
    void integer(std::int16_t v) { unsigned_le(static_cast<std::uint16_t>(v), 2); }
    void long_(std::int32_t v) { unsigned_le(static_cast<std::uint32_t>(v), 4); }
    void chars(const std::string& s) {
        if (!s.empty()) std::memcpy(at_, s.data(), s.size());
        at_ += s.size();
    }

  private:
    void unsigned_le(std::uint32_t v, int size) {
        for (int i = 0; i < size; ++i) *at_++ = static_cast<std::uint8_t>(v >> (8 * i));
    }
    std::uint8_t* at_;
};

}  // namespace

Bytes encode_scenario_file(const Slots& slots) {
    std::size_t size = 0;
    for (const ScenarioSlot& s : slots) size += kSlotFixedSize + s.text.size();
    Bytes out(size);
    ByteWriter w(out.data());
    for (const ScenarioSlot& s : slots) {
        w.byte(s.category);
        w.long_(s.start);
        w.long_(s.finish);
        w.long_(s.position);
        w.byte(s.flag);
        w.integer(static_cast<std::int16_t>(s.text.size()));
        w.chars(s.text);
        w.integer(s.word1);
        w.integer(s.word2);
        w.integer(s.word3);
        w.integer(s.word4);
        w.integer(s.word5);
        w.byte(s.byte1);
        w.byte(s.byte2);
        w.byte(s.byte3);
        w.byte(s.byte4);
        w.long_(s.time);
    }
    return out;
}

Bytes encode_cell_file(const Cells& cells) {
    Bytes out(cells.size() * kCellRecordSize);
    ByteWriter w(out.data());
    for (const TrackCell& c : cells.all()) {
        w.byte(c.kind);
        w.integer(c.param1);
        w.integer(c.param2);
        w.integer(c.param3);
        w.integer(c.param4);
        w.byte(c.signal_time);
        w.byte(c.approach);
        w.byte(c.mountain);
        w.byte(c.speed_limit);
        w.byte(c.gradient);
        w.byte(c.adhesion);
    }
    return out;
}

Bytes encode_plan_file(const Plan& plan) {
    const std::span<const std::uint8_t> image = plan.image();
    return Bytes(image.begin(), image.end());
}

std::vector<std::string> write_binary_files(const Run& run, const std::filesystem::path& folder) {
    const FileNames names = file_names(run.line_name, run.train_name);
    std::vector<std::string> written;
    if (run.with_plan != 0) {
        // Computed a piece at a time straight into the file: the plan's points are never held
        // whole.
        write_file_in_pieces(folder / names.plan_file, run.plan.file_size(),
                             [&](const PutBytes& put) { run.plan.produce(put); });
        written.push_back(utf8_name(names.plan_file));
    }
    write_file(folder / names.scenario_file, encode_scenario_file(run.slots));
    written.push_back(utf8_name(names.scenario_file));
    write_file(folder / names.cell_file, encode_cell_file(*run.cells));
    written.push_back(utf8_name(names.cell_file));
    return written;
}

}  // namespace railscen
