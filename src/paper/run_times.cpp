#include "paper/run_times.h"

#include <cmath>

#include "analysis/clock_rule.h"
#include "analysis/scenario_run.h"
#include "paper/scenario_facts.h"

namespace railscen::paper {
namespace {

// The route from the first stop to the last, by the analyses' own rule for a train's run.
dynamics::RouteProfile route_profile(const Run& run, const std::vector<Station>& stops) {
    std::vector<analysis::RunStation> stations;
    for (const Station& s : stops) {
        stations.push_back({"", s.metres, s.time, static_cast<int>(s.dwell)});
    }
    return analysis::route_profile(run, stations);
}

// Where the clock is set again: a stop's place, its timetable departure and the run's.
struct Anchor {
    std::int64_t metres = 0;
    std::int64_t departure = 0;  // seconds after midnight
    double run_departure = 0;    // seconds from the run's start
};

}  // namespace

void add_run_times(TimetableSheet& sheet, const Run& run, const dynamics::TrainDynamics& train) {
    const std::vector<Station> stops = run_stops(run);
    if (stops.size() < 2 || !run.cells) return;
    const dynamics::FastestRun fastest = dynamics::fastest_run(train, route_profile(run, stops));

    std::vector<Anchor> anchors;
    anchors.push_back(
        {stops.front().metres, stops.front().time != 0 ? stops.front().time : clock_start(run), 0});
    for (std::size_t i = 1; i + 1 < stops.size(); ++i) {
        if (stops[i].time != 0) {
            anchors.push_back({stops[i].metres, stops[i].time, fastest.stops[i - 1].departure});
        }
    }
    const auto at = [&](std::int64_t metres) {
        const Anchor* anchor = &anchors.front();
        for (const Anchor& a : anchors) {
            if (a.metres < metres) anchor = &a;
        }
        const double t = dynamics::run_at(fastest, static_cast<double>(metres)).time;
        return analysis::time_after(
            anchor->departure, static_cast<std::int64_t>(std::floor(t - anchor->run_departure)));
    };
    for (SheetRow& row : sheet.rows) {
        if (row.metres < stops.front().metres || row.metres > stops.back().metres) continue;
        switch (row.form) {
            case TimeForm::kDeparture:
                if (!row.departure) row.departure = anchors.front().departure;
                break;
            case TimeForm::kStop:
                if (!row.arrival) row.arrival = at(row.metres);
                if (!row.departure) row.departure = analysis::time_after(*row.arrival, row.dwell);
                break;
            case TimeForm::kPassing:
            case TimeForm::kArrival:
                if (!row.arrival) row.arrival = at(row.metres);
                break;
        }
    }
    sheet.run_times = true;
}

}  // namespace railscen::paper
