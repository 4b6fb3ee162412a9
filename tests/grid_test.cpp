#include <gtest/gtest.h>

#include "grid/progressive.h"
#include "grid/race_codes.h"
#include "model/cell_index.h"
#include "model/markers.h"
#include "model/track_cell.h"
#include "support/test_support.h"

namespace railscen {
namespace {

TEST(Cells, BoundsReachSevenKilometresPastTheRoute) {
    struct Case {
        std::int32_t length;
        std::int32_t upper;
    };
    // (length + 7000) / 50 with ties to even: 141.5 -> 142, 142.5 -> 142.
    for (const Case c : {Case{105500, 2250}, Case{0, 140}, Case{75, 142}, Case{125, 142}}) {
        const Cells cells = Cells::for_route(c.length);
        EXPECT_EQ(cells.upper_bound(), c.upper) << c.length;
        EXPECT_EQ(cells.size(), static_cast<std::size_t>(c.upper) + 1);
    }
}

TEST(Cells, OnlyEmptyAndSpacerCellsAreFree) {
    Cells cells = Cells::for_route(0);
    for (int kind : {0, 1, 2, 3, 4, 5, 6, 10, 11, 12, 13, 14}) {
        cells[5].kind = static_cast<std::uint8_t>(kind);
        EXPECT_EQ(cells.free_at(5), kind == 0 || kind == 11) << kind;
    }
    EXPECT_FALSE(cells.free_at(-1));
    EXPECT_FALSE(cells.free_at(cells.upper_bound() + 1));
}

TEST(CellIndex, EachObjectHasItsOwnRoundingAndOffset) {
    struct Case {
        const char* what;
        std::int64_t got;
        std::int64_t expected;
    };
    const Case cases[] = {
        {"signal 1800", cell_index::signal(1800), 37},
        {"signal 1825 (37.5 ties to 38)", cell_index::signal(1825), 38},
        {"signal 1875 (38.5 ties to 38)", cell_index::signal(1875), 38},
        {"board 25 (1.5 ties to 2)", cell_index::speed_board(25), 2},
        {"board 75 (2.5 ties to 2)", cell_index::speed_board(75), 2},
        {"sign board 6050", cell_index::sign_board(6050), 122},
        {"slowdown start 10000", cell_index::slowdown_start(10000), 201},
        {"slowdown end 10000+500", cell_index::slowdown_end(10000, 500), 211},
        {"slowdown warning 10000", cell_index::slowdown_warning(10000), 177},
        {"slowdown markers 10000", cell_index::slowdown_marker_base(10000), 176},
        {"code row 600", cell_index::code_row(600), 12},
        {"code row 20 (0.4)", cell_index::code_row(20), 0},
        {"station zone ending 1800", cell_index::station_stop(1800), 35},
        {"station approach b=1 of 400", cell_index::station_approach(400, 1), 6},
        {"mountain first 46650", cell_index::mountain_first(46650), 933},
        {"mountain last 51650", cell_index::mountain_last(51650), 1032},
        {"mountain last 1040 (19.8)", cell_index::mountain_last(1040), 20},
        {"mountain last 1020 (19.4)", cell_index::mountain_last(1020), 19},
        {"profile break 900", cell_index::profile_break(900), 18},
    };
    for (const Case& c : cases) EXPECT_EQ(c.got, c.expected) << c.what;
}

// Origins, values and flags of "tre", "due", "uno" as read into slots 81, 82, 83.
struct ProgressiveCase {
    const char* name;
    std::array<std::array<std::int32_t, 3>, 3> entry;
    std::array<std::array<std::int32_t, 3>, 3> expected;
};

TEST(CellIndex, PositionsInAreExactlyThePositionsTheRulePutsInTheCell) {
    for (const int offset : {-1, 0, 1}) {
        for (std::int64_t i = -3; i <= 2300; i += (i < 10 ? 1 : 97)) {
            const cell_index::PositionRange r = cell_index::positions_in(i, offset);
            for (std::int64_t p = r.first - 60; p <= r.last + 60; ++p) {
                const bool inside = p >= r.first && p <= r.last;
                EXPECT_EQ(round_even(static_cast<double>(p) / 50.0 + offset) == i, inside)
                    << "cell " << i << ", offset " << offset << ", position " << p;
            }
        }
    }
    // A sign board at 2040 m is in cell 42, which holds boards from 2025 to 2075 m.
    EXPECT_EQ(cell_index::sign_board(2040), 42);
    EXPECT_EQ(cell_index::positions_in(42, 1).first, 2025);
    EXPECT_EQ(cell_index::positions_in(42, 1).last, 2075);
}

TEST(ProgressiveOrdina, PutsDefinitionsInOrderThenAddsTheFlags) {
    const ProgressiveCase cases[] = {
        {"stored line: due greatest, uno before tre on the tie",
         {{{0, 0, 1}, {104250, 0, 1}, {0, -2000, 0}}},
         {{{104250, 100, 1}, {0, -2000, 0}, {0, 100, 1}}}},
        {"900, 100, 100: uno before due",
         {{{900, 1, 0}, {100, 2, 0}, {100, 3, 0}}},
         {{{900, 1, 0}, {100, 3, 0}, {100, 2, 0}}}},
        {"uno greatest, tre above due",
         {{{50, 1, 0}, {0, 2, 0}, {80, 3, 0}}},
         {{{80, 3, 0}, {50, 1, 0}, {0, 2, 0}}}},
        {"shared greatest origin clears all, no 100 added",
         {{{500, 1, 1}, {500, 2, 1}, {0, 3, 1}}},
         {{{0, 0, 0}, {0, 0, 0}, {0, 0, 0}}}},
        {"all origins 0: last positive value decides",
         {{{0, 5, 0}, {0, 6, 0}, {0, 0, 1}}},
         {{{0, 6, 0}, {0, 5, 0}, {0, 100, 1}}}},
        {"all origins 0, uno positive",
         {{{0, 5, 0}, {0, 6, 0}, {0, 7, 0}}},
         {{{0, 7, 0}, {0, 6, 0}, {0, 5, 0}}}},
        {"all origins 0, no positive value",
         {{{0, 0, 1}, {0, -5, 1}, {0, 0, 0}}},
         {{{0, 0, 0}, {0, 0, 0}, {0, 0, 0}}}},
        {"origins adding up to 0 take the value branch",
         {{{100, 0, 0}, {-100, 9, 0}, {0, 0, 0}}},
         {{{-100, 9, 0}, {100, 0, 0}, {0, 0, 0}}}},
        {"flag 2 adds nothing",
         {{{300, 10, 2}, {200, 20, 1}, {100, 30, 0}}},
         {{{300, 10, 2}, {200, 120, 1}, {100, 30, 0}}}},
    };
    for (const ProgressiveCase& c : cases) {
        Slots slots;
        for (int i = 0; i < 3; ++i) {
            slots[81 + i].start = c.entry[i][0];
            slots[81 + i].finish = c.entry[i][1];
            slots[81 + i].position = c.entry[i][2];
        }
        progressive_ordina(slots);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ((std::array<std::int32_t, 3>{slots[81 + i].start, slots[81 + i].finish,
                                                   slots[81 + i].position}),
                      c.expected[i])
                << c.name << ", slot " << 81 + i;
        }
    }
}

Run named(std::string line, std::string train) {
    Run run;
    run.slots[kLineSlot].text = std::move(line);
    run.slots[kTrainSlot].text = std::move(train);
    run.cells = Cells::for_route(0);
    return run;
}

TEST(RaceCodes, SumFirstTwentyFiveCharactersOfLoweredNamesAndPadding) {
    const railscen::Run scenario = named("VELARO-CUSTRA ", "R 40817");
    EXPECT_EQ(codice_gara_og(scenario), 2244);
    EXPECT_EQ(codice_gara_st(scenario), 31775);
    const railscen::Run lowered = named("velaro-custra ", "r 40817");
    EXPECT_EQ(codice_gara_og(lowered), 2244);
    EXPECT_EQ(codice_gara_st(lowered), 31775);
    // The padding alone: "qqrrssttuuvvzzppkkjjwwxxy".
    const railscen::Run empty = named("", "");
    EXPECT_EQ(codice_gara_og(empty), 2879);
    EXPECT_EQ(codice_gara_st(empty), 37506);
    // Names of 25 characters and more do not reach the padding; train name first.
    const railscen::Run long_names = named("ABCDEFGHIJKLM", "NOPQRSTUVWXYZ");
    const railscen::Run swapped = named("NOPQRSTUVWXYZ", "ABCDEFGHIJKLM");
    EXPECT_EQ(codice_gara_og(long_names), codice_gara_og(named("ABCDEFGHIJKL", "NOPQRSTUVWXYZ")));
    EXPECT_NE(codice_gara_st(long_names), codice_gara_st(swapped));
}

TEST(RaceCodes, StampsMarkersAndCodesOrEndsOnOccupiedFields) {
    railscen::Run run = named("VELARO-CUSTRA ", "R 40817");
    EXPECT_EQ(stamp_markers(run), std::nullopt);
    EXPECT_EQ(run.slots[kLineSlot].word1, kSlotMarker);
    EXPECT_EQ((*run.cells)[1].param1, kCellMarker);
    EXPECT_EQ(run.slots[kLineSlot].time, 31775);
    EXPECT_EQ((*run.cells)[1].param2, 2244);

    railscen::Run signal_in_cell_1 = named("a", "b");
    (*signal_in_cell_1.cells)[1].param1 = 42;
    EXPECT_EQ(stamp_markers(signal_in_cell_1), 1250);
    EXPECT_EQ(signal_in_cell_1.slots[kLineSlot].word1, 0);

    railscen::Run race_field_taken = named("a", "b");
    (*race_field_taken.cells)[1].param2 = 3;
    race_field_taken.slots[kLineSlot].word1 = 1;  // both pairs taken: 1250 wins
    EXPECT_EQ(stamp_markers(race_field_taken), 1250);
    race_field_taken.slots[kLineSlot].word1 = 0;
    EXPECT_EQ(stamp_markers(race_field_taken), 1251);
    EXPECT_EQ(race_field_taken.slots[kLineSlot].time, 0);
}

}  // namespace
}  // namespace railscen
