#include "model/error_codes.h"

#include <algorithm>

namespace railscen {
namespace {

constexpr ErrorCodeInfo kTable[] = {
    {1, "line length above 1000000 m", false, "the \"lunghezza percorso\" record of the line",
     "shorten the line to at most 1000000 m"},
    {2, "kilometric progressive origin or value not a multiple of 50", false,
     "the closing test of the train phase on the three \"progressiva chilometrica\" records",
     "give every progressive origin and value (after the +100 of flag 1) as a multiple of 50"},
    {3, "signal repetition start not a multiple of 50", false, "the \"ripetizione segnali\" record",
     "give the start as a multiple of 50"},
    {4, "signal repetition end not a multiple of 50", false, "the \"ripetizione segnali\" record",
     "give the end as a multiple of 50"},
    {5, "signal repetition keyword without the code count 4 or 9", false,
     "the \"ripetizione segnali\" record",
     "write 4 or 9 in the keyword, as in "
     "\"ripetizione segnali 4 codici\""},
    {6, "sign board cell already occupied", true, "a \"cartello_indicatore\" record",
     "move the sign board to a cell that holds no other object"},
    {7, "cab-code drop cell already occupied", true, "an \"abbattimento\" record",
     "move the drop point to a free cell (position / 50)"},
    {8, "station position not a multiple of 50", true, "a \"stazione\" record",
     "give the station position as a multiple of 50"},
    {9, "station length not a multiple of 100", true, "a \"stazione\" record",
     "give the station length as a multiple of 100"},
    {10, "more stations than free scenario slots", false, "a \"stazione\" record",
     "remove stations or sign boards: together they share 80 slots"},
    {11, "no room for a cab-code drop point before a signal", true,
     "the pass that adds drop points in front of signals before a slowdown warning point",
     "free one of the two cells in front of the signal"},
    {12, "no room for a cab-code drop point before a slowdown start", true,
     "the pass that adds three drop points before every slowdown start",
     "free one cell of each window 5-7, 11-13 and 18-20 cells before the start"},
    {13, "no room for a cab-code drop point inside or after a slowdown", true,
     "the pass that adds drop points inside slow slowdowns and before the next signal",
     "free the cells around the drop point or in front of the signal after the slowdown"},
    {15, "object position beyond the grid", true, "any positioned record",
     "keep positions at most 100 m (800 m for stations) before the grid's end, which lies "
     "7000 m after the line's end, and at or after the line's start"},
    {16, "signal cell already occupied", true, "a \"segnale\" record",
     "move the signal to a cell that holds no other object"},
    {17, "slowdown warning cell already occupied", true, "a \"rallentamento\" record",
     "free the cell 1200 m before the slowdown start"},
    {18, "slowdown start cell already occupied", true, "a \"rallentamento\" record",
     "move the slowdown start to a free cell"},
    {19, "slowdown end cell already occupied", true, "a \"rallentamento\" record",
     "change the slowdown length so that its end falls on a free cell"},
    {20, "slowdown marker cells already occupied", true, "a \"rallentamento\" record",
     "free the four cells before the warning point, or set the marker field to 0"},
    {21, "speed board cell already occupied", true, "an \"indicatori_vmax\" record",
     "move the speed board to a cell that holds no other object"},
    {22, "station zones closer than 350 m", true, "a \"stazione\" record",
     "move the station so that its zone starts at least 350 m after the previous one ends"},
    {24, "station zone ending at 100 m or less", false, "a \"stazione\" record",
     "move the station further along the line"},
    {25, "unexpected failure while loading", false,
     "a missing train description, a number that is malformed or does not fit its field, a "
     "record cut short by the end of the file, or a record the compiler cannot hold",
     "check the record at the reported line: its fields, their count and their ranges"},
    {101, "line description missing", false, "the line phase", "write the line description file"},
    {102, "line description without \"[generale]\"", false, "the line phase",
     "start the records with a \"[generale]\" line"},
    {103, "curve keyword without a class digit, or plan too long", false, "a \"curva\" record",
     "write the class digit 1 to 6 in the keyword, as in \"curvas3\", and keep curves within "
     "1000000 m"},
    {1250, "marker fields already occupied", false, "the marker stamps on cell 1 and slot 85",
     "keep every object out of cell 1"},
    {1251, "race-code fields already occupied", false, "the race-code stamps on cell 1 and slot 85",
     "keep every object out of cell 1"},
};

}  // namespace

std::span<const ErrorCodeInfo> error_code_table() {
    return kTable;
}

const ErrorCodeInfo* find_error_code(std::int32_t code) {
    const auto* it = std::find_if(std::begin(kTable), std::end(kTable),
                                  [code](const ErrorCodeInfo& e) { return e.code == code; });
    return it == std::end(kTable) ? nullptr : it;
}

}  // namespace railscen
