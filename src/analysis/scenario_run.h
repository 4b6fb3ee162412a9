#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "analysis/run_times.h"
#include "analysis/speed_limits.h"
#include "dynamics/running_time.h"
#include "model/run.h"

namespace railscen::analysis {

struct Scene;

// The scenario as a train's run sees it: where the train stops, and the route it runs.

struct RunStation {
    std::string name;  // Windows-1252
    std::int64_t position = 0;
    std::int64_t time = 0;  // seconds after midnight; 0 when untimed
    int dwell = 0;          // seconds
};

// The stations the train stops at, in the order read: the first, every later one with a dwell
// and a stop cell, and the last; each beyond the one before.
// A scene drawn from the description texts gives the same; one from compiled files has no
// records, so no stations.
std::vector<RunStation> run_stations(const Run& run);
std::vector<RunStation> run_stations(const Scene& scene);

// The route from the first stop to the last: the speed limits in force by the rule, the
// gradient layer of the cells and the curves by their class's radius.
dynamics::RouteProfile route_profile(const Run& run, const std::vector<RunStation>& stations,
                                     LimitRule rule = {});
dynamics::RouteProfile route_profile(const Scene& scene, const std::vector<RunStation>& stations,
                                     LimitRule rule = {});

// One leg of the run, from a stand at one stop to the stand at the next.
struct RunLeg {
    const RunStation* from;
    const RunStation* to;
    double running_time;  // s, from the stand at `from` to the stand at `to`
    std::optional<std::int64_t> scheduled;

    std::int64_t running_seconds() const { return analysis::whole_seconds(running_time); }
    std::optional<std::int64_t> margin() const {
        if (!scheduled) return std::nullopt;
        return *scheduled - running_seconds();
    }
};

std::vector<RunLeg> run_legs(const std::vector<RunStation>& stations,
                             const dynamics::FastestRun& run);

}  // namespace railscen::analysis
