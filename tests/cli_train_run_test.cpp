// A real train's run in the author's loop: timetable's run column and --suggest, check's
// warnings on legs the train cannot keep, and the route sheet's run. The scenario is the one
// worked by hand for railscen run: the train pulls and brakes at 1 m/s^2 with nothing against
// it, so 2,000 m between stands take 2 * sqrt(2 * 1000) = 89.44 s. From leaving ORIGINE to
// leaving PRIMA (30 s stop) is 119.44 s, 2:00 whole; from leaving PRIMA to ULTIMA, where the
// run ends, 89.44 s, 1:30 whole.

#include <gtest/gtest.h>

#include <cstdio>
#include <nlohmann/json.hpp>
#include <sstream>

#include "analysis/train_run.h"
#include "cli_tool.h"
#include "model/file_io.h"
#include "model/file_names.h"

namespace railscen {
namespace {

using testing::TempFolder;
using testing::tool;

const std::string kLine = testing::hand_worked_line();

// The clock and the times of ORIGINE, PRIMA and ULTIMA as their three fields.
struct Times {
    const char* clock = "16 0 0";
    const char* origine = "16,0,0";
    const char* prima = "16,2,0";
    const char* ultima = "16,5,0";
};

std::string train_text(const Times& t) {
    return testing::train_text({
        std::string("orologio,  ") + t.clock,
        testing::station_row(0, 8, 1, t.origine, "ORIGINE"),
        testing::station_row(2000, 12, 30, t.prima, "PRIMA"),
        testing::station_row(3000, 28, 0, "0,0,0", "PASSANTE"),
        testing::station_row(4000, 12, 0, t.ultima, "ULTIMA"),
    });
}

struct Folder : testing::TrainFolder {
    explicit Folder(const Times& times = {}) : TrainFolder(kLine, train_text(times)) {}
};

std::string warning_lines(const std::string& err) {
    std::string out;
    std::istringstream lines(err);
    for (std::string line; std::getline(lines, line);) {
        if (line.find(": warning: ") != std::string::npos) out += line + "\n";
    }
    return out;
}

class TrainRun : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!analysis::has_train_dynamics()) GTEST_SKIP() << "this build has no train dynamics";
    }
};

TEST_F(TrainRun, TimetableGivesTheRunBesideTheBound) {
    const testing::ToolRun run =
        Folder().run("timetable", {"--rolling-stock", "stock.yaml", "--train", "TEST"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out,
              "Run times between timed stations. Bound: the shortest time at the speed limits in "
              "force (line speed boards, the train's limits, slowdowns); a bound that ignores "
              "acceleration, braking and stops, which no real run beats.\n"
              "Run: the fastest run of TEST (Test unit) by its traction, resistance and braking, "
              "from leaving one station to leaving the next (a stop there included; at the last "
              "station, the arrival).\n"
              "\n"
              "From     To      Distance  Bound    Run      Scheduled  Margin   Limited most by\n"
              "ORIGINE  PRIMA   2,000 m   0:00:35  0:02:00  0:02:00    0:01:25  200 km/h over "
              "100-2,000 m (line speed board)\n"
              "PRIMA    ULTIMA  2,000 m   0:00:36  0:01:30  0:03:00    0:02:24  200 km/h over "
              "2,000-4,000 m (line speed board)\n"
              "\n"
              "Every timed station can be reached in its scheduled time.\n");
}

TEST_F(TrainRun, TimetableJsonCarriesTheRunSecondsOrNull) {
    const Folder f;
    struct Case {
        std::vector<std::string> args;
        nlohmann::json run_s[2];
        nlohmann::json train;
    };
    const Case cases[] = {
        {{"--rolling-stock", "stock.yaml"}, {119.4, 89.4}, "TEST (Test unit)"},
        {{}, {nullptr, nullptr}, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.size());
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"--format", "json"});
        const testing::ToolRun run = f.run("timetable", args);
        ASSERT_EQ(run.status, 0) << run.err;
        const nlohmann::json doc = nlohmann::json::parse(run.out);
        ASSERT_EQ(doc["legs"].size(), 2u);
        EXPECT_EQ(doc["legs"][0]["to"], "PRIMA");
        EXPECT_EQ(doc["legs"][0]["run_s"], c.run_s[0]);
        EXPECT_EQ(doc["legs"][1]["to"], "ULTIMA");
        EXPECT_EQ(doc["legs"][1]["run_s"], c.run_s[1]);
        EXPECT_EQ(doc.value("train", nlohmann::json()), c.train);
    }
}

