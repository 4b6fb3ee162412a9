// What the compile found, as the tool shows it: the code, the record's line with a caret under
// the field, the records it points at besides, and the report. Most cases call the library; one
// runs the built tool on real files.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <optional>

#include "cli_tool.h"
#include "compile/memorizza_percorso.h"
#include "model/file_io.h"
#include "report/compile_report.h"
#include "report/diagnostics.h"

namespace railscen {
namespace {

using testing::line_text;
using testing::lines;
using testing::railscen;
using testing::read_bytes;
using testing::TempFolder;
using testing::train_text;

const std::vector<std::string> kAllThree = {
    "VELARO-CUSTRA _linea.dat", "VELARO-CUSTRA _R 40817.sim", "VELARO-CUSTRA _R 40817.dat"};

const char* kSignal6050 = "segnale,    6050,   2, 4, 0,  0, 0,    2,  2,0,0, 255";
const char* kBoard6050 = "indicatori_vmax,  6050,  100,  100,  105,  0,  100,  100,  105,  0";
const char* kBoard2750 = "indicatori_vmax,  2750,  100,  100,  105,  0,  100,  100,  105,  0";
const char* kSign2750 = "cartello_indicatore,  2750,  (  PONTE  )";

CompileInputs inputs() {
    CompileInputs in;
    in.line_file = "line.txt";
    in.train_file = "train.txt";
    return in;
}

struct Compiled {
    Run run;
    CompileOutcome outcome;
    std::string messages;
    report::CompileReport report;
};

// The tool's compile on texts in memory, into a fresh folder.
Compiled compile(std::optional<std::string> line, std::optional<std::string> train) {
    TempFolder out;
    Compiled c{make_run(), {}, {}, {}};
    MemorySource source(std::move(line), std::move(train));
    c.outcome = memorizza_percorso(c.run, 1, source, out.path());
    c.messages = report::format_diagnostics(c.run, inputs());
    c.report = report::make_report(c.run, c.outcome, inputs());
    return c;
}

struct Broken {
    const char* what;
    std::optional<std::string> line;  // nullopt: no such text
    std::optional<std::string> train;
    int code;
    int position;
    std::optional<int> fatal;
    std::string messages;
    std::optional<std::pair<std::string, int>> source;  // file and line in the report
    std::vector<std::string> written;
};

std::vector<Broken> broken_cases() {
    return {
        {"signal on a speed board", line_text({kBoard6050}), train_text({kSignal6050}), 16, 6050,
         std::nullopt,
         "train.txt:2:13: error 16: signal cell already occupied by a speed board (at 6050 m)\n"
         "segnale,    6050,   2, 4, 0,  0, 0,    2,  2,0,0, 255\n"
         "            ^\n"
         "line.txt:7:19: note: cell 122 already holds the speed board placed here\n"
         "indicatori_vmax,  6050,  100,  100,  105,  0,  100,  100,  105,  0\n"
         "                  ^\n",
         std::pair{"train.txt", 2}, kAllThree},
        {"drop point on a signal", line_text({}),
         train_text({kSignal6050, "abbattimento,  6100,  280"}), 7, 6100, std::nullopt,
         "train.txt:3:16: error 7: cab-code drop cell already occupied by a signal (at 6100 m)\n"
         "abbattimento,  6100,  280\n"
         "               ^\n"
         "train.txt:2:13: note: cell 122 already holds the signal placed here\n"
         "segnale,    6050,   2, 4, 0,  0, 0,    2,  2,0,0, 255\n"
         "            ^\n",
         std::pair{"train.txt", 3}, kAllThree},
        {"sign board on a speed board", line_text({kBoard2750, kSign2750}), train_text({}), 6, 2750,
         std::nullopt,
         "line.txt:8:23: error 6: sign board cell already occupied by a speed board (at 2750 m)\n"
         "cartello_indicatore,  2750,  (  PONTE  )\n"
         "                      ^\n"
         "line.txt:7:19: note: cell 56 already holds the speed board placed here\n"
         "indicatori_vmax,  2750,  100,  100,  105,  0,  100,  100,  105,  0\n"
         "                  ^\n",
         std::pair{"line.txt", 8}, kAllThree},
        {"speed board on a sign board", line_text({kSign2750, kBoard2750}), train_text({}), 21,
         2750, std::nullopt,
         "line.txt:8:19: error 21: speed board cell already occupied by a sign board (at 2750 m)\n"
         "indicatori_vmax,  2750,  100,  100,  105,  0,  100,  100,  105,  0\n"
         "                  ^\n"
         "line.txt:7:23: note: cell 56 already holds the sign board placed here\n"
         "cartello_indicatore,  2750,  (  PONTE  )\n"
         "                      ^\n",
         std::pair{"line.txt", 8}, kAllThree},
        {"slowdown ending on a signal", line_text({}),
         train_text({"segnale,    3000,   1, 3, 0,  0, 0,    0,  0,0,0, 0",
                     "rallentamento,  2000,  60,  1000,  1,  0,  0"}),
         19, 2000, std::nullopt,
         "train.txt:3:29: error 19: slowdown end cell already occupied by a signal (at 2000 m)\n"
         "rallentamento,  2000,  60,  1000,  1,  0,  0\n"
         "                            ^\n"
         "train.txt:2:13: note: cell 61 already holds the signal placed here\n"
         "segnale,    3000,   1, 3, 0,  0, 0,    0,  0,0,0, 0\n"
         "            ^\n",
         std::pair{"train.txt", 3}, kAllThree},
        {"station zones too close", line_text({}),
         train_text({"stazione,  1000,  12,  400,  1, 0, 0,  1,1,0,  2,1,1,  0,  0,0, 0, PRIMA",
                     "stazione,  1500,  12,  400,  1, 0, 0,  1,1,0,  2,1,1,  0,  0,0, 0, DUE"}),
         22, 1500, std::nullopt,
         "train.txt:3:12: error 22: station zones closer than 350 m (at 1500 m)\n"
         "stazione,  1500,  12,  400,  1, 0, 0,  1,1,0,  2,1,1,  0,  0,0, 0, DUE\n"
         "           ^\n"
         "train.txt:2:12: note: the station before, whose zone ends at 1200 m\n"
         "stazione,  1000,  12,  400,  1, 0, 0,  1,1,0,  2,1,1,  0,  0,0, 0, PRIMA\n"
         "           ^\n",
         std::pair{"train.txt", 3}, kAllThree},
        {"station off the 50 m grid", line_text({}),
         train_text({"stazione,  25,  12,  400,  1, 0, 0,  1,1,0,  2,1,1,  0,  0,0, 0, PRIMA"}), 8,
         25, std::nullopt,
         "train.txt:2:12: error 8: station position not a multiple of 50 (at 25 m)\n"
         "stazione,  25,  12,  400,  1, 0, 0,  1,1,0,  2,1,1,  0,  0,0, 0, PRIMA\n"
         "           ^\n",
         std::pair{"train.txt", 2}, kAllThree},
        {"station length off 100 m", line_text({}),
         train_text({"stazione,  1000,  12,  450,  1, 0, 0,  1,1,0,  2,1,1,  0,  0,0, 0, PRIMA"}),
         9, 1000, std::nullopt,
         "train.txt:2:24: error 9: station length not a multiple of 100 (at 1000 m)\n"
         "stazione,  1000,  12,  450,  1, 0, 0,  1,1,0,  2,1,1,  0,  0,0, 0, PRIMA\n"
         "                       ^\n",
         std::pair{"train.txt", 2}, kAllThree},
        {"signal beyond the grid", line_text({}),
         train_text({"segnale,  200000,   2, 4, 0,  0, 0,    2,  2,0,0, 255"}), 15, 200000,
         std::nullopt,
         "train.txt:2:11: error 15: object position beyond the grid (at 200000 m)\n"
         "segnale,  200000,   2, 4, 0,  0, 0,    2,  2,0,0, 255\n"
         "          ^\n",
         std::pair{"train.txt", 2}, kAllThree},
        {"repetition start off the 50 m grid",
         lines({"[generale]", "lunghezza percorso,    105500",
                "ripetizione segnali 4 codici,    525,    104250", "[fine]"}),
         train_text({}), 3, 0, std::nullopt,
         "line.txt:3:34: error 3: signal repetition start not a multiple of 50\n"
         "ripetizione segnali 4 codici,    525,    104250\n"
         "                                 ^\n",
         std::pair{"line.txt", 3}, kAllThree},
        {"progressive off the 50 m grid",
         lines({"[generale]", "lunghezza percorso,    105500",
                "progressiva chilometrica uno,    1000,    2025,    1", "[fine]"}),
         train_text({}), 2, 0, std::nullopt,
         "line.txt:3:43: error 2: kilometric progressive origin or value not a multiple of 50\n"
         "progressiva chilometrica uno,    1000,    2025,    1\n"
         "                                          ^\n",
         std::pair{"line.txt", 3}, kAllThree},
        {"no room for a drop point before a slowdown", line_text({}),
         train_text({"segnale,    9650,   1, 3, 0,  0, 0,    0,  0,0,0, 0",
                     "segnale,    9700,   1, 3, 0,  0, 0,    0,  0,0,0, 0",
                     "segnale,    9750,   1, 3, 0,  0, 0,    0,  0,0,0, 0",
                     "rallentamento,  10000,  60,  500,  1,  0,  0"}),
         12, 10050, std::nullopt,
         "train.txt: error 12: no room for a cab-code drop point before a slowdown start (at "
         "10050 m)\n"
         "train.txt:5:17: note: the slowdown that starts in cell 201\n"
         "rallentamento,  10000,  60,  500,  1,  0,  0\n"
         "                ^\n",
         std::nullopt, kAllThree},
        {"signal in cell 1",
         line_text({}),
         train_text({"segnale,    0,   2, 4, 0,  0, 0,    2,  2,0,0, 255"}),
         0,
         0,
         1250,
         "railscen: error 1250: marker fields already occupied by a signal\n"
         "train.txt:2:13: note: cell 1 already holds the signal placed here\n"
         "segnale,    0,   2, 4, 0,  0, 0,    2,  2,0,0, 255\n"
         "            ^\n",
         std::nullopt,
         {}},
    };
}

TEST(CliDiagnostics, BrokenTextsGiveTheirCodeLineCaretNotesAndReport) {
    for (const Broken& c : broken_cases()) {
        SCOPED_TRACE(c.what);
        const Compiled got = compile(c.line, c.train);
        EXPECT_EQ(got.messages, c.messages);
        EXPECT_EQ(got.report.error_code, c.code);
        EXPECT_EQ(got.report.error_position, c.position);
        EXPECT_EQ(got.report.fatal, c.fatal);
        EXPECT_EQ(got.report.written, c.written);
        ASSERT_EQ(got.report.source.has_value(), c.source.has_value());
        if (c.source) {
            EXPECT_EQ(got.report.source->file, c.source->first);
            EXPECT_EQ(got.report.source->line, c.source->second);
        }
    }
}

// Code 25 says what exactly the loader could not read, under the field it was reading.
TEST(CliDiagnostics, AnUnexpectedFailureNamesItsReason) {
    struct Case {
        std::optional<std::string> line;
        std::optional<std::string> train;
        std::string messages;
    };
    const Case cases[] = {
        {line_text({}), train_text({"segnale,    6O50,   2, 4, 0,  0, 0,    2,  2,0,0, 255"}),
         "train.txt:2:13: error 25: unexpected failure while loading: \"6O50\" is not a whole "
         "number: the signal is eleven whole numbers: posizione, sx, s1, s2, s3, rapp, dx, d1, "
         "d2, d3, tempo\n"
         "segnale,    6O50,   2, 4, 0,  0, 0,    2,  2,0,0, 255\n"
         "            ^\n"},
        {line_text({"montagna,  4OO,  900,  1"}), train_text({}),
         "line.txt:7:12: error 25: unexpected failure while loading: \"4OO\" is not a whole "
         "number: the mountain is three whole numbers: start, end, kind\n"
         "montagna,  4OO,  900,  1\n"
         "           ^\n"},
        {line_text({}), train_text({"velocita,   0,\t100"}),
         "train.txt:2:15: error 25: unexpected failure while loading: a tab where a blank belongs "
         "between numbers: the speed limit is two whole numbers: position, speed\n"
         "velocita,   0,\t100\n"
         "              ^\n"},
        {lines({"[generale]", "[curve]", "pendenza,  950,  1", "[fine]"}), train_text({}),
         "line.txt:3:18: error 25: unexpected failure while loading: no \"lunghezza percorso\" "
         "record before the first object\n"
         "pendenza,  950,  1\n"
         "                 ^\n"},
        {line_text({}), "[generale]\r\nsegnale, 1800, 2, 3",
         "train.txt:2:19: error 25: unexpected failure while loading: the text ends inside a "
         "record, where a 32-bit number belongs: the signal is eleven whole numbers: posizione, "
         "sx, s1, s2, s3, rapp, dx, d1, d2, d3, tempo\n"
         "segnale, 1800, 2, 3\n"
         "                  ^\n"},
        {line_text({}), std::nullopt,
         "train.txt: error 25: unexpected failure while loading: train description missing\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.messages);
        const Compiled got = compile(c.line, c.train);
        EXPECT_EQ(got.run.error_code, 25);
        EXPECT_EQ(got.messages, c.messages);
    }
}

// The author's bytes reach the terminal as text: control bytes escaped, a long line cut around
// the field with the caret still under it.
TEST(CliDiagnostics, EchoedLinesAreSafeForATerminal) {
    const Compiled escaped =
        compile(line_text({}), train_text({"segnale,  \x1b]0;owned\x07,  2, 4"}));
    EXPECT_EQ(escaped.messages,
              "train.txt:2:11: error 25: unexpected failure while loading: "
              "\"\\x1b]0;owned\\x07\" is not a whole number: the signal is eleven whole "
              "numbers: posizione, sx, s1, s2, s3, rapp, dx, d1, d2, d3, tempo\n"
              "segnale,  \\x1b]0;owned\\x07,  2, 4\n"
              "          ^\n");

    const std::string comment(300, 'x');
    const Compiled wide = compile(line_text({}), train_text({"segnale,  " + std::string(150, ' ') +
                                                             "6O50, 2, 4, 0, 0, 0, "
                                                             "2, 2, 0, 0, 255, " +
                                                             comment}));
    const std::string& m = wide.messages;
    const std::size_t first_end = m.find('\n');
    const std::size_t line_end = m.find('\n', first_end + 1);
    const std::string echoed = m.substr(first_end + 1, line_end - first_end - 1);
    const std::string caret = m.substr(line_end + 1, m.size() - line_end - 2);
    EXPECT_EQ(m.substr(0, first_end),
              "train.txt:2:161: error 25: unexpected failure while "
              "loading: \"6O50\" is not a whole number: the signal is eleven whole numbers: "
              "posizione, sx, s1, s2, s3, rapp, dx, d1, d2, d3, tempo");
    EXPECT_EQ(echoed.size(), kMaxEchoColumns);
    EXPECT_EQ(echoed.substr(0, 3), "...");
    EXPECT_EQ(echoed.substr(echoed.size() - 3), "...");
    EXPECT_EQ(caret.back(), '^');
    EXPECT_EQ(echoed.substr(caret.size() - 1, 4), "6O50");
}

// The built tool on real files: the same message, the report, the status, the inputs untouched.
TEST(CliDiagnostics, TheToolPrintsTheMessageAndLeavesItsInputsAlone) {
    TempFolder folder;
    const std::string line = line_text({kBoard6050});
    const std::string train = train_text({kSignal6050});
    write_file(folder.path() / "line.txt", line);
    write_file(folder.path() / "train.txt", train);
    std::filesystem::create_directory(folder.path() / "out");

    const testing::ToolRun run =
        railscen(folder.path(), {"compile", "line.txt", "train.txt", "-o", "out", "--report",
                                 "r.json", "--line-name", "L", "--train-name", "T"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, broken_cases().front().messages);
    EXPECT_EQ(run.out, "");
    const nlohmann::json report = nlohmann::json::parse(read_bytes(folder.path() / "r.json"));
    EXPECT_EQ(report.at("error_code"), 16);
    EXPECT_EQ(report.at("source"), (nlohmann::json{{"file", "train.txt"}, {"line", 2}}));
    EXPECT_EQ(testing::folder_listing(folder.path() / "out").size(), kAllThree.size());
    EXPECT_EQ(read_bytes(folder.path() / "line.txt"), line);
    EXPECT_EQ(read_bytes(folder.path() / "train.txt"), train);

    const testing::ToolRun check = railscen(
        folder.path(), {"check", "line.txt", "train.txt", "--line-name", "L", "--train-name", "T"});
    EXPECT_EQ(check.status, 1);
    EXPECT_EQ(check.err, run.err);
}

}  // namespace
}  // namespace railscen
