// railscen sources and railscen compile against the pack: same texts, same binaries. The first
// two run the built program; the others call the tool in process.

#include <gtest/gtest.h>

#include <algorithm>

#include "app/pack.h"
#include "cli_tool.h"
#include "compile/memorizza_percorso.h"
#include "model/file_io.h"
#include "model/file_names.h"
#include "model/text_encoding.h"
#include "scenario/stored_scenario.h"
#include "source_text/scrivi_righe.h"

namespace railscen {
namespace {

using testing::railscen;
using testing::read_bytes;
using testing::TempFolder;

const FileNames kNames = file_names(kScenarioLineName, kScenarioTrainName);

TEST(CliSources, WritesWhatThePackWritesAndNothingElse) {
    TempFolder tool;
    TempFolder pack;
    const testing::ToolRun run = railscen(tool.path(), {"sources", "src"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const std::filesystem::path src = tool.path() / "src";
    ASSERT_EQ(run_pack(pack.path()).status, kExitClean);

    // The pack keeps its documents; its description texts are gone after its run, so they
    // are compared with what its writers write.
    for (const std::filesystem::path& document :
         {kNames.notes_sheet, kNames.slowdown_form, kNames.timetable_sheet}) {
        SCOPED_TRACE(document);
        ASSERT_TRUE(std::filesystem::exists(src / document));
        EXPECT_EQ(read_bytes(src / document), read_bytes(pack.path() / document));
    }
    EXPECT_EQ(read_bytes(src / kNames.line_description), list_bytes(stored_line_description()));
    EXPECT_EQ(read_bytes(src / kNames.train_description), list_bytes(stored_train_description()));
    EXPECT_EQ(read_bytes(src / kNames.line_description).size(), 17053u);

    // Nothing compiled, nothing deleted.
    std::vector<std::string> expected = {kNames.line_description, kNames.train_description,
                                         kNames.notes_sheet, kNames.slowdown_form,
                                         kNames.timetable_sheet};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(testing::folder_listing(src), expected);
}

TEST(CliCompile, TheWrittenSourcesCompileToThePacksBinaries) {
    TempFolder tool;
    TempFolder pack;
    ASSERT_EQ(railscen(tool.path(), {"sources", "src"}).status, 0);
    std::filesystem::create_directory(tool.path() / "out");
    const std::string line = "src/" + kNames.line_description.string();
    const std::string train = "src/" + kNames.train_description.string();
    const testing::ToolRun run =
        railscen(tool.path(), {"compile", line, train, "-o", "out", "--report", "report.json"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    ASSERT_EQ(run_pack(pack.path()).status, kExitClean);

    for (const std::filesystem::path& binary :
         {kNames.plan_file, kNames.scenario_file, kNames.cell_file}) {
        SCOPED_TRACE(binary);
        const std::string ours = read_bytes(tool.path() / "out" / binary);
        ASSERT_FALSE(ours.empty());
        EXPECT_TRUE(ours == read_bytes(pack.path() / binary));
    }
    // The author's texts are left exactly as they were.
    EXPECT_EQ(read_bytes(tool.path() / line), list_bytes(stored_line_description()));
    EXPECT_EQ(read_bytes(tool.path() / train), list_bytes(stored_train_description()));
    EXPECT_EQ(read_bytes(tool.path() / "report.json"),
              "{\n"
              "  \"error_code\": 0,\n"
              "  \"error_position\": 0,\n"
              "  \"fatal\": null,\n"
              "  \"written\": [\n"
              "    \"VELARO-CUSTRA _linea.dat\",\n"
              "    \"VELARO-CUSTRA _R 40817.sim\",\n"
              "    \"VELARO-CUSTRA _R 40817.dat\"\n"
              "  ],\n"
              "  \"source\": null\n"
              "}\n");
}

TEST(CliCompile, NoPlanAndNamesFromOptionsIntoTheCurrentFolder) {
    TempFolder tool;
    TempFolder reference;
    ASSERT_EQ(testing::tool(tool.path(), {"sources", tool.path().string()}).status, 0);
    const FileNames named = file_names("LINEA ", "T 1");
    // A plan file of an earlier compile stays untouched when no plan is built.
    write_file(tool.path() / named.plan_file, std::string_view("earlier plan"));

    const testing::ToolRun run =
        testing::tool(tool.path(), {"compile", kNames.line_description, kNames.train_description,
                                    "--no-plan", "--line-name", "LINEA ", "--train-name", "T 1"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(read_bytes(tool.path() / named.plan_file), "earlier plan");

    // The same compile in process with j = 0 and the same names.
    railscen::Run expected = make_run("LINEA ", "T 1", 0);
    ReadOnlySource source(tool.path() / kNames.line_description,
                          tool.path() / kNames.train_description);
    const CompileOutcome outcome = memorizza_percorso(expected, 0, source, reference.path());
    ASSERT_EQ(outcome.written, (std::vector<std::string>{named.scenario_file, named.cell_file}));
    for (const std::string& binary : outcome.written) {
        SCOPED_TRACE(binary);
        EXPECT_TRUE(read_bytes(tool.path() / binary) == read_bytes(reference.path() / binary));
    }
    // The names reach the scenario file: slot 85 and 86 carry them.
    EXPECT_NE(read_bytes(tool.path() / named.scenario_file).find("LINEA "), std::string::npos);
}

// Names left out come from file names that follow the pack's pattern; names typed in UTF-8 are
// stored in Windows-1252.
TEST(CliCompile, NamesFromTheFileNamesOrTheOptionsInWindows1252) {
    TempFolder folder;
    for (const char* file : {"Nord_linea.txt", "line.txt"}) {
        write_file(folder.path() / file, testing::line_text({}));
    }
    for (const char* file : {"Nord_R 1-.txt", "train.txt"}) {
        write_file(folder.path() / file, testing::train_text({}));
    }
    struct Case {
        std::vector<std::string> args;
        FileNames written;
    };
    const Case cases[] = {
        {{"Nord_linea.txt", "Nord_R 1-.txt"}, file_names("Nord", "R 1")},
        {{"Nord_linea.txt", "Nord_R 1-.txt", "--train-name", "Z"}, file_names("Nord", "Z")},
        {{"line.txt", "train.txt", "--line-name", "L\xc3\xacnea", "--train-name", "\xe2\x82\xac"},
         file_names("L\xecnea", "\x80")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.written.scenario_file);
        std::vector<std::string> args = {"compile", "--no-plan"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const testing::ToolRun run = testing::tool(folder.path(), args);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_TRUE(std::filesystem::exists(folder.path() / c.written.scenario_file));
    }
    // The file names hold the names' characters, in UTF-8 here, whatever bytes the scenario
    // stores them in.
    const std::vector<std::string> listing = testing::folder_listing(folder.path());
    EXPECT_NE(std::find(listing.begin(), listing.end(), "L\xc3\xacnea_\xe2\x82\xac.sim"),
              listing.end());

    struct Refused {
        std::vector<std::string> args;
        std::string err;
    };
    const Refused refused[] = {
        {{"line.txt", "train.txt"},
         "railscen: give --line-name and --train-name: the file names \"line.txt\" and "
         "\"train.txt\" do not follow the pattern NAME_linea.txt and NAME_TRAIN-.txt\n"},
        {{"line.txt", "train.txt", "--line-name", "L"},
         "railscen: give --train-name: the file names \"line.txt\" and \"train.txt\" do not "
         "follow the pattern NAME_linea.txt and NAME_TRAIN-.txt\n"},
        {{"line.txt", "train.txt", "--line-name", "\xe6\x97\xa5", "--train-name", "T"},
         "railscen: --line-name cannot be stored in Windows-1252: " +
             cp1252_from_utf8("\xe6\x97\xa5").problem + "\n"},
    };
    for (const Refused& r : refused) {
        SCOPED_TRACE(r.err);
        for (const char* command : {"compile", "check"}) {
            std::vector<std::string> args = {command};
            args.insert(args.end(), r.args.begin(), r.args.end());
            const testing::ToolRun run = testing::tool(folder.path(), args);
            EXPECT_EQ(run.status, 2);
            EXPECT_EQ(run.err, r.err);
        }
    }
}

TEST(CliCompile, UsageErrorsAndFailedWritesExitWithTwo) {
    TempFolder tool;
    ASSERT_EQ(testing::tool(tool.path(), {"sources", "."}).status, 0);
    const testing::ToolRun missing_argument =
        testing::tool(tool.path(), {"compile", kNames.line_description});
    EXPECT_EQ(missing_argument.status, 2);
    EXPECT_NE(missing_argument.err.find("TRAIN_FILE is required"), std::string::npos)
        << missing_argument.err;
    EXPECT_EQ(testing::tool(tool.path(), {}).status, 2);
    EXPECT_EQ(testing::tool(tool.path(), {"compile", "a", "b", "--bogus"}).status, 2);
    const testing::ToolRun long_name =
        testing::tool(tool.path(), {"compile", kNames.line_description, kNames.train_description,
                                    "--train-name", std::string(256, 'x')});
    EXPECT_EQ(long_name.status, 2);
    EXPECT_NE(long_name.err.find("at most 255 bytes"), std::string::npos) << long_name.err;

    const testing::ToolRun no_folder = testing::tool(
        tool.path(),
        {"compile", kNames.line_description, kNames.train_description, "-o", "absent"});
    EXPECT_EQ(no_folder.status, 2);
    EXPECT_EQ(no_folder.err.rfind(
                  "railscen: cannot write \"absent/" + kNames.plan_file.string() + "\": ", 0),
              0u)
        << no_folder.err;
}

}  // namespace
}  // namespace railscen
