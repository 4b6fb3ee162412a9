#include <cmath>
#include <cstdio>

#include "cli/clock_text.h"
#include "cli/warnings.h"

namespace railscen::cli {
namespace {

constexpr std::size_t kHourField = 13;  // the station record's hour, after 13 numbers
constexpr std::int64_t kDay = 24 * 3600;

// Seconds to run from one position to another with every cell at its speed limit. Cells
// without a limit (0) add nothing: the check must not warn on what it cannot know.
double fastest_run(const Cells& cells, std::int64_t from, std::int64_t to) {
    double seconds = 0;
    for (auto c = static_cast<std::int64_t>(std::floor(from / 50.0)); c * 50 < to; ++c) {
        if (!cells.contains(c)) break;
        const int kmh = cells[c].speed_limit * 5;
        if (kmh == 0) continue;
        const std::int64_t metres = std::min(to, c * 50 + 50) - std::max(from, c * 50);
        seconds += static_cast<double>(metres) / (kmh / 3.6);
    }
    return seconds;
}

// Up to the next whole second, past the rounding noise of summing cell by cell.
std::int64_t whole_seconds(double seconds) {
    return static_cast<std::int64_t>(std::ceil(seconds - 1e-6));
}

}  // namespace

std::vector<Diagnostic> timetable_warnings(const Run& run) {
    std::vector<Diagnostic> warnings;
    if (!run.cells) return warnings;
    // Station records in the order read; the loader gives them slots 1, 2, 3, ... in that order.
    std::vector<const SourceRecord*> rows;
    for (const SourceRecord& r : run.records) {
        if (r.is(RecordKind::kStation)) rows.push_back(&r);
    }
    const ScenarioSlot* previous = nullptr;
    for (std::size_t i = 0; i < rows.size() && kFirstStationSlot + i < kFirstSignSlot; ++i) {
        const ScenarioSlot& station = run.slots[kFirstStationSlot + i];
        if (station.time == 0) continue;
        if (previous != nullptr && station.position > previous->position) {
            std::int64_t scheduled = std::int64_t{station.time} - previous->time;
            if (scheduled < 0) scheduled += kDay;  // past midnight
            const double fastest = fastest_run(*run.cells, previous->position, station.position);
            if (fastest - static_cast<double>(scheduled) >= 1.0) {
                warnings.push_back(
                    warning("timetable", rows[i]->field_location(kHourField),
                            "station \"" + station.text + "\" is timed " + clock_text(scheduled) +
                                " after \"" + previous->text + "\", but its " +
                                std::to_string(station.position - previous->position) +
                                " m at the line speed limits take at least " +
                                clock_text(whole_seconds(fastest))));
            }
        }
        previous = &station;
    }
    return warnings;
}

std::vector<Diagnostic> clock_warnings(const Run& run) {
    std::vector<Diagnostic> warnings;
    const SourceRecord* clock = nullptr;
    for (const SourceRecord& r : run.records) {
        if (r.is(RecordKind::kClock) && r.fields.size() >= 3 && r.fields[0].number &&
            r.fields[1].number && r.fields[2].number) {
            clock = &r;
        }
    }
    if (clock == nullptr) return warnings;
    const std::int64_t start =
        *clock->fields[0].number * 3600 + *clock->fields[1].number * 60 + *clock->fields[2].number;
    std::size_t i = 0;
    for (const SourceRecord& r : run.records) {
        if (!r.is(RecordKind::kStation)) continue;
        const std::size_t slot = kFirstStationSlot + i++;
        if (slot >= kFirstSignSlot) break;
        const ScenarioSlot& station = run.slots[slot];
        if (station.time == 0 || station.time >= start) continue;
        Diagnostic d =
            warning("timetable", r.field_location(kHourField),
                    "station \"" + station.text + "\" is timed " + clock_text(station.time) +
                        ", before the clock starts at " + clock_text(start));
        d.related.push_back({clock->field_location(0), "the clock starts here"});
        warnings.push_back(std::move(d));
    }
    return warnings;
}

}  // namespace railscen::cli
