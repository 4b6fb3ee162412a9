#pragma once

#include <cmath>
#include <cstdint>

namespace railscen {

// Nearest integer, ties to the even one (the default floating-point rounding mode).
inline std::int64_t round_even(double value) {
    return static_cast<std::int64_t>(std::nearbyint(value));
}

// Every writer turns a position in metres into a cell index here, so that all agree.
// Positions are divided by 50 in double precision before rounding; the +1 offset puts the
// objects from 50·(i − 1) up to 50·i metres into cell i.
namespace cell_index {

inline std::int64_t after(double p) {
    return round_even(p / 50.0 + 1.0);
}

inline std::int64_t signal(std::int64_t p) {
    return after(static_cast<double>(p));
}
inline std::int64_t speed_board(std::int64_t p) {
    return after(static_cast<double>(p));
}
inline std::int64_t sign_board(std::int64_t p) {
    return after(static_cast<double>(p));
}
// Approach mark b (1 nearest, 4 farthest) of a signal in cell signal_cell: every other cell.
inline std::int64_t signal_approach(std::int64_t signal_cell, int b) {
    return signal_cell - 2 * b;
}
inline std::int64_t slowdown_start(std::int64_t x) {
    return after(static_cast<double>(x));
}
inline std::int64_t slowdown_end(std::int64_t x, std::int64_t l) {
    return after(static_cast<double>(x + l));
}
inline std::int64_t slowdown_warning(std::int64_t x) {
    return after(static_cast<double>(x - 1200));
}
// The first of the four marker cells; the others lie below it.
inline std::int64_t slowdown_marker_base(std::int64_t x) {
    return round_even(static_cast<double>(x - 1200) / 50.0);
}
inline std::int64_t code_row(std::int64_t p) {
    return round_even(static_cast<double>(p) / 50.0);
}
inline std::int64_t station_stop(std::int64_t finish) {
    return round_even(static_cast<double>(finish) / 50.0 - 1.0);
}
// Approach mark b (1 nearest to the stop, 4 farthest) of a station zone ending at finish.
inline std::int64_t station_approach(std::int64_t finish, int b) {
    return round_even(static_cast<double>(finish) / 50.0 - b - 1.0);
}
inline std::int64_t mountain_first(std::int64_t a) {
    return round_even(static_cast<double>(a) / 50.0);
}
inline std::int64_t mountain_last(std::int64_t b) {
    return round_even(static_cast<double>(b) / 50.0 - 1.0);
}
// A step profile row at p fills the cells before this index.
inline std::int64_t profile_break(std::int64_t p) {
    return round_even(static_cast<double>(p) / 50.0);
}

// The metre an object found in cell i stands for, when its record is not at hand: the start
// of the 50 m its position fell in. Objects placed by after() sit one cell past it; drop
// points (code_row()) in its own cell.
inline std::int64_t after_metre(std::int64_t i) {
    return 50 * (i - 1);
}
inline std::int64_t code_row_metre(std::int64_t i) {
    return 50 * i;
}

// The whole metres p that a rule round_even(p / 50 + offset) puts into cell i: those with
// p / 50 + offset within half a cell of i, the halves themselves only for an even i (ties go
// to the even index).
struct PositionRange {
    std::int64_t first = 0;
    std::int64_t last = 0;
};
inline PositionRange positions_in(std::int64_t i, int offset) {
    const std::int64_t centre = 50 * (i - offset);
    const std::int64_t trim = (i & 1) != 0 ? 1 : 0;
    return {centre - 25 + trim, centre + 25 - trim};
}

}  // namespace cell_index
}  // namespace railscen
