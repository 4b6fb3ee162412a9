#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "model/plan.h"
#include "model/scenario_slot.h"
#include "model/track_cell.h"

namespace railscen {

// A file whose size or shape is not that of the file it was read as; what() says where.
class DecodeError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The largest files a compile writes (for the longest line, 1000000 m, and texts of 32767
// bytes): a larger file is refused before it is read. A scenario file is 87 slots of 34 bytes
// and their texts; a cell file 15 bytes per cell, one cell per 50 m up to 7000 m past the end;
// a plan file two columns of a tagged value (at most 10 bytes) per metre up to the same reach.
inline constexpr std::size_t kMaxScenarioFileBytes = 87 * (34 + 32767);
inline constexpr std::size_t kMaxCellFileBytes = (1007000 / 50 + 1) * 15;
inline constexpr std::size_t kMaxPlanFileBytes = 2 * (1007000 + 1) * 10;

// The inverses of the encoders in binary_files.h: each takes a whole file image and gives
// back exactly what was encoded, or throws DecodeError.
Slots decode_scenario_file(std::span<const std::uint8_t> bytes);
std::vector<TrackCell> decode_cell_file(std::span<const std::uint8_t> bytes);
Plan decode_plan_file(std::span<const std::uint8_t> bytes);

// The same for images held as text bytes (as read_file returns them).
Slots decode_scenario_file(std::string_view bytes);
std::vector<TrackCell> decode_cell_file(std::string_view bytes);
Plan decode_plan_file(std::string_view bytes);

// The values packed into a signal cell: aspects as s·10 + d per parameter, heads in param4 as
// rapp·10 + sx·3 + dx.
struct SignalAspects {
    int left[3];   // s1, s2, s3
    int right[3];  // d1, d2, d3
    int rapp;
    int left_head;   // sx
    int right_head;  // dx
};
SignalAspects decode_signal(const TrackCell& cell);

// The speeds packed into a speed board: each parameter holds left / 5 · 100 + right / 5, the
// stripes left in the tens of param4 and right in its units.
struct BoardSpeeds {
    int left[3];
    int right[3];
    int left_stripes;
    int right_stripes;
};
BoardSpeeds decode_speed_board(const TrackCell& cell);

// An approach layer value: the signal heads code (or 8 for a station) in the tens, the mark
// number (1 nearest the object, 4 farthest) in the units.
struct ApproachMark {
    int code;
    int mark;
};
ApproachMark decode_approach(std::uint8_t approach);

}  // namespace railscen
