#include <gtest/gtest.h>

#include "grid/line_encoders.h"
#include "grid/train_encoders.h"
#include "support/test_support.h"

namespace railscen {
namespace {

class Encoders : public ::testing::Test {
  protected:
    Encoders() { run_.cells = Cells::for_route(105500); }
    TrackCell& cell(std::int64_t i) { return (*run_.cells)[i]; }
    railscen::Run run_;
    MountainState mountains_;
};

TEST_F(Encoders, MountainWithSpacersEveryFourthCell) {
    EXPECT_EQ(memo_montagna(run_, mountains_, 46650, 51650, 11), 1);
    int spacers = 0;
    for (std::int64_t i = 930; i <= 1035; ++i) {
        const bool inside = i >= 933 && i <= 1032;
        EXPECT_EQ(cell(i).mountain, inside ? 1 : 0) << i;
        const bool spacer = inside && (i - 933 + 1) % 4 == 0;
        EXPECT_EQ(cell(i).kind, spacer ? kSpacer : kFree) << i;
        spacers += spacer;
    }
    EXPECT_EQ(spacers, 25);
    EXPECT_EQ(cell(936).kind, kSpacer);
    EXPECT_EQ(cell(1032).kind, kSpacer);
}

TEST_F(Encoders, MountainGapRuleAndKinds) {
    memo_montagna(run_, mountains_, 46650, 51650, 11);
    EXPECT_EQ(memo_montagna(run_, mountains_, 65100, 65250, 12), 2);
    for (std::int64_t i = 1302; i <= 1304; ++i) EXPECT_EQ(cell(i).mountain, 2) << i;
    EXPECT_EQ(cell(1305).mountain, 0);
    EXPECT_EQ(cell(1302).kind, kFree);  // three cells: no spacer
    // 50 m after the previous end: kind 3, spacers still set.
    EXPECT_EQ(memo_montagna(run_, mountains_, 65300, 67300, 11), 3);
    EXPECT_EQ(cell(1306).mountain, 3);
    EXPECT_EQ(cell(1345).mountain, 3);
    EXPECT_EQ(cell(1309).kind, kSpacer);
    // A spacer only goes into an empty cell.
    cell(1404).kind = kSignal;
    memo_montagna(run_, mountains_, 70000, 71000, 11);
    EXPECT_EQ(cell(1403).kind, kSpacer);
    EXPECT_EQ(cell(1404).kind, kSignal);
    EXPECT_EQ(run_.error_code, 0);
}

TEST_F(Encoders, MountainKindsTenAndBelowGetNoSpacersAndShortStretches) {
    memo_montagna(run_, mountains_, 1000, 2000, 10);
    EXPECT_EQ(cell(23).kind, kFree);
    EXPECT_EQ(cell(23).mountain, 10);
    MountainState fresh;
    memo_montagna(run_, fresh, 5000, 5040, 1);  // first 100, last round(100.8 - 1) = 100
    EXPECT_EQ(cell(100).mountain, 1);
    EXPECT_EQ(cell(101).mountain, 0);
    memo_montagna(run_, fresh, 6000, 6020, 1);  // last 119 below first 120: nothing
    EXPECT_EQ(cell(120).mountain, 0);
    EXPECT_EQ(cell(119).mountain, 0);
}

TEST_F(Encoders, MountainPastTheGridWritesOnlyInsideIt) {
    memo_montagna(run_, mountains_, 112000, 200000, 11);
    EXPECT_EQ(cell(2250).mountain, 1);
    EXPECT_EQ(cell(2240).mountain, 1);
    EXPECT_EQ(cell(2243).kind, kSpacer);  // counted from 2240
    MountainState fresh;
    memo_montagna(run_, fresh, -100, 500, 11);  // cells -2 to 9
    EXPECT_EQ(cell(0).mountain, 1);
    EXPECT_EQ(cell(9).mountain, 1);
    for (std::int64_t i : {1, 5, 9}) EXPECT_EQ(cell(i).kind, kSpacer) << i;
}

TEST_F(Encoders, SpeedBoardsPackSpeedsAndStripes) {
    struct Case {
        std::int32_t pos;
        SpeedBoard board;
        std::int64_t cell;
        std::array<std::int16_t, 4> params;
    };
    const Case cases[] = {
        {2750, {100, 100, 105, 0, 100, 100, 105, 0}, 56, {2020, 2020, 2121, 0}},
        {800, {30, 30, 30, 0, 0, 0, 0, 0}, 17, {600, 600, 600, 0}},
        {3450, {140, 155, 155, 2, 140, 155, 155, 2}, 70, {2828, 3131, 3131, 22}},
    };
    for (const Case& c : cases) {
        memo_indicatori_v_max(run_, c.pos, c.board);
        const TrackCell& t = cell(c.cell);
        EXPECT_EQ(t.kind, kSpeedBoard) << c.pos;
        EXPECT_EQ((std::array<std::int16_t, 4>{t.param1, t.param2, t.param3, t.param4}), c.params)
            << c.pos;
    }
    EXPECT_EQ(run_.error_code, 0);
}

TEST_F(Encoders, SpeedBoardReplacesASpacerButNotASignBoard) {
    cell(17).kind = kSpacer;
    memo_indicatori_v_max(run_, 800, {30, 30, 30, 0});
    EXPECT_EQ(cell(17).kind, kSpeedBoard);
    cell(18).kind = kSignBoard;
    memo_indicatori_v_max(run_, 850, {30, 30, 30, 0});
    EXPECT_EQ(run_.error_code, 21);
    EXPECT_EQ(cell(18), (TrackCell{.kind = kSignBoard}));
}

TEST_F(Encoders, SignalsPackAspectsTimeAndApproach) {
    struct Case {
        SignalRow row;
        std::int64_t cell;
        TrackCell expected;  // approach left out
        std::uint8_t approach;
    };
    const Case cases[] = {
        {{6050, 2, 4, 0, 0, 0, 2, 2, 0, 0, 255}, 122, {1, 42, 0, 0, 8, 255}, 81},
        {{1800, 2, 3, 0, 0, 0, 0, 0, 0, 0, 0}, 37, {1, 30, 0, 0, 6, 0}, 61},
        {{103900, 2, 2, 3, 1, 0, 2, 2, 1, 1, 245}, 2079, {1, 22, 31, 11, 8, 245}, 81},
        {{20000, 1, 2, 0, 0, 0, 0, 0, 0, 0, 255}, 401, {1, 20, 0, 0, 3, 0}, 31},
        {{30000, 2, 2, 0, 0, 0, 0, 0, 0, 0, 50}, 601, {1, 20, 0, 0, 6, 101}, 61},
    };
    for (const Case& c : cases) {
        memo_segnale(run_, c.row);
        TrackCell got = cell(c.cell);
        got.approach = 0;
        EXPECT_EQ(got, c.expected) << c.row.posizione;
        for (int b = 1; b <= 4; ++b) {
            EXPECT_EQ(cell(c.cell - 2 * b).approach, c.approach + b - 1) << c.row.posizione;
        }
    }
    EXPECT_EQ(run_.error_code, 0);
}

TEST_F(Encoders, SignalOnASpacerIsPlacedOnAStationStopRefused) {
    cell(37).kind = kSpacer;
    memo_segnale(run_, {1800, 2, 3});
    EXPECT_EQ(cell(37).kind, kSignal);
    cell(41).kind = kStationStop;
    memo_segnale(run_, {2000, 2, 3});
    EXPECT_EQ(run_.error_code, 16);
    EXPECT_EQ(cell(41).kind, kStationStop);
    EXPECT_EQ(cell(39).approach, 0);
}

TEST_F(Encoders, SignalNearTheStartSkipsApproachCellsBeforeTheGrid) {
    memo_segnale(run_, {100, 2, 3});  // cell 3: approach cells 1, -1, -3, -5
    EXPECT_EQ(cell(3).kind, kSignal);
    EXPECT_EQ(cell(1).approach, 61);
}

TEST_F(Encoders, SlowdownWritesWarningStartEndAndMarkers) {
    memo_rallentamento(run_, {10000, 60, 500, 1, 1, 0});
    EXPECT_EQ(run_.error_code, 0);
    EXPECT_EQ(cell(177), (TrackCell{.kind = 4, .param1 = 60}));
    EXPECT_EQ(cell(201), (TrackCell{.kind = 3, .param1 = 60, .param3 = 1}));
    EXPECT_EQ(cell(211), (TrackCell{.kind = 2, .param1 = 60, .param3 = 1}));
    for (int j = 0; j < 4; ++j) {
        EXPECT_EQ(cell(176 - j),
                  (TrackCell{.kind = 5, .param1 = static_cast<std::int16_t>(j + 1)}));
    }
    memo_rallentamento(run_, {20000, 60, 500, 1, 1, 7});
    EXPECT_EQ(cell(401).param2, 7);
    EXPECT_EQ(cell(376).param2, 1);
    EXPECT_EQ(cell(373).param2, 4);
}

TEST_F(Encoders, SlowdownWarningOnlyBeyond1500) {
    memo_rallentamento(run_, {1500, 60, 100, 1, 1, 0});
    EXPECT_EQ(cell(7).kind, kFree);  // no warning cell
    EXPECT_EQ(cell(6).kind, kFree);  // no markers
    EXPECT_EQ(cell(31).kind, kSlowdownStart);
    railscen::Run beyond;
    beyond.cells = Cells::for_route(105500);
    memo_rallentamento(beyond, {1550, 60, 100, 1, 1, 0});
    const Cells& g = *beyond.cells;
    EXPECT_EQ(g[8].kind, kSlowdownWarning);  // (1550 - 1200) / 50 + 1
    EXPECT_EQ(g[32].kind, kSlowdownStart);
    for (int c = 4; c <= 7; ++c) EXPECT_EQ(g[c].kind, kSlowdownMarker) << c;
    EXPECT_EQ(g[7].param1, 1);
    EXPECT_EQ(g[4].param1, 4);
}

TEST_F(Encoders, SlowdownOfLengthZeroEndsAsStart) {
    memo_rallentamento(run_, {10000, 60, 0, 1, 0, 0});
    EXPECT_EQ(cell(201).kind, kSlowdownStart);
}

TEST_F(Encoders, SlowdownRefusalsAndWhatEachLeaves) {
    struct Case {
        std::int64_t taken;
        std::int32_t code;
        bool main_cells_written;
    };
    for (const Case c :
         {Case{177, 17, false}, Case{201, 18, false}, Case{211, 19, false}, Case{174, 20, true}}) {
        railscen::Run run;
        run.cells = Cells::for_route(105500);
        (*run.cells)[c.taken].kind = kSignBoard;
        memo_rallentamento(run, {10000, 60, 500, 1, 1, 0});
        EXPECT_EQ(run.error_code, c.code);
        EXPECT_EQ((*run.cells)[201].kind == kSlowdownStart, c.main_cells_written) << c.code;
        EXPECT_EQ((*run.cells)[211].kind == kSlowdownEnd, c.main_cells_written) << c.code;
        EXPECT_EQ((*run.cells)[176].kind, kFree) << c.code;
    }
}

}  // namespace
}  // namespace railscen
