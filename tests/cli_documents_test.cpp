// railscen documents and compile --documents: the driver's timetable sheet and slowdown order
// form of an author's scenario, written beside the binary files under the pack's names.

#include <gtest/gtest.h>

#include "cli_tool.h"
#include "model/file_io.h"
#include "model/file_names.h"
#include "scenario/stored_scenario.h"
#include "source_text/scrivi_righe.h"

namespace railscen {
namespace {

using testing::read_bytes;
using testing::TempFolder;
using testing::tool;

const FileNames kStored = file_names(kScenarioLineName, kScenarioTrainName);

std::vector<std::string> file_lines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(bytes.substr(start, end - start));
    }
    return lines;
}

TEST(DocumentsCommand, StoredSourcesGiveThePacksFormAndASheetBesideThePacksOwn) {
    TempFolder folder;
    ASSERT_EQ(tool(folder.path(), {"sources", "."}).status, 0);
    std::filesystem::create_directory(folder.path() / "out");
    const testing::ToolRun r =
        tool(folder.path(), {"documents", kStored.line_description.string(),
                             kStored.train_description.string(), "-o", "out"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const std::filesystem::path out = folder.path() / "out";
    EXPECT_EQ(testing::folder_listing(out),
              (std::vector<std::string>{kStored.slowdown_form.string(),
                                        kStored.timetable_sheet.string()}));
    EXPECT_EQ(read_bytes(out / kStored.slowdown_form), list_bytes(stored_slowdown_form()));
    const std::vector<std::string> sheet = file_lines(read_bytes(out / kStored.timetable_sheet));
    EXPECT_EQ(sheet.size(), 73u + 64u);
    EXPECT_EQ(
        sheet[16],
        " |  30 |     |  -2+000  |     | VELARO SAN MARTINO         |          16:40 |     |");
    // The pack's own documents beside the sources stay as the pack wrote them.
    EXPECT_EQ(read_bytes(folder.path() / kStored.timetable_sheet),
              list_bytes(stored_timetable_sheet()));
    EXPECT_EQ(read_bytes(folder.path() / kStored.slowdown_form),
              list_bytes(stored_slowdown_form()));
}

TEST(DocumentsCommand, CompileWithDocumentsWritesThemBesideTheBinaryFiles) {
    TempFolder folder;
    ASSERT_EQ(tool(folder.path(), {"sources", "."}).status, 0);
    std::filesystem::create_directory(folder.path() / "out");
    const testing::ToolRun r =
        tool(folder.path(), {"compile", kStored.line_description.string(),
                             kStored.train_description.string(), "-o", "out", "--documents"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(
        testing::folder_listing(folder.path() / "out"),
        (std::vector<std::string>{"VELARO-CUSTRA _R 40817.dat", "VELARO-CUSTRA _R 40817.sim",
                                  kStored.slowdown_form.string(), kStored.timetable_sheet.string(),
                                  "VELARO-CUSTRA _linea.dat"}));
    EXPECT_EQ(read_bytes(folder.path() / "out" / kStored.slowdown_form),
              list_bytes(stored_slowdown_form()));
}

TEST(DocumentsCommand, RefusesToWriteOverAnInput) {
    TempFolder folder;
    ASSERT_EQ(tool(folder.path(), {"sources", "."}).status, 0);
    const testing::ToolRun r =
        tool(folder.path(),
             {"documents", kStored.line_description.string(), kStored.train_description.string(),
              "--rolling-stock", kStored.timetable_sheet.string()});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find(kStored.timetable_sheet.string()), std::string::npos) << r.err;
    EXPECT_EQ(read_bytes(folder.path() / kStored.timetable_sheet),
              list_bytes(stored_timetable_sheet()));
}

// A name longer than its cell is cut to it and said on standard error with its row.
TEST(DocumentsCommand, LongNameIsCutAndWarned) {
    TempFolder folder;
    std::string train = list_bytes(stored_train_description());
    const std::string name = "Castelvecchio";
    train.replace(train.find(name), name.size(), "Castelvecchio sul Fiume Grande");
    write_file(folder.path() / "L_linea.txt", list_bytes(stored_line_description()));
    write_file(folder.path() / "L_T-.txt", train);
    const testing::ToolRun r = tool(folder.path(), {"documents", "L_linea.txt", "L_T-.txt"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err,
              "railscen documents: warning: timetable sheet, row at 21500 m: \"Castelvecchio sul "
              "Fiume Grande\" is longer than its 27 characters; cut to \"Castelvecchio sul Fiume "
              "Gra\"\n");
    const std::vector<std::string> sheet =
        file_lines(read_bytes(folder.path() / "L_T_scheda_treno.txt"));
    EXPECT_NE(std::find(sheet.begin(), sheet.end(),
                        " |     |     |  19+500  |     | Castelvecchio sul Fiume Gra| 16:54    "
                        "16:55 |     |"),
              sheet.end());
}

// The hand-worked run of cli_run_test: 100 kN on 100 t, 1 m/s^2 both ways, stops 2,000 m apart
// reached in 89.44 s. The passing times count from the last timed stop's departure.
const std::string kLine = testing::hand_worked_line();

const std::string kTrain = testing::train_text({
    "orologio,  16 0 0",
    "velocita,  0,  200",
    testing::station_row(0, 8, 1, "16,0,0", "ORIGINE"),
    testing::station_row(2000, 12, 30, "16,2,0", "PRIMA"),
    testing::station_row(3000, 28, 0, "0,0,0", "PASSANTE"),
    testing::station_row(5000, 12, 60, "0,0,0", "SECONDA"),
    testing::station_row(7000, 12, 0, "0,0,0", "ULTIMA"),
});

TEST(DocumentsCommand, RunGivesEveryRowItsTime) {
    const testing::TrainFolder f(kLine, kTrain);
    const testing::ToolRun r = f.run("documents", {"--rolling-stock", "stock.yaml"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> sheet =
        file_lines(read_bytes(f.folder.path() / "L_T_scheda_treno.txt"));
    const std::vector<std::string> rows(sheet.begin() + 16, sheet.begin() + 22);
    // PRIMA keeps its timetable's times. The others count from PRIMA's departure at 16:02:00:
    // PASSANTE 44.7 s on; SECONDA, 3,000 m on, 109.5 s (1,500 m pulling, 1,500 m braking),
    // then its dwell of 60 s; ULTIMA 89.4 s after that.
    const std::vector<std::string> expected = {
        " | 200 |     |  -2+000  |     | ORIGINE                    |          16:00 |     |",
        " |     | 200 |  -1+900  |     | Cartello Indicatore        |     16:00      |     |",
        " |     |     |   0+000  |     | PRIMA                      | 16:01    16:02 |     |",
        " |     |     |   1+000  |     | PASSANTE                   |     16:02      |     |",
        " |     |     |   3+000  |     | SECONDA                    | 16:03    16:04 |     |",
        " |     |     |   5+000  |     | ULTIMA                     | 16:06          |             "
        "      ",
    };
    EXPECT_EQ(rows, expected);
    EXPECT_EQ(sheet[9], " |                   |              |      100T         |");
    EXPECT_EQ(sheet[22 + 3], "");  // no note: the run gave the times
}

// The train is chosen as check, timetable and render choose it; a wrong choice writes nothing.
TEST(DocumentsCommand, AWrongTrainChoiceWritesNothing) {
    struct Case {
        std::vector<std::string> options;
        std::string message;
    };
    const Case cases[] = {
        {{"--rolling-stock", "stock.yaml", "--train", "NOPE"},
         "railscen documents: stock.yaml has no train \"NOPE\"\n"},
        {{"--train", "TEST"},
         "railscen: --train requires --rolling-stock\nRun with --help for more information.\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        const testing::TrainFolder f(kLine, kTrain);
        const testing::ToolRun r = f.run("documents", c.options);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.err, c.message);
        EXPECT_FALSE(std::filesystem::exists(f.folder.path() / "L_T_scheda_treno.txt"));
    }
}

}  // namespace
}  // namespace railscen
