// The shortest run between timed stations at the speed limits in force: what the timetable
// command prints and what check's [timetable] warnings are built on.

#include "analysis/run_times.h"
#include "analysis/clock_rule.h"
#include "analysis/records.h"

#include <algorithm>
#include <cmath>

#include "model/cell_index.h"

namespace railscen::analysis {
RunBound fastest_run(const std::vector<SpeedStretch>& limits, std::int64_t from, std::int64_t to) {
    // The run's pieces, neighbours of one speed joined; a joined piece is said to be held by
    // what holds all of it, or else by everything that holds some of it.
    std::vector<SpeedStretch> pieces;
    std::vector<unsigned> held_by_some;
    for (const SpeedStretch& s : limits) {
        const std::int64_t a = std::max(from, s.from);
        const std::int64_t b = std::min(to, s.to);
        if (a >= b) continue;
        if (!pieces.empty() && pieces.back().kmh == s.kmh && pieces.back().to == a) {
            pieces.back().to = b;
            pieces.back().sources &= s.sources;
            held_by_some.back() |= s.sources;
        } else {
            pieces.push_back({a, b, s.kmh, s.sources});
            held_by_some.push_back(s.sources);
        }
    }
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (pieces[i].sources == 0) pieces[i].sources = held_by_some[i];
    }
    RunBound bound;
    int fastest = 0;  // 0: some piece has no known limit
    bool unlimited = false;
    for (const SpeedStretch& p : pieces) {
        if (p.kmh == 0) unlimited = true;
        fastest = std::max(fastest, p.kmh);
    }
    double most_lost = -1;
    for (const SpeedStretch& p : pieces) {
        if (p.kmh == 0) continue;
        const auto metres = static_cast<double>(p.to - p.from);
        const double seconds = metres / (p.kmh / 3.6);
        bound.seconds += seconds;
        const double lost = unlimited ? seconds : seconds - metres / (fastest / 3.6);
        if (lost > most_lost + 1e-9) {
            most_lost = lost;
            bound.limiting = p;
        }
    }
    return bound;
}

std::int64_t whole_seconds(double seconds) {
    return static_cast<std::int64_t>(std::ceil(seconds - 1e-6));
}

std::vector<TimedLeg> timed_legs(const Run& run, LimitRule rule) {
    std::vector<TimedLeg> legs;
    if (!run.cells) return legs;
    const std::vector<SpeedStretch> limits = speed_limits(run, rule);

    const SourceRecord* clock = clock_record(run.records);
    // Station records in the order read: the loader gives them slots 1, 2, 3, ... in that order.
    std::vector<std::size_t> rows;
    for (std::size_t i = 0; i < run.records.size(); ++i) {
        if (run.records[i].is(RecordKind::kStation)) rows.push_back(i);
    }
    const ScenarioSlot* previous = nullptr;
    for (std::size_t i = 0; i < rows.size() && kFirstStationSlot + i < kFirstSignSlot; ++i) {
        const ScenarioSlot& station = run.slots[kFirstStationSlot + i];
        if (station.time == 0) continue;
        TimedLeg leg;
        leg.to_name = station.text;
        leg.to_time = station.time;
        leg.to_metres = station.position;
        leg.to_record = rows[i];
        if (previous != nullptr) {
            leg.from_name = previous->text;
            leg.from_time = previous->time;
            leg.from_metres = previous->position;
        } else if (clock != nullptr) {
            leg.from_clock = true;
            leg.from_time = clock_start(*clock).value_or(0);
            leg.from_metres = run.slots[kFirstStationSlot].position;
        }
        const bool first = previous == nullptr;
        previous = &station;
        if (first && (!leg.from_clock || leg.to_metres <= leg.from_metres)) {
            continue;  // nothing to run before the first timed station
        }
        // One rule for times past midnight; a leg it cannot take forward is flagged by check.
        const std::optional<std::int64_t> scheduled = leg_seconds(leg.from_time, leg.to_time);
        if (!scheduled) continue;
        leg.scheduled = *scheduled;
        if (leg.to_metres > leg.from_metres) {
            leg.bound = fastest_run(limits, leg.from_metres, leg.to_metres);
        }
        legs.push_back(std::move(leg));
    }
    return legs;
}

}  // namespace railscen::analysis