// The proposed leg is the run grown by the margin, up to the whole second, each from the time
// proposed before it: 5 %: 119.44 * 1.05 = 125.4, 126 s; 89.44 * 1.05 = 93.9, 94 s.
TEST_F(TrainRun, SuggestChainsTheRunPlusTheMargin) {
    EXPECT_EQ(Folder().run("timetable", {"--rolling-stock", "stock.yaml", "--suggest"}).out,
              "Proposed times: the fastest run of TEST (Test unit) by its traction, resistance and "
              "braking, from leaving one station to leaving the next (a stop there included; at "
              "the last station, the arrival), plus a 5 % recovery margin, up to the whole "
              "second; each leg from the time proposed before it.\n"
              "\n"
              "From     To      Scheduled  Run      Proposed leg  Proposed time\n"
              "ORIGINE  PRIMA   16:02:00   0:02:00  0:02:06       16:02:06\n"
              "PRIMA    ULTIMA  16:05:00   0:01:30  0:01:34       16:03:40\n");
}

TEST_F(TrainRun, SuggestedTimesByMarginAndAcrossMidnight) {
    struct Case {
        const char* name;
        Times times;
        std::vector<std::string> margin;
        const char* prima;
        const char* ultima;
    };
    const Case cases[] = {
        {"the default 5 %", {}, {}, "16:02:06", "16:03:40"},
        {"no margin", {}, {"--margin", "0"}, "16:02:00", "16:03:30"},
        // 131.4 -> 132 s, 98.4 -> 99 s
        {"10 %", {}, {"--margin", "10"}, "16:02:12", "16:03:51"},
        {"across midnight", {"23 58 0", "23,58,0", "0,0,1", "0,3,0"}, {}, "0:00:06", "0:01:40"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> args = {"--rolling-stock", "stock.yaml", "--suggest", "--format",
                                         "json"};
        args.insert(args.end(), c.margin.begin(), c.margin.end());
        const testing::ToolRun run = Folder(c.times).run("timetable", args);
        ASSERT_EQ(run.status, 0) << run.err;
        const nlohmann::json doc = nlohmann::json::parse(run.out);
        ASSERT_EQ(doc["legs"].size(), 2u) << run.out;
        EXPECT_EQ(doc["legs"][0]["suggested_time"], c.prima);
        EXPECT_EQ(doc["legs"][1]["suggested_time"], c.ultima);
    }
}

TEST_F(TrainRun, SuggestAndTrainNeedTheRollingStock) {
    for (const char* option : {"--suggest", "--margin=3"}) {
        SCOPED_TRACE(option);
        const testing::ToolRun run = Folder().run("timetable", {option});
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.err.find("requires"), std::string::npos) << run.err;
    }
}

// A leg the train cannot keep gives one warning at its last station's time; one the speed
// limits alone rule out keeps the bound's warning only.
TEST_F(TrainRun, CheckWarnsOnceOnEachLegTheTrainCannotKeep) {
    struct Case {
        const char* name;
        Times times;
        bool stock;
        std::string warnings;
    };
    const Case cases[] = {
        {"kept to the second", {}, true, ""},
        {"PRIMA a second short",
         {.prima = "16,1,59"},
         true,
         "L_T-.txt:4:61: warning: station \"PRIMA\" is timed 0:01:59 after \"ORIGINE\", but the "
         "fastest run of TEST (Test unit) takes 0:02:00 [timetable]\n"},
        {"ULTIMA a second short",
         {.ultima = "16,3,29"},
         true,
         "L_T-.txt:6:60: warning: station \"ULTIMA\" is timed 0:01:29 after \"PRIMA\", but the "
         "fastest run of TEST (Test unit) takes 0:01:30 [timetable]\n"},
        {"without the rolling stock", {.prima = "16,1,59"}, false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> args;
        if (c.stock) args = {"--rolling-stock", "stock.yaml"};
        const testing::ToolRun run = Folder(c.times).run("check", args);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(warning_lines(run.err), c.warnings) << run.err;
    }
}

TEST_F(TrainRun, CheckLeavesALegTheLimitsRuleOutToTheBound) {
    const testing::ToolRun run =
        Folder({.prima = "16,0,30"}).run("check", {"--rolling-stock", "stock.yaml"});
    EXPECT_EQ(warning_lines(run.err),
              "L_T-.txt:4:61: warning: station \"PRIMA\" is timed 0:00:30 after \"ORIGINE\", but "
              "its 2000 m at the speed limits take at least 0:00:35 (200 km/h over 100-2,000 m) "
              "[timetable]\n");
}

TEST_F(TrainRun, ABrokenOrMissingTrainIsNamed) {
    struct Case {
        std::vector<std::string> args;
        std::string err;
    };
    const Case cases[] = {
        {{"--rolling-stock", "stock.yaml", "--train", "NONE"},
         "railscen check: stock.yaml has no train \"NONE\"\n"},
        {{"--rolling-stock", "missing.yaml"},
         "railscen check: cannot read \"missing.yaml\": No such file or directory\n"},
    };
    for (const Case& c : cases) {
        const testing::ToolRun run = Folder().run("check", c.args);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err, c.err);
    }
}

