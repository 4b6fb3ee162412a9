// railscen run: the fastest run of a train of a rolling-stock file through a scenario small
// enough to work out by hand. The train pulls 100 kN on 100 t with no rotating mass and no
// resistance and brakes with 1 m/s^2, both ways 1 m/s^2; the line is level and straight with
// 200 km/h boards, more than the train reaches between stops 2,000 m apart. Each leg is
// 1,000 m of pulling and 1,000 m of braking, sqrt(2 * 1000) s each: 89.44 s, 90 whole, at
// 44.72 m/s (161.00 km/h) halfway.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "analysis/clock_rule.h"
#include "analysis/scenario_run.h"
#include "cli_tool.h"
#include "model/file_io.h"
#include "model/file_names.h"

namespace railscen {
namespace {

using testing::TempFolder;
using testing::tool;

const std::string kLine = testing::hand_worked_line();

const std::string kTrain = testing::train_text({
    "orologio,  16 0 0",
    testing::station_row(0, 8, 1, "16,0,0", "ORIGINE"),
    testing::station_row(2000, 12, 30, "16,2,0", "PRIMA"),
    testing::station_row(3000, 28, 0, "0,0,0", "PASSANTE"),
    testing::station_row(4000, 12, 0, "16,5,0", "ULTIMA"),
});

const std::string kStock = testing::hand_worked_stock();

struct Folder : testing::TrainFolder {
    explicit Folder(const std::string& stock = kStock) : TrainFolder(kLine, kTrain, stock) {}
    testing::ToolRun run(std::vector<std::string> args) const {
        args.insert(args.begin(), {"--rolling-stock", "stock.yaml"});
        return TrainFolder::run("run", args);
    }
};

// PRIMA is timed 2:00 after ORIGINE and ULTIMA 3:00 after PRIMA; PASSANTE (category 28) is
// passed.
TEST(CliRun, TableOfLegsWithRunningTimeScheduleAndMargin) {
    const testing::ToolRun run = Folder().run({});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out,
              "Fastest run of TEST (Test unit): 100 t, 50.0 m, 250 km/h, braking 1.00 m/s^2\n"
              "\n"
              "From                     To                         Distance   Running Scheduled"
              "    Margin\n"
              "ORIGINE                  PRIMA                       2,000 m   0:01:30   0:02:00"
              "   0:00:30\n"
              "PRIMA                    ULTIMA                      2,000 m   0:01:30   0:03:00"
              "   0:01:30\n");
}

TEST(CliRun, JsonGivesEveryLegInSeconds) {
    const testing::ToolRun run = Folder().run({"--format", "json"});
    ASSERT_EQ(run.status, 0) << run.err;
    const nlohmann::json doc = nlohmann::json::parse(run.out);
    EXPECT_EQ(doc["train"], "TEST");
    EXPECT_EQ(doc["total_time_s"], 208.9);  // two legs and the 30 s at PRIMA
    ASSERT_EQ(doc["legs"].size(), 2u);
    const nlohmann::json& first = doc["legs"][0];
    EXPECT_EQ(first["from"], "ORIGINE");
    EXPECT_EQ(first["to"], "PRIMA");
    EXPECT_EQ(first["distance_m"], 2000);
    EXPECT_EQ(first["running_time_s"], 89.4);
    EXPECT_EQ(first["scheduled_s"], 120);
    EXPECT_EQ(first["margin_s"], 30);
    EXPECT_EQ(doc["legs"][1]["margin_s"], 90);
}

TEST(CliRun, CsvSamplesTheRunAtTheStepAsked) {
    const testing::ToolRun run = Folder().run({"--format", "csv", "--step", "1000"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "position_m,speed_kmh,time_s\n"
              "0.0,0.00,0.00\n"
              "1000.0,161.00,44.72\n"
              "2000.0,0.00,89.44\n"
              "3000.0,161.00,164.16\n"
              "4000.0,0.00,208.89\n");
}

TEST(CliRun, ABrokenRollingStockFileIsNamedWithItsLine) {
    const testing::ToolRun run = Folder("schema: rolling_stock\n").run({});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err,
              "railscen run: stock.yaml:1: `schema`: must be "
              "\"https://railtoolkit.org/schema/rolling-stock.json\"\n");
    const testing::ToolRun unknown = Folder().run({"--train", "NONE"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_EQ(unknown.err, "railscen run: stock.yaml has no train \"NONE\"\n");
}

// On the stored scenario no real train beats timetable's bound, which ignores starting and
// stopping: every leg that both commands time takes the example EMU at least the bound, and
// at most a minute and a half more on these legs of 5 to 24 km.
TEST(CliRun, TheStoredScenariosRunNeverBeatsTheTimetablesBound) {
    TempFolder folder;
    ASSERT_EQ(tool(folder.path(), {"sources", "."}).status, 0);
    const FileNames names = file_names(kScenarioLineName, kScenarioTrainName);
    const std::vector<std::string> texts = {names.line_description.string(),
                                            names.train_description.string()};
    const testing::ToolRun bound =
        tool(folder.path(), {"timetable", texts[0], texts[1], "--format", "json"});
    const testing::ToolRun run =
        tool(folder.path(), {"run", texts[0], texts[1], "--rolling-stock",
                             std::string(EXAMPLES_DIR) + "/regional-emu.yaml", "--format", "json"});
    ASSERT_EQ(bound.status, 0) << bound.err;
    ASSERT_EQ(run.status, 0) << run.err;
    const nlohmann::json bounds = nlohmann::json::parse(bound.out)["legs"];
    const nlohmann::json legs = nlohmann::json::parse(run.out)["legs"];
    int compared = 0;
    for (const nlohmann::json& leg : legs) {
        for (const nlohmann::json& b : bounds) {
            if (b["from"] != leg["from"] || b["to"] != leg["to"]) continue;
            SCOPED_TRACE(leg["to"].get<std::string>());
            const double running = leg["running_time_s"];
            const int at_least = b["bound_seconds"];
            EXPECT_GE(running, at_least - 1);
            EXPECT_LE(running, at_least + 90);
            EXPECT_EQ(leg["scheduled_s"], b["scheduled_seconds"]);
            ++compared;
        }
    }
    EXPECT_EQ(compared, 6);
}

// The run times its legs by the timetable's one clock rule: a leg past midnight is the short
// way forward, a time before the one it follows is no schedule, an untimed end none either.
TEST(RunLegs, TimedByTheClockRule) {
    struct Case {
        std::int64_t from;
        std::int64_t to;
        std::optional<std::int64_t> scheduled;
    };
    const Case cases[] = {
        {16 * 3600, 16 * 3600 + 120, 120},
        {23 * 3600 + 58 * 60, 3 * 60, 300},
        {8 * 3600, 7 * 3600 + 50 * 60, std::nullopt},
        {8 * 3600, 0, std::nullopt},
    };
    for (const Case& c : cases) {
        const std::vector<analysis::RunStation> stations = {{"A", 0, c.from, 30},
                                                            {"B", 2000, c.to, 0}};
        dynamics::FastestRun run;
        run.stops = {{2000, 100, 100}};
        const std::vector<analysis::RunLeg> legs = analysis::run_legs(stations, run);
        ASSERT_EQ(legs.size(), 1u);
        EXPECT_EQ(legs[0].scheduled, c.scheduled) << c.from << " to " << c.to;
        EXPECT_EQ(legs[0].scheduled,
                  c.to == 0 ? std::nullopt : analysis::leg_seconds(c.from, c.to));
    }
}

}  // namespace
}  // namespace railscen
