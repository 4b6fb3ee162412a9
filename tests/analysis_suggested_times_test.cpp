// Times proposed for the timed stations: the run grown by the margin, up to the whole second,
// chained from the time proposed before, past midnight by the clock's one rule.

#include <gtest/gtest.h>

#include "analysis/train_run.h"
#include "analysis/units_text.h"

namespace railscen::analysis {
namespace {

// A leg from `from_time` at `from_metres` to a station at `to_metres`, `scheduled` later.
TimedLeg leg(std::int64_t from_time, std::int64_t from_metres, std::int64_t to_metres,
             std::int64_t scheduled, std::size_t record) {
    TimedLeg l;
    l.from_time = from_time;
    l.to_time = (from_time + scheduled) % 86400;
    l.from_metres = from_metres;
    l.to_metres = to_metres;
    l.scheduled = scheduled;
    l.to_record = record;
    return l;
}

TEST(SuggestedTimes, ChainedFromTheFirstTimeGiven) {
    const std::int64_t eight = 8 * 3600;
    struct Case {
        const char* name;
        std::vector<TimedLeg> legs;
        std::vector<std::optional<double>> run;
        double margin;
        std::vector<std::string> times;  // proposed, with "*" where the scheduled leg is kept
    };
    const Case cases[] = {
        {"two legs, 10 %",
         {leg(eight, 0, 1000, 300, 1), leg(eight + 300, 1000, 3000, 300, 2)},
         {100.0, 200.0},
         10,
         {"8:01:50", "8:05:30"}},
        {"up to the whole second, past the sum's noise",
         {leg(eight, 0, 1000, 300, 1), leg(eight + 300, 1000, 3000, 300, 2)},
         {100.01, 99.9999999},
         0,
         {"8:01:41", "8:03:21"}},
        {"no run: the scheduled leg is kept",
         {leg(eight, 0, 1000, 300, 1), leg(eight + 300, 1000, 3000, 240, 2)},
         {100.0, std::nullopt},
         5,
         {"8:01:45", "*8:05:45"}},
        {"past midnight", {leg(23 * 3600 + 59 * 60, 0, 1000, 300, 1)}, {120.0}, 0, {"0:01:00"}},
        {"never at midnight, which would leave the station untimed",
         {leg(23 * 3600 + 59 * 60, 0, 1000, 300, 1)},
         {60.0},
         0,
         {"0:00:01"}},
        {"a leg that starts anew begins at its own time",
         {leg(eight, 0, 1000, 300, 1), leg(eight + 900, 1500, 3000, 300, 3)},
         {100.0, 100.0},
         0,
         {"8:01:40", "8:16:40"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> got;
        for (const SuggestedTime& t : suggested_times(c.legs, c.run, c.margin)) {
            got.push_back((t.from_run ? "" : "*") + clock_text(t.time));
        }
        EXPECT_EQ(got, c.times);
    }
}

}  // namespace
}  // namespace railscen::analysis
