// Small broken descriptions through railscen compile: the code, its position, the record's
// line with a caret under the field, the report and the exit status; the inputs untouched.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <optional>

#include "cli_tool.h"
#include "model/file_io.h"

namespace railscen {
namespace {

using testing::line_text;
using testing::railscen;
using testing::read_bytes;
using testing::TempFolder;
using testing::train_text;

const std::vector<std::string> kAllThree = {
    "VELARO-CUSTRA _linea.dat", "VELARO-CUSTRA _R 40817.sim", "VELARO-CUSTRA _R 40817.dat"};

struct Broken {
    const char* what;
    std::optional<std::string> line;  // nullopt: no such file
    std::optional<std::string> train;
    int code;
    int position;
    std::optional<int> fatal;
    std::string stderr_text;
    std::optional<std::pair<std::string, int>> source;  // file and line in the report
    std::vector<std::string> written;
};

const char* kSignal6050 = "segnale,    6050,   2, 4, 0,  0, 0,    2,  2,0,0, 255";
const char* kBoard6050 = "indicatori_vmax,  6050,  100,  100,  105,  0,  100,  100,  105,  0";
const char* kBoard2750 = "indicatori_vmax,  2750,  100,  100,  105,  0,  100,  100,  105,  0";
const char* kSign2750 = "cartello_indicatore,  2750,  (  PONTE  )";

std::vector<Broken> broken_cases() {
    return {
        {"signal on a speed board", line_text({kBoard6050}), train_text({kSignal6050}), 16, 6050,
         std::nullopt,
         "train.txt:2: error 16: signal cell already occupied by a speed board (at 6050 m)\n"
         "segnale,    6050,   2, 4, 0,  0, 0,    2,  2,0,0, 255\n"
         "            ^\n",
         std::pair{"train.txt", 2}, kAllThree},
        {"drop point on a signal", line_text({}),
         train_text({kSignal6050, "abbattimento,  6100,  280"}), 7, 6100, std::nullopt,
         "train.txt:3: error 7: cab-code drop cell already occupied by a signal (at 6100 m)\n"
         "abbattimento,  6100,  280\n"
         "               ^\n",
         std::pair{"train.txt", 3}, kAllThree},
        {"sign board on a speed board", line_text({kBoard2750, kSign2750}), train_text({}), 6, 2750,
         std::nullopt,
         "line.txt:8: error 6: sign board cell already occupied by a speed board (at 2750 m)\n"
         "cartello_indicatore,  2750,  (  PONTE  )\n"
         "                      ^\n",
         std::pair{"line.txt", 8}, kAllThree},
        {"speed board on a sign board", line_text({kSign2750, kBoard2750}), train_text({}), 21,
         2750, std::nullopt,
         "line.txt:8: error 21: speed board cell already occupied by a sign board (at 2750 m)\n"
         "indicatori_vmax,  2750,  100,  100,  105,  0,  100,  100,  105,  0\n"
         "                  ^\n",
         std::pair{"line.txt", 8}, kAllThree},
        {"station off the 50 m grid", line_text({}),
         train_text({"stazione,  25,  12,  400,  1, 0, 0,  1,1,0,  2,1,1,  0,  0,0, 0, PRIMA"}), 8,
         25, std::nullopt,
         "train.txt:2: error 8: station position not a multiple of 50 (at 25 m)\n"
         "stazione,  25,  12,  400,  1, 0, 0,  1,1,0,  2,1,1,  0,  0,0, 0, PRIMA\n"
         "           ^\n",
         std::pair{"train.txt", 2}, kAllThree},
        {"station length off 100 m", line_text({}),
         train_text({"stazione,  1000,  12,  450,  1, 0, 0,  1,1,0,  2,1,1,  0,  0,0, 0, PRIMA"}),
         9, 1000, std::nullopt,
         "train.txt:2: error 9: station length not a multiple of 100 (at 1000 m)\n"
         "stazione,  1000,  12,  450,  1, 0, 0,  1,1,0,  2,1,1,  0,  0,0, 0, PRIMA\n"
         "                       ^\n",
         std::pair{"train.txt", 2}, kAllThree},
        {"signal beyond the grid", line_text({}),
         train_text({"segnale,  200000,   2, 4, 0,  0, 0,    2,  2,0,0, 255"}), 15, 200000,
         std::nullopt,
         "train.txt:2: error 15: object position beyond the grid (at 200000 m)\n"
         "segnale,  200000,   2, 4, 0,  0, 0,    2,  2,0,0, 255\n"
         "          ^\n",
         std::pair{"train.txt", 2}, kAllThree},
        {"repetition start off the 50 m grid",
         testing::lines({"[generale]", "lunghezza percorso,    105500",
                         "ripetizione segnali 4 codici,    525,    104250", "[fine]"}),
         train_text({}), 3, 0, std::nullopt,
         "line.txt:3: error 3: signal repetition start not a multiple of 50\n"
         "ripetizione segnali 4 codici,    525,    104250\n"
         "                                 ^\n",
         std::pair{"line.txt", 3}, kAllThree},
        {"malformed number", line_text({}),
         train_text({"segnale,    6O50,   2, 4, 0,  0, 0,    2,  2,0,0, 255"}), 25, 0, std::nullopt,
         "train.txt:2: error 25: unexpected failure while loading\n"
         "segnale,    6O50,   2, 4, 0,  0, 0,    2,  2,0,0, 255\n"
         "            ^\n",
         std::pair{"train.txt", 2}, kAllThree},
        {"no room for a drop point before a slowdown", line_text({}),
         train_text({"segnale,    9650,   1, 3, 0,  0, 0,    0,  0,0,0, 0",
                     "segnale,    9700,   1, 3, 0,  0, 0,    0,  0,0,0, 0",
                     "segnale,    9750,   1, 3, 0,  0, 0,    0,  0,0,0, 0",
                     "rallentamento,  10000,  60,  500,  1,  0,  0"}),
         12, 10050, std::nullopt,
         "train.txt: error 12: no room for a cab-code drop point before a slowdown start (at "
         "10050 m)\n",
         std::nullopt, kAllThree},
        {"signal in cell 1",
         line_text({}),
         train_text({"segnale,    0,   2, 4, 0,  0, 0,    2,  2,0,0, 255"}),
         0,
         0,
         1250,
         "railscen: error 1250: marker fields already occupied by a signal\n",
         std::nullopt,
         {}},
    };
}

TEST(CliDiagnostics, BrokenTextsGiveTheirCodeLineCaretReportAndStatus) {
    for (const Broken& c : broken_cases()) {
        SCOPED_TRACE(c.what);
        TempFolder folder;
        if (c.line) write_file(folder.path() / "line.txt", *c.line);
        if (c.train) write_file(folder.path() / "train.txt", *c.train);
        std::filesystem::create_directory(folder.path() / "out");

        const testing::ToolRun run = railscen(
            folder.path(), {"compile", "line.txt", "train.txt", "-o", "out", "--report", "r.json"});
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, c.stderr_text);
        EXPECT_EQ(run.out, "");

        const nlohmann::json report = nlohmann::json::parse(read_bytes(folder.path() / "r.json"));
        EXPECT_EQ(report.at("error_code"), c.code);
        EXPECT_EQ(report.at("error_position"), c.position);
        if (c.fatal) {
            EXPECT_EQ(report.at("fatal"), *c.fatal);
        } else {
            EXPECT_TRUE(report.at("fatal").is_null());
        }
        EXPECT_EQ(report.at("written"), c.written);
        if (c.source) {
            EXPECT_EQ(report.at("source"),
                      (nlohmann::json{{"file", c.source->first}, {"line", c.source->second}}));
        } else {
            EXPECT_TRUE(report.at("source").is_null());
        }
        // Only the report-listed files were written.
        EXPECT_EQ(testing::folder_listing(folder.path() / "out").size(), c.written.size());

        // The author's texts stay as they were, and a missing one stays missing.
        EXPECT_EQ(std::filesystem::exists(folder.path() / "line.txt"), c.line.has_value());
        EXPECT_EQ(std::filesystem::exists(folder.path() / "train.txt"), c.train.has_value());
        if (c.line) {
            EXPECT_EQ(read_bytes(folder.path() / "line.txt"), *c.line);
        }
        if (c.train) {
            EXPECT_EQ(read_bytes(folder.path() / "train.txt"), *c.train);
        }
    }
}

TEST(CliDiagnostics, CheckReportsTheSameCodeWritingNothing) {
    TempFolder folder;
    write_file(folder.path() / "line.txt", line_text({kBoard6050}));
    write_file(folder.path() / "train.txt", train_text({kSignal6050}));
    const testing::ToolRun run = railscen(folder.path(), {"check", "line.txt", "train.txt"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err,
              "train.txt:2: error 16: signal cell already occupied by a speed board (at 6050 m)\n"
              "segnale,    6050,   2, 4, 0,  0, 0,    2,  2,0,0, 255\n"
              "            ^\n");
    EXPECT_EQ(testing::folder_listing(folder.path()).size(), 2u);
}

}  // namespace
}  // namespace railscen
