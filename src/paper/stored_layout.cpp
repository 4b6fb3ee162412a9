#include "paper/stored_layout.h"

#include "scenario/stored_scenario.h"

namespace railscen::paper {

LineList stored_sheet_lines(StoredLines lines) {
    return stored_timetable_sheet().subspan(lines.first, lines.count);
}

LineList stored_form_lines(StoredLines lines) {
    return stored_slowdown_form().subspan(lines.first, lines.count);
}

std::string_view stored_form_line(std::size_t line) {
    return stored_slowdown_form()[line];
}

}  // namespace railscen::paper
