// The edit distance behind check's spelling suggestions, and the clock the tool prints times with.

#include "analysis/edit_distance.h"

#include <gtest/gtest.h>

#include "analysis/units_text.h"

namespace railscen::cli {
namespace {

TEST(EditDistance, CountsInsertionsDeletionsReplacementsAndNeighbourSwaps) {
    struct Case {
        const char* a;
        const char* b;
        std::size_t distance;
    };
    const Case cases[] = {
        {"", "", 0},
        {"segnale", "segnale", 0},
        {"", "curva", 5},
        {"curva", "", 5},
        {"segnal", "segnale", 1},     // one letter missing
        {"pendenze", "pendenza", 1},  // one letter wrong
        {"aderneza", "aderenza", 1},  // two neighbours swapped
        {"curvs", "curva", 1},
        {"ab", "ba", 1},
        {"abc", "ca", 3},  // a swap is only of neighbours that stay neighbours
        {"velocita", "stazione", 8},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(analysis::edit_distance(c.a, c.b), c.distance) << c.a << " / " << c.b;
        EXPECT_EQ(analysis::edit_distance(c.b, c.a), c.distance) << c.b << " / " << c.a;
    }
}

TEST(ClockText, HoursMinutesAndSeconds) {
    EXPECT_EQ(analysis::clock_text(0), "0:00:00");
    EXPECT_EQ(analysis::clock_text(180), "0:03:00");
    EXPECT_EQ(analysis::clock_text(16 * 3600 + 39 * 60 + 30), "16:39:30");
    EXPECT_EQ(analysis::clock_text(30 * 3600 + 1), "30:00:01");  // a span past a day
    EXPECT_EQ(analysis::clock_text(-61), "-0:01:01");
}

}  // namespace
}  // namespace railscen::cli
