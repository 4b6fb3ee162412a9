#include "paper/timetable_sheet.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "model/text_encoding.h"
#include "paper/scenario_facts.h"
#include "paper/stored_layout.h"

namespace railscen::paper {
namespace {

constexpr std::string_view kSpeedBoardName = "Cartello Indicatore";
constexpr std::size_t kNameWidth = 27;        // after the cell's one leading blank
constexpr std::size_t kHeaderNameWidth = 22;  // after "da: " and "a: "

// Said on the line after the table when no run gives the passing times.
constexpr std::string_view kNoRunNote =
    " Nota: orari delle sole stazioni con orario (nessun materiale rotabile indicato)";

std::string speed_cell(const std::optional<int>& kmh) {
    if (!kmh) return "     ";
    char text[16];
    std::snprintf(text, sizeof text, "%4d ", *kmh);
    return std::string(text).substr(0, 5);
}

std::string time_or_blank(const std::optional<std::int64_t>& t) {
    return t ? clock_minutes(*t) : "     ";
}

std::string time_cell(const SheetRow& row) {
    switch (row.form) {
        case TimeForm::kDeparture:
            return std::string(10, ' ') + time_or_blank(row.departure) + " ";
        case TimeForm::kPassing:
            return std::string(5, ' ') + time_or_blank(row.arrival) + std::string(6, ' ');
        case TimeForm::kStop:
            return " " + time_or_blank(row.arrival) + "    " + time_or_blank(row.departure) + " ";
        case TimeForm::kArrival:
            return " " + time_or_blank(row.arrival) + std::string(10, ' ');
    }
    return std::string(16, ' ');
}

std::string name_words(const std::string& name) {
    return "\"" + utf8_from_1252(name) + "\"";
}

}  // namespace

std::string clock_minutes(std::int64_t seconds) {
    const std::int64_t minutes = (seconds % (24 * 3600) + 24 * 3600) % (24 * 3600) / 60;
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d", static_cast<int>(minutes / 60),
                  static_cast<int>(minutes % 60));
    return text;
}

std::string kilometre_text(std::int64_t metres) {
    const std::int64_t size = metres < 0 ? -metres : metres;
    char text[40];
    std::snprintf(text, sizeof text, "%s%lld+%03lld", metres < 0 ? "-" : "",
                  static_cast<long long>(size / 1000), static_cast<long long>(size % 1000));
    std::string out = text;
    return out.size() >= 8 ? out : std::string(8 - out.size(), ' ') + out;
}

std::string fitted(const std::string& text, std::size_t width, const std::string& what,
                   std::vector<std::string>& warnings) {
    if (text.size() <= width) return text + std::string(width - text.size(), ' ');
    const std::string cut = text.substr(0, width);
    warnings.push_back(what + ": " + name_words(text) + " is longer than its " +
                       std::to_string(width) + " characters; cut to " + name_words(cut));
    return cut;
}

TimetableSheet timetable_sheet(const Run& run) {
    TimetableSheet sheet;
    const std::vector<Station> all = stations(run);
    SheetHeader& h = sheet.header;
    h.train_number = train_number(run.train_name);
    if (!all.empty()) {
        h.origin = all.front().name;
        h.destination = all.back().name;
    }
    h.braked_percentage = braked_percentage(run);

    std::vector<SheetRow> rows;
    for (std::size_t i = 0; i < all.size(); ++i) {
        const Station& s = all[i];
        SheetRow row;
        row.metres = s.metres;
        row.name = s.name;
        const std::optional<std::int64_t> time =
            s.time != 0 ? std::optional<std::int64_t>(s.time) : std::nullopt;
        if (i == 0) {
            row.form = TimeForm::kDeparture;
            row.departure = time;
        } else if (i + 1 == all.size()) {
            row.form = TimeForm::kArrival;
            row.arrival = time;
        } else if (stops_at(s)) {
            row.form = TimeForm::kStop;
            row.dwell = s.dwell;
            row.departure = time;
            if (time) row.arrival = *time - s.dwell;
        } else {
            row.arrival = time;
        }
        rows.push_back(row);
    }
    for (const SignBoard& b : sign_boards(run)) {
        SheetRow row;
        row.metres = b.metres;
        row.name = sign_board_name(b.text);
        rows.push_back(row);
    }
    // The line's boards and the train's own limits, one row for each place that has either; at
    // a station's place they go on the station's row.
    std::map<std::int64_t, std::pair<std::optional<int>, std::optional<int>>> speeds;
    for (const TrainLimit& l : train_limits(run)) speeds[l.metres].first = l.kmh;
    for (const SpeedBoard& b : speed_boards(run)) speeds[b.metres].second = b.kmh;
    for (const auto& [place, kmh] : speeds) {
        const std::int64_t metres = place;  // a lambda may not capture a structured binding
        const auto station = std::find_if(rows.begin(), rows.begin() + all.size(),
                                          [&](const SheetRow& r) { return r.metres == metres; });
        if (station != rows.begin() + all.size()) {
            station->limit_kmh = kmh.first;
            station->board_kmh = kmh.second;
            continue;
        }
        SheetRow row;
        row.metres = metres;
        row.name = kSpeedBoardName;
        row.limit_kmh = kmh.first;
        row.board_kmh = kmh.second;
        rows.push_back(row);
    }
    std::stable_sort(rows.begin(), rows.end(),
                     [](const SheetRow& a, const SheetRow& b) { return a.metres < b.metres; });
    for (SheetRow& row : rows) row.kilometre_point = kilometre_point(run.slots, row.metres);
    sheet.rows = std::move(rows);
    return sheet;
}

