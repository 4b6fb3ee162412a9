#pragma once

// The slowdown order form of a scenario's train, in the layout of the pack's own form: the
// line's two place words, the train's number, and one table row for each slowdown of the
// train text.

#include <cstdint>
#include <string>
#include <vector>

#include "model/run.h"
#include "paper/timetable_sheet.h"

namespace railscen::paper {

struct FormRow {
    std::string stations;              // "Castelvecchio - Le Grazie", or one name inside a station
    std::int64_t kilometre_point = 0;  // metres, where the slowdown begins
    int kmh = 0;
    std::int64_t length = 0;  // metres
};

struct SlowdownForm {
    std::string line_from;
    std::string line_to;
    std::string train_number;
    std::vector<FormRow> rows;
};

SlowdownForm slowdown_form(const Run& run);

// Body rows of the table, the first empty; more slowdowns lengthen it.
inline constexpr std::size_t kFormBodyRows = 26;

DocumentLines slowdown_form_lines(const SlowdownForm& form);

}  // namespace railscen::paper
