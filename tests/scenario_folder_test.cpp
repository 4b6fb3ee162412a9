// Which scenario a folder holds, and which file a description text pairs with: one rule for
// render, diff and the editor.

#include "compile/scenario_folder.h"

#include <gtest/gtest.h>

#include "compile/inputs.h"
#include "model/file_io.h"
#include "model/utf8_path.h"
#include "support/test_support.h"

namespace railscen {
namespace {

using testing::TempFolder;

constexpr const char* kLine = "ROCCAVERDE-PIANELLO _linea.txt";
constexpr const char* kTrain = "ROCCAVERDE-PIANELLO _R 5531-.txt";
constexpr const char* kSim = "ROCCAVERDE-PIANELLO _R 5531.sim";

struct FolderCase {
    const char* what;
    std::vector<std::string> files;  // "name/" is a folder
    ScenarioNames wanted;
    // The outcome: "texts LINE_FILE + TRAIN_FILE", "compiled FILE", both joined by "; ", or
    // the message.
    std::string outcome;
};

std::string outcome_of(const std::filesystem::path& folder, const ScenarioNames& wanted) {
    try {
        const FolderScenario one = one_scenario(scenarios_in(folder, wanted), "FOLDER", "ADVICE");
        std::string out;
        if (one.texts) {
            EXPECT_EQ(one.texts->line_file.parent_path(), folder);
            out = "texts " + utf8_name(one.texts->line_file.filename()) + " + " +
                  utf8_name(one.texts->train_file.filename()) + " (" + one.texts->label() + ")";
        }
        if (one.compiled) {
            out +=
                (out.empty() ? "compiled " : "; compiled ") + utf8_name(one.compiled->filename());
        }
        return out;
    } catch (const UsageError& e) {
        return e.what();
    }
}

TEST(ScenarioFolder, FindsTheOneScenarioOrSaysWhyNot) {
    const std::string kNone =
        "FOLDER holds no scenario: no description texts (NAME_linea.txt and NAME_TRAIN-.txt) and "
        "no scenario file (.sim)";
    const FolderCase cases[] = {
        {"a pair of texts",
         {kLine, kTrain, "notes.txt"},
         {},
         "texts ROCCAVERDE-PIANELLO _linea.txt + ROCCAVERDE-PIANELLO _R 5531-.txt "
         "(ROCCAVERDE-PIANELLO  / R 5531)"},
        {"texts and their compiled files",
         {kLine, kTrain, kSim, "ROCCAVERDE-PIANELLO _R 5531.dat"},
         {},
         "texts ROCCAVERDE-PIANELLO _linea.txt + ROCCAVERDE-PIANELLO _R 5531-.txt "
         "(ROCCAVERDE-PIANELLO  / R 5531); compiled ROCCAVERDE-PIANELLO _R 5531.sim"},
        {"compiled files only",
         {kSim, "ROCCAVERDE-PIANELLO _R 5531.dat"},
         {},
         "compiled ROCCAVERDE-PIANELLO _R 5531.sim"},
        {"an empty folder", {}, {}, kNone},
        {"texts that do not pair", {kLine, "OTHER_R 1-.txt", "x.txt"}, {}, kNone},
        {"a folder named like a scenario file", {"x.sim/"}, {}, kNone},
        {"two trains of one line",
         {kLine, kTrain, "ROCCAVERDE-PIANELLO _R 5533-.txt"},
         {},
         "FOLDER holds 2 scenarios (\"ROCCAVERDE-PIANELLO  / R 5531\", \"ROCCAVERDE-PIANELLO  / "
         "R 5533\"): ADVICE"},
        {"two trains, one picked by its name",
         {kLine, kTrain, "ROCCAVERDE-PIANELLO _R 5533-.txt"},
         {"", "R 5533"},
         "texts ROCCAVERDE-PIANELLO _linea.txt + ROCCAVERDE-PIANELLO _R 5533-.txt "
         "(ROCCAVERDE-PIANELLO  / R 5533)"},
        {"names that pick none", {kLine, kTrain}, {"ROCCAVERDE-PIANELLO ", "R 1"}, kNone},
        {"a line name holding underscores",
         {"A_B_linea.txt", "A_B_C-.txt", "A_linea.txt"},
         {},
         "FOLDER holds 2 scenarios (\"A_B / C\", \"A / B_C\"): ADVICE"},
        {"two scenario files",
         {"A_T.sim", "B_T.sim"},
         {},
         "FOLDER holds 2 scenario files (.sim): ADVICE"},
        {"two scenario files, both names pick one",
         {"A_T.sim", "B_T.sim"},
         {"B", "T"},
         "compiled B_T.sim"},
        {"a name typed in UTF-8 picks the Windows-1252 file",
         {"Cr\xC3\xA9py_T.sim", "B T.sim"},
         {"Cr\xC3\xA9py", "T"},
         "compiled Cr\xC3\xA9py_T.sim"},
    };
    for (const FolderCase& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder folder;
        for (const std::string& name : c.files) {
            if (name.ends_with('/')) {
                std::filesystem::create_directory(folder.path() /
                                                  utf8_path(name.substr(0, name.size() - 1)));
            } else {
                write_file(folder.path() / utf8_path(name), "x");
            }
        }
        EXPECT_EQ(outcome_of(folder.path(), c.wanted), c.outcome);
    }
}

TEST(ScenarioFolder, ATextsPartnersAreTheFilesItPairsWith) {
    const std::vector<std::string> names = {"A_B_T-.txt", "A_linea.txt", "A_B_linea.txt",
                                            "A_T-.txt",   "A_linea.dat", "B_T-.txt",
                                            "A_-.txt",    "A_U-.txt"};
    struct Case {
        const char* file;
        std::vector<std::string> partners;
    };
    const Case cases[] = {
        // A line's trains in the order given (the editor lists its open ones first).
        {"A_linea.txt", {"A_B_T-.txt", "A_T-.txt", "A_U-.txt"}},
        {"A_B_linea.txt", {"A_B_T-.txt"}},
        // A train's lines, the longest name first.
        {"A_B_T-.txt", {"A_B_linea.txt", "A_linea.txt"}},
        {"A_T-.txt", {"A_linea.txt"}},
        {"B_T-.txt", {}},
        {"notes.txt", {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(partner_names(c.file, names), c.partners) << c.file;
    }
}

}  // namespace
}  // namespace railscen
