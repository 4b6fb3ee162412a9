// The driver's timetable sheet generated from the stored scenario's texts, against the pack's
// own sheet: its layout everywhere, its cells where they come from the texts.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "compile/memorizza_percorso.h"
#include "model/line_list.h"
#include "paper/scenario_facts.h"
#include "paper/timetable_sheet.h"
#include "scenario/stored_scenario.h"
#include "source_text/scrivi_righe.h"
#include "support/test_support.h"

namespace railscen::paper {
namespace {

constexpr std::size_t kPageLines = 73;
constexpr std::size_t kHeadLines = 16;

std::vector<std::string> stored_sheet() {
    std::vector<std::string> lines;
    for (const std::string_view line : stored_timetable_sheet()) {
        if (line == kEndOfList) break;
        lines.emplace_back(line);
    }
    return lines;
}

Run compiled_stored_scenario() {
    Run run = make_run();
    MemorySource source(list_bytes(stored_line_description()),
                        list_bytes(stored_train_description()));
    compile_in_memory(run, 1, source);
    return run;
}

std::vector<std::size_t> bars(const std::string& line) {
    std::vector<std::size_t> at;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '|') at.push_back(i);
    }
    return at;
}

class StoredScenarioSheet : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(run_.error_code, 0);
        lines_ = timetable_sheet_lines(sheet_);
    }

    // The generated line of the first row at a route position.
    const std::string& line_at(std::int64_t metres) const {
        for (std::size_t r = 0; r < sheet_.rows.size(); ++r) {
            if (sheet_.rows[r].metres != metres) continue;
            return lines_.lines.at(r / kRowsPerPage * kPageLines + kHeadLines + r % kRowsPerPage);
        }
        static const std::string none = "no row at this position";
        return none;
    }

    railscen::Run run_ = compiled_stored_scenario();
    TimetableSheet sheet_ = timetable_sheet(run_);
    DocumentLines lines_;
    std::vector<std::string> stored_ = stored_sheet();
};

// Each generated line stands for one line of the stored page: the header's, a table row's (the
// destination's has no Rec cell), the closing lines'.
TEST_F(StoredScenarioSheet, EveryColumnBarStandsWhereTheStoredSheetHasIt) {
    ASSERT_EQ(sheet_.rows.size(), 73u);  // 24 stations, 15 sign boards, 34 speed places
    ASSERT_EQ(lines_.lines.size(), kPageLines + kHeadLines + 32 + 16);
    std::size_t page_start = 0;
    std::size_t rows_seen = 0;
    for (std::size_t i = 0; i < lines_.lines.size(); ++i) {
        const std::size_t j = i - page_start;
        const std::size_t rows_here = std::min(kRowsPerPage, sheet_.rows.size() - rows_seen);
        std::size_t stored_line = 0;
        if (j < kHeadLines) {
            stored_line = j;
        } else if (j < kHeadLines + rows_here) {
            const bool destination =
                sheet_.rows[rows_seen + j - kHeadLines].form == TimeForm::kArrival;
            stored_line = destination ? 56 : 16;
        } else {
            stored_line = 57 + (j - kHeadLines - rows_here);
        }
        EXPECT_EQ(bars(lines_.lines[i]), bars(stored_[stored_line]))
            << "line " << i + 1 << ": " << lines_.lines[i];
        // The stored row at line 17 is the table row; the note stands on an empty line.
        const bool note = stored_line == 60 && !lines_.lines[i].empty();
        const std::size_t length = stored_line == 16 ? 83 : stored_[stored_line].size();
        if (!note) {
            EXPECT_EQ(lines_.lines[i].size(), length) << "line " << i + 1;
        }
        if (j + 1 == kHeadLines + rows_here + 16) {
            page_start = i + 1;
            rows_seen += rows_here;
        }
    }
    EXPECT_TRUE(lines_.warnings.empty());
}

enum Cells : unsigned { kSpeeds = 1, kName = 2, kTime = 4 };

// A stored row and the generated row at the place in the texts it stands for, and which of its
// cells the texts give: the speed cells (the train's limit and the line's board), the name, the
// timetable's times.
struct StoredRow {
    std::size_t line;  // 1-based, as in the stored file
    std::int64_t metres;
    unsigned cells;
};

constexpr StoredRow kDerivedRows[] = {
    {17, 0, kName | kTime},     {18, 900, kSpeeds},         {19, 2800, kName},
    {19, 2750, kSpeeds},        {20, 3450, kSpeeds},        {21, 7000, kName},
    {22, 11200, kName},         {23, 14200, kName},         {25, 17800, kName},
    {26, 21500, kName | kTime}, {28, 25800, kName},         {29, 30800, kSpeeds},
    {30, 32600, kName},         {31, 34400, kSpeeds},       {32, 38400, kName},
    {33, 41800, kName},         {34, 45350, kName | kTime}, {34, 45050, kSpeeds},
    {35, 46450, kName},         {36, 52300, kName},         {37, 52500, kSpeeds},
    {38, 56800, kName},         {40, 59800, kSpeeds},       {41, 61000, kName | kTime},
    {42, 68000, kSpeeds},       {43, 69600, kName},         {44, 73000, kName},
    {45, 75400, kSpeeds},       {46, 76000, kName | kTime}, {47, 80500, kName},
    {48, 83900, kName},         {49, 87000, kName | kTime}, {50, 88900, kSpeeds},
    {51, 89800, kName},         {52, 92000, kName | kTime}, {52, 91700, kSpeeds},
    {54, 95700, kSpeeds},       {55, 97300, kSpeeds},       {57, 104500, kName | kTime},
};

