#include "output/binary_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <span>
#include <stdexcept>
#include <vector>

#include "support/test_support.h"

namespace railscen {
namespace {

Bytes hex(std::initializer_list<int> bytes) {
    Bytes out;
    for (int b : bytes) out.push_back(static_cast<std::uint8_t>(b));
    return out;
}

Bytes slice(const Bytes& b, std::size_t offset, std::size_t size) {
    return Bytes(b.begin() + static_cast<std::ptrdiff_t>(offset),
                 b.begin() + static_cast<std::ptrdiff_t>(offset + size));
}

TEST(ScenarioFile, SlotsArePackedWithCountedTexts) {
    Slots slots;
    slots[kLineSlot].category = 7;
    slots[kLineSlot].start = -2000;
    slots[kLineSlot].finish = 1;
    slots[kLineSlot].position = 0x01020304;
    slots[kLineSlot].flag = 9;
    slots[kLineSlot].text = "VELARO-CUSTRA ";
    slots[kLineSlot].word1 = 610;
    slots[kLineSlot].word5 = -1;
    slots[kLineSlot].byte1 = 1;
    slots[kLineSlot].byte4 = 4;
    slots[kLineSlot].time = 31775;
    const Bytes file = encode_scenario_file(slots);
    ASSERT_EQ(file.size(), 2958u + 14u);

    // Slots 0 to 84 are empty: 34 zero bytes each.
    EXPECT_EQ(slice(file, 0, 85 * 34), Bytes(85 * 34, 0));
    const Bytes expected_85 = [] {
        Bytes b = hex({7, 0x30, 0xF8, 0xFF, 0xFF, 1, 0, 0, 0, 4, 3, 2, 1, 9, 14, 0});
        for (char c : std::string("VELARO-CUSTRA ")) b.push_back(static_cast<std::uint8_t>(c));
        for (int v : {0x62, 0x02, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 1, 0, 0, 4, 0x1F, 0x7C, 0, 0}) {
            b.push_back(static_cast<std::uint8_t>(v));
        }
        return b;
    }();
    EXPECT_EQ(slice(file, 85 * 34, 48), expected_85);
    EXPECT_EQ(slice(file, 85 * 34 + 48, 34), Bytes(34, 0));
}

TEST(CellFile, FifteenBytesPerCellInFieldOrder) {
    Cells cells = Cells::for_route(105500);
    TrackCell& c = cells[122];
    c = TrackCell{1, 42, -2, 3, 8, 255, 81, 2, 6, 95, 70};
    const Bytes file = encode_cell_file(cells);
    ASSERT_EQ(file.size(), 33765u);
    EXPECT_EQ(slice(file, 122 * 15, 15),
              hex({1, 42, 0, 0xFE, 0xFF, 3, 0, 8, 0, 255, 81, 2, 6, 95, 70}));
    EXPECT_EQ(slice(file, 123 * 15, 15), Bytes(15, 0));
}

TEST(PlanFile, TaggedValuesColumnByColumn) {
    Plan plan = Plan::for_route(0);  // rows 0 to 7000
    plan.start();                    // Integer points (0, 0) and (0, 1)
    plan.extend_straight(plan.last_row() - 2);
    const Bytes file = encode_plan_file(plan);
    const std::size_t n = 7000;
    ASSERT_EQ(file.size(), 20 * n - 36);
    const std::size_t column = file.size() / 2;
    EXPECT_EQ(slice(file, 0, 8), hex({2, 0, 0, 0, 2, 0, 0, 0}));
    EXPECT_EQ(slice(file, 8, 10), hex({5, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(slice(file, column - 4, 4), hex({0, 0, 0, 0}));
    EXPECT_EQ(slice(file, column, 8), hex({2, 0, 0, 0, 2, 0, 1, 0}));
    // Row 2 of y: Double 2.0 = 0x4000000000000000.
    EXPECT_EQ(slice(file, column + 8, 10), hex({5, 0, 0, 0, 0, 0, 0, 0, 0, 0x40}));
    EXPECT_EQ(slice(file, file.size() - 4, 4), hex({0, 0, 0, 0}));
}

TEST(PlanFile, FullyComputedPlanOfTheStoredLineSize) {
    Plan plan = Plan::for_route(105500);
    plan.start();
    plan.extend_curve(plan.last_row() - 2, 0.001);
    EXPECT_EQ(encode_plan_file(plan).size(), 2249964u);
}

// The computed plan's image against the same values laid out one by one.
Bytes one_by_one(const Plan& plan) {
    std::vector<TaggedValue> x, y;
    for (std::int64_t r = 0; r < plan.rows(); ++r) {
        x.push_back(plan.x(r));
        y.push_back(plan.y(r));
    }
    return encode_plan_file(Plan::from_values(x, y));
}

TEST(PlanFile, APlanEndingAtAnyRowIsItsValuesInOrder) {
    // The y column is laid out for a plan computed up to two rows before its end; plans that
    // stop sooner (a failed line) or run on to the last row (a curve past the end) move it.
    struct Case {
        const char* what;
        std::int64_t last_computed;  // -1: never started; 1: only the first two points
    };
    for (const Case c :
         {Case{"never started", -1}, Case{"first two points", 1}, Case{"stopped early", 1234},
          Case{"usual end", 7998}, Case{"one past the usual end", 7999}, Case{"last row", 8000},
          Case{"asked past the last row", 9000}}) {
        SCOPED_TRACE(c.what);
        Plan plan = Plan::for_route(1000);  // rows 0 to 8000
        if (c.last_computed >= 1) plan.start();
        if (c.last_computed >= 2) {
            plan.extend_straight(c.last_computed / 2);
            plan.extend_curve(c.last_computed, 0.002);
        }
        const std::int64_t filled = std::min<std::int64_t>(c.last_computed, 8000) + 1;
        EXPECT_EQ(plan.filled(), std::max<std::int64_t>(filled, 0));
        EXPECT_EQ(encode_plan_file(plan), one_by_one(plan));
        if (filled >= 3) {
            EXPECT_EQ(type_code(plan.y(filled - 1)), TypeCode::kDouble);
            EXPECT_NE(numeric(plan.x(filled - 1)), 0.0);  // the curve turned it off the y axis
        }
        const Plan copy = plan;
        EXPECT_TRUE(copy == plan);
        Plan moved = std::move(plan);
        EXPECT_TRUE(moved == copy);
        EXPECT_FALSE(plan.exists());  // NOLINT(bugprone-use-after-move): a moved-from plan is empty
    }
}

TEST(PlanFile, TheShortestLineHasAPlanOfTwentySevenRows) {
    Plan plan = Plan::for_route(-6974);  // the shortest line the loader takes
    ASSERT_EQ(plan.last_row(), 26);
    plan.start();
    plan.extend_curve(plan.last_row() - 2, 0.01);
    EXPECT_EQ(encode_plan_file(plan).size(), 2 * (8 + 10 * 23 + 2 * 2u));
    EXPECT_EQ(encode_plan_file(plan), one_by_one(plan));
}

TEST(PlanFile, APlanReadAndThenExtendedGoesOnWhereItStopped) {
    Plan in_steps = Plan::for_route(0);
    in_steps.start();
    in_steps.extend_curve(3000, 0.001);
    EXPECT_EQ(type_code(in_steps.x(3000)), TypeCode::kDouble);  // its points are computed here
    EXPECT_EQ(type_code(in_steps.x(5000)), TypeCode::kEmpty);
    in_steps.extend_curve(7000, 0.001);
    EXPECT_EQ(type_code(in_steps.x(5000)), TypeCode::kDouble);
    Plan at_once = Plan::for_route(0);
    at_once.start();
    at_once.extend_curve(7000, 0.001);
    EXPECT_TRUE(in_steps == at_once);
}

// The pieces a plan is written in, laid into one image; each must fall inside the file and none
// may overlap another.
Bytes from_pieces(const Plan& plan) {
    Bytes image(plan.file_size());
    std::vector<bool> written(image.size());
    plan.produce([&](std::uint64_t at, std::span<const std::uint8_t> piece) {
        ASSERT_LE(at + piece.size(), image.size());
        for (std::size_t i = 0; i < piece.size(); ++i) {
            ASSERT_FALSE(written[at + i]) << "byte " << at + i << " written twice";
            written[at + i] = true;
            image[at + i] = piece[i];
        }
    });
    EXPECT_EQ(std::count(written.begin(), written.end(), false), 0);
    return image;
}

TEST(PlanFile, ALongPlanIsWrittenInPiecesThatMakeUpItsImage) {
    // Straight on from (0, 1) every point is exact: (0, row). A plan long enough for many pieces
    // holds them all, and its Empty rows after.
    Plan straight = Plan::for_route(300000);
    straight.start();
    straight.extend_straight(straight.last_row() - 2);
    const Bytes image = from_pieces(straight);
    ASSERT_EQ(image.size(), 2 * (8 + 10 * (straight.rows() - 4) + 4));
    std::vector<TaggedValue> x{std::int16_t{0}, std::int16_t{0}};
    std::vector<TaggedValue> y{std::int16_t{0}, std::int16_t{1}};
    for (std::int64_t r = 2; r < straight.rows(); ++r) {
        x.push_back(r < straight.rows() - 2 ? TaggedValue{0.0} : TaggedValue{});
        y.push_back(r < straight.rows() - 2 ? TaggedValue{static_cast<double>(r)} : TaggedValue{});
    }
    EXPECT_EQ(image, encode_plan_file(Plan::from_values(x, y)));
    EXPECT_EQ(image, encode_plan_file(straight));

    // Curves and straights of many lengths, their ends anywhere in a piece: the same points
    // however the rows are split into steps.
    for (const std::int32_t length : {-6974, 0, 300000}) {
        SCOPED_TRACE(length);
        Plan coarse = Plan::for_route(length);
        Plan fine = Plan::for_route(length);
        coarse.start();
        fine.start();
        std::int64_t to = 2;
        for (int i = 0; to < coarse.last_row() - 2; ++i) {
            const std::int64_t next = std::min(to + 1 + (i * 7919) % 90001, coarse.last_row() - 2);
            const double k = i % 3 == 0 ? 0.0 : 0.0005 * (i % 5 - 2);
            for (std::int64_t at = to + 977; at < next + 977; at += 977) {
                if (k == 0.0)
                    fine.extend_straight(std::min(at, next));
                else
                    fine.extend_curve(std::min(at, next), k);
            }
            if (k == 0.0)
                coarse.extend_straight(next);
            else
                coarse.extend_curve(next, k);
            to = next;
        }
        const Bytes pieces = from_pieces(coarse);
        EXPECT_EQ(pieces, from_pieces(fine));
        EXPECT_EQ(pieces, encode_plan_file(fine));
        EXPECT_EQ(one_by_one(coarse), pieces);
    }
}

TEST(PlanFile, APlanWithoutRowsHasAnEmptyFile) {
    for (const std::int32_t length : {-7001, -8000}) {
        const Plan plan = Plan::for_route(length);
        EXPECT_FALSE(plan.exists());
        EXPECT_EQ(plan.file_size(), 0u);
        EXPECT_TRUE(plan.image().empty());
        EXPECT_TRUE(from_pieces(plan).empty());
    }
}

TEST(PlanFile, AFailureToTakeAPieceEndsTheWritingAndPassesOn) {
    // A long plan stops at the failed piece: nothing more is computed or handed over.
    Plan plan = Plan::for_route(1000000);
    plan.start();
    plan.extend_curve(plan.last_row() - 2, 0.0001);
    for (const int fail_at : {0, 1, 5}) {
        int taken = 0;
        EXPECT_THROW(plan.produce([&](std::uint64_t, std::span<const std::uint8_t>) {
            if (taken++ == fail_at) throw std::runtime_error("disk full");
        }),
                     std::runtime_error);
        EXPECT_EQ(taken, fail_at + 1);
    }
}

}  // namespace
}  // namespace railscen
