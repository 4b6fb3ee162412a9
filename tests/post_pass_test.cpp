#include "grid/post_pass.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace railscen {
namespace {

class PostPass : public ::testing::Test {
  protected:
    PostPass() { run_.cells = Cells::for_route(105500); }
    TrackCell& cell(std::int64_t i) { return (*run_.cells)[i]; }
    void put(std::int64_t i, std::uint8_t kind, std::int16_t param1 = 0) {
        cell(i).kind = kind;
        cell(i).param1 = param1;
    }
    bool drop_at(std::int64_t i) { return cell(i).kind == kCodeDrop && cell(i).param1 == 180; }
    std::vector<std::int64_t> drops() {
        std::vector<std::int64_t> out;
        for (std::int64_t i = 0; i < static_cast<std::int64_t>(run_.cells->size()); ++i) {
            if (cell(i).kind == kCodeDrop) out.push_back(i);
        }
        return out;
    }
    railscen::Run run_;
};

TEST_F(PostPass, NoSlowdownsLeaveTheGridUnchanged) {
    put(100, kSignal);
    put(50, kCodeDrop, 280);
    const std::vector<TrackCell> before = run_.cells->all();
    post_process_grid(run_);
    EXPECT_EQ(run_.cells->all(), before);
    EXPECT_EQ(run_.error_code, 0);
}

TEST_F(PostPass, RuleAServesEverySignalDownToCellThree) {
    put(500, kSlowdownWarning, 60);
    put(499, kSignal);
    put(480, kSignal);
    post_process_grid(run_);
    EXPECT_EQ(drops(), (std::vector<std::int64_t>{479, 498}));

    railscen::Run near_start;
    near_start.cells = Cells::for_route(0);
    (*near_start.cells)[10].kind = kSlowdownWarning;
    (*near_start.cells)[2].kind = kSignal;
    const std::vector<TrackCell> before = near_start.cells->all();
    post_process_grid(near_start);
    EXPECT_EQ(near_start.cells->all(), before);
}

TEST_F(PostPass, RuleALowersAnExistingDropPointOrPlacesANewOne) {
    put(500, kSlowdownWarning, 60);
    put(490, kSignal);
    put(489, kCodeDrop, 280);
    put(488, kSignBoard);
    put(470, kSignal);
    put(469, kCodeDrop, 150);
    put(468, kSignBoard);
    post_process_grid(run_);
    EXPECT_EQ(cell(489).param1, 180);
    EXPECT_EQ(cell(469).param1, 150);

    railscen::Run free_behind;
    free_behind.cells = Cells::for_route(105500);
    Cells& g = *free_behind.cells;
    g[500].kind = kSlowdownWarning;
    g[490].kind = kSignal;
    g[489].kind = kCodeDrop;
    g[489].param1 = 280;
    post_process_grid(free_behind);
    EXPECT_EQ(g[489].param1, 280);
    EXPECT_EQ(g[488].kind, kCodeDrop);
    EXPECT_EQ(g[488].param1, 180);
}

TEST_F(PostPass, RuleARecordsElevenWhenNothingFits) {
    put(500, kSlowdownWarning, 60);
    put(490, kSignal);
    put(489, kSignBoard);
    put(488, kSignBoard);
    run_.error_code = 15;  // a code left by loading is overwritten
    post_process_grid(run_);
    EXPECT_EQ(run_.error_code, 11);
    EXPECT_EQ(run_.error_position, 490 * 50);
    // The pass's diagnostic names the train description as a whole and the signal's cell.
    const Diagnostic* d = recorded_diagnostic(run_);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->cell, 490);
    EXPECT_EQ(d->at, (SourceLocation{SourceFile::kTrain, 0, 0}));
}

TEST_F(PostPass, RuleBWindowsBeforeTheStart) {
    struct Case {
        std::int64_t start;
        std::vector<std::int64_t> expected;
    };
    // Windows: c-5..c-7 when c > 7, c-11..c-13 when c > 13, c-18..c-20 when c > 20.
    const Case cases[] = {{7, {}}, {8, {3}}, {13, {8}}, {14, {3, 9}}, {21, {3, 10, 16}}};
    for (const Case& c : cases) {
        railscen::Run run;
        run.cells = Cells::for_route(105500);
        (*run.cells)[c.start].kind = kSlowdownStart;
        (*run.cells)[c.start].param1 = 120;  // no points inside
        (*run.cells)[c.start + 3].kind = kSlowdownEnd;
        post_process_grid(run);
        std::vector<std::int64_t> got;
        for (std::int64_t i = 0; i < c.start; ++i) {
            if ((*run.cells)[i].kind == kCodeDrop) got.push_back(i);
        }
        EXPECT_EQ(got, c.expected) << c.start;
        EXPECT_EQ(run.error_code, 0);
    }
}

