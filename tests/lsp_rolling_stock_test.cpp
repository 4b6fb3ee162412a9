// The language server takes the train of the one rolling-stock file beside the train text and
// warns on the timed legs it cannot keep, as check --rolling-stock does.

#include <gtest/gtest.h>

#include <algorithm>

#include "analysis/train_run.h"
#include "lsp/diagnostics.h"
#include "lsp/documents.h"
#include "lsp/rolling_stock.h"
#include "model/file_io.h"
#include "model/text_encoding.h"
#include "support/test_support.h"

namespace railscen {
namespace {

using testing::TempFolder;

// 2,000 m level and straight, the train pulls and brakes at 1 m/s^2: 89.44 s, 1:30 whole.
const std::string kLine = testing::hand_worked_line();
const std::string kTrain = testing::train_text({
    "orologio,  16 0 0",
    testing::station_row(0, 8, 1, "16,0,0", "ORIGINE"),
    testing::station_row(2000, 12, 0, "16,1,29", "ULTIMA"),
});
const std::string kStock = testing::hand_worked_stock();

// The messages the editor shows on the train text, one per line.
std::string shown_on_train(const std::filesystem::path& folder) {
    lsp::Documents documents;
    const std::string uri = lsp::uri_from_path(folder / "L_T-.txt");
    documents.open(uri, utf8_from_1252(kTrain), 1);
    const lsp::CompiledPair compiled = lsp::compile_pair(documents.pair_for(*documents.find(uri)));
    std::string out;
    for (const lsp::ShownDiagnostic& d : lsp::text_diagnostics(compiled, SourceFile::kTrain)) {
        out += std::to_string(d.range.start_line) + ": " + d.message + "\n";
    }
    return out;
}

TEST(LspRollingStock, TheOneYamlBesideTheTrainTextGivesItsWarnings) {
    if (!analysis::has_train_dynamics()) GTEST_SKIP() << "this build has no train dynamics";
    struct Case {
        const char* name;
        std::vector<std::string> yaml_files;  // each holds the rolling stock
        std::string shown;
    };
    const std::string warned =
        "3: warning: station \"ULTIMA\" is timed 0:01:29 after \"ORIGINE\", but the fastest run "
        "of TEST (Test unit) takes 0:01:30 [timetable]\n";
    const Case cases[] = {
        {"none", {}, ""},
        {"one", {"stock.yaml"}, warned},
        {"one, .yml", {"stock.yml"}, warned},
        {"two: no guess", {"a.yaml", "b.yml"}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        write_file(folder.path() / "L_linea.txt", kLine);
        write_file(folder.path() / "L_T-.txt", kTrain);
        for (const std::string& name : c.yaml_files) write_file(folder.path() / name, kStock);
        const std::string shown = shown_on_train(folder.path());
        EXPECT_EQ(shown, c.shown);
    }
}

TEST(LspRollingStock, AFileThatCannotBeUsedIsNamedOnTheFirstLine) {
    if (!analysis::has_train_dynamics()) GTEST_SKIP() << "this build has no train dynamics";
    TempFolder folder;
    write_file(folder.path() / "L_linea.txt", kLine);
    write_file(folder.path() / "L_T-.txt", kTrain);
    write_file(folder.path() / "stock.yaml", "trains: [");
    const std::string shown = shown_on_train(folder.path());
    const std::string head = "0: warning: rolling stock beside the texts cannot be used: " +
                             (folder.path() / "stock.yaml").string() + ":";
    EXPECT_EQ(shown.substr(0, head.size()), head) << shown;
    EXPECT_EQ(shown.substr(shown.size() - 17), " [rolling-stock]\n") << shown;
    EXPECT_EQ(std::count(shown.begin(), shown.end(), '\n'), 1) << shown;
}

}  // namespace
}  // namespace railscen
