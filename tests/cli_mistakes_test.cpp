// An author's usual mistakes, each answered at its place: the file, the line and the first
// words the author sees, in the text messages and in the JSON records alike.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <optional>

#include "cli_tool.h"
#include "model/file_io.h"

namespace railscen {
namespace {

using testing::line_text;
using testing::TempFolder;
using testing::tool;
using testing::train_text;

constexpr const char* kLine = "L_linea.txt";
constexpr const char* kTrain = "L_T-.txt";
constexpr const char* kStationA = "stazione, 1000, 4, 400, 1,0,0, 1,1,0, 2,1,1, 0, 0,0,0, A";
constexpr const char* kStationB = "stazione, 5000, 4, 400, 1,0,0, 1,1,0, 2,1,1, 0, 0,0,0, B";

struct Mistake {
    const char* what;
    std::string line;
    std::string train;
    const char* file;   // where the first diagnostic points
    int line_number;    // its line
    const char* words;  // what its message says, in part
    int errors;         // the errors shown (a consequence is a note, not an error)
};

// The line is 1000 m long: its grid (and the plan) reach 8000 m.
const std::vector<Mistake> kMistakes = {
    {"a gradient past the grid, and a train text that meets the stopped loading",
     line_text({"pendenza,  12650,  1"}, "1000"),
     train_text({"rallentamento, 500, 30, 200, 0,0,0"}), kLine, 7,
     "object position beyond the grid (at 12650 m)", 1},
    {"a curve row missing its length", line_text({"curvad3,  500", "pendenza,  0,  0"}, "1000"),
     train_text({}), kLine, 7, "the curve record lacks field 2, length", 1},
    {"a speed board row missing its last field",
     line_text({"indicatori_vmax,  800,  30,  30,  30,  0,  ,  ,", "pendenza,  0,  0"}, "1000"),
     train_text({}), kLine, 7, "the speed board record lacks field 9, strisced", 1},
    {"the clock written with colons", line_text({}, "1000"), train_text({"orologio, 7:10:00"}),
     kTrain, 2, "the clock is three whole numbers: hour, minute, second", 1},
    {"an empty train text", line_text({}, "1000"), "", kTrain, 0, "the train description is empty",
     1},
    {"a slowdown whose end lies past the grid", line_text({}, "1000"),
     train_text({"rallentamento, 7000, 30, 5000, 0,0,0"}), kTrain, 2,
     "its end, 12000 m, lies past the grid", 1},
    {"two stations swapped", line_text({}, "10000"), train_text({kStationB, kStationA}), kTrain, 3,
     "the stations are out of order", 1},
};

class CliMistakes : public ::testing::TestWithParam<Mistake> {};

TEST_P(CliMistakes, AnsweredAtTheirPlace) {
    const Mistake& m = GetParam();
    TempFolder folder;
    write_file(folder.path() / kLine, m.line);
    write_file(folder.path() / kTrain, m.train);

    const testing::ToolRun text = tool(folder.path(), {"check", kLine, kTrain, "-w"});
    EXPECT_EQ(text.status, 1);
    const std::string place =
        std::string(m.file) + ":" + (m.line_number > 0 ? std::to_string(m.line_number) + ":" : "");
    EXPECT_TRUE(text.err.starts_with(place)) << text.err;
    const std::string first_line = text.err.substr(0, text.err.find('\n'));
    EXPECT_NE(first_line.find(m.words), std::string::npos) << text.err;
    std::size_t shown = 0;  // errors of their own; a note may name a code too
    for (std::size_t at = text.err.find(": error "); at != std::string::npos;
         at = text.err.find(": error ", at + 1)) {
        shown += text.err.compare(at - 6, 6, ": note") != 0 ? 1 : 0;
    }
    EXPECT_EQ(shown, static_cast<std::size_t>(m.errors)) << text.err;

    const testing::ToolRun json =
        tool(folder.path(), {"check", kLine, kTrain, "-w", "--format", "json"});
    const nlohmann::json records = nlohmann::json::parse(json.out)["diagnostics"];
    ASSERT_EQ(records.size(), static_cast<std::size_t>(m.errors)) << json.out;
    EXPECT_EQ(records[0]["file"], m.file);
    if (m.line_number > 0) {
        EXPECT_EQ(records[0]["line"], m.line_number);
    }
    EXPECT_NE(records[0]["message"].get<std::string>().find(m.words), std::string::npos)
        << json.out;
}

INSTANTIATE_TEST_SUITE_P(Table, CliMistakes, ::testing::ValuesIn(kMistakes),
                         [](const ::testing::TestParamInfo<Mistake>& info) {
                             return "case" + std::to_string(info.index);
                         });

// What loading met only because it had stopped is a note under the first error, and the
// report names that first error.
TEST(CliMistakesReport, TheFirstCauseIsTheScenariosError) {
    TempFolder folder;
    write_file(folder.path() / kLine, line_text({"pendenza,  12650,  1"}, "1000"));
    write_file(folder.path() / kTrain, train_text({"rallentamento, 500, 30, 200, 0,0,0"}));
    const testing::ToolRun run =
        tool(folder.path(), {"compile", kLine, kTrain, "--report", "r.json"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("L_T-.txt:2:16: note: error 15 is recorded again here (at 500 m) only "
                           "because loading stopped at the error above"),
              std::string::npos)
        << run.err;
    const nlohmann::json report =
        nlohmann::json::parse(testing::read_bytes(folder.path() / "r.json"));
    EXPECT_EQ(report["error_position"], 12650);
    EXPECT_EQ(report["source"]["file"], kLine);
    EXPECT_EQ(report["source"]["line"], 7);
}

// Names that cannot be one scenario's are said as such, before anything is read.
TEST(CliMistakesNames, SwappedAndDisagreeingNamesAreNamed) {
    struct Case {
        const char* line;
        const char* train;
        const char* begins;
    };
    const Case cases[] = {
        {"L_T-.txt", "L_linea.txt", "railscen: the files are given in each other's place"},
        {"PIANELLO_linea.txt", "PIANELO_T-.txt", "railscen: the two files' names disagree"},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        write_file(folder.path() / c.line, line_text({}));
        write_file(folder.path() / c.train, train_text({}));
        const testing::ToolRun run = tool(folder.path(), {"check", c.line, c.train});
        EXPECT_EQ(run.status, 2);
        EXPECT_TRUE(run.err.starts_with(c.begins)) << run.err;
    }
}

// --from-utf8 leaves a text that is not UTF-8 as it is: it is Windows-1252 already.
TEST(CliMistakesEncoding, FromUtf8TakesATextAlreadyInWindows1252) {
    TempFolder folder;
    write_file(folder.path() / kLine, line_text({"- caff\xc3\xa8"}));
    write_file(folder.path() / kTrain, train_text({"- caff\xe8"}));
    const testing::ToolRun run = tool(folder.path(), {"check", "--from-utf8", kLine, kTrain});
    EXPECT_EQ(run.status, 0) << run.err;
}

// Options after the command, and the name options of timetable.
TEST(CliMistakesOptions, TakenWhereAnAuthorGivesThem) {
    TempFolder folder;
    write_file(folder.path() / "a.txt", line_text({}));
    write_file(folder.path() / "b.txt", train_text({}));
    EXPECT_EQ(tool(folder.path(), {"check", "a.txt", "b.txt", "--line-name", "L", "--train-name",
                                   "T", "--color", "never"})
                  .status,
              0);
    const testing::ToolRun timetable = tool(
        folder.path(), {"timetable", "a.txt", "b.txt", "--line-name", "L", "--train-name", "T"});
    EXPECT_EQ(timetable.status, 0) << timetable.err;
}

}  // namespace
}  // namespace railscen
