#include "analysis/records.h"

namespace railscen::analysis {

std::optional<std::int64_t> field_value(const SourceRecord& r, std::size_t i) {
    if (i >= r.fields.size()) return std::nullopt;
    if (r.fields[i].number) return r.fields[i].number;
    if (r.fields[i].text.empty()) return 0;
    return std::nullopt;
}

std::optional<std::int64_t> time_of_day(const SourceRecord& r, std::size_t first) {
    const std::optional<std::int64_t> h = field_value(r, first);
    const std::optional<std::int64_t> m = field_value(r, first + 1);
    const std::optional<std::int64_t> s = field_value(r, first + 2);
    if (!h || !m || !s) return std::nullopt;
    return *h * 3600 + *m * 60 + *s;
}

const SourceRecord* clock_record(const std::vector<SourceRecord>& records) {
    const SourceRecord* clock = nullptr;
    for (const SourceRecord& r : records) {
        if (!r.is(RecordKind::kClock) || r.fields.size() < 3) continue;
        if (r.fields[0].number && r.fields[1].number && r.fields[2].number) clock = &r;
    }
    return clock;
}

std::optional<std::int64_t> clock_start(const SourceRecord& clock) {
    return time_of_day(clock, clock_field::kHour);
}

std::optional<std::int64_t> station_time(const SourceRecord& station) {
    return time_of_day(station, station_field::kHour);
}

std::optional<std::int64_t> station_dwell(const SourceRecord& station) {
    return field_value(station, station_field::kDwell);
}

std::string station_name(const SourceRecord& station) {
    if (station.fields.size() <= station_field::kName) return {};
    return station.fields[station_field::kName].text;
}

}  // namespace railscen::analysis
