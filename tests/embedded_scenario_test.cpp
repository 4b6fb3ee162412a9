// What the stored scenario compiles into.

#include <gtest/gtest.h>

#include "compile/memorizza_percorso.h"
#include "scenario/stored_scenario.h"
#include "source_text/scrivi_righe.h"
#include "support/test_support.h"

namespace railscen {
namespace {

class EmbeddedScenario : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        run_ = new railscen::Run(make_run());
        testing::MemorySource source(list_bytes(stored_line_description()),
                                     list_bytes(stored_train_description()));
        fatal_ = compile_in_memory(*run_, 1, source);
    }
    static void TearDownTestSuite() { delete run_; }
    static const Cells& cells() { return *run_->cells; }
    static const Slots& slots() { return run_->slots; }
    static int count_kind(std::uint8_t kind) {
        int n = 0;
        for (const TrackCell& c : cells().all()) n += c.kind == kind;
        return n;
    }

    static railscen::Run* run_;
    static std::optional<std::int32_t> fatal_;
};

railscen::Run* EmbeddedScenario::run_ = nullptr;
std::optional<std::int32_t> EmbeddedScenario::fatal_;

TEST_F(EmbeddedScenario, CompilesWithoutAnyCode) {
    EXPECT_EQ(run_->error_code, 0);
    EXPECT_EQ(fatal_, std::nullopt);
    EXPECT_EQ(cells().upper_bound(), 2250);
}

TEST_F(EmbeddedScenario, FixedSlots) {
    const Slots& s = slots();
    EXPECT_EQ(s[84].finish, 105500);
    EXPECT_EQ(s[84].start, 100);
    EXPECT_EQ(s[84].position, 5);
    EXPECT_EQ((std::array{s[86].start, s[86].finish, s[86].position}),
              (std::array{500, 104250, 4}));
    EXPECT_EQ(s[86].word1, 100);
    EXPECT_EQ((std::array{s[86].word3, s[86].word4, s[86].word5}),
              (std::array<std::int16_t, 3>{16, 39, 30}));
    EXPECT_EQ((std::array{s[85].start, s[85].position, s[85].finish}), (std::array{0, 1, 16500}));
    EXPECT_EQ((std::array{s[81].start, s[81].finish, s[81].position}),
              (std::array{104250, 100, 1}));
    EXPECT_EQ((std::array{s[82].start, s[82].finish, s[82].position}), (std::array{0, -2000, 0}));
    EXPECT_EQ((std::array{s[83].start, s[83].finish, s[83].position}), (std::array{0, 100, 1}));
    EXPECT_EQ(s[85].word1, 610);
    EXPECT_EQ(s[85].time, 31775);
    EXPECT_EQ(s[0], ScenarioSlot{});
}

TEST_F(EmbeddedScenario, SignTextsFromEightyDownAndStationsFromOne) {
    for (int i = 66; i <= 80; ++i) {
        EXPECT_FALSE(slots()[i].text.empty()) << i;
        EXPECT_EQ(slots()[i].text.front(), '(') << i;
    }
    for (int i = 25; i <= 65; ++i) EXPECT_EQ(slots()[i], ScenarioSlot{}) << i;
    for (int i = 1; i <= 24; ++i) EXPECT_FALSE(slots()[i].text.empty()) << i;
    EXPECT_EQ(count_kind(kSignBoard), 15);
    EXPECT_EQ(count_kind(kSpeedBoard), 32);
    EXPECT_EQ(count_kind(kSignal), 66);
    EXPECT_EQ(count_kind(kCodeDrop), 5);
    EXPECT_EQ(count_kind(kSlowdownStart) + count_kind(kSlowdownWarning), 0);
}

TEST_F(EmbeddedScenario, FirstAndLastStations) {
    const ScenarioSlot& first = slots()[1];
    EXPECT_EQ(first.text, "VELARO SAN MARTINO");
    EXPECT_EQ((std::array{first.start, first.finish}), (std::array{-400, 400}));
    EXPECT_EQ(cells()[7].kind, kStationStop);
    EXPECT_EQ(cells()[7].param1, 1);
    for (int b = 1; b <= 4; ++b) EXPECT_EQ(cells()[7 - b].approach, 80 + b);
    const ScenarioSlot& last = slots()[24];
    EXPECT_EQ(last.text, "CUSTRA");
    EXPECT_EQ((std::array{last.start, last.finish}), (std::array{104200, 104850}));
    EXPECT_EQ(last.time, 18 * 3600 + 10 * 60);
    EXPECT_EQ(cells()[2096].kind, kStationStop);
    EXPECT_EQ(cells()[2096].param1, 24);
}

TEST_F(EmbeddedScenario, QuotedObjectsInTheirCells) {
    EXPECT_EQ(cells()[122].kind, kSignal);
    EXPECT_EQ(cells()[122].param1, 42);
    EXPECT_EQ(cells()[122].signal_time, 255);
    EXPECT_EQ(cells()[37].param1, 30);
    EXPECT_EQ(cells()[2079].signal_time, 245);
    EXPECT_EQ(cells()[56].param3, 2121);
    EXPECT_EQ(cells()[17].param1, 600);
    EXPECT_EQ(cells()[70].param4, 22);
    EXPECT_EQ(cells()[12].param1, 280);
    EXPECT_EQ(cells()[1500].param1, 270);
    EXPECT_EQ(cells()[933].mountain, 1);
    EXPECT_EQ(cells()[1303].mountain, 2);
    EXPECT_EQ(cells()[1306].mountain, 3);
    EXPECT_EQ(cells()[1].param1, 5121);
    EXPECT_EQ(cells()[1].param2, 2244);
}

TEST_F(EmbeddedScenario, LayersReachTheLastThreeCellsNot) {
    for (std::int64_t i = 0; i <= 2247; ++i) {
        ASSERT_NE(cells()[i].speed_limit, 0) << i;
        ASSERT_NE(cells()[i].adhesion, 0) << i;
        ASSERT_NE(cells()[i].gradient, 0) << i;
    }
    for (std::int64_t i = 2248; i <= 2250; ++i) {
        EXPECT_EQ(cells()[i].speed_limit, 0);
        EXPECT_EQ(cells()[i].adhesion, 0);
        EXPECT_EQ(cells()[i].gradient, 0);
    }
    EXPECT_EQ(cells()[0].speed_limit, 6);
    EXPECT_EQ(cells()[40].adhesion, 70);
}

TEST_F(EmbeddedScenario, PlanComputedForMetresZeroTo112498) {
    const Plan& plan = run_->plan;
    ASSERT_EQ(plan.last_row(), 112500);
    EXPECT_EQ(type_code(plan.y(1)), TypeCode::kInteger);
    EXPECT_EQ(type_code(plan.x(112498)), TypeCode::kDouble);
    EXPECT_EQ(type_code(plan.x(112499)), TypeCode::kEmpty);
    EXPECT_EQ(type_code(plan.y(112500)), TypeCode::kEmpty);
    // The first curve starts at 500 m: the line runs straight north before it.
    EXPECT_EQ(numeric(plan.x(500)), 0.0);
    EXPECT_EQ(numeric(plan.y(500)), 500.0);
    EXPECT_NE(numeric(plan.x(700)), 0.0);
}

}  // namespace
}  // namespace railscen
