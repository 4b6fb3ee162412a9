// Timed stations a real train cannot keep: the timetable gives a leg less time than the
// train's fastest run takes. Where the speed limits alone rule the time out, the timetable
// check already warns, and this one stays silent.

#include "analysis/train_run.h"
#include "analysis/records.h"
#include "analysis/run_times.h"
#include "analysis/units_text.h"
#include "analysis/warnings.h"

namespace railscen::analysis {

std::vector<Diagnostic> train_run_warnings(const Run& run, const std::vector<TimedLeg>& legs,
                                           const TrainRun& train) {
    std::vector<Diagnostic> warnings;
    for (std::size_t i = 0; i < legs.size() && i < train.leg_seconds.size(); ++i) {
        const TimedLeg& leg = legs[i];
        if (!train.leg_seconds[i]) continue;
        const std::optional<std::int64_t> bound_margin = leg.margin();
        if (bound_margin && *bound_margin < 0) continue;
        const std::int64_t needs = whole_seconds(*train.leg_seconds[i]);
        if (needs <= leg.scheduled) continue;
        const std::string after = leg.from_clock
                                      ? "after the clock starts at " + clock_text(leg.from_time)
                                      : "after \"" + leg.from_name + "\"";
        const std::string from = leg.from_clock ? " from the first station" : "";
        warnings.push_back(warning(
            "timetable", run.records[leg.to_record].field_location(station_field::kHour),
            "station \"" + leg.to_name + "\" is timed " + clock_text(leg.scheduled) + " " + after +
                ", but the fastest run of " + train.train + from + " takes " + clock_text(needs)));
    }
    return warnings;
}

std::vector<Diagnostic> train_run_warnings(const Run& run, const TrainChoice& choice,
                                           LimitRule rule) {
    return train_run_warnings(run, timed_legs(run, rule), train_run(run, choice, rule));
}

}  // namespace railscen::analysis
