// Times of day that are none: the clock or a station timed at hour 24 or later, or a minute or
// second past 59 (or below 0). The compile stores what it reads, so 99:99:99 would run as
// some other time; the record is named instead.

#include "analysis/clock_rule.h"
#include "analysis/warnings.h"

namespace railscen::analysis {
namespace {

// Where the hour, minute and second lie among a record's fields.
constexpr std::size_t kClockHour = 0;
constexpr std::size_t kStationHour = 13;

}  // namespace

std::vector<Diagnostic> clock_field_warnings(const Run& run) {
    std::vector<Diagnostic> warnings;
    for (const SourceRecord& r : run.records) {
        const bool clock = r.is(RecordKind::kClock);
        if (!clock && !r.is(RecordKind::kStation)) continue;
        const std::size_t first = clock ? kClockHour : kStationHour;
        if (r.fields.size() < first + 3) continue;
        const RecordField& h = r.fields[first];
        const RecordField& m = r.fields[first + 1];
        const RecordField& s = r.fields[first + 2];
        if (!h.number || !m.number || !s.number) continue;
        // A station with no time (all three 0) is untimed, and fits the rule anyway.
        const std::string problem = clock_fields_problem(*h.number, *m.number, *s.number);
        if (problem.empty()) continue;
        warnings.push_back(warning("clock-field", r.field_location(first),
                                   std::string(clock ? "the clock" : "the station's time") +
                                       " is no time of day: " + problem));
    }
    return warnings;
}

}  // namespace railscen::analysis
