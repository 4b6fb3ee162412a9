// railscen check: warnings on what compiles but is most likely a mistake; railscen explain.
// The commands are called as library functions on real files; one case runs the built tool.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>

#include "cli/commands.h"
#include "cli_tool.h"
#include "model/cell_index.h"
#include "model/file_io.h"
#include "model/file_names.h"
#include "model/text_encoding.h"

namespace railscen {
namespace {

using testing::line_text;
using testing::railscen;
using testing::TempFolder;
using testing::train_text;

struct Checked {
    int status;
    std::string err;
};

Checked check(const std::string& line, const std::string& train, bool no_plan = false) {
    TempFolder folder;
    write_file(folder.path() / "line.txt", line);
    write_file(folder.path() / "train.txt", train);
    CompileInputs inputs;
    inputs.line_file = (folder.path() / "line.txt").string();
    inputs.train_file = (folder.path() / "train.txt").string();
    inputs.no_plan = no_plan;
    std::ostringstream err;
    const int status = cli::run_check(inputs, err);
    // Messages name the files as given; the folder is left out here.
    std::string text = err.str();
    const std::string folder_prefix = folder.path().string() + "/";
    for (std::size_t at; (at = text.find(folder_prefix)) != std::string::npos;) {
        text.erase(at, folder_prefix.size());
    }
    return {status, text};
}

TEST(CliCheck, TheStoredScenarioIsSilent) {
    TempFolder folder;
    ASSERT_EQ(railscen(folder.path(), {"sources", "."}).status, 0);
    const FileNames names = file_names(kScenarioLineName, kScenarioTrainName);
    const testing::ToolRun run =
        railscen(folder.path(), {"check", names.line_description, names.train_description});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, "");
}

// Two timed stations 10 km apart on a 100 km/h line: at least 6 minutes between them.
std::string timed_train(const char* second_time) {
    const std::string second =
        std::string("stazione,  11000,  12,  400,  1, 0, 0,  1,1,0,  2,1,1,  0,  ") + second_time +
        ", 0, SECONDA";
    return train_text({"velocita,   0,    100",
                       "stazione,  1000,  12,  400,  1, 0, 0,  1,1,0,  2,1,1,  0,  16,0, 0, PRIMA",
                       second.c_str()});
}

TEST(CliCheck, WarnsOnATimedStationReachedSoonerThanTheSpeedLimitsAllow) {
    const Checked infeasible = check(line_text({}), timed_train("16,3"));
    EXPECT_EQ(infeasible.status, 0);
    EXPECT_EQ(
        infeasible.err,
        "train.txt:4:61: warning: station \"SECONDA\" is timed 0:03:00 after \"PRIMA\", but its "
        "10000 m at the speed limits take at least 0:06:00 (100 km/h over 1,000-11,000 m) "
        "[timetable]\n"
        "stazione,  11000,  12,  400,  1, 0, 0,  1,1,0,  2,1,1,  0,  16,3, 0, SECONDA\n"
        "                                                            ^\n");
    // Exactly the fastest run, and more than it, are possible.
    EXPECT_EQ(check(line_text({}), timed_train("16,6")).err, "");
    EXPECT_EQ(check(line_text({}), timed_train("16,20")).err, "");
}

TEST(CliCheck, WarnsOnAMisspeltKeywordWithTheNearestOne) {
    struct Case {
        std::string line;
        std::string train;
        std::string warning;
    };
    const Case cases[] = {
        {line_text({"pendenze,  950,  1"}), train_text({}),
         "line.txt:7:1: warning: \"pendenze\" matches no keyword; did you mean \"pendenza\"? "
         "[spelling]\n"
         "pendenze,  950,  1\n"
         "^\n"},
        {line_text({"   curvs3,  500,  150"}), train_text({}),
         "line.txt:7:4: warning: \"curvs3\" matches no keyword; did you mean \"curva\"? "
         "[spelling]\n"
         "   curvs3,  500,  150\n"
         "   ^\n"},
        {testing::lines(
             {"[generale]", "lunghezza percorso,    105500", "Sfondo uno,    0", "[fine]"}),
         train_text({}),
         "line.txt:3:1: warning: \"Sfondo uno\" matches no keyword, although it reads like "
         "\"sfondo\" (letter case and the words with it count) [spelling]\n"
         "Sfondo uno,    0\n"
         "^\n"},
        {line_text({}), train_text({"segnal,    6050,   2, 4, 0,  0, 0,    2,  2,0,0, 255"}),
         "train.txt:2:1: warning: \"segnal\" matches no keyword; did you mean \"segnale\"? "
         "[spelling]\n"
         "segnal,    6050,   2, 4, 0,  0, 0,    2,  2,0,0, 255\n"
         "^\n"},
        {line_text({}), train_text({"aderneza,    2000,    70"}),
         "train.txt:2:1: warning: \"aderneza\" matches no keyword; did you mean \"aderenza\"? "
         "[spelling]\n"
         "aderneza,    2000,    70\n"
         "^\n"},
        {line_text({}), train_text({"numero vettura,    5"}),
         "train.txt:2:1: warning: \"numero vettura\" matches no keyword; did you mean \"numero "
         "vetture\"? [spelling]\n"
         "numero vettura,    5\n"
         "^\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.warning);
        const Checked run = check(c.line, c.train);
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.err, c.warning);
    }
}

TEST(CliCheck, HeadersCommentsAndNamesAreNoMisspellings) {
    const Checked run =
        check(line_text({"[pendenze]", "- a comment, 1, 2", "", "pendenza,  950,  1"}),
              train_text({"[stazioni]", "--", "abbattimento,     600,   280"}));
    EXPECT_EQ(run.err, "");
}

TEST(CliCheck, WarnsOnMountainsPastTheGridAndCurvesPastThePlan) {
    const std::string line =
        line_text({"curvas3,  110000,  5000", "montagna,  100000,  200000,  11"});
    const std::string mountain =
        "line.txt:8:21: warning: mountain from 100000 m to 200000 m runs past the end of the grid "
        "at "
        "112550 m [stretch]\n"
        "montagna,  100000,  200000,  11\n"
        "                    ^\n";
    const Checked with_plan = check(line, train_text({}));
    EXPECT_EQ(with_plan.status, 0);
    EXPECT_EQ(with_plan.err,
              "line.txt:7:20: warning: curve from 110000 m, 5000 m long, runs past the end of the "
              "plan at 112500 m [stretch]\n"
              "curvas3,  110000,  5000\n"
              "                   ^\n" +
                  mountain);
    // Without a plan curves are not read at all.
    EXPECT_EQ(check(line, train_text({}), true).err, mountain);
}

// The warnings read the records the compile read: numbers separated by blanks count as well as
// numbers separated by commas.
TEST(CliCheck, AMountainPastTheGridWarnsWhateverSeparatesItsNumbers) {
    for (const char* row : {"montagna,  26100,  41000,  1", "montagna,  26100  41000  1"}) {
        SCOPED_TRACE(row);
        const Checked run = check(line_text({row}, "20000"), train_text({}));
        EXPECT_EQ(run.status, 0);
        const std::size_t column = std::string_view(row).find("41000") + 1;
        EXPECT_EQ(run.err, "line.txt:7:" + std::to_string(column) +
                               ": warning: mountain from 26100 m to 41000 m runs past the end of "
                               "the grid at 27050 m [stretch]\n" +
                               row + "\n" + std::string(column - 1, ' ') + "^\n");
    }
}

// compile prints the warnings check prints; -w silences them and --warnings-as-errors makes
// them count.
TEST(CliCompile, PrintsWarningsWhichOptionsSilenceOrCount) {
    TempFolder folder;
    write_file(folder.path() / "L_linea.txt", line_text({"pendenze,  950,  1"}));
    write_file(folder.path() / "L_T-.txt", train_text({}));
    const std::string warning =
        "L_linea.txt:7:1: warning: \"pendenze\" matches no keyword; did you mean \"pendenza\"? "
        "[spelling]\n"
        "pendenze,  950,  1\n"
        "^\n";
    struct Case {
        std::vector<std::string> options;
        int status;
        std::string err;
    };
    const Case cases[] = {
        {{}, 0, warning},
        {{"-w"}, 0, ""},
        {{"--warnings-as-errors"}, 1, warning},
        {{"-w", "--warnings-as-errors"}, 0, ""},
    };
    for (const char* command : {"compile", "check"}) {
        for (const Case& c : cases) {
            std::vector<std::string> args = {command, "L_linea.txt",  "L_T-.txt", "--line-name",
                                             "L",     "--train-name", "T"};
            args.insert(args.end(), c.options.begin(), c.options.end());
            SCOPED_TRACE(testing::shell_quoted(command) + " " + std::to_string(c.options.size()));
            const testing::ToolRun run = testing::tool(folder.path(), args);
            EXPECT_EQ(run.status, c.status);
            EXPECT_EQ(run.err, c.err);
        }
    }
}

// Colour only when asked for (the in-process streams are no terminal, so auto gives none).
TEST(CliCheck, ColoursTheSeverityWordsAndTheCaretWhenAsked) {
    TempFolder folder;
    write_file(folder.path() / "L_linea.txt", line_text({"pendenze,  950,  1"}));
    write_file(folder.path() / "L_T-.txt", train_text({}));
    const std::vector<std::string> check = {"check", "L_linea.txt", "L_T-.txt"};
    auto with = [&](std::vector<std::string> first) {
        first.insert(first.end(), check.begin(), check.end());
        return testing::tool(folder.path(), first).err;
    };
    EXPECT_EQ(with({"--color", "always"}),
              "L_linea.txt:7:1: \x1b[1;35mwarning\x1b[0m: \"pendenze\" matches no keyword; did you "
              "mean \"pendenza\"? [spelling]\n"
              "pendenze,  950,  1\n"
              "\x1b[1;32m^\x1b[0m\n");
    for (const char* when : {"never", "auto"}) {
        EXPECT_EQ(with({"--color", when}).find('\x1b'), std::string::npos) << when;
    }
    EXPECT_EQ(testing::tool(folder.path(), {"--color", "often", "check", "a", "b"}).status, 2);
}

TEST(CliTool, VersionHelpAndMistypedCommands) {
    TempFolder folder;
    const testing::ToolRun version = testing::tool(folder.path(), {"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(std::regex_match(version.out, std::regex("railscen [0-9]+\\.[0-9]+\\.[0-9]+\n")))
        << version.out;
    const testing::ToolRun help = testing::tool(folder.path(), {"help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("compile"), std::string::npos);
    EXPECT_EQ(help.out, testing::tool(folder.path(), {"--help"}).out);

    struct Case {
        std::vector<std::string> args;
        std::string err;  // the whole message, or its beginning when it ends with "..."
    };
    const Case cases[] = {
        {{"compil", "a", "b"}, "railscen: unknown command \"compil\"; did you mean \"compile\"?\n"},
        {{"chek"}, "railscen: unknown command \"chek\"; did you mean \"check\"?\n"},
        {{"--color", "never", "explian", "16"},
         "railscen: unknown command \"explian\"; did you mean \"explain\"?\n"},
        {{"frobnicate"},
         "railscen: unknown command \"frobnicate\"; \"railscen --help\" lists the commands\n"},
        {{}, "railscen: A subcommand is required..."},
        {{"compile", "a", "b", "--bogus"}, "railscen: The following argument was not expected..."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.err);
        const testing::ToolRun run = testing::tool(folder.path(), c.args);
        EXPECT_EQ(run.status, 2);
        if (c.err.ends_with("...")) {
            EXPECT_EQ(run.err.rfind(c.err.substr(0, c.err.size() - 3), 0), 0u) << run.err;
        } else {
            EXPECT_EQ(run.err, c.err);
        }
    }
}

// The silent slips of an author's hand, each named in brackets at the field that shows it.
TEST(CliCheck, WarnsOnSlipsTheCompileAcceptsSilently) {
    struct Case {
        std::string line;
        std::string train;
        std::string first_line;  // the warning's heading, whole
    };
    const std::string station =
        "stazione,  1000,  12,  400,  1, 0, 0,  1,1,0,  2,1,1,  0,  15,30, 0, PRIMA";
    const Case cases[] = {
        {line_text({"pendenza,  11000,  1", "pendenza,  1200,  2"}), train_text({}),
         "line.txt:8:12: warning: gradient row at 1200 m comes after the row at 11000 m; the rows "
         "of a section go up along the line [order]"},
        {line_text({}),
         train_text({"velocita,   0,    100", "velocita,   900,    90", "velocita,   450,    30"}),
         "train.txt:4:13: warning: speed limit row at 450 m comes after the row at 900 m; the "
         "rows of a section go up along the line [order]"},
        {line_text({"pendenza,  950,  1,  7"}), train_text({}),
         "line.txt:7:22: warning: \"7\" after the \"pendenza\" record's 2 fields belongs to no "
         "record and is dropped [extra-field]"},
        {line_text({"cartello_indicatore,  2750,  GALLERIA, NORD"}), train_text({}),
         "line.txt:7:40: warning: the text \"GALLERIA\" ends at a comma; \"NORD\" after it is "
         "dropped (a text cannot hold a comma) [comma]"},
        {line_text({"pendenza,  950", "   1"}), train_text({}),
         "line.txt:8:4: warning: the \"pendenza\" record of line 7 takes \"1\" from this line as "
         "its field 2; is a field missing on line 7? [continued]"},
        {line_text({"pendenza,\t950,  1"}), train_text({}),
         "line.txt:7:10: warning: a tab separates nothing here; use blanks [tab]"},
        {line_text({"- caff\xc3\xa8"}), train_text({}),
         "line.txt:7:7: warning: the text is UTF-8, but the compiler reads Windows-1252 "
         "(\"\xc3\xa8\" would become \"\xc3\x83\xc2\xa8\"); save it as Windows-1252 or compile "
         "with --from-utf8 [encoding]"},
        {line_text({}), testing::lines({"anything at all", "more of it"}),
         "train.txt: warning: the train description has no \"[generale]\" section; the compile "
         "reads no record from it [train-text]"},
        {train_text({station}), line_text({"pendenza,  950,  1"}),
         "line.txt: warning: the line description reads like a train description (its records "
         "are train records): are the two files swapped? [swapped]"},
        {line_text({}), train_text({"orologio,    16,  0,  0", station}),
         "train.txt:3:60: warning: station \"PRIMA\" is timed 15:30:00, before the clock starts "
         "at 16:00:00 [timetable]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.first_line);
        const Checked run = check(c.line, c.train);
        EXPECT_NE(run.err.find(c.first_line + "\n"), std::string::npos) << run.err;
    }
}

// --from-utf8 turns UTF-8 texts into the Windows-1252 the compile reads, and refuses a
// character Windows-1252 cannot hold.
TEST(CliCheck, FromUtf8ConvertsBothTextsOrRefuses) {
    TempFolder folder;
    write_file(folder.path() / "L_linea.txt", line_text({"- caff\xc3\xa8"}));
    write_file(folder.path() / "L_T-.txt", train_text({}));
    const testing::ToolRun plain =
        testing::tool(folder.path(), {"check", "L_linea.txt", "L_T-.txt"});
    EXPECT_NE(plain.err.find("[encoding]"), std::string::npos);
    const testing::ToolRun converted =
        testing::tool(folder.path(), {"check", "--from-utf8", "L_linea.txt", "L_T-.txt"});
    EXPECT_EQ(converted.status, 0);
    EXPECT_EQ(converted.err, "");

    write_file(folder.path() / "L_T-.txt", train_text({"- \xe6\x97\xa5"}));
    const testing::ToolRun refused =
        testing::tool(folder.path(), {"check", "--from-utf8", "L_linea.txt", "L_T-.txt"});
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.err, "railscen: --from-utf8: \"L_T-.txt\" cannot be held in Windows-1252: " +
                               cp1252_from_utf8(train_text({"- \xe6\x97\xa5"})).problem + "\n");
}

// --format json: every diagnostic on standard output, read back here.
TEST(CliCheck, JsonFormatCarriesEveryDiagnostic) {
    TempFolder folder;
    write_file(folder.path() / "L_linea.txt",
               line_text({"indicatori_vmax,  6050,  100,  100,  105,  0,  ,  ,  ,  0",
                          "pendenza,  11000,  1", "pendenza,  1200,  2"}));
    write_file(folder.path() / "L_T-.txt",
               train_text({"segnale,    6050,   2, 4, 0,  0, 0,    2,  2,0,0, 255"}));
    for (const char* command : {"check", "compile"}) {
        SCOPED_TRACE(command);
        const testing::ToolRun run =
            testing::tool(folder.path(), {command, "--format", "json", "L_linea.txt", "L_T-.txt"});
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, "");
        const nlohmann::json all = nlohmann::json::parse(run.out).at("diagnostics");
        ASSERT_EQ(all.size(), 2u) << run.out;
        const nlohmann::json& error = all[0];
        EXPECT_EQ(error.at("severity"), "error");
        EXPECT_EQ(error.at("code"), 16);
        EXPECT_EQ(error.at("file"), "L_T-.txt");
        EXPECT_EQ(error.at("line"), 2);
        EXPECT_EQ(error.at("metres"), 6050);
        EXPECT_TRUE(error.at("cell").is_number());
        EXPECT_EQ(error.at("message").get<std::string>().rfind("signal cell already occupied", 0),
                  0u);
        const nlohmann::json& order = all[1];
        EXPECT_EQ(order.at("severity"), "warning");
        EXPECT_EQ(order.at("code"), nullptr);
        EXPECT_EQ(order.at("name"), "order");
        EXPECT_EQ(order.at("file"), "L_linea.txt");
        EXPECT_EQ(order.at("line"), 9);
        EXPECT_EQ(order.at("column"), 12);
        EXPECT_EQ(order.at("message"),
                  "gradient row at 1200 m comes after the row at 11000 m; the rows of a section "
                  "go up along the line");
        EXPECT_EQ(order.at("related"), (nlohmann::json::array({{{"file", "L_linea.txt"},
                                                                {"line", 8},
                                                                {"column", 12},
                                                                {"message", "the row before"}}})));
    }
}

TEST(CliExplain, PrintsMeaningCauseAndRemedyFromTheTable) {
    auto explain = [](std::int32_t code) {
        std::ostringstream out;
        std::ostringstream err;
        const int status = cli::run_explain(code, out, err);
        return std::tuple{status, out.str(), err.str()};
    };
    EXPECT_EQ(explain(16), std::tuple(0,
                                      "error 16: signal cell already occupied\n"
                                      "  position: the report gives the record's position in "
                                      "metres\n"
                                      "  raised by: a \"segnale\" record\n"
                                      "  remedy: move the signal to a cell that holds no other "
                                      "object\n",
                                      ""));
    EXPECT_EQ(std::get<1>(explain(101)),
              "error 101: line description missing\n"
              "  raised by: the line phase\n"
              "  remedy: write the line description file\n");
    const std::string fatal = std::get<1>(explain(1251));
    EXPECT_EQ(fatal.substr(0, fatal.find('\n', fatal.find('\n') + 1) + 1),
              "error 1251: race-code fields already occupied\n"
              "  fatal: the compile ends and writes no binary file\n");
    EXPECT_EQ(explain(14), std::tuple(2, "", "railscen: 14 is not a code the compile records\n"));

    // The positions that land in cell 1, each by its object's rule: a point object at p goes to
    // round(p / 50 + 1), a code row to round(p / 50), a station stop to round(end / 50 - 1).
    for (const std::int32_t code : {1250, 1251}) {
        const std::string text = std::get<1>(explain(code));
        EXPECT_NE(text.find("  remedy: keep every object out of cell 1: signals, speed boards, "
                            "sign boards, slowdown starts and ends at -24 to 24 m; code rows at "
                            "26 to 74 m; a station zone ending at 76 to 124 m (its stop) or at 126 "
                            "to 174, 176 to 224, 226 to 274 or 276 to 324 m (its approach marks); "
                            "a slowdown starting at 1176 to 1224 m (its warning) or at 1226 to "
                            "1425 m (its markers)\n"),
                  std::string::npos)
            << text;
        EXPECT_EQ(cell_index::signal(-24), 1);
        EXPECT_EQ(cell_index::signal(25), 2);
        EXPECT_EQ(cell_index::code_row(74), 1);
        EXPECT_EQ(cell_index::station_stop(124), 1);
        EXPECT_EQ(cell_index::station_approach(324, 4), 1);
        EXPECT_EQ(cell_index::slowdown_warning(1224), 1);
        EXPECT_EQ(cell_index::slowdown_marker_base(1425) - 3, 1);
        EXPECT_EQ(cell_index::slowdown_marker_base(1426) - 3, 2);
    }
}

}  // namespace
}  // namespace railscen
