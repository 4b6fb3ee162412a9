#include "output/binary_files.h"

#include <gtest/gtest.h>

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
    plan.x[0] = std::int16_t{0};
    plan.y[0] = std::int16_t{0};
    plan.x[1] = std::int16_t{0};
    plan.y[1] = std::int16_t{1};
    for (std::size_t r = 2; r + 2 < plan.x.size(); ++r) {
        plan.x[r] = 0.0;
        plan.y[r] = static_cast<double>(r);
    }
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
    for (std::size_t r = 0; r + 2 < plan.x.size(); ++r) {
        plan.x[r] = r < 2 ? TaggedValue{std::int16_t{0}} : TaggedValue{0.5};
        plan.y[r] = plan.x[r];
    }
    EXPECT_EQ(encode_plan_file(plan).size(), 2249964u);
}

}  // namespace
}  // namespace railscen
