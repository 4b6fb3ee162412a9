#include "output/binary_decode.h"

#include <bit>
#include <cstdint>
#include <string>

namespace railscen {
namespace {

// Little-endian loads that name the file and the offset when the image runs out.
class ByteReader {
  public:
    ByteReader(std::span<const std::uint8_t> bytes, const char* file)
        : bytes_(bytes), file_(file) {}

    std::uint8_t byte() { return static_cast<std::uint8_t>(unsigned_le(1)); }
    std::int16_t integer() { return static_cast<std::int16_t>(unsigned_le(2)); }
    std::int32_t long_() { return static_cast<std::int32_t>(unsigned_le(4)); }
    double double_() { return std::bit_cast<double>(unsigned_le(8)); }
    std::string chars(std::size_t count) {
        need(count);
        std::string s(bytes_.begin() + static_cast<std::ptrdiff_t>(pos_),
                      bytes_.begin() + static_cast<std::ptrdiff_t>(pos_ + count));
        pos_ += count;
        return s;
    }

    std::size_t offset() const { return pos_; }
    std::size_t left() const { return bytes_.size() - pos_; }
    bool at_end() const { return pos_ == bytes_.size(); }

    [[noreturn]] void fail(const std::string& what) const {
        throw DecodeError(std::string(file_) + ": " + what);
    }

  private:
    void need(std::size_t count) const {
        if (count > left()) {
            fail("ends at byte " + std::to_string(bytes_.size()) + " inside a value of " +
                 std::to_string(count) + " bytes starting at byte " + std::to_string(pos_));
        }
    }
    std::uint64_t unsigned_le(int size) {
        need(static_cast<std::size_t>(size));
        std::uint64_t v = 0;
        for (int i = 0; i < size; ++i) v |= std::uint64_t{bytes_[pos_ + i]} << (8 * i);
        pos_ += static_cast<std::size_t>(size);
        return v;
    }

    std::span<const std::uint8_t> bytes_;
    const char* file_;
    std::size_t pos_ = 0;
};

std::span<const std::uint8_t> as_bytes(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

}  // namespace

Slots decode_scenario_file(std::span<const std::uint8_t> bytes) {
    ByteReader r(bytes, "scenario file");
    Slots slots;
    for (int index = 0; index < kSlotCount; ++index) {
        if (r.left() < kSlotFixedSize) {
            r.fail("holds " + std::to_string(bytes.size()) + " bytes and ends inside slot " +
                   std::to_string(index) + " of 87 (at least " +
                   std::to_string(r.offset() + kSlotFixedSize) + " bytes needed)");
        }
        ScenarioSlot& s = slots[static_cast<std::size_t>(index)];
        s.category = r.byte();
        s.start = r.long_();
        s.finish = r.long_();
        s.position = r.long_();
        s.flag = r.byte();
        const std::int16_t length = r.integer();
        if (length < 0) {
            r.fail("slot " + std::to_string(index) + " has a negative text length (" +
                   std::to_string(length) + ")");
        }
        s.text = r.chars(static_cast<std::size_t>(length));
        s.word1 = r.integer();
        s.word2 = r.integer();
        s.word3 = r.integer();
        s.word4 = r.integer();
        s.word5 = r.integer();
        s.byte1 = r.byte();
        s.byte2 = r.byte();
        s.byte3 = r.byte();
        s.byte4 = r.byte();
        s.time = r.long_();
    }
    if (!r.at_end()) {
        r.fail("holds " + std::to_string(bytes.size()) + " bytes, " + std::to_string(r.left()) +
               " more than its 87 slots take");
    }
    return slots;
}

std::vector<TrackCell> decode_cell_file(std::span<const std::uint8_t> bytes) {
    ByteReader r(bytes, "cell file");
    if (bytes.empty()) r.fail("is empty");
    if (bytes.size() > kMaxCellFileBytes) {
        r.fail("holds " + std::to_string(bytes.size()) + " bytes, more than the " +
               std::to_string(kMaxCellFileBytes) + " of the longest line");
    }
    if (bytes.size() % kCellRecordSize != 0) {
        r.fail("holds " + std::to_string(bytes.size()) + " bytes, not a whole number of " +
               std::to_string(kCellRecordSize) + "-byte cells");
    }
    std::vector<TrackCell> cells(bytes.size() / kCellRecordSize);
    for (TrackCell& c : cells) {
        c.kind = r.byte();
        c.param1 = r.integer();
        c.param2 = r.integer();
        c.param3 = r.integer();
        c.param4 = r.integer();
        c.signal_time = r.byte();
        c.approach = r.byte();
        c.mountain = r.byte();
        c.speed_limit = r.byte();
        c.gradient = r.byte();
        c.adhesion = r.byte();
    }
    return cells;
}

Plan decode_plan_file(std::span<const std::uint8_t> bytes) {
    ByteReader r(bytes, "plan file");
    if (bytes.empty()) r.fail("is empty");
    if (bytes.size() > kMaxPlanFileBytes) {
        r.fail("holds " + std::to_string(bytes.size()) + " bytes, more than the " +
               std::to_string(kMaxPlanFileBytes) + " of the longest line");
    }
    std::vector<std::uint32_t> offsets;  // where each value starts
    offsets.reserve(bytes.size() / 4);
    while (!r.at_end()) {
        const std::size_t at = r.offset();
        offsets.push_back(static_cast<std::uint32_t>(at));
        switch (const std::int16_t code = r.integer()) {
            case static_cast<std::int16_t>(TypeCode::kEmpty):
                break;
            case static_cast<std::int16_t>(TypeCode::kInteger):
                r.integer();
                break;
            case static_cast<std::int16_t>(TypeCode::kDouble):
                r.double_();
                break;
            default:
                r.fail("unknown type code " + std::to_string(code) + " at byte " +
                       std::to_string(at));
        }
    }
    // Two columns of equal length, x first.
    if (offsets.size() % 2 != 0) {
        r.fail("holds " + std::to_string(offsets.size()) +
               " values, which do not split into two equal columns");
    }
    return Plan::from_image(bytes, std::move(offsets));
}

Slots decode_scenario_file(std::string_view bytes) {
    return decode_scenario_file(as_bytes(bytes));
}
std::vector<TrackCell> decode_cell_file(std::string_view bytes) {
    return decode_cell_file(as_bytes(bytes));
}
Plan decode_plan_file(std::string_view bytes) {
    return decode_plan_file(as_bytes(bytes));
}

SignalAspects decode_signal(const TrackCell& cell) {
    SignalAspects a{};
    const int params[3] = {cell.param1, cell.param2, cell.param3};
    for (int i = 0; i < 3; ++i) {
        a.left[i] = params[i] / 10;
        a.right[i] = params[i] % 10;
    }
    a.rapp = cell.param4 / 10;
    a.left_head = cell.param4 % 10 / 3;
    a.right_head = cell.param4 % 10 % 3;
    return a;
}

BoardSpeeds decode_speed_board(const TrackCell& cell) {
    BoardSpeeds b{};
    const int params[3] = {cell.param1, cell.param2, cell.param3};
    for (int i = 0; i < 3; ++i) {
        b.left[i] = 5 * (params[i] / 100);
        b.right[i] = 5 * (params[i] % 100);
    }
    b.left_stripes = cell.param4 / 10;
    b.right_stripes = cell.param4 % 10;
    return b;
}

ApproachMark decode_approach(std::uint8_t approach) {
    return {approach / 10, approach % 10};
}

}  // namespace railscen
