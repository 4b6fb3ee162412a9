#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace railscen {

// Object kinds a cell can hold. Codes 7, 8 and 9 are not used.
enum CellKind : std::uint8_t {
    kFree = 0,
    kSignal = 1,
    kSlowdownEnd = 2,
    kSlowdownStart = 3,
    kSlowdownWarning = 4,
    kSlowdownMarker = 5,
    kSpeedBoard = 6,
    kStationStop = 10,
    kSpacer = 11,
    kCodeDrop = 12,
    kCodeDropNoValue = 13,
    kSignBoard = 14,
};

// "signal", "speed board", ...; "unused kind" for the codes no writer uses.
std::string_view cell_kind_name(std::uint8_t kind);

// One 50 m stretch of line: one trackside object and five independent layers.
// Bytes of one cell in the cell file.
inline constexpr std::size_t kCellRecordSize = 15;

struct TrackCell {
    std::uint8_t kind = 0;
    std::int16_t param1 = 0;
    std::int16_t param2 = 0;
    std::int16_t param3 = 0;
    std::int16_t param4 = 0;
    std::uint8_t signal_time = 0;
    std::uint8_t approach = 0;
    std::uint8_t mountain = 0;
    std::uint8_t speed_limit = 0;
    std::uint8_t gradient = 0;
    std::uint8_t adhesion = 0;

    friend bool operator==(const TrackCell&, const TrackCell&) = default;
};

// A spacer may be overwritten by any object; no other object may.
inline bool is_free(const TrackCell& cell) {
    return cell.kind == kFree || cell.kind == kSpacer;
}

// The grid: cells 0 to upper_bound(), reaching 7000 m beyond the end of the route.
class Cells {
  public:
    static Cells for_route(std::int32_t route_length);

    std::int32_t upper_bound() const { return static_cast<std::int32_t>(cells_.size()) - 1; }
    std::size_t size() const { return cells_.size(); }
    bool contains(std::int64_t index) const { return index >= 0 && index <= upper_bound(); }

    TrackCell& operator[](std::int64_t index) { return cells_[static_cast<std::size_t>(index)]; }
    const TrackCell& operator[](std::int64_t index) const {
        return cells_[static_cast<std::size_t>(index)];
    }

    // True only for a cell inside the grid that is free; cells outside count as taken.
    bool free_at(std::int64_t index) const { return contains(index) && is_free((*this)[index]); }

    const std::vector<TrackCell>& all() const { return cells_; }

  private:
    explicit Cells(std::size_t count) : cells_(count) {}
    std::vector<TrackCell> cells_;
};

}  // namespace railscen