std::size_t count_of(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++n;
    }
    return n;
}

// On the stored scenario: the sheet with the run is the sheet without it plus one group, which
// holds the speed as one polyline and a tick at each stand where railscen run ends a leg.
TEST_F(TrainRun, RouteSheetDrawsTheRunAndOnlyAddsIt) {
    TempFolder folder;
    ASSERT_EQ(tool(folder.path(), {"sources", "."}).status, 0);
    const FileNames names = file_names(kScenarioLineName, kScenarioTrainName);
    const std::string stock = std::string(EXAMPLES_DIR) + "/regional-emu.yaml";
    const std::vector<std::string> texts = {names.line_description, names.train_description};
    auto args = [&](std::vector<std::string> more) {
        more.insert(more.begin(), texts.begin(), texts.end());
        more.insert(more.begin(), "render");
        return more;
    };
    ASSERT_EQ(tool(folder.path(), args({"-o", "plain.svg"})).status, 0);
    const testing::ToolRun drawn =
        tool(folder.path(), args({"-o", "run.svg", "--rolling-stock", stock}));
    ASSERT_EQ(drawn.status, 0) << drawn.err;
    const std::string plain = testing::read_bytes(folder.path() / "plain.svg");
    const std::string with_run = testing::read_bytes(folder.path() / "run.svg");

    const std::size_t from = with_run.find("<g class=\"train-run\">");
    ASSERT_NE(from, std::string::npos);
    const std::size_t to = with_run.find("</g>\n", from) + 5;
    const std::string group = with_run.substr(from, to - from);
    EXPECT_EQ(with_run.substr(0, from) + with_run.substr(to), plain);
    EXPECT_EQ(plain.find("train-run"), std::string::npos);

    EXPECT_EQ(count_of(group, "<polyline class=\"train-run-speed\""), 1u);
    const std::size_t points = group.find("points=\"");
    ASSERT_NE(points, std::string::npos);
    const std::string list = group.substr(points, group.find('"', points + 8) - points);
    EXPECT_GT(count_of(list, ","), 500u);  // 104.5 km with speed changes every few hundred m

    const testing::ToolRun legs = tool(
        folder.path(), {"run", texts[0], texts[1], "--rolling-stock", stock, "--format", "json"});
    ASSERT_EQ(legs.status, 0) << legs.err;
    const nlohmann::json doc = nlohmann::json::parse(legs.out);
    EXPECT_EQ(count_of(group, "class=\"train-run-time\""), doc["legs"].size());
    // The last stand's time is the run's whole running time, up to the second.
    const std::string last = "the run reaches &quot;CUSTRA&quot; at 104,500 m after ";
    const std::size_t at = group.find(last);
    ASSERT_NE(at, std::string::npos) << group.substr(0, 2000);
    int h = 0, m = 0, sec = 0;
    ASSERT_EQ(std::sscanf(group.c_str() + at + last.size(), "%d:%d:%d", &h, &m, &sec), 3);
    EXPECT_NEAR(h * 3600 + m * 60 + sec, doc["total_time_s"].get<double>(), 1.0);
}

}  // namespace
}  // namespace railscen