std::string sheet_row_line(const SheetRow& row, std::vector<std::string>& warnings) {
    const std::string where = "timetable sheet, row at " + std::to_string(row.metres) + " m";
    std::string line = " |" + speed_cell(row.limit_kmh) + "|" + speed_cell(row.board_kmh) + "|" +
                       fitted(kilometre_text(row.kilometre_point), 8, where, warnings) +
                       "  |     | " + fitted(row.name, kNameWidth, where, warnings) + "|" +
                       time_cell(row) + "|";
    // The destination's row has no Rec cell: its line runs on in blanks.
    line += row.form == TimeForm::kArrival ? std::string(19, ' ') : "     |";
    return line;
}

DocumentLines timetable_sheet_lines(const TimetableSheet& sheet) {
    DocumentLines out;
    const SheetHeader& h = sheet.header;
    std::vector<std::string> header;
    const auto add_stored = [&](StoredLines lines) {
        for (const std::string_view line : stored_sheet_lines(lines)) header.emplace_back(line);
    };
    add_stored(sheet_layout::kHeaderTop);
    const std::string percent =
        h.braked_percentage ? std::to_string(*h.braked_percentage) + "%" : "";
    header.push_back(" |   TRENO n. " +
                     fitted(h.train_number, 7, "timetable sheet, train number", out.warnings) +
                     "|                   da: " +
                     fitted(h.origin, kHeaderNameWidth, "timetable sheet, origin", out.warnings) +
                     "|" + std::string(14, ' ') + "|");
    const std::string percent_cell =
        percent.size() <= 9 ? std::string(9 - percent.size(), ' ') + percent + "     "
                            : fitted(percent, 14, "timetable sheet, braked mass", out.warnings);
    header.push_back(
        " |___________________|                    a: " +
        fitted(h.destination, kHeaderNameWidth, "timetable sheet, destination", out.warnings) +
        "|" + percent_cell + "|");
    add_stored(sheet_layout::kHeaderMiddle);
    const std::string mass = h.mass_tonnes ? std::to_string(*h.mass_tonnes) + "T" : "";
    header.push_back(
        " |    " + fitted(h.classification, 15, "timetable sheet, classification", out.warnings) +
        "|              |      " + fitted(mass, 13, "timetable sheet, mass", out.warnings) + "|");
    add_stored(sheet_layout::kTableHead);

    const std::size_t pages =
        std::max<std::size_t>(1, (sheet.rows.size() + kRowsPerPage - 1) / kRowsPerPage);
    for (std::size_t page = 0; page < pages; ++page) {
        out.lines.insert(out.lines.end(), header.begin(), header.end());
        const std::size_t first = page * kRowsPerPage;
        const std::size_t end = std::min(sheet.rows.size(), first + kRowsPerPage);
        for (std::size_t r = first; r < end; ++r) {
            out.lines.push_back(sheet_row_line(sheet.rows[r], out.warnings));
        }
        const LineList foot = stored_sheet_lines(sheet_layout::kTableFoot);
        const std::size_t foot_start = out.lines.size();
        out.lines.insert(out.lines.end(), foot.begin(), foot.end());
        if (page + 1 == pages && !sheet.run_times) {
            out.lines[foot_start + sheet_layout::kNoteInFoot] = kNoRunNote;
        }
    }
    return out;
}

std::string document_bytes(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& line : lines) bytes += line + "\r\n";
    return bytes;
}

}  // namespace railscen::paper
