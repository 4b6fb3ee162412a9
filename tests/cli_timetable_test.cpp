// railscen timetable: the shortest run between timed stations at the speed limits, and check's
// [timetable] warnings built on the same bound. The scenario is small enough to work out by hand.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "analysis/run_times.h"
#include "cli/commands.h"
#include "cli_tool.h"
#include "compile/memorizza_percorso.h"
#include "model/file_io.h"
#include "model/file_names.h"

namespace railscen {
namespace {

using testing::railscen;
using testing::TempFolder;
using testing::tool;

// Speed boards: 120 km/h (the higher side) from 100, 60 from 6000, 140 from 8000. The train's own
// limit: 100 km/h from 0, 80 from 10000. A 30 km/h slowdown over 13000-13500. By hand:
//   ORIGINE 0 -> PRIMA 1000:     1000 m at 100                              = 36 s
//   PRIMA 1000 -> SECONDA 11000: 5000 at 100 + 2000 at 60 + 2000 at 100 + 1000 at 80
//                                = 180 + 120 + 72 + 45                      = 417 s
//   SECONDA 11000 -> TERZA 16000: 2000 at 80 + 500 at 30 + 2500 at 80
//                                = 90 + 60 + 112.5                          = 262.5 s, 263 whole
const std::string kLine =
    testing::line_text({"indicatori_vmax,  100,  100,  120,  110,  0,  90,  90,  90,  0",
                        "indicatori_vmax,  6000,  60,  60,  60,  0,  60,  60,  60,  0",
                        "indicatori_vmax,  8000,  140,  140,  140,  0,  140,  140,  140,  0"},
                       "20000");

std::string train(const char* clock, const char* terza_time) {
    const std::string clock_row = std::string("orologio,  ") + clock;
    const std::string terza =
        std::string("stazione,  16000,  12,  400,  1, 0, 0,  1,1,0,  2,1,1,  0,  ") + terza_time +
        ", TERZA";
    return testing::train_text(
        {clock_row, "velocita,   0,    100", "velocita,   10000,    80",
         "stazione,  0,  8,  400,  0, 0, 0,  1,1,0,  3,1,1,  1,  0,0, 0, ORIGINE",
         "stazione,  1000,  12,  400,  1, 0, 0,  1,1,0,  2,1,1,  0,  16,0, 0, PRIMA",
         "stazione,  11000,  12,  400,  1, 0, 0,  1,1,0,  2,1,1,  0,  16,8, 0, SECONDA", terza,
         "rallentamento,  13000,  30,  500,  0,  0,  0"});
}

struct Folder {
    TempFolder folder;
    explicit Folder(const std::string& train_text) {
        write_file(folder.path() / "L_linea.txt", kLine);
        write_file(folder.path() / "L_T-.txt", train_text);
    }
    testing::ToolRun run(std::vector<std::string> args) const {
        args.insert(args.begin(), {"L_linea.txt", "L_T-.txt"});
        args.insert(args.begin(), "timetable");
        return tool(folder.path(), args);
    }
};

TEST(CliTimetable, TableOfTheHandMadeScenario) {
    const Folder f(train("15 59 0", "16,11, 0"));
    const testing::ToolRun run = f.run({});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out,
              "Run times between timed stations. Bound: the shortest time at the speed limits in "
              "force (line speed boards, the train's limits, slowdowns); a bound that ignores "
              "acceleration, braking and stops, which no real run beats.\n"
              "\n"
              "From              To       Distance  Bound    Scheduled  Margin    Limited most by\n"
              "(clock 15:59:00)  PRIMA    1,000 m   0:00:36  0:01:00    0:00:24   100 km/h over "
              "0-1,000 m (train limit)\n"
              "PRIMA             SECONDA  10,000 m  0:06:57  0:08:00    0:01:03   60 km/h over "
              "6,000-8,000 m (line speed board)\n"
              "SECONDA           TERZA    5,000 m   0:04:23  0:03:00    -0:01:23  30 km/h over "
              "13,000-13,500 m (slowdown)\n"
              "\n"
              "1 timed station cannot be reached in the scheduled time (negative margin).\n");
}

TEST(CliTimetable, JsonCarriesEveryLegWithItsBound) {
    const Folder f(train("15 59 0", "16,11, 0"));
    const testing::ToolRun run = f.run({"--format", "json"});
    ASSERT_EQ(run.status, 0) << run.err;
    const nlohmann::json doc = nlohmann::json::parse(run.out);
    EXPECT_NE(doc["bound"].get<std::string>().find("ignores acceleration, braking"),
              std::string::npos);
    struct Leg {
        const char* from;  // nullptr: the clock's start
        const char* to;
        int bound;
        int scheduled;
        int margin;
        int kmh;
        int from_metres;
        int to_metres;
        const char* by;
    };
    const Leg legs[] = {
        {nullptr, "PRIMA", 36, 60, 24, 100, 0, 1000, "train limit"},
        {"PRIMA", "SECONDA", 417, 480, 63, 60, 6000, 8000, "line speed board"},
        {"SECONDA", "TERZA", 263, 180, -83, 30, 13000, 13500, "slowdown"},
    };
    ASSERT_EQ(doc["legs"].size(), std::size(legs));
    for (std::size_t i = 0; i < std::size(legs); ++i) {
        SCOPED_TRACE(legs[i].to);
        const nlohmann::json& j = doc["legs"][i];
        EXPECT_EQ(j["from_clock"], legs[i].from == nullptr);
        if (legs[i].from != nullptr) {
            EXPECT_EQ(j["from"], legs[i].from);
        }
        EXPECT_EQ(j["to"], legs[i].to);
        EXPECT_EQ(j["bound_seconds"], legs[i].bound);
        EXPECT_EQ(j["scheduled_seconds"], legs[i].scheduled);
        EXPECT_EQ(j["margin_seconds"], legs[i].margin);
        EXPECT_EQ(j["limiting"]["kmh"], legs[i].kmh);
        EXPECT_EQ(j["limiting"]["from_metres"], legs[i].from_metres);
        EXPECT_EQ(j["limiting"]["to_metres"], legs[i].to_metres);
        EXPECT_EQ(j["limiting"]["by"], legs[i].by);
    }
}

// check warns where the timetable's margin is negative, from the station before or from the
// clock's start, and is silent where it is not.
TEST(CliTimetable, CheckWarnsOnTheSameBound) {
    struct Case {
        const char* clock;
        const char* terza_time;
        std::vector<std::string> warnings;  // each warning's heading, whole
    };
    const Case cases[] = {
        {"15 59 0", "16,12,23", {}},
        {"15 59 0",
         "16,12,22",
         {"L_T-.txt:8:61: warning: station \"TERZA\" is timed 0:04:22 after \"SECONDA\", but its "
          "5000 m at the speed limits take at least 0:04:23 (30 km/h over 13,000-13,500 m) "
          "[timetable]"}},
        {"15 59 50",
         "16,12,23",
         {"L_T-.txt:6:60: warning: station \"PRIMA\" is timed 0:00:10 after the clock starts at "
          "15:59:50, but its 1000 m from the first station at the speed limits take at least "
          "0:00:36 (100 km/h over 0-1,000 m) [timetable]"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.terza_time);
        const Folder f(train(c.clock, c.terza_time));
        const testing::ToolRun run = tool(f.folder.path(), {"check", "L_linea.txt", "L_T-.txt"});
        EXPECT_EQ(run.status, 0);
        std::string headings;
        std::istringstream lines(run.err);
        for (std::string line; std::getline(lines, line);) {
            if (line.find(": warning: ") != std::string::npos) headings += line + "\n";
        }
        std::string expected;
        for (const std::string& w : c.warnings) expected += w + "\n";
        EXPECT_EQ(headings, expected) << run.err;
    }
}

// The limit in force: of a board's three speeds the highest, of its two sides the higher (a
// side keeps its earlier board where this one has none, and a side without any board limits
// nothing), then the lowest of the line's, the train's and the slowdowns'. Stretches as
// "FROM-TO KMH BY" up to 3000 m of a 2000 m line; a stretch ends where any limit changes.
TEST(CliTimetable, TheLimitInForceAlongTheLine) {
    struct Case {
        const char* name;
        std::vector<std::string> boards;
        std::string slowdown;
        std::string expected;
    };
    const Case cases[] = {
        {"no board", {}, "", "0-1000 100 train, 1000-3000 80 train"},
        {"one side only",
         {"indicatori_vmax,  500,  60,  60,  60,  0,  ,  ,  ,  0"},
         "",
         "0-1000 100 train, 1000-3000 80 train"},
        {"the higher side",
         {"indicatori_vmax,  500,  60,  60,  60,  0,  90,  90,  90,  0"},
         "",
         "0-500 100 train, 500-1000 90 line, 1000-3000 80 train"},
        {"the highest rank",
         {"indicatori_vmax,  500,  50,  70,  60,  0,  50,  50,  50,  0"},
         "",
         "0-500 100 train, 500-1000 70 line, 1000-3000 70 line"},
        {"a side keeps its board",
         {"indicatori_vmax,  500,  60,  60,  60,  0,  70,  70,  70,  0",
          "indicatori_vmax,  800,  40,  40,  40,  0,  ,  ,  ,  0"},
         "",
         "0-500 100 train, 500-1000 70 line, 1000-3000 70 line"},
        {"same speed",
         {"indicatori_vmax,  500,  80,  80,  80,  0,  80,  80,  80,  0"},
         "",
         "0-500 100 train, 500-1000 80 line, 1000-3000 80 line+train"},
        {"slowdown",
         {},
         "rallentamento,  400,  30,  200,  0,  0,  0",
         "0-400 100 train, 400-600 30 slowdown, 600-1000 100 train, 1000-3000 80 train"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string line = "[generale]\r\nlunghezza percorso,    2000\r\n[curve]\r\n";
        for (const std::string& b : c.boards) line += b + "\r\n";
        line += "[fine]\r\n";
        const std::string train =
            testing::train_text({"velocita,   0,    100", "velocita,   1000,    80", c.slowdown});
        railscen::Run run = make_run();
        testing::MemorySource source(line, train);
        compile_in_memory(run, 0, source);
        ASSERT_EQ(run.error_code, 0);
        std::string stretches;
        for (const analysis::SpeedStretch& s : analysis::speed_limits(run)) {
            if (s.from >= 3000) break;
            std::string by;
            for (const auto& [bit, word] : {std::pair{analysis::kLineLimit, "line"},
                                            std::pair{analysis::kTrainLimit, "train"},
                                            std::pair{analysis::kSlowdownLimit, "slowdown"}}) {
                if ((s.sources & bit) != 0) by += (by.empty() ? "" : "+") + std::string(word);
            }
            stretches += (stretches.empty() ? "" : ", ") + std::to_string(s.from) + "-" +
                         std::to_string(std::min<std::int64_t>(s.to, 3000)) + " " +
                         std::to_string(s.kmh) + " " + by;
        }
        EXPECT_EQ(stretches, c.expected);
    }
}

TEST(CliTimetable, AScenarioThatDoesNotCompileHasNoTable) {
    TempFolder folder;
    write_file(folder.path() / "L_linea.txt", kLine);
    write_file(folder.path() / "L_T-.txt",
               testing::train_text(
                   {"stazione,  1025,  12,  400,  1, 0, 0,  1,1,0,  2,1,1,  0,  16,0, 0, PRIMA"}));
    const testing::ToolRun run = tool(folder.path(), {"timetable", "L_linea.txt", "L_T-.txt"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("error 8"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("no run times"), std::string::npos) << run.err;
}

// The stored scenario, by the built tool: its eight timed stations make seven legs, every one
// within its time.
TEST(CliTimetable, TheStoredScenarioKeepsItsTimes) {
    TempFolder folder;
    ASSERT_EQ(railscen(folder.path(), {"sources", "."}).status, 0);
    const FileNames names = file_names(kScenarioLineName, kScenarioTrainName);
    const testing::ToolRun run = railscen(
        folder.path(),
        {"timetable", names.line_description, names.train_description, "--format", "json"});
    ASSERT_EQ(run.status, 0) << run.err;
    const nlohmann::json doc = nlohmann::json::parse(run.out);
    ASSERT_EQ(doc["legs"].size(), 7u);
    EXPECT_EQ(doc["legs"][0]["from"], "VELARO SAN MARTINO");
    EXPECT_EQ(doc["legs"][6]["to"], "CUSTRA");
    for (const nlohmann::json& leg : doc["legs"]) {
        EXPECT_GT(leg["bound_seconds"].get<int>(), 0);
        EXPECT_GE(leg["margin_seconds"].get<int>(), 0) << leg.dump();
    }

    // The README shows this very table, indented by four blanks.
    const testing::ToolRun text =
        railscen(folder.path(), {"timetable", names.line_description, names.train_description});
    std::string indented;
    std::istringstream lines(text.out);
    for (std::string line; std::getline(lines, line);) {
        indented += line.empty() ? "\n" : "    " + line + "\n";
    }
    const std::string readme =
        testing::read_bytes(std::filesystem::path(RAILSCEN_SOURCE_DIR) / "README.md");
    EXPECT_NE(readme.find(indented), std::string::npos) << indented;
}

}  // namespace
}  // namespace railscen
