#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "analysis/speed_limits.h"
#include "model/run.h"

namespace railscen::analysis {

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
std::vector<TimedLeg> timed_legs(const Run& run, LimitRule rule = {});

}  // namespace railscen::analysis
