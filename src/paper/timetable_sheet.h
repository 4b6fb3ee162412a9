#pragma once

// The driver's timetable sheet of a scenario's train, in the layout of the pack's own sheet:
// a header box, and a ruled table of the stations, the places the sign boards name and the
// speed boards, in route order, with kilometre points, speeds and times. Lines are
// Windows-1252 bytes without line ends.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/run.h"

namespace railscen::paper {

// Which times a row's time cell holds.
enum class TimeForm {
    kDeparture,  // the origin
    kPassing,    // one time
    kStop,       // arrival and departure
    kArrival,    // the destination
};

struct SheetRow {
    std::int64_t metres = 0;
    std::int64_t kilometre_point = 0;  // metres
    std::optional<int> limit_kmh;      // "Vel. Lim.": the train's own limit from here
    std::optional<int> board_kmh;      // "Vel. Marc.": the line's speed board here
    std::string name;
    TimeForm form = TimeForm::kPassing;
    std::optional<std::int64_t> arrival;    // seconds after midnight; the one time of a passing
    std::optional<std::int64_t> departure;  // seconds after midnight
    std::int64_t dwell = 0;                 // seconds, at a stop
};

struct SheetHeader {
    std::string train_number;
    std::string origin;
    std::string destination;
    std::string classification;               // nothing in the texts holds it
    std::optional<std::int64_t> mass_tonnes;  // from the rolling-stock file
    std::optional<std::int64_t> braked_percentage;
};

struct TimetableSheet {
    SheetHeader header;
    std::vector<SheetRow> rows;
    bool run_times = false;  // the passing times come from the fastest run
};

// The sheet from the compiled scenario: the timed stations carry their timetable's times, the
// other rows none until a run fills them (run_times.h).
TimetableSheet timetable_sheet(const Run& run);

// A document's lines, and what had to be cut to keep its columns (one warning a cell, naming
// the row).
struct DocumentLines {
    std::vector<std::string> lines;
    std::vector<std::string> warnings;  // UTF-8
};

// Rows a page of the sheet holds; a longer sheet takes more pages, each in the same layout.
inline constexpr std::size_t kRowsPerPage = 41;

DocumentLines timetable_sheet_lines(const TimetableSheet& sheet);

// One table row as the sheet writes it; a name longer than its cell is cut and warned.
std::string sheet_row_line(const SheetRow& row, std::vector<std::string>& warnings);

// "16:40": hours and whole minutes of a time of day.
std::string clock_minutes(std::int64_t seconds);

// "  11+485": a kilometre point right-aligned in eight characters.
std::string kilometre_text(std::int64_t metres);

// The file's bytes: every line followed by CR LF.
std::string document_bytes(const std::vector<std::string>& lines);

// Text that fits a cell: padded with blanks to width, or cut to it with a warning that names
// the row (what: "timetable sheet row 12", the cut text's start).
std::string fitted(const std::string& text, std::size_t width, const std::string& what,
                   std::vector<std::string>& warnings);

}  // namespace railscen::paper
