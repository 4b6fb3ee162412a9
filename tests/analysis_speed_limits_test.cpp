// The one rule of the speed limit in force: a board's speeds by rank and side, the train's own
// limit and the slowdowns; and every front end that shows a limit takes it from that rule.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "analysis/run_times.h"
#include "analysis/scene.h"
#include "analysis/sheet_facts.h"
#include "analysis/speed_limits.h"
#include "scenario/stored_scenario.h"
#include "source_text/scrivi_righe.h"
#include "support/sheet_scenario.h"
#include "support/test_support.h"

namespace railscen {
namespace {

using analysis::LimitRule;
using analysis::Rank;
using analysis::Side;
using testing::line_text;
using testing::load;
using testing::train_text;

// Boards of three different speeds: one-sided on the left at 800 m, two-sided at 2,000 m,
// one-sided on the right at 4,000 m; the train's limit 150 km/h; a slowdown of 30 km/h over
// 5,000-5,500 m.
railscen::Run boards_scenario() {
    return load(line_text({"[pendenze]", "pendenza,   0,    0", "[cartelli]",
                           "indicatori_vmax,  800,  30,  60,  90,  0,  ,  ,  ,  0",
                           "indicatori_vmax,  2000,  100,  120,  140,  0,  90,  110,  130,  0",
                           "indicatori_vmax,  4000,  ,  ,  ,  0,  50,  70,  80,  0"},
                          "8000"),
                train_text({"orologio,    10  00  00 ", "[vel_limite]", "velocita,   0,    150",
                            "[stazioni]",
                            "stazione,  0, 8, 400, 0, 0, 0, 1, 1, 0, 3, 1, 1, 1, 10, 0, 0, ALFA",
                            "stazione,  7000, 4, 600, 1, 0, 1, 1,1,0, 2,1,1, 0, 10,10, 0, BETA",
                            "[rallentamenti]", "rallentamento,  5000, 30, 500, 1, 1, 0"}));
}

int limit_at(const std::vector<analysis::SpeedStretch>& limits, std::int64_t m) {
    const analysis::SpeedStretch* s = analysis::stretch_at(limits, m);
    return s == nullptr ? -1 : s->kmh;
}

TEST(SpeedLimits, ABoardGivesTheSpeedOfTheRuleRankOnTheRuleSide) {
    const railscen::Run run = boards_scenario();
    ASSERT_EQ(run.error_code, 0);
    struct Case {
        LimitRule rule;
        std::int64_t metre;
        int kmh;
    };
    const Case cases[] = {
        // Any rank, either side: the highest speed any train may run.
        {{}, 500, 150},   // before the first board: the train's own limit
        {{}, 900, 150},   // the right side has met no board: it limits nothing
        {{}, 2100, 140},  // two-sided: the higher side's highest
        {{}, 4100, 140},  // the left side keeps its board of 2,000 m
        {{}, 5100, 30},   // the slowdown
        {{}, 5500, 140},  // the slowdown ends at its length
        // Rank A on the left track.
        {{Rank::kA, Side::kLeft}, 900, 30},
        {{Rank::kA, Side::kLeft}, 500, 150},
        {{Rank::kA, Side::kLeft}, 2100, 100},
        {{Rank::kA, Side::kLeft}, 4100, 100},
        // Rank C on the right track: no board before 2,000 m, so the train's limit.
        {{Rank::kC, Side::kRight}, 900, 150},
        {{Rank::kC, Side::kRight}, 2100, 130},
        {{Rank::kC, Side::kRight}, 4100, 80},
        {{Rank::kB, Side::kRight}, 4100, 70},
        {{Rank::kB, Side::kEitherSide}, 4100, 120},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(limit_at(analysis::speed_limits(run, c.rule), c.metre), c.kmh)
            << "at " << c.metre << " m, rank " << static_cast<int>(c.rule.rank) << ", side "
            << static_cast<int>(c.rule.side);
    }
}

TEST(SpeedLimits, EachKindOfLimitIsKeptBesideTheLowest) {
    const railscen::Run run = boards_scenario();
    const std::vector<analysis::SpeedStretch> limits =
        analysis::speed_limits(run, {Rank::kA, Side::kLeft});
    const analysis::SpeedStretch* s = analysis::stretch_at(limits, 5200);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->line_kmh, 100);
    EXPECT_EQ(s->train_kmh, 150);
    EXPECT_EQ(s->slowdown_kmh, 30);
    EXPECT_EQ(s->sources, analysis::kSlowdownLimit);
    EXPECT_EQ(analysis::stretch_text(*s), "30 km/h over 5,000-5,500 m");
}

// The route sheet's effective limit, the timetable's bound and the run of a train read the
// limit from the same rule: on every cell of the stored scenario, of the sheet's scenario and
// of the boards above, the sheet shows what the rule gives at the cell's first metre.
TEST(SpeedLimits, TheSheetDrawsTheLimitTheTimetableRunsAt) {
    const std::vector<std::pair<std::string, railscen::Run>> runs = [] {
        std::vector<std::pair<std::string, railscen::Run>> out;
        out.emplace_back("boards", boards_scenario());
        out.emplace_back("sheet", load(testing::sheet_line_text(), testing::sheet_train_text()));
        out.emplace_back("stored", load(list_bytes(stored_line_description()),
                                        list_bytes(stored_train_description())));
        return out;
    }();
    for (const auto& [name, run] : runs) {
        ASSERT_EQ(run.error_code, 0) << name;
        const std::vector<analysis::SpeedStretch> limits = analysis::speed_limits(run);
        railscen::Run copy = run;
        const analysis::Scene scene = analysis::scene_from_run(std::move(copy), {}, {"l", "t"});
        const analysis::SheetFacts facts = analysis::sheet_facts(scene);
        std::size_t drawn = 0;
        for (std::size_t c = 0; c < facts.effective_limit.values.size(); ++c) {
            const int shown = facts.effective_limit.values[c];
            if (shown == analysis::kNoValue) continue;
            ++drawn;
            EXPECT_EQ(shown, limit_at(limits, static_cast<std::int64_t>(c) * 50))
                << name << ", cell " << c;
        }
        EXPECT_GT(drawn, 100u) << name;
        for (const analysis::TimedLeg& leg : analysis::timed_legs(run)) {
            if (!leg.bound) continue;
            EXPECT_DOUBLE_EQ(leg.bound->seconds,
                             analysis::fastest_run(limits, leg.from_metres, leg.to_metres).seconds)
                << name << ", leg to " << leg.to_name;
        }
    }
}

}  // namespace
}  // namespace railscen
