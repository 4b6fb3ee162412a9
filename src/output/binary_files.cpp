#include "output/binary_files.h"

#include <bit>
#include <cstring>

#include "model/file_io.h"
#include "model/file_names.h"

namespace railscen {
namespace {

// Explicit little-endian stores, so the layout does not depend on the host or on padding.
class ByteWriter {
  public:
    explicit ByteWriter(Bytes& out) : out_(out) {}

    void byte(std::uint8_t v) { out_.push_back(v); }
    void integer(std::int16_t v) { unsigned_le(static_cast<std::uint16_t>(v), 2); }
    void long_(std::int32_t v) { unsigned_le(static_cast<std::uint32_t>(v), 4); }
    void double_(double v) { unsigned_le(std::bit_cast<std::uint64_t>(v), 8); }
    void chars(const std::string& s) { out_.insert(out_.end(), s.begin(), s.end()); }

  private:
    void unsigned_le(std::uint64_t v, int size) {
        for (int i = 0; i < size; ++i) out_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    Bytes& out_;
};

void put_tagged(ByteWriter& w, const TaggedValue& v) {
    w.integer(static_cast<std::int16_t>(type_code(v)));
    if (const auto* i = std::get_if<std::int16_t>(&v)) w.integer(*i);
    if (const auto* d = std::get_if<double>(&v)) w.double_(*d);
}

}  // namespace

Bytes encode_scenario_file(const Slots& slots) {
    Bytes out;
    ByteWriter w(out);
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
    Bytes out;
    out.reserve(cells.size() * 15);
    ByteWriter w(out);
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
    Bytes out;
    out.reserve(plan.x.size() * 20);
    ByteWriter w(out);
    for (const TaggedValue& v : plan.x) put_tagged(w, v);
    for (const TaggedValue& v : plan.y) put_tagged(w, v);
    return out;
}

std::vector<std::string> write_binary_files(const Run& run, const std::filesystem::path& folder) {
    const FileNames names = file_names(run.line_name, run.train_name);
    std::vector<std::string> written;
    if (run.with_plan != 0) {
        write_file(folder / names.plan_file, encode_plan_file(run.plan));
        written.push_back(names.plan_file);
    }
    write_file(folder / names.scenario_file, encode_scenario_file(run.slots));
    written.push_back(names.scenario_file);
    write_file(folder / names.cell_file, encode_cell_file(*run.cells));
    written.push_back(names.cell_file);
    return written;
}

}  // namespace railscen
