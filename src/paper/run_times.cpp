#include "paper/run_times.h"

#include <cmath>

#include "analysis/speed_limits.h"
#include "paper/scenario_facts.h"
#include "source_text/keywords.h"

namespace railscen::paper {
namespace {

// The route from the first stop to the last, as railscen run builds it: the speed limits in
// force, the gradient layer of the cells (50 m each, stored plus 100) and the curves by their
// class's radius. (A copy of the run command's adapter until it lives in the analyses.)
dynamics::RouteProfile route_profile(const Run& run, const std::vector<Station>& stops) {
    dynamics::RouteProfile route;
    route.start = static_cast<double>(stops.front().metres);
    route.end = static_cast<double>(stops.back().metres);
    for (const analysis::SpeedStretch& s : analysis::speed_limits(run)) {
        route.limits.push_back(
            {static_cast<double>(s.from), static_cast<double>(s.to), static_cast<double>(s.kmh)});
    }
    const Cells& cells = *run.cells;
    for (std::int64_t c = 0; c < static_cast<std::int64_t>(cells.size()); ++c) {
        const double per_mille = static_cast<int>(cells[c].gradient) - 100;
        if (!route.gradients.empty() && route.gradients.back().per_mille == per_mille) {
            route.gradients.back().to = (c + 1) * 50.0;
        } else {
            route.gradients.push_back({c * 50.0, (c + 1) * 50.0, per_mille});
        }
    }
    for (const SourceRecord& r : run.records) {
        if (!r.is(RecordKind::kCurve) || r.fields.size() < 2) continue;
        const std::optional<double> k = curve_curvature(r.keyword.text);
        if (!k || *k == 0 || !r.fields[0].number || !r.fields[1].number) continue;
        const auto from = static_cast<double>(*r.fields[0].number);
        route.curves.push_back(
            {from, from + static_cast<double>(*r.fields[1].number), 1 / std::abs(*k)});
    }
    for (std::size_t i = 1; i + 1 < stops.size(); ++i) {
        route.stops.push_back(
            {static_cast<double>(stops[i].metres), static_cast<double>(stops[i].dwell)});
    }
    return route;
}

// Where the clock is set again: a stop's place, its timetable departure and the run's.
struct Anchor {
    std::int64_t metres = 0;
    std::int64_t departure = 0;  // seconds after midnight
    double run_departure = 0;    // seconds from the run's start
};

}  // namespace

void add_run_times(TimetableSheet& sheet, const Run& run, const dynamics::TrainDynamics& train) {
    const std::vector<Station> stops = run_stops(stations(run));
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
        return anchor->departure + static_cast<std::int64_t>(std::floor(t - anchor->run_departure));
    };
    for (SheetRow& row : sheet.rows) {
        if (row.metres < stops.front().metres || row.metres > stops.back().metres) continue;
        switch (row.form) {
            case TimeForm::kDeparture:
                if (!row.departure) row.departure = anchors.front().departure;
                break;
            case TimeForm::kStop:
                if (!row.arrival) row.arrival = at(row.metres);
                if (!row.departure) row.departure = *row.arrival + row.dwell;
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
