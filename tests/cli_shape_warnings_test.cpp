// Shapes the compile accepts but the simulator cannot mean: each check with its table of
// cases, the warning's kind, line and words, or none.

#include <gtest/gtest.h>

#include <functional>

#include "analysis/warnings.h"
#include "support/test_support.h"

namespace railscen {
namespace {

using testing::line_text;
using testing::train_text;

struct Case {
    const char* what;
    std::string line;
    std::string train;
    int line_number;    // of the warning; 0: no warning
    const char* words;  // the warning begins with them
};

using Check = std::function<std::vector<Diagnostic>(const Run&)>;

void expect_cases(const Check& check, const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        const Run run = testing::load(c.line, c.train);
        const std::vector<Diagnostic> found = check(run);
        if (c.line_number == 0) {
            EXPECT_TRUE(found.empty()) << c.what << ": " << (found.empty() ? "" : found[0].reason);
            continue;
        }
        ASSERT_EQ(found.size(), 1u) << c.what;
        EXPECT_EQ(found[0].at->line, c.line_number) << c.what;
        EXPECT_TRUE(found[0].reason.starts_with(c.words)) << c.what << ": " << found[0].reason;
    }
}

TEST(ShapeWarnings, MountainEnds) {
    expect_cases(
        analysis::mountain_end_warnings,
        {
            {"end before start", line_text({"montagna,  5000,  4000,  11"}), train_text({}), 7,
             "the mountain ends at 4000 m, not after its start at 5000 m"},
            {"end at start", line_text({"montagna,  5000,  5000,  1"}), train_text({}), 7,
             "the mountain ends at 5000 m"},
            {"end after start", line_text({"montagna,  5000,  5050,  1"}), train_text({}), 0, ""},
        });
}

TEST(ShapeWarnings, CurveOverlaps) {
    expect_cases(
        analysis::curve_overlap_warnings,
        {
            {"a 3 km curve laid over the next",
             line_text({"curvas3,  1000,  3000", "curvad3,  2000,  300"}), train_text({}), 8,
             "this curve begins at 2000 m, inside the curve before (1000 to 4000 m)"},
            {"curves end to end", line_text({"curvas3,  1000,  300", "curvad3,  1300,  300"}),
             train_text({}), 0, ""},
        });
}

TEST(ShapeWarnings, SpeedsBeyondAnyTrain) {
    expect_cases(
        analysis::speed_ceiling_warnings,
        {
            {"a board of 1200 km/h",
             line_text({"indicatori_vmax,  800,  1200,  100,  100,  0,  ,  ,  ,  0"}),
             train_text({}), 7, "1200 km/h is beyond any train"},
            {"a speed limit of 400 km/h", line_text({}), train_text({"velocita, 0, 400"}), 2,
             "400 km/h is beyond any train"},
            {"the fastest trains' speed", line_text({}), train_text({"velocita, 0, 350"}), 0, ""},
        });
}

TEST(ShapeWarnings, ObjectsInTheRunOut) {
    const char* terminus = "stazione, 35000, 4, 600, 1, 0, 1, 1,1,0, 2,1,1, 0, 18,10,0, END";
    expect_cases(
        analysis::run_out_warnings,
        {
            {"the terminus past the line's end", line_text({}, "30000"), train_text({terminus}), 2,
             "the station at 35000 m lies past the line's end at 30000 m"},
            {"a signal past the end", line_text({}, "30000"),
             train_text({"segnale, 31000, 2, 3, 0, 0, 0, 0, 0,0,0, 0"}), 2,
             "the signal at 31000 m"},
            {"the terminus at the end", line_text({}, "35000"), train_text({terminus}), 0, ""},
        });
}

}  // namespace
}  // namespace railscen
