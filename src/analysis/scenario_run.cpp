// The scenario turned into a train's route: its stops, its limits, gradients and curves.

#include "analysis/scenario_run.h"

#include <algorithm>
#include <cmath>

#include "analysis/clock_rule.h"
#include "analysis/grid_view.h"
#include "analysis/scene.h"
#include "analysis/stops.h"
#include "source_text/keywords.h"

namespace railscen::analysis {
namespace {

// The stations the train stops at, by the one stop rule; the last one's dwell does not count.
std::vector<RunStation> stations_of(const std::vector<SourceRecord>& records, const Slots& slots) {
    const std::vector<std::size_t> stops = run_stop_slots(records, slots);
    std::vector<RunStation> stations;
    for (const std::size_t slot : stops) {
        const ScenarioSlot& s = slots[slot];
        stations.push_back({s.text, s.position, s.time, slot == stops.back() ? 0 : s.byte2});
    }
    return stations;
}

// The route from the first stop to the last: the speed limits in force, the gradient layer of
// the cells (50 m each, stored plus 100) and the curves by their class's radius.
dynamics::RouteProfile profile_of(const GridView& grid, const std::vector<RunStation>& stations,
                                  LimitRule rule) {
    dynamics::RouteProfile route;
    route.start = static_cast<double>(stations.front().position);
    route.end = static_cast<double>(stations.back().position);
    for (const SpeedStretch& s : speed_limits(grid, rule)) {
        route.limits.push_back(
            {static_cast<double>(s.from), static_cast<double>(s.to), static_cast<double>(s.kmh)});
    }
    const std::vector<TrackCell>& cells = grid.cells;
    for (std::int64_t c = 0; c < static_cast<std::int64_t>(cells.size()); ++c) {
        const double per_mille = gradient_per_mille(cells[c]);
        if (!route.gradients.empty() && route.gradients.back().per_mille == per_mille) {
            route.gradients.back().to = (c + 1) * 50.0;
        } else {
            route.gradients.push_back({c * 50.0, (c + 1) * 50.0, per_mille});
        }
    }
    for (const SourceRecord& r : grid.records) {
        if (!r.is(RecordKind::kCurve) || r.fields.size() < 2) continue;
        const std::optional<double> k = curve_curvature(r.keyword.text);
        if (!k || *k == 0 || !r.fields[0].number || !r.fields[1].number) continue;
        const auto from = static_cast<double>(*r.fields[0].number);
        route.curves.push_back(
            {from, from + static_cast<double>(*r.fields[1].number), 1 / std::abs(*k)});
    }
    for (std::size_t i = 1; i + 1 < stations.size(); ++i) {
        route.stops.push_back(
            {static_cast<double>(stations[i].position), static_cast<double>(stations[i].dwell)});
    }
    return route;
}

}  // namespace

std::vector<RunStation> run_stations(const Run& run) {
    return stations_of(run.records, run.slots);
}

std::vector<RunStation> run_stations(const Scene& scene) {
    return stations_of(scene.records, scene.slots);
}

dynamics::RouteProfile route_profile(const Run& run, const std::vector<RunStation>& stations,
                                     LimitRule rule) {
    return profile_of(grid_view(run), stations, rule);
}

dynamics::RouteProfile route_profile(const Scene& scene, const std::vector<RunStation>& stations,
                                     LimitRule rule) {
    return profile_of(grid_view(scene), stations, rule);
}

std::vector<RunLeg> run_legs(const std::vector<RunStation>& stations,
                             const dynamics::FastestRun& run) {
    std::vector<RunLeg> out;
    double left = 0;  // the departure from the leg's first station
    for (std::size_t i = 1; i < stations.size(); ++i) {
        const dynamics::StopTime& arrival = run.stops[i - 1];
        RunLeg leg{&stations[i - 1], &stations[i], arrival.arrival - left, std::nullopt};
        // Past midnight by the timetable's one rule; a time before the one it follows is no
        // schedule to keep (check names it).
        if (leg.from->time != 0 && leg.to->time != 0) {
            leg.scheduled = leg_seconds(leg.from->time, leg.to->time);
        }
        out.push_back(leg);
        left = arrival.departure;
    }
    return out;
}

}  // namespace railscen::analysis
