// railscen watch on real files: the test saves the texts as an editor would and reads what the
// tool prints.

#include <gtest/gtest.h>

#include <filesystem>

#include "cli_tool.h"
#include "model/file_io.h"
#include "support/child_process.h"
#include "support/test_support.h"

namespace railscen::cli {
namespace {

using namespace std::chrono_literals;
using testing::ChildProcess;

constexpr auto kTimeout = 20s;

std::string replaced(std::string text, std::string_view from, std::string_view to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

// Saves as many editors do: a new file renamed over the old one.
void save_by_rename(const std::filesystem::path& file, const std::string& bytes) {
    const std::filesystem::path temporary = file.string() + ".swp";
    write_file(temporary, bytes);
    std::filesystem::rename(temporary, file);
}

std::map<std::string, std::string> folder_bytes(const std::filesystem::path& folder) {
    std::map<std::string, std::string> out;
    for (const auto& name : testing::folder_listing(folder)) {
        out[name] = testing::read_bytes(folder / name);
    }
    return out;
}

TEST(Watch, OutputsThatWouldReplaceAWatchedTextAreRefusedBeforeAnything) {
    testing::TempFolder dir;
    const FileNames n = file_names(kScenarioLineName, kScenarioTrainName);
    ASSERT_EQ(testing::tool(dir.path(), {"sources", dir.path().string()}).status, 0);
    const std::string line_before = testing::read_bytes(dir.path() / n.line_description);
    const std::vector<std::vector<std::string>> refused = {
        {"--render", (dir.path() / n.line_description).string()},
        {"--render", (dir.path() / "." / n.train_description).string()},
    };
    for (const std::vector<std::string>& extra : refused) {
        std::vector<std::string> args = {"watch", (dir.path() / n.line_description).string(),
                                         (dir.path() / n.train_description).string(), "-o",
                                         dir.path().string()};
        args.insert(args.end(), extra.begin(), extra.end());
        const testing::ToolRun run = testing::tool(dir.path(), args);
        EXPECT_EQ(run.status, 2) << extra[1];
        EXPECT_EQ(run.err.rfind("railscen: ", 0), 0u) << run.err;
        EXPECT_EQ(run.out.find("railscen watch:"), std::string::npos) << run.out;
    }
    EXPECT_EQ(testing::read_bytes(dir.path() / n.line_description), line_before);
    EXPECT_EQ(testing::folder_listing(dir.path()).size(), 5u);  // only what sources wrote
}

class Watch : public ::testing::TestWithParam<bool> {};

// The outputs are named from the watched files, as compile names them: a scenario of its own
// never writes the stored scenario's files.
TEST(Watch, NamesTheOutputsFromTheWatchedFilesAsCompileDoes) {
    testing::TempFolder folder;
    const std::filesystem::path sources = folder.path() / "src";
    const std::filesystem::path out = folder.path() / "out";
    const std::filesystem::path compiled = folder.path() / "compiled";
    std::filesystem::create_directories(out);
    std::filesystem::create_directories(compiled);
    ASSERT_EQ(
        std::system(
            ("\"" RAILSCEN_PATH "\" sources \"" + sources.string() + "\" >/dev/null").c_str()),
        0);
    const std::filesystem::path line = sources / "ROCCAVERDE-PIANELLO _linea.txt";
    const std::filesystem::path train = sources / "ROCCAVERDE-PIANELLO _R 5531-.txt";
    std::filesystem::rename(sources / "VELARO-CUSTRA _linea.txt", line);
    std::filesystem::rename(sources / "VELARO-CUSTRA _R 40817-.txt", train);

    ASSERT_EQ(testing::tool(folder.path(),
                            {"compile", line.string(), train.string(), "-o", compiled.string()})
                  .status,
              0);
    ChildProcess watch({RAILSCEN_PATH, "watch", line.string(), train.string(), "-o", out.string()});
    ASSERT_TRUE(watch.read_until("files written to", kTimeout));
    watch.interrupt();
    EXPECT_TRUE(watch.read_until("railscen watch: stopped\n", kTimeout));
    EXPECT_EQ(watch.wait(kTimeout), 0);
    EXPECT_EQ(testing::folder_listing(out), testing::folder_listing(compiled));
    EXPECT_TRUE(folder_bytes(out) == folder_bytes(compiled));
    EXPECT_TRUE(std::filesystem::exists(out / "ROCCAVERDE-PIANELLO _R 5531.sim"));
}

TEST_P(Watch, PrintsWhatChangedAndKeepsTheLastGoodFiles) {
    testing::TempFolder folder;
    const std::filesystem::path sources = folder.path() / "src";
    const std::filesystem::path out = folder.path() / "out";
    std::filesystem::create_directories(out);
    ASSERT_EQ(
        std::system(
            ("\"" RAILSCEN_PATH "\" sources \"" + sources.string() + "\" >/dev/null").c_str()),
        0);
    const std::filesystem::path line = sources / "VELARO-CUSTRA _linea.txt";
    const std::filesystem::path train = sources / "VELARO-CUSTRA _R 40817-.txt";
    const std::filesystem::path svg = folder.path() / "scenario.svg";
    const std::string good_line = testing::read_bytes(line);
    const std::string good_train = testing::read_bytes(train);

    std::vector<std::string> argv = {RAILSCEN_PATH, "watch",      line.string(), train.string(),
                                     "-o",          out.string(), "--render",    svg.string()};
    if (GetParam()) argv.push_back("--poll");
    ChildProcess watch(argv);

    // The first compile prints nothing but its result and writes the files and the picture.
    std::optional<std::string> said = watch.read_until("files written to", kTimeout);
    ASSERT_TRUE(said);
    EXPECT_EQ(said->find("error"), std::string::npos) << *said;
    const auto written = folder_bytes(out);
    EXPECT_FALSE(written.empty());
    EXPECT_TRUE(std::filesystem::exists(svg));

    // A speed board moved onto a signal, saved in place: the error in full, nothing written.
    write_file(line, replaced(good_line, "indicatori_vmax,  2750,", "indicatori_vmax,  6050,"));
    said = watch.read_until("stay\n", kTimeout);
    ASSERT_TRUE(said);
    EXPECT_NE(
        said->find(train.string() +
                   ":59:13: error 16: signal cell already occupied by a speed board (at 6050 m)\n"
                   "segnale,    6050,"),
        std::string::npos)
        << *said;
    EXPECT_NE(said->find("not written: error 16; the last good files in " + out.string() + " stay"),
              std::string::npos)
        << *said;
    EXPECT_TRUE(folder_bytes(out) == written);

    // A misspelt keyword added in the train as well: only the new warning is printed.
    save_by_rename(train, replaced(good_train, "aderenza,    2000,", "aderneza,    2000,"));
    said = watch.read_until("stay\n", kTimeout);
    ASSERT_TRUE(said);
    EXPECT_NE(said->find("warning: "), std::string::npos) << *said;
    EXPECT_EQ(said->find(":59:13: error 16"), std::string::npos) << *said;

    // The error fixed: reported fixed in one line, and the files are written again (a
    // warning does not stop them).
    save_by_rename(line, good_line);
    said = watch.read_until("files written to", kTimeout);
    ASSERT_TRUE(said);
    EXPECT_NE(said->find("fixed: " + train.string() + ":59:13: error 16"), std::string::npos)
        << *said;
    EXPECT_EQ(said->find("warning"), std::string::npos) << *said;
    write_file(train, good_train);
    said = watch.read_until("files written to", kTimeout);
    ASSERT_TRUE(said);
    EXPECT_NE(said->find("fixed: " + train.string() + ":11:1: warning"), std::string::npos)
        << *said;
    EXPECT_TRUE(folder_bytes(out) == written);  // the stored scenario's files again

    // Ctrl-C ends it cleanly.
    watch.interrupt();
    EXPECT_TRUE(watch.read_until("railscen watch: stopped\n", kTimeout));
    EXPECT_EQ(watch.wait(kTimeout), 0);
}

// A code loading met only because it had stopped at an earlier one is a note under that
// error, word for word as check prints it, not an error of its own.
TEST(Watch, PrintsAConsequenceAsANoteAsCheckDoes) {
    testing::TempFolder folder;
    const std::filesystem::path line = folder.path() / "L_linea.txt";
    const std::filesystem::path train = folder.path() / "L_T-.txt";
    write_file(line, testing::line_text({"pendenza,  12650,  1"}, "1000"));
    write_file(train, testing::train_text({"rallentamento, 500, 30, 200, 0,0,0"}));
    const testing::ToolRun check =
        testing::tool(folder.path(), {"check", line.string(), train.string()});
    ASSERT_EQ(check.status, 1);
    // The fixture does what it is for: one error, and the slowdown's code 15 as its note.
    ASSERT_EQ(check.err.find("error 15:"), check.err.rfind("error 15:")) << check.err;
    ASSERT_NE(check.err.find("L_T-.txt:2:16: note: error 15 is recorded again here (at 500 m)"),
              std::string::npos)
        << check.err;

    ChildProcess watch(
        {RAILSCEN_PATH, "watch", line.string(), train.string(), "-o", folder.path().string()});
    const std::optional<std::string> said = watch.read_until("no good compile yet\n", kTimeout);
    ASSERT_TRUE(said);
    EXPECT_EQ(*said, "railscen watch: " + line.string() + " and " + train.string() +
                         " (Ctrl-C ends)\n" + check.err +
                         "not written: error 15; no good compile yet\n");
    watch.interrupt();
    EXPECT_TRUE(watch.read_until("railscen watch: stopped\n", kTimeout));
    EXPECT_EQ(watch.wait(kTimeout), 0);
}

INSTANTIATE_TEST_SUITE_P(NotifiedAndPolling, Watch, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Polling" : "Notified"; });

}  // namespace
}  // namespace railscen::cli
