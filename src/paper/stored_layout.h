#pragma once

// The pack's own documents are the layout of every generated one. Their fixed lines (headings,
// rules, empty rows, the closing lines) are taken from the stored texts by their place there,
// so each line exists once and a generated document cannot drift from the pack's.

#include <cstddef>
#include <string_view>

#include "model/line_list.h"

namespace railscen::paper {

// Lines first .. first + count - 1 (0-based) of a stored document.
struct StoredLines {
    std::size_t first;
    std::size_t count;
};

// The timetable sheet: a page is these fixed lines around the header's three filled lines and
// the table's rows.
namespace sheet_layout {
inline constexpr StoredLines kHeaderTop = {0, 4};     // up to the "SCHEDA" line
inline constexpr StoredLines kHeaderMiddle = {6, 3};  // between the destination and the values
inline constexpr StoredLines kTableHead = {10, 6};    // the header's foot to the table's rule
inline constexpr StoredLines kTableFoot = {57, 16};   // an empty row, the rule, closing lines
inline constexpr std::size_t kNoteInFoot = 3;         // the empty line a note may fill
}  // namespace sheet_layout

// The slowdown order form: the heading, the line and train lines, the table's head, its body
// of empty rows, the closing rule and the key to the "Prescrizioni".
namespace form_layout {
inline constexpr StoredLines kHead = {0, 4};
inline constexpr StoredLines kTableHead = {6, 5};
inline constexpr std::size_t kEmptyRow = 11;
inline constexpr std::size_t kNoSlowdownRow = 12;
inline constexpr StoredLines kFoot = {37, 8};  // the closing rule and the key
}  // namespace form_layout

LineList stored_sheet_lines(StoredLines lines);
LineList stored_form_lines(StoredLines lines);
std::string_view stored_form_line(std::size_t line);

}  // namespace railscen::paper
