// Timed stations the train cannot reach in time at the speed limits, or timed before the time
// they follow (the clock or the station timed before), by clock_rule's one rule.
#include "analysis/clock_rule.h"
#include "analysis/records.h"
#include "analysis/run_times.h"
#include "analysis/units_text.h"
#include "analysis/warnings.h"

namespace railscen::analysis {
std::vector<Diagnostic> timetable_warnings(const Run& run) {
    std::vector<Diagnostic> warnings;
    for (const TimedLeg& leg : timed_legs(run)) {
        const std::optional<std::int64_t> margin = leg.margin();
        if (!margin || *margin >= 0) continue;
        const SourceRecord& to = run.records[leg.to_record];
        const std::string after = leg.from_clock
                                      ? "after the clock starts at " + clock_text(leg.from_time)
                                      : "after \"" + leg.from_name + "\"";
        const std::string from = leg.from_clock ? " from the first station" : "";
        std::string message =
            "station \"" + leg.to_name + "\" is timed " + clock_text(leg.scheduled) + " " + after +
            ", but its " + std::to_string(leg.to_metres - leg.from_metres) + " m" + from +
            " at the speed limits take at least " + clock_text(whole_seconds(leg.bound->seconds));
        if (leg.bound->limiting) message += " (" + stretch_text(*leg.bound->limiting) + ")";
        warnings.push_back(warning("timetable", to.field_location(station_field::kHour), message));
    }
    return warnings;
}

std::vector<Diagnostic> clock_warnings(const Run& run) {
    std::vector<Diagnostic> warnings;
    const SourceRecord* clock = clock_record(run.records);
    // Each timed station against the time it follows (the clock's start for the first), by the
    // rule timetable's legs follow: what it cannot take forward is flagged here.
    std::optional<std::int64_t> before;
    const SourceRecord* before_record = nullptr;
    std::string before_name;
    if (clock != nullptr) {
        before = clock_start(*clock);
        before_record = clock;
    }
    std::size_t i = 0;
    for (const SourceRecord& r : run.records) {
        if (!r.is(RecordKind::kStation)) continue;
        const std::size_t slot = kFirstStationSlot + i++;
        if (slot >= kFirstSignSlot) break;
        const ScenarioSlot& station = run.slots[slot];
        if (station.time == 0) continue;
        if (before && !leg_seconds(*before, station.time)) {
            const bool from_clock = before_record == clock;
            Diagnostic d = warning(
                "timetable", r.field_location(station_field::kHour),
                "station \"" + station.text + "\" is timed " + clock_text(station.time) +
                    (from_clock ? ", before the clock starts at " + clock_text(*before)
                                : ", before \"" + before_name + "\" at " + clock_text(*before)));
            d.related.push_back(
                {before_record->field_location(from_clock ? 0 : station_field::kHour),
                 from_clock ? "the clock starts here" : "timed here"});
            warnings.push_back(std::move(d));
        }
        before = station.time;
        before_record = &r;
        before_name = station.text;
    }
    return warnings;
}

}  // namespace railscen::analysis
