#pragma once

// A real train's fastest run over the scenario (traction, resistance, braking and stops), as
// facts the front ends present: its time over each timed leg and its speed along the route.
// The train comes from a rolling-stock file. A build without the train's dynamics has no run
// and says so when asked for one.

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "analysis/run_times.h"
#include "analysis/speed_limits.h"
#include "model/run.h"

namespace railscen::analysis {

struct Scene;

// Which train: a rolling-stock file and a train's id in it (empty: the file's first train).
struct TrainChoice {
    std::string rolling_stock;
    std::string train_id;
};

// The run's speed at a place along the route.
struct RunSpeedPoint {
    double metres = 0;
    double kmh = 0;
};

// Where the run comes to a stand, and when: seconds from its start at the first station.
struct RunStand {
    std::string name;  // Windows-1252, as stored
    double metres = 0;
    double arrival = 0;
};

struct TrainRun {
    std::string train;  // "ID (NAME)"
    // The speed from the first stop to the last, close enough to draw: the run's corners and,
    // where the speed changes, points at most 25 m apart.
    std::vector<RunSpeedPoint> speeds;
    std::vector<RunStand> stands;  // every stop after the first, and the last
    // Beside each leg of timed_legs(run, rule): the seconds from the train leaving the leg's
    // first station (its stand at the start for the clock's leg) to leaving its last, the stop
    // there included, or its arrival at the last station; none where either end lies outside
    // the run. Empty for a scene.
    std::vector<std::optional<double>> leg_seconds;
};

// The rolling-stock file cannot be read or has no such train, the train cannot run the route,
// the scenario has no two stations to run between, or the build has no train dynamics.
struct TrainRunError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Whether this build has the train's dynamics.
bool has_train_dynamics();

TrainRun train_run(const Run& run, const TrainChoice& choice, LimitRule rule = {});
// A scene from description texts; one from compiled files has no stations to run between.
TrainRun train_run(const Scene& scene, const TrainChoice& choice, LimitRule rule = {});

// The running-time supplement --suggest adds by default, percent of the running time.
inline constexpr double kDefaultRecoveryMargin = 5;

// A time proposed for each timed leg's last station: the time it follows (its proposal, or the
// author's time where the leg before was not proposed) plus the run's seconds grown by the
// margin, up to the whole second; the author's scheduled seconds where the run has none. A
// time that falls on 0:00:00, which the format reads as no time, goes one second later.
struct SuggestedTime {
    std::int64_t time = 0;     // seconds after midnight, by clock_rule's time_after
    std::int64_t seconds = 0;  // the leg's proposed length
    bool from_run = false;
};
std::vector<SuggestedTime> suggested_times(const std::vector<TimedLeg>& legs,
                                           const std::vector<std::optional<double>>& leg_seconds,
                                           double margin_percent);

}  // namespace railscen::analysis
