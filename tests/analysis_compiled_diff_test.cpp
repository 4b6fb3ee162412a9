// The compiled diff labels a changed cell with the metres the cell rule puts into it: a record
// at p lands in cell round_even(p / 50 + 1), a drop point in cell round_even(p / 50).

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "analysis/diff.h"
#include "support/test_support.h"

namespace railscen {
namespace {

using testing::load;

using Rows = std::vector<std::string>;

std::string joined(const Rows& rows) {
    std::string out;
    for (const std::string& l : rows) out += l + "\n";
    return out;
}

// The texts as the compiler reads them: CR LF after each row, the sections around them.
std::string crlf(const std::string& head, const Rows& rows) {
    std::string out = head;
    for (const std::string& row : rows) out += row + "\r\n";
    return out + "[fine]\r\n";
}

const Rows kLineRows = {"pendenza,  0,  0"};
const Rows kTrainRows = {
    "orologio,  16  40  00",
    "velocita,  0,  100",
    "stazione,  0,  8,  400,  0, 0, 0,  1,1,0,  3,1,1,  1,  16,40, 0, ORIGINE",
    "stazione,  7000,  12,  400,  1, 0, 0,  2,1,0,  2,1,1,  0,  16,55, 0, CASTAGNETO",
};

// The rows with more rows after them, given one a line.
Rows with(Rows rows, const std::string& more) {
    std::size_t at = 0;
    while (at < more.size()) {
        const std::size_t end = std::min(more.find('\n', at), more.size());
        rows.push_back(more.substr(at, end - at));
        at = end + 1;
    }
    return rows;
}

analysis::CompiledScenario compiled(const Rows& line, const Rows& train) {
    const std::string line_text = crlf(
        "[generale]\r\nlunghezza percorso,    105500\r\n"
        "progressiva chilometrica uno,    0,    -2000,    0\r\n[curve]\r\n",
        line);
    Run run = load(line_text, crlf("[generale]\r\n", train), 0);
    EXPECT_EQ(run.error_code, 0);
    return {run.slots, run.cells->all(), std::nullopt};
}

Rows compiled_diff_lines(const analysis::CompiledScenario& a, const analysis::CompiledScenario& b) {
    return analysis::compiled_lines(analysis::compiled_changes(a, b));
}

TEST(CompiledDiff, ACellIsLabelledWithTheMetresItsRuleTakes) {
    struct Case {
        const char* name;
        std::string line_rows;   // added to the second version's line, one a line
        std::string train_rows;  // added to the second version's train
        std::string expected;
    };
    const Case cases[] = {
        {"a board at 28,450 m lies in cell 570, which takes 28,425 to 28,475 m",
         "indicatori_vmax,  28450,  100,  100,  100,  0,  ,  ,  ,  0", "",
         "cell 570 (28,425-28,475 m, 1 changed): object; object free -> speed board "
         "2000,2000,2000,0\n"},
        // An odd cell gives up both halves: 28,475 m rounds down to 570, 28,525 m up to 572.
        {"a board at 28,476 m lies in the odd cell 571",
         "indicatori_vmax,  28476,  100,  100,  100,  0,  ,  ,  ,  0", "",
         "cell 571 (28,476-28,524 m, 1 changed): object; object free -> speed board "
         "2000,2000,2000,0\n"},
        {"a drop point at 600 m lies in its own cell 12", "", "abbattimento,  600,  280",
         "cell 12 (575-625 m, 1 changed): object; object free -> cab-code drop point "
         "280,0,0,0\n"},
        {"a signal and its approach marks: from the farthest mark's cell to the signal's", "",
         "segnale,  6050,  2,  4,  0,  0,  0,  2,  2,  0,  0,  255",
         "cells 114-122 (5,625-6,075 m, 5 changed): object, approach; object free -> signal "
         "42,0,0,8 time 255\n"},
        // A profile row starts its value at cell round_even(p / 50): 950 m at cell 19, which
        // rows from 926 to 974 m would start at; 1,200 m at cell 24.
        {"a gradient over 950-1,200 m: the layer's own rule",
         "pendenza,  950,  2\npendenza,  1200,  0", "",
         "cells 19-23 (926-1,174 m, 5 changed): gradient; gradient 100 -> 102\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const analysis::CompiledScenario before = compiled(kLineRows, kTrainRows);
        const analysis::CompiledScenario after =
            compiled(with(kLineRows, c.line_rows), with(kTrainRows, c.train_rows));
        EXPECT_EQ(joined(compiled_diff_lines(before, after)), c.expected);
        // The same cells told the other way round: the rule of the object that was there.
        const analysis::CompiledDiff back = analysis::compiled_changes(after, before);
        ASSERT_EQ(back.cells.size(), 1u);
        const analysis::CompiledDiff forth = analysis::compiled_changes(before, after);
        EXPECT_EQ(back.cells[0].from_metres, forth.cells[0].from_metres);
        EXPECT_EQ(back.cells[0].to_metres, forth.cells[0].to_metres);
    }
}

// A station's slot in words: what the author changed in its row, not the slot's raw fields.
TEST(CompiledDiff, AStationMovedAndRenamedIsToldInWords) {
    const analysis::CompiledScenario before = compiled(kLineRows, kTrainRows);
    Rows train = kTrainRows;
    train[3] = "stazione,  7100,  12,  500,  1, 0, 0,  2,1,0,  2,1,1,  30,  16,56, 0, CASTELLO";
    const analysis::CompiledScenario after = compiled(kLineRows, train);
    const Rows lines = compiled_diff_lines(before, after);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(
        lines[0],
        "slot 2 (station \"CASTELLO\"): name \"CASTAGNETO\" -> \"CASTELLO\"; position 7,000 m "
        "-> 7,100 m; zone 6,800-7,200 m -> 6,850-7,350 m; time 16:55:00 -> 16:56:00; dwell "
        "0 s -> 30 s");
    // A station that is gone leaves its slot empty: still told as a station.
    const Rows gone =
        compiled_diff_lines(before, compiled(kLineRows, Rows(train.begin(), train.end() - 1)));
    ASSERT_FALSE(gone.empty());
    EXPECT_EQ(gone[0].substr(0, gone[0].find(':')), "slot 2 (station \"CASTAGNETO\")");
}

}  // namespace
}  // namespace railscen