TEST_F(StoredScenarioSheet, CellsTheTextsGiveEqualTheStoredSheets) {
    for (const StoredRow& row : kDerivedRows) {
        const std::string& stored = stored_.at(row.line - 1);
        const std::string& made = line_at(row.metres);
        if (row.cells & kSpeeds) {
            EXPECT_EQ(made.substr(1, 13), stored.substr(1, 13)) << "line " << row.line;
        }
        if (row.cells & kName) {
            EXPECT_EQ(made.substr(30, 30), stored.substr(30, 30)) << "line " << row.line;
        }
        if (row.cells & kTime) {
            EXPECT_EQ(made.substr(59, 18), stored.substr(59, 18)) << "line " << row.line;
        }
    }
}

TEST_F(StoredScenarioSheet, RowsRunInRouteOrderAndOnlyTimedStationsCarryTimes) {
    for (std::size_t r = 1; r < sheet_.rows.size(); ++r) {
        EXPECT_LE(sheet_.rows[r - 1].metres, sheet_.rows[r].metres) << "row " << r;
    }
    std::size_t timed = 0;
    for (const SheetRow& row : sheet_.rows) timed += row.arrival || row.departure ? 1 : 0;
    EXPECT_EQ(timed, 8u);
    // A board shows its own speeds, a one-sided one too; where the train text sets its limit
    // alone, the board's cell stays empty.
    EXPECT_EQ(line_at(800).substr(1, 13), "|     |  30 |");
    EXPECT_EQ(line_at(11700).substr(1, 13), "|     | 155 |");
    EXPECT_EQ(line_at(103000).substr(1, 13), "|  30 |     |");
    EXPECT_FALSE(sheet_.run_times);
    EXPECT_EQ(lines_.lines[kPageLines + kHeadLines + 32 + 3],
              " Nota: orari delle sole stazioni con orario (nessun materiale rotabile indicato)");
}

TEST_F(StoredScenarioSheet, HeaderTakesTheTrainTextsNumberStationsAndBrakedMass) {
    const std::vector<std::string> expected = {
        " |   TRENO n. 40817  |                   da: VELARO SAN MARTINO    |              |",
        " |___________________|                    a: CUSTRA                |     100%     |",
        "                                                                   |______________|",
        "  ___________________                ___________________",
        " |  CLASSIFICAZIONE  |              |  MASSA BLOCCATA   |       ",
        " |                   |              |                   |",
    };
    const std::vector<std::string> made(lines_.lines.begin() + 4, lines_.lines.begin() + 10);
    EXPECT_EQ(made, expected);
}

// The kilometre point from the progressive definitions the compile ordered: "uno" (0, -2000)
// up to "due"'s origin, "due" (104250, 0) from there.
TEST_F(StoredScenarioSheet, KilometrePointsFollowTheProgressiveDefinitions) {
    const std::pair<std::int64_t, std::string> cases[] = {
        {0, "  -2+000"},      {21500, "  19+500"},  {104249, " 102+249"},
        {104250, "   0+000"}, {104500, "   0+250"},
    };
    for (const auto& [metres, text] : cases) {
        EXPECT_EQ(kilometre_text(kilometre_point(run_.slots, metres)), text) << metres;
    }
    EXPECT_EQ(line_at(21500).substr(13, 12), "|  19+500  |");
}

TEST(SheetRow, NameLongerThanItsCellIsCutAndWarned) {
    struct Case {
        std::string name;
        std::string cell;
        std::size_t warnings;
    };
    const Case cases[] = {
        {"Ponte", " Ponte                      |", 0},
        {std::string(27, 'x'), " " + std::string(27, 'x') + "|", 0},
        {"Galleria della Val di Sotto Alta", " Galleria della Val di Sotto|", 1},
    };
    for (const Case& c : cases) {
        std::vector<std::string> warnings;
        SheetRow row;
        row.metres = 12000;
        row.kilometre_point = 10000;
        row.name = c.name;
        const std::string line = sheet_row_line(row, warnings);
        EXPECT_EQ(line, " |     |     |  10+000  |     |" + c.cell + "                |     |");
        ASSERT_EQ(warnings.size(), c.warnings) << c.name;
        if (c.warnings != 0) {
            EXPECT_EQ(warnings[0],
                      "timetable sheet, row at 12000 m: \"Galleria della Val di Sotto Alta\" is "
                      "longer than its 27 characters; cut to \"Galleria della Val di Sotto\"");
        }
    }
}

TEST(SignBoardName, GroupsJoinedWithoutTheirFigure) {
    const std::pair<std::string, std::string> cases[] = {
        {"(   GALLERIA   )(  MONTE ALTO  )(   5000 m    )", "Galleria Monte Alto"},
        {"(   VIADOTTO   )(  RIO FREDDO  )", "Viadotto Rio Freddo"},
        {"(   Sant\xE8rio   )(  m 355 slm   )", "Sant\xE8rio"},
        {"(    CAMBIO    )(   TENSIONE   )(   15 kV CA   )", "Cambio Tensione"},
        {"PONTE", "Ponte"},
    };
    for (const auto& [text, name] : cases) EXPECT_EQ(sign_board_name(text), name) << text;
}

}  // namespace
}  // namespace railscen::paper
