#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/run.h"

namespace railscen::analysis {

// Where a speed limit comes from: the line's speed boards, the train's own speed-limit rows,
// a slowdown. A stretch may be held to the same speed by several at once.
enum LimitSource : unsigned {
    kLineLimit = 1,
    kTrainLimit = 2,
    kSlowdownLimit = 4,
};

// "line speed board", "train limit", "slowdown"; several joined with " and ".
std::string limit_source_words(unsigned sources);

// A stretch of line, from `from` up to (not including) `to` metres, over which the lowest
// limit in force is kmh; kmh 0 where no limit is known there.
struct SpeedStretch {
    std::int64_t from = 0;
    std::int64_t to = 0;
    int kmh = 0;
    unsigned sources = 0;  // LimitSource bits of the limits at kmh
};

// The speed limits in force along the whole grid, in order and without gaps, from what the
// compile placed:
// - a speed board holds from its position to the next board; of its three speeds (one per
//   rank of train) the highest counts, and of its two sides the higher, a side keeping its
//   earlier board where this one has no speeds, so the limit is never below what any train
//   on either track may run;
// - the train's limit is the cells' speed-limit layer, 50 m to a cell;
// - a slowdown holds its speed over its length from its start.
std::vector<SpeedStretch> speed_limits(const Run& run);

// The shortest time to run from one position to a later one at the speed limits, with no
// acceleration, braking or stops: a bound no real run can beat. Stretches without a known
// limit take no time. `limiting` is the stretch of one speed inside the run that costs the
// most time over running it at the run's highest limit: the one to look at first.
struct RunBound {
    double seconds = 0;
    std::optional<SpeedStretch> limiting;
};
RunBound fastest_run(const std::vector<SpeedStretch>& limits, std::int64_t from, std::int64_t to);

// A bound in whole seconds: up to the next second, past the rounding noise of the sum.
std::int64_t whole_seconds(double seconds);

// One leg of the timetable: from the clock's start (the train standing at the first station)
// or from a timed station, to the next timed station.
struct TimedLeg {
    bool from_clock = false;
    std::string from_name;  // Windows-1252, as stored; empty from the clock's start
    std::string to_name;
    std::int64_t from_time = 0;  // seconds after midnight: the clock's start or a departure
    std::int64_t to_time = 0;
    std::int64_t from_metres = 0;
    std::int64_t to_metres = 0;
    std::int64_t scheduled = 0;     // seconds, across midnight when the times go down
    std::optional<RunBound> bound;  // none when the station does not lie beyond the start
    std::size_t to_record = 0;      // index of the station's record in run.records

    // Scheduled time minus the bound in whole seconds; negative: unreachable in time.
    std::optional<std::int64_t> margin() const {
        if (!bound) return std::nullopt;
        return scheduled - whole_seconds(bound->seconds);
    }
};

// The legs between the timed stations (slot time not 0) in the order the stations were read,
// led by one from the clock's start when a clock is given, the first timed station is timed at
// or after it and lies beyond the first station.
std::vector<TimedLeg> timed_legs(const Run& run);

// "60 km/h over 12,350-13,100 m".
std::string stretch_text(const SpeedStretch& s);

}  // namespace railscen::analysis
