#include <cmath>
#include <cstdio>

#include "cli/source_lines.h"
#include "cli/text_encoding.h"
#include "cli/warnings.h"
#include "source_text/field_reader.h"
#include "source_text/keywords.h"

namespace railscen::cli {
namespace {

constexpr int kHourField = 14;  // the station row's hour, after the keyword and 13 numbers
constexpr std::int64_t kDay = 24 * 3600;

// Station rows in file order; the loader gives them slots 1, 2, 3, ... in the same order.
std::vector<SourceLine> station_rows(std::string_view train_text) {
    std::vector<SourceLine> rows;
    for (const SourceLine& line : record_lines(train_text)) {
        const std::string_view keyword = split_fields(line.text).front().text;
        if (!is_comment_field(keyword) && contains_any_case(keyword, "stazione")) {
            rows.push_back(line);
        }
    }
    return rows;
}

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

std::string clock(std::int64_t seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                  static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
    return text;
}

}  // namespace

std::vector<Warning> timetable_warnings(const Run& run, std::string_view train_text) {
    std::vector<Warning> warnings;
    if (!run.cells) return warnings;
    const std::vector<SourceLine> rows = station_rows(train_text);
    const ScenarioSlot* previous = nullptr;
    for (std::size_t i = 0; i < rows.size() && kFirstStationSlot + i < kFirstSignSlot; ++i) {
        const ScenarioSlot& station = run.slots[kFirstStationSlot + i];
        if (station.time == 0) continue;
        if (previous != nullptr && station.position > previous->position) {
            std::int64_t scheduled = std::int64_t{station.time} - previous->time;
            if (scheduled < 0) scheduled += kDay;  // past midnight
            const double fastest = fastest_run(*run.cells, previous->position, station.position);
            if (fastest - static_cast<double>(scheduled) >= 1.0) {
                const std::vector<LineField> fields = split_fields(rows[i].text);
                const int column = fields.size() > kHourField ? fields[kHourField].column : 1;
                warnings.push_back({SourceFile::kTrain, rows[i].number, column,
                                    "station \"" + utf8_from_1252(station.text) + "\" is timed " +
                                        clock(scheduled) + " after \"" +
                                        utf8_from_1252(previous->text) + "\", but its " +
                                        std::to_string(station.position - previous->position) +
                                        " m at the line speed limits take at least " +
                                        clock(whole_seconds(fastest))});
            }
        }
        previous = &station;
    }
    return warnings;
}

}  // namespace railscen::cli
