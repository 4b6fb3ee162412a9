#include "output/binary_decode.h"

#include <gtest/gtest.h>

#include "compile/memorizza_percorso.h"
#include "output/binary_files.h"
#include "scenario/stored_scenario.h"
#include "source_text/scrivi_righe.h"
#include "support/test_support.h"

namespace railscen {
namespace {

using testing::line_text;
using testing::load;
using testing::MemorySource;
using testing::train_text;

Run compiled(const std::string& line, const std::string& train) {
    Run run = make_run();
    MemorySource source(line, train);
    compile_in_memory(run, 1, source);
    return run;
}

// Cells cannot be built at any size, so a decoded grid goes back into one of the route's size.
Bytes reencode_cells(const std::vector<TrackCell>& decoded, std::int32_t route_length) {
    Cells cells = Cells::for_route(route_length);
    EXPECT_EQ(cells.size(), decoded.size());
    for (std::size_t i = 0; i < decoded.size() && i < cells.size(); ++i) {
        cells[static_cast<std::int64_t>(i)] = decoded[i];
    }
    return encode_cell_file(cells);
}

void expect_round_trip(const Run& run) {
    ASSERT_TRUE(run.cells.has_value());
    const Bytes sim = encode_scenario_file(run.slots);
    const Bytes dat = encode_cell_file(*run.cells);
    const Bytes plan = encode_plan_file(run.plan);

    EXPECT_EQ(decode_scenario_file(sim), run.slots);
    EXPECT_EQ(decode_cell_file(dat), run.cells->all());
    const Plan decoded_plan = decode_plan_file(plan);
    ASSERT_EQ(decoded_plan.rows(), run.plan.rows());
    for (std::int64_t r = 0; r < run.plan.rows(); ++r) {
        ASSERT_EQ(decoded_plan.x(r), run.plan.x(r)) << "row " << r;
        ASSERT_EQ(decoded_plan.y(r), run.plan.y(r)) << "row " << r;
    }

    EXPECT_EQ(encode_scenario_file(decode_scenario_file(sim)), sim);
    EXPECT_EQ(reencode_cells(decode_cell_file(dat), run.slots[kRouteSlot].finish), dat);
    EXPECT_EQ(encode_plan_file(decode_plan_file(plan)), plan);
}

TEST(BinaryDecode, StoredScenarioRoundTrips) {
    // Negative progressives, a text with the byte 0xE8, stamps, every object kind in use.
    const railscen::Run run =
        compiled(list_bytes(stored_line_description()), list_bytes(stored_train_description()));
    ASSERT_EQ(run.error_code, 0);
    expect_round_trip(run);
}

TEST(BinaryDecode, HalfLoadedPlanWithEmptyRowsRoundTrips) {
    // The second board on the same cell stops the line phase before the plan is filled, so
    // the plan holds integers, doubles and a long run of empty values.
    const railscen::Run run =
        compiled(line_text({"curvas3,  500,  150",
                            "indicatori_vmax,  2750,  100,  100,  105,  0,  ,  ,  ,  0",
                            "indicatori_vmax,  2750,  60,  60,  60,  0,  ,  ,  ,  0"}),
                 train_text({}));
    ASSERT_EQ(run.error_code, 21);
    ASSERT_EQ(type_code(run.plan.x(run.plan.last_row())), TypeCode::kEmpty);
    expect_round_trip(run);
}

Bytes bytes_of(std::initializer_list<int> values) {
    Bytes out;
    for (int v : values) out.push_back(static_cast<std::uint8_t>(v));
    return out;
}

Bytes with_tail(Bytes head, std::size_t total) {
    head.resize(total, 0);
    return head;
}

TEST(BinaryDecode, TheLongestLinesFilesAreWithinTheSizeLimits) {
    // A straight line of 1000000 m with curves: the plan is all Doubles, its largest form.
    const railscen::Run run =
        compiled(line_text({"curvas3,  500,  150"}, "1000000"), train_text({}));
    ASSERT_TRUE(run.cells.has_value());
    const Bytes dat = encode_cell_file(*run.cells);
    const Bytes plan = encode_plan_file(run.plan);
    EXPECT_EQ(dat.size(), kMaxCellFileBytes);
    EXPECT_LE(plan.size(), kMaxPlanFileBytes);
    EXPECT_EQ(decode_cell_file(dat).size(), run.cells->size());
    EXPECT_EQ(decode_plan_file(plan).rows(), run.plan.rows());
}

struct BadFile {
    const char* what;
    Bytes bytes;
    int kind;  // 0 scenario, 1 cells, 2 plan
    const char* message;
};

TEST(BinaryDecode, FilesOfTheWrongSizeOrShapeAreRefusedWithTheirReason) {
    const BadFile cases[] = {
        {"empty cell file", {}, 1, "cell file: is empty"},
        {"cell file one byte short", Bytes(14, 0), 1,
         "cell file: holds 14 bytes, not a whole number of 15-byte cells"},
        {"cell file one byte long", Bytes(31, 0), 1,
         "cell file: holds 31 bytes, not a whole number of 15-byte cells"},
        {"scenario file one byte short", Bytes(2957, 0), 0,
         "scenario file: holds 2957 bytes and ends inside slot 86 of 87 (at least 2958 bytes "
         "needed)"},
        {"scenario file one byte long", Bytes(2959, 0), 0,
         "scenario file: holds 2959 bytes, 1 more than its 87 slots take"},
        {"negative text length",
         with_tail(bytes_of({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF}), 2958), 0,
         "scenario file: slot 0 has a negative text length (-1)"},
        {"text longer than the file",
         with_tail(bytes_of({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xE8, 0x03}), 40), 0,
         "scenario file: ends at byte 40 inside a value of 1000 bytes starting at byte 16"},
        {"empty plan file", {}, 2, "plan file: is empty"},
        {"unknown type code", bytes_of({0, 0, 7, 0}), 2,
         "plan file: unknown type code 7 at byte 2"},
        {"double cut short", bytes_of({5, 0, 1, 2, 3, 4}), 2,
         "plan file: ends at byte 6 inside a value of 8 bytes starting at byte 2"},
        {"odd number of values", bytes_of({0, 0, 0, 0, 2, 0, 1, 0}), 2,
         "plan file: holds 3 values, which do not split into two equal columns"},
        {"cell file one cell longer than the longest line's", Bytes(kMaxCellFileBytes + 15, 0), 1,
         "cell file: holds 302130 bytes, more than the 302115 of the longest line"},
        {"plan file longer than the longest line's", Bytes(kMaxPlanFileBytes + 2, 0), 2,
         "plan file: holds 20140022 bytes, more than the 20140020 of the longest line"},
    };
    for (const BadFile& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            if (c.kind == 0) decode_scenario_file(c.bytes);
            if (c.kind == 1) decode_cell_file(c.bytes);
            if (c.kind == 2) decode_plan_file(c.bytes);
            ADD_FAILURE() << "decoded without complaint";
        } catch (const DecodeError& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
}

TEST(BinaryDecode, SignalCellsGiveBackTheRowsAspectsAndHeads) {
    struct Case {
        const char* row;
        std::int64_t cell;
        SignalAspects expected;
    };
    const Case cases[] = {
        {"segnale,    6050,   2, 4, 0,  0, 0,    2,  2,0,0, 255",
         122,
         {{4, 0, 0}, {2, 0, 0}, 0, 2, 2}},
        {"segnale,    1800,   2, 3, 0,  0, 0,    0,  0,0,0, 0",
         37,
         {{3, 0, 0}, {0, 0, 0}, 0, 2, 0}},
        {"segnale,  103900,   2, 2, 3,  1, 0,    2,  2,1,1, 245",
         2079,
         {{2, 3, 1}, {2, 1, 1}, 0, 2, 2}},
        {"segnale,    9000,   1, 5, 6,  1, 1,    1,  3,1,0, 0",
         181,
         {{5, 6, 1}, {3, 1, 0}, 1, 1, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        const railscen::Run run = load(line_text({}), train_text({c.row}));
        ASSERT_EQ(run.error_code, 0);
        const SignalAspects a = decode_signal((*run.cells)[c.cell]);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(a.left[i], c.expected.left[i]) << "left " << i;
            EXPECT_EQ(a.right[i], c.expected.right[i]) << "right " << i;
        }
        EXPECT_EQ(a.rapp, c.expected.rapp);
        EXPECT_EQ(a.left_head, c.expected.left_head);
        EXPECT_EQ(a.right_head, c.expected.right_head);
    }
}

TEST(BinaryDecode, SpeedBoardsGiveBackBothSidesAndStripes) {
    struct Case {
        const char* row;
        std::int64_t cell;
        BoardSpeeds expected;
    };
    const Case cases[] = {
        {"indicatori_vmax,  2750,  100,  100,  105,  0,  100,  100,  105,  0",
         56,
         {{100, 100, 105}, {100, 100, 105}, 0, 0}},
        {"indicatori_vmax,  800,  30,  30,  30,  0,  ,  ,  ,  0",
         17,
         {{30, 30, 30}, {0, 0, 0}, 0, 0}},
        {"indicatori_vmax,  3450,  140,  155,  155,  2,  140,  155,  155,  2",
         70,
         {{140, 155, 155}, {140, 155, 155}, 2, 2}},
        {"indicatori_vmax,  5000,  60,  80,  100,  1,  35,  45,  155,  2",
         101,
         {{60, 80, 100}, {35, 45, 155}, 1, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        const railscen::Run run = load(line_text({c.row}), train_text({}));
        ASSERT_EQ(run.error_code, 0);
        const BoardSpeeds b = decode_speed_board((*run.cells)[c.cell]);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(b.left[i], c.expected.left[i]) << "left " << i;
            EXPECT_EQ(b.right[i], c.expected.right[i]) << "right " << i;
        }
        EXPECT_EQ(b.left_stripes, c.expected.left_stripes);
        EXPECT_EQ(b.right_stripes, c.expected.right_stripes);
    }
}

TEST(BinaryDecode, ApproachMarksSplitIntoCodeAndMark) {
    // A station's marks 81 to 84 and a signal's (heads 2/0, code 6) marks 61 to 64.
    const railscen::Run run =
        load(line_text({}), train_text({"stazione,  0,  8,  400,  0, 0, 0,  1,1,0,  3,1,1,  1,  "
                                        "16,40, 0, ORIGINE",
                                        "segnale,    1800,   2, 3, 0,  0, 0,    0,  0,0,0, 0"}));
    ASSERT_EQ(run.error_code, 0);
    for (int b = 1; b <= 4; ++b) {
        const ApproachMark station = decode_approach((*run.cells)[7 - b].approach);
        EXPECT_EQ(station.code, 8);
        EXPECT_EQ(station.mark, b);
        const ApproachMark signal = decode_approach((*run.cells)[37 - 2 * b].approach);
        EXPECT_EQ(signal.code, 6);
        EXPECT_EQ(signal.mark, b);
    }
}

TEST(BinaryDecode, KindsAreNamedAndUnusedCodesSaySo) {
    const std::pair<int, const char*> names[] = {
        {0, "free"},
        {1, "signal"},
        {2, "slowdown end"},
        {3, "slowdown start"},
        {4, "slowdown warning point"},
        {5, "slowdown marker"},
        {6, "speed board"},
        {7, "unused kind"},
        {10, "station stop"},
        {11, "spacer"},
        {12, "cab-code drop point"},
        {13, "cab-code drop point without value"},
        {14, "sign board"},
        {200, "unused kind"},
    };
    for (const auto& [kind, name] : names) {
        EXPECT_EQ(cell_kind_name(static_cast<std::uint8_t>(kind)), name) << kind;
    }
}

}  // namespace
}  // namespace railscen
