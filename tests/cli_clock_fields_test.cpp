// The clock-field warning and the one rule behind it: a time of day is 0:00:00 to 23:59:59.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/clock_rule.h"
#include "analysis/run_times.h"
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

TEST(ClockRule, ALegRunsForwardPastMidnightOrIsFlagged) {
    struct Case {
        const char* name;
        std::int64_t from, to;
        std::optional<std::int64_t> seconds;
    };
    const std::vector<Case> cases = {
        {"same day", 8 * 3600, 8 * 3600 + 900, 900},
        {"no time at all", 3600, 3600, 0},
        {"23:50 to 00:00:01", 23 * 3600 + 50 * 60, 1, 601},
        {"18:00 to 05:59:59, just under half a day", 18 * 3600, 6 * 3600 - 1, 12 * 3600 - 1},
        {"18:00 to 06:00, half a day", 18 * 3600, 6 * 3600, std::nullopt},
        {"08:00 to 07:50", 8 * 3600, 7 * 3600 + 50 * 60, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(analysis::leg_seconds(c.from, c.to), c.seconds);
    }
}

// check and timetable take one leg by the same rule: past midnight it is a leg of both, before
// the clock it is a warning of check and a leg of neither.
TEST(ClockRule, CheckAndTimetableAgreeOnEveryLegFromTheClock) {
    const std::string line =
        "[generale]\r\nlunghezza percorso,    5000\r\n[curve]\r\npendenza,  500,  4\r\n[fine]\r\n";
    auto train = [](const std::string& clock, const std::string& time) {
        return "[generale]\r\norologio,  " + clock +
               "\r\nstazione,  1000,  1,  200,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,"
               "  Prima\r\nstazione,  4000,  1,  200,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  " +
               time + ",  Seconda\r\n[fine]\r\n";
    };
    struct Case {
        const char* name;
        std::string clock;
        std::string time;
        bool leg;     // timetable has the leg from the clock
        bool warned;  // check warns the station is before the clock
    };
    const std::vector<Case> cases = {
        {"past midnight", "23 50 0", "0,  0,  1", true, false},
        {"same day", "8 0 0", "8,  30,  0", true, false},
        {"before the clock", "8 0 0", "7,  50,  0", false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        railscen::Run run = make_run();
        testing::MemorySource source(line, train(c.clock, c.time));
        compile_in_memory(run, 0, source);
        ASSERT_EQ(run.error_code, 0);
        EXPECT_EQ(analysis::timed_legs(run).size(), c.leg ? 1U : 0U);
        EXPECT_EQ(analysis::clock_warnings(run).size(), c.warned ? 1U : 0U);
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