TEST_F(PostPass, RuleBRecordsTwelveForAFullWindowAndIgnoresDropPoints) {
    put(100, kSlowdownStart, 120);
    put(103, kSlowdownEnd, 120);
    put(95, kCodeDrop, 180);
    put(94, kSignal);
    put(93, kSignBoard);
    post_process_grid(run_);
    EXPECT_EQ(run_.error_code, 12);
    EXPECT_EQ(run_.error_position, 5000);
    EXPECT_TRUE(drop_at(89));
    EXPECT_TRUE(drop_at(82));
}

TEST_F(PostPass, RuleCEveryEightCellsInsideASlowSlowdown) {
    put(100, kSlowdownStart, 60);
    put(130, kSlowdownEnd, 60);
    post_process_grid(run_);
    for (std::int64_t i : {108, 116, 124}) EXPECT_TRUE(drop_at(i)) << i;
    EXPECT_FALSE(drop_at(131));
    EXPECT_EQ(run_.error_code, 0);
}

TEST_F(PostPass, RuleCFollowsThePointActuallyPlaced) {
    put(100, kSlowdownStart, 60);
    put(108, kSignBoard);
    put(150, kSlowdownEnd, 60);
    post_process_grid(run_);
    EXPECT_TRUE(drop_at(107));
    EXPECT_TRUE(drop_at(115));
    put(200, kSlowdownStart, 60);
    put(208, kSignBoard);
    put(207, kSignBoard);
    put(250, kSlowdownEnd, 60);
    post_process_grid(run_);
    EXPECT_TRUE(drop_at(209));
    EXPECT_TRUE(drop_at(217));
}

TEST_F(PostPass, RuleCThirteenStopsThePointsOfThatSlowdown) {
    put(100, kSlowdownStart, 60);
    put(130, kSlowdownEnd, 60);
    for (std::int64_t i : {107, 108, 109}) put(i, kSignBoard);
    post_process_grid(run_);
    EXPECT_EQ(run_.error_code, 13);
    EXPECT_EQ(run_.error_position, 5400);
    EXPECT_FALSE(drop_at(116));
    EXPECT_FALSE(drop_at(124));
}

TEST_F(PostPass, SpeedOf110GetsNoPointsInside) {
    put(100, kSlowdownStart, 110);
    put(130, kSlowdownEnd, 110);
    post_process_grid(run_);
    for (std::int64_t i = 101; i < 130; ++i) EXPECT_FALSE(drop_at(i)) << i;
}

TEST_F(PostPass, RuleDServesTheFirstSignalAfterTheEnd) {
    for (const std::int16_t v : {60, 120}) {
        railscen::Run run;
        run.cells = Cells::for_route(105500);
        Cells& g = *run.cells;
        g[100].kind = kSlowdownStart;
        g[100].param1 = v;
        g[110].kind = kSlowdownEnd;
        g[115].kind = kSignal;
        g[120].kind = kSignal;
        post_process_grid(run);
        EXPECT_EQ(g[114].kind, kCodeDrop) << v;
        EXPECT_EQ(g[119].kind, kFree) << v;
    }
    put(100, kSlowdownStart, 120);
    put(110, kSlowdownEnd, 120);
    put(122, kSignal);
    post_process_grid(run_);
    EXPECT_EQ(cell(121).kind, kCodeDrop);  // 12 cells after the end
    put(300, kSlowdownStart, 120);
    put(310, kSlowdownEnd, 120);
    put(323, kSignal);
    post_process_grid(run_);
    EXPECT_EQ(cell(322).kind, kFree);  // 13 cells after: out of reach
}

TEST_F(PostPass, RuleDRecordsThirteenAtTheEnd) {
    put(100, kSlowdownStart, 120);
    put(110, kSlowdownEnd, 120);
    put(112, kSignal);
    put(111, kSignBoard);
    post_process_grid(run_);
    EXPECT_EQ(run_.error_code, 13);
    EXPECT_EQ(run_.error_position, 5500);
}

TEST_F(PostPass, AWalkWithoutAnEndStopsAtTheLastCell) {
    put(2200, kSlowdownStart, 60);
    put(2245, kSignal);
    post_process_grid(run_);
    EXPECT_TRUE(drop_at(2208));
    EXPECT_TRUE(drop_at(2248));
    EXPECT_FALSE(drop_at(2244));  // no rule D without an end
    // The last two cells are never scanned.
    railscen::Run run;
    run.cells = Cells::for_route(105500);
    (*run.cells)[2249].kind = kSlowdownStart;
    post_process_grid(run);
    EXPECT_EQ((*run.cells)[2244].kind, kFree);
}

}  // namespace
}  // namespace railscen
