// The clock-field warning and the one rule behind it: a time of day is 0:00:00 to 23:59:59.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/clock_rule.h"
#include "analysis/warnings.h"
#include "compile/memorizza_percorso.h"
#include "support/test_support.h"

namespace railscen {
namespace {

TEST(ClockRule, NamesEveryFieldOutsideADay) {
    struct Case {
        std::int64_t h, m, s;
        std::string problem;
    };
    const std::vector<Case> cases = {
        {0, 0, 0, ""},
        {23, 59, 59, ""},
        {24, 0, 0, "hour 24 is past 23"},
        {99, 99, 99, "hour 99 is past 23; minute 99 is past 59; second 99 is past 59"},
        {8, 60, 0, "minute 60 is past 59"},
        {8, 0, -2147483648, "second -2147483648 is negative"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.h) + ":" + std::to_string(c.m) + ":" + std::to_string(c.s));
        EXPECT_EQ(analysis::clock_fields_problem(c.h, c.m, c.s), c.problem);
    }
}

TEST(ClockRule, TheClockAndTimedStationsOutsideADayAreWarnedOnTheirHour) {
    const std::string line =
        "[generale]\r\nlunghezza percorso,    5000\r\n[curve]\r\npendenza,  500,  4\r\n[fine]\r\n";
    auto station = [](const std::string& time) {
        return "stazione,  2000,  1,  200,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  " + time +
               ",  Bivio";
    };
    struct Case {
        std::string clock;
        std::string station;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases = {
        {"orologio,  23 50 0", station("0,  0,  1"), {}},
        {"orologio,  8 0 0",
         station("99,  99,  99"),
         {"train:3:69 the station's time is no time of day: hour 99 is past 23; minute 99 is "
          "past 59; second 99 is past 59"}},
        {"orologio,  25 0 0",
         station("8,  0,  -2147483648"),
         {"train:2:12 the clock is no time of day: hour 25 is past 23",
          "train:3:69 the station's time is no time of day: second -2147483648 is negative"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.clock + " / " + c.station);
        railscen::Run run = make_run();
        testing::MemorySource source(
            line, "[generale]\r\n" + c.clock + "\r\n" + c.station + "\r\n[fine]\r\n");
        compile_in_memory(run, 0, source);
        std::vector<std::string> found;
        for (const Diagnostic& d : analysis::clock_field_warnings(run)) {
            found.push_back("train:" + std::to_string(d.at->line) + ":" +
                            std::to_string(d.at->column) + " " + d.reason);
        }
        EXPECT_EQ(found, c.expected);
    }
}

}  // namespace
}  // namespace railscen
