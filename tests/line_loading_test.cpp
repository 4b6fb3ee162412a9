#include <gtest/gtest.h>

#include <cmath>

#include "compile/memorizza_percorso.h"
#include "loader/memorizza_dati.h"
#include "output/binary_files.h"
#include "support/test_support.h"

namespace railscen {
namespace {

using testing::line_text;
using testing::lines;
using testing::load;
using testing::MemorySource;
using testing::train_text;

const std::string kTrain = train_text({"velocita,   0,    30"});

struct Outcome {
    std::int32_t code = 0;
    std::int32_t position = 0;
    bool line_left = false;
    bool train_left = false;
    bool grid = true;
};

Outcome run_case(const std::optional<std::string>& line, std::int32_t with_plan = 1) {
    railscen::Run run = make_run(kScenarioLineName, kScenarioTrainName, with_plan);
    MemorySource source(line, kTrain);
    memorizza_dati(run, source);
    return {run.error_code, run.error_position, source.line_left(), source.train_left(),
            run.cells.has_value()};
}

struct CodeCase {
    const char* name;
    std::optional<std::string> line;
    Outcome expected;
};

TEST(LineLoading, EveryCodeWithItsPositionAndTheFilesLeft) {
    const std::string general = "[generale]\r\nlunghezza percorso,    105500\r\n";
    const CodeCase cases[] = {
        {"line description missing", std::nullopt, {101, 0, false, true, false}},
        {"no [generale]",
         lines({"lunghezza percorso, 100", "[fine]"}),
         {102, 0, false, true, false}},
        {"length above 1000000",
         lines({"[generale]", "lunghezza percorso, 1000001", "[fine]"}),
         {1, 0, false, true, false}},
        {"repetition start 525",
         lines({"[generale]", "ripetizione segnali 4 codici, 525, 1000", "[fine]"}),
         {3, 0, false, true, false}},
        {"repetition end 1025",
         lines({"[generale]", "ripetizione segnali 4 codici, 500, 1025", "[fine]"}),
         {4, 0, false, true, false}},
        {"repetition without 4 or 9",
         lines({"[generale]", "ripetizione segnali codici, 500, 1000", "[fine]"}),
         {5, 0, false, true, false}},
        {"object beyond the grid: fills and train phase still run",
         line_text({"pendenza,  112401,  1"}),
         {15, 112401, false, false, true}},
        {"curve without a class digit",
         line_text({"curvas,  500,  100"}),
         {103, 0, false, true, true}},
        {"speed board on a sign board",
         line_text({"cartello_indicatore,  800,  (PONTE)",
                    "indicatori_vmax,  810,  30,  30,  30,  0"
                    ",  ,  ,  ,  0"}),
         {21, 810, false, true, true}},
        {"sign board on a speed board",
         line_text({"indicatori_vmax,  800,  30,  30,  30,  0,  ,  ,  ,  0",
                    "cartello_indicatore,  820,  (PONTE)"}),
         {6, 820, false, true, true}},
        {"a malformed number", line_text({"pendenza,  1x00,  1"}), {25, 0, false, false, true}},
        {"a record cut short by the end of the file",
         general + "[curve]\r\npendenza,  100",
         {25, 0, false, false, true}},
        {"line length too short to keep cells 0 and 1",
         lines({"[generale]", "lunghezza percorso, -6975", "[fine]"}),
         {25, 0, false, false, false}},
        {"no length record: the first object fails",
         lines({"[generale]", "[curve]", "pendenza, 0, 0", "[fine]"}),
         {25, 0, false, false, false}},
        {"no length record and no object: the gradient fill fails",
         lines({"[generale]", "[curve]", "[fine]"}),
         {25, 0, false, false, false}},
        {"empty line description", std::string(), {25, 0, false, false, false}},
        {"sign board before the start of the grid",
         line_text({"cartello_indicatore, -80, (X)"}),
         {15, -80, false, false, true}},
        {"speed board before the start of the grid",
         line_text({"indicatori_vmax, -76, 30, 30, 30, 0, , , , 0"}),
         {15, -76, false, false, true}},
    };
    for (const CodeCase& c : cases) {
        const Outcome got = run_case(c.line);
        EXPECT_EQ(got.code, c.expected.code) << c.name;
        EXPECT_EQ(got.position, c.expected.position) << c.name;
        EXPECT_EQ(got.line_left, c.expected.line_left) << c.name;
        EXPECT_EQ(got.train_left, c.expected.train_left) << c.name;
        EXPECT_EQ(got.grid, c.expected.grid) << c.name;
    }
}

TEST(LineLoading, GridRuleLimitIsOneHundredMetresBeforeTheEnd) {
    // U = 2250: p = 50 U - 100 = 112400 passes, one metre more does not.
    EXPECT_EQ(run_case(line_text({"montagna,  112400,  112500,  1"})).code, 0);
    EXPECT_EQ(run_case(line_text({"montagna,  112401,  112500,  1"})).code, 15);
}

TEST(LineLoading, GeneralSectionFillsTheFixedSlots) {
    const std::string line = lines({
        "--- commento, 1, 2, 3",
        "[generale]",
        "LUNGHEZZA PERCORSO,    105500",
        "- nota, 5, 6, 7, 8",
        "progressiva chilometrica uno,    0,    -2000,    0",
        "progressiva chilometrica due,    104250,    0,    1",
        "progressiva chilometrica tre,    0,    0,    1",
        "Progressiva chilometrica tre,    7,    8,    9",
        "sfondo uno,    0",
        "sfondo due,    1",
        "sfondo tre,    16500",
        "ripetizione segnali 9 codici,    500,    104250",
        "[curve]",
        "sfondo uno,    77",
        "[fine]",
    });
    const railscen::Run run = load(line, kTrain);
    EXPECT_EQ(run.error_code, 0);
    EXPECT_EQ(run.cells->upper_bound(), 2250);
    const Slots& s = run.slots;
    EXPECT_EQ(s[84].finish, 105500);
    EXPECT_EQ(s[85].text, "VELARO-CUSTRA ");
    EXPECT_EQ(s[86].text, "R 40817");
    EXPECT_EQ((std::array{s[85].start, s[85].position, s[85].finish}),
              (std::array{0, 1, 16500}));  // the record after "[curve]" is ignored
    EXPECT_EQ((std::array{s[86].start, s[86].finish, s[86].position}),
              (std::array{500, 104250, 9}));
    EXPECT_EQ((std::array{s[81].start, s[81].finish, s[81].position}),
              (std::array{104250, 100, 1}));
    EXPECT_EQ((std::array{s[82].start, s[82].finish, s[82].position}), (std::array{0, -2000, 0}));
    EXPECT_EQ((std::array{s[83].start, s[83].finish, s[83].position}), (std::array{0, 100, 1}));
}

TEST(LineLoading, RepetitionEndZeroGivesNoCodeCount) {
    const railscen::Run run = load(lines({"[generale]", "lunghezza percorso, 1000",
                                          "ripetizione segnali 4, 500, 0", "[fine]"}),
                                   kTrain);
    EXPECT_EQ(run.slots[86].position, 0);
}

TEST(LineLoading, GradientProfileSteps) {
    const railscen::Run run = load(
        line_text({"pendenza,   0,    0", "pendenza,  950,   1", "pendenza,  1200,  -5"}), kTrain);
    const Cells& cells = *run.cells;
    for (int i = 0; i <= 18; ++i) EXPECT_EQ(cells[i].gradient, 100) << i;
    for (int i = 19; i <= 23; ++i) EXPECT_EQ(cells[i].gradient, 101) << i;
    // The last row's value fills up to the last three cells, which keep 0.
    EXPECT_EQ(cells[24].gradient, 95);
    EXPECT_EQ(cells[2247].gradient, 95);
    EXPECT_EQ(cells[2248].gradient, 0);
    EXPECT_EQ(cells[2250].gradient, 0);
}

TEST(LineLoading, GradientBeforeTheFirstRowIsZeroAndRepeatedPositionsWriteOnce) {
    const railscen::Run run =
        load(line_text({"pendenza,  500,  3", "pendenza,  500,  4", "pendenza,  600,  5"}), kTrain);
    const Cells& cells = *run.cells;
    for (int i = 0; i <= 9; ++i) EXPECT_EQ(cells[i].gradient, 100) << i;
    EXPECT_EQ(cells[10].gradient, 103);  // the second row at 500 writes one further cell
    EXPECT_EQ(cells[11].gradient, 104);
    EXPECT_EQ(cells[12].gradient, 105);
}

TEST(LineLoading, RowsOutOfOrderPushTheCursorPastTheGridWithoutWritingThere) {
    // Length 0: cells 0 to 140. Every row behind the cursor still writes one cell and advances.
    std::string rows;
    for (int i = 0; i < 150; ++i) rows += "pendenza,  100,  " + std::to_string(i % 7) + "\r\n";
    const railscen::Run run = load(line_text({rows}, "0"), kTrain);
    EXPECT_EQ(run.error_code, 0);
    EXPECT_EQ(run.cells->upper_bound(), 140);
    EXPECT_EQ((*run.cells)[140].gradient, 100 + 138 % 7);  // row 139 writes row 138's value
}

TEST(LineLoading, SignBoardsTakeSlotsDownFromEightyAndMayStandOnSpacers) {
    const railscen::Run run = load(line_text({
                                       "montagna,   1000,  2000,  11",
                                       "cartello_indicatore,  1100,  (GALLERIA)(  1000 m  )",
                                       "cartello_indicatore,  3000,  (PONTE)",
                                   }),
                                   kTrain);
    EXPECT_EQ(run.error_code, 0);
    EXPECT_EQ(
        (*run.cells)[23],
        (TrackCell{.kind = 14, .param1 = 80, .mountain = 1, .speed_limit = 6, .gradient = 100}));
    EXPECT_EQ(run.slots[80].text, "(GALLERIA)(  1000 m  )");
    EXPECT_EQ((*run.cells)[61].param1, 79);
    EXPECT_EQ(run.slots[79].text, "(PONTE)");
}

TEST(LineLoading, QuotedNumbersLoadLikePlainOnes) {
    const railscen::Run plain =
        load(line_text({"pendenza,   1200,  -3"}), train_text({"velocita,     900,    90"}));
    const railscen::Run quoted = load(line_text({"pendenza,   \"1200\" ,  \" -3 \" per mille"}),
                                      train_text({"velocita,     900,    \"90\""}));
    EXPECT_EQ(quoted.error_code, 0);
    EXPECT_EQ(quoted.cells->all(), plain.cells->all());
    EXPECT_EQ((*quoted.cells)[24].gradient, 97);
    EXPECT_EQ((*quoted.cells)[24].speed_limit, 18);

    const railscen::Run words = load(line_text({"pendenza,   \"milleduecento\",  -3"}), kTrain);
    EXPECT_EQ(words.error_code, 25);
}

struct SignBoardCase {
    int boards;
    std::int32_t code;
    std::string slot0;
    std::uint8_t last_kind;  // the cell of the last board in the text
};

TEST(LineLoading, SignTextsFillSlotsEightyDownToZero) {
    // Boards at 1000, 1100, ... m: board n (from 1) lands in cell 19 + 2n, its text is "(Bn)".
    const SignBoardCase cases[] = {
        {80, 10, "", kSignBoard},       // slot 1 holds board 80: the station is refused
        {81, 10, "(B81)", kSignBoard},  // the 81st takes slot 0; the station is refused
        {82, 25, "(B81)", kFree},       // the 82nd has no slot: nothing written for it
    };
    for (const SignBoardCase& c : cases) {
        std::string rows;
        for (int n = 1; n <= c.boards; ++n) {
            rows += "cartello_indicatore,  " + std::to_string(900 + 100 * n) + ",  (B" +
                    std::to_string(n) + ")\r\n";
        }
        const railscen::Run run =
            load(line_text({rows}), train_text({"stazione, 20000, 4, 200, 1, 1, 0, 1, 1, 0, 2, "
                                                "1, 1, 0, 0, 0, 0, PAESE"}));
        EXPECT_EQ(run.error_code, c.code) << c.boards;
        EXPECT_EQ(run.slots[0].text, c.slot0) << c.boards;
        EXPECT_EQ(run.slots[1].text, "(B80)") << c.boards;  // never overwritten by a station
        const TrackCell& last = (*run.cells)[19 + 2 * c.boards];
        EXPECT_EQ(last.kind, c.last_kind) << c.boards;
        if (c.boards == 81) {
            EXPECT_EQ(last.param1, 0);
        }
    }
}

struct LengthCase {
    std::int32_t length;
    std::int32_t with_plan;
    std::int32_t code;  // with two cells, the gradient row at 0 fails the grid rule
    std::int32_t upper_bound;
    std::int64_t plan_last_row;  // -1: no plan
};

TEST(LineLoading, NegativeLengthsKeepAGridOfAtLeastTwoCells) {
    const LengthCase cases[] = {
        {-50, 1, 0, 139, 6950},
        {-50, 0, 0, 139, -1},
        {-6974, 1, 15, 1, 26},
        {-6974, 0, 15, 1, -1},
    };
    for (const LengthCase& c : cases) {
        const std::string line =
            lines({"[generale]", "lunghezza percorso, " + std::to_string(c.length), "[curve]",
                   "pendenza, 0, 5", "[fine]"});
        railscen::Run run = make_run(kScenarioLineName, kScenarioTrainName, c.with_plan);
        MemorySource source(line, kTrain);
        // The whole compile runs: the pass, the stamps in cell 1, the file images.
        EXPECT_EQ(compile_in_memory(run, c.with_plan, source), std::nullopt) << c.length;
        EXPECT_EQ(run.error_code, c.code) << c.length;
        ASSERT_TRUE(run.cells) << c.length;
        EXPECT_EQ(run.cells->upper_bound(), c.upper_bound) << c.length;
        EXPECT_EQ((*run.cells)[0].gradient, c.code == 0 ? 105 : 100) << c.length;
        EXPECT_EQ(encode_cell_file(*run.cells).size(), 15u * (c.upper_bound + 1)) << c.length;
        if (c.plan_last_row < 0) {
            EXPECT_FALSE(run.plan.exists()) << c.length;
            continue;
        }
        EXPECT_EQ(run.plan.last_row(), c.plan_last_row) << c.length;
        // Points up to the last two are computed, straight ahead along +y.
        EXPECT_EQ(numeric(run.plan.y(c.plan_last_row - 2)),
                  static_cast<double>(c.plan_last_row - 2));
        EXPECT_EQ(encode_plan_file(run.plan).size(), 2u * (10u * (c.plan_last_row + 1) - 28u))
            << c.length;
    }
}

TEST(LineLoading, ASignTextWithACommaIsSplit) {
    const railscen::Run run =
        load(line_text({"cartello_indicatore,  1100,  (PONTE), pendenza, 0, 1"}), kTrain);
    EXPECT_EQ(run.slots[80].text, "(PONTE)");
    EXPECT_EQ((*run.cells)[0].gradient, 101);  // "pendenza, 0, 1" after the comma was read
}

TEST(LineLoading, AKeywordThatIsTheLastFieldIsLost) {
    const std::string general = "[generale]\r\nlunghezza percorso,    1000\r\n[curve]\r\n";
    const railscen::Run run = load(general + "pendenza,  100,  7\r\npendenza", kTrain);
    EXPECT_EQ(run.error_code, 0);
    EXPECT_EQ((*run.cells)[5].gradient, 107);
}

TEST(LineLoading, HyphenRuleAfterTheGeneralSection) {
    // Two hyphenated fields are passed over; a third is the keyword.
    const railscen::Run run =
        load(line_text({"- a, - b, pendenza, 0, 9", "-, -, -, pendenza, 0, 3"}), kTrain);
    EXPECT_EQ((*run.cells)[0].gradient, 103);
}

TEST(LineLoading, WithoutAPlanCurvesAreNotCurves) {
    railscen::Run run = make_run(kScenarioLineName, kScenarioTrainName, 0);
    MemorySource source(line_text({"curvas3,  500,  150"}), kTrain);
    memorizza_dati(run, source);
    EXPECT_EQ(run.error_code, 0);
    EXPECT_FALSE(run.plan.exists());
}

double heading(const Plan& plan, std::int64_t row) {
    return std::atan2(numeric(plan.x(row)) - numeric(plan.x(row - 1)),
                      numeric(plan.y(row)) - numeric(plan.y(row - 1)));
}

TEST(LineLoading, StraightPlanStaysOnTheYAxis) {
    const railscen::Run run = load(line_text({}, "1000"), kTrain);
    const Plan& plan = run.plan;
    ASSERT_EQ(plan.last_row(), 8000);
    EXPECT_EQ(type_code(plan.x(0)), TypeCode::kInteger);
    EXPECT_EQ(type_code(plan.y(1)), TypeCode::kInteger);
    EXPECT_EQ(type_code(plan.x(2)), TypeCode::kDouble);
    EXPECT_EQ(numeric(plan.x(7998)), 0.0);
    EXPECT_EQ(numeric(plan.y(7998)), 7998.0);
    EXPECT_EQ(type_code(plan.x(7999)), TypeCode::kEmpty);
    EXPECT_EQ(type_code(plan.y(8000)), TypeCode::kEmpty);
}

TEST(LineLoading, CurvesTurnTheHeadingByClassTimesLength) {
    const railscen::Run right = load(line_text({"curvad4,  500,  300"}, "1000"), kTrain);
    EXPECT_NEAR(heading(right.plan, 801) - heading(right.plan, 500), 0.3, 0.001);
    EXPECT_GT(numeric(right.plan.x(1000)), 0.0);  // a right curve turns clockwise, towards +x
    const railscen::Run left = load(line_text({"curvas2,  500,  1000"}, "1000"), kTrain);
    EXPECT_NEAR(heading(left.plan, 1501) - heading(left.plan, 500), -0.2, 0.001);
    EXPECT_LT(numeric(left.plan.x(2000)), 0.0);
}

TEST(LineLoading, ACurvePastThePlanStopsAtItsLastRow) {
    const railscen::Run run = load(line_text({"curvad1,  7000,  5000"}, "1000"), kTrain);
    EXPECT_EQ(run.error_code, 0);
    EXPECT_EQ(type_code(run.plan.x(8000)), TypeCode::kDouble);
}

// The loader keeps every record as it read it, for the tool's checks and carets: the fields
// whatever separates them, where each began, and what it was taken for.
TEST(LineLoading, KeepsTheRecordsItRead) {
    const railscen::Run run =
        load(line_text({"montagna,  26100  41000  1", "pendenze,  950,  1",
                        "cartello_indicatore,  2750,  \"PONTE, VECCHIO\""},
                       "20000"),
             train_text({"segnale,    6050,   2, 4, 0,  0, 0,    2,  2,0,0, 255"}));
    ASSERT_EQ(run.error_code, 0);
    auto find = [&](std::string_view keyword) {
        for (const SourceRecord& r : run.records) {
            if (r.keyword.text == keyword) return &r;
        }
        return static_cast<const SourceRecord*>(nullptr);
    };
    auto texts = [](const SourceRecord& r) {
        std::vector<std::string> out;
        for (const RecordField& f : r.fields) out.push_back(f.text);
        return out;
    };

    const SourceRecord* mountain = find("montagna");
    ASSERT_NE(mountain, nullptr);
    EXPECT_EQ(mountain->file, SourceFile::kLine);
    EXPECT_EQ(mountain->kinds, RecordKinds{RecordKind::kMountain});
    EXPECT_EQ(texts(*mountain), (std::vector<std::string>{"26100", "41000", "1"}));
    EXPECT_EQ(mountain->keyword.line, 7);
    EXPECT_EQ(mountain->field_location(1), (SourceLocation{SourceFile::kLine, 7, 19}));
    EXPECT_EQ(mountain->fields[1].number, 41000);

    // A keyword that matches nothing is kept without a kind; its numbers are then read as
    // keywords of their own.
    const SourceRecord* unknown = find("pendenze");
    ASSERT_NE(unknown, nullptr);
    EXPECT_TRUE(unknown->kinds.empty());
    EXPECT_TRUE(unknown->fields.empty());
    EXPECT_NE(find("950"), nullptr);

    const SourceRecord* sign = find("cartello_indicatore");
    ASSERT_NE(sign, nullptr);
    EXPECT_EQ(texts(*sign), (std::vector<std::string>{"2750", "PONTE, VECCHIO"}));
    EXPECT_FALSE(sign->fields[1].number.has_value());

    const SourceRecord* signal = find("segnale");
    ASSERT_NE(signal, nullptr);
    EXPECT_EQ(signal->file, SourceFile::kTrain);
    EXPECT_EQ(signal->fields.size(), 11u);
    EXPECT_EQ(run.texts.train,
              train_text({"segnale,    6050,   2, 4, 0,  0, 0,    2,  2,0,0, 255"}));

    // Each placed object remembers its record.
    EXPECT_EQ(placed_by(run, 56), (SourceLocation{SourceFile::kLine, 9, 23}));
    EXPECT_EQ(placed_by(run, 122), (SourceLocation{SourceFile::kTrain, 2, 13}));
    EXPECT_EQ(placed_by(run, 123), std::nullopt);
}

}  // namespace
}  // namespace railscen
