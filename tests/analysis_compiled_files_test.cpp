// A compiled scenario read back from its three files, as render and diff read it.

#include "analysis/compiled_files.h"

#include <gtest/gtest.h>

#include <functional>

#include "compile/memorizza_percorso.h"
#include "model/file_io.h"
#include "model/file_names.h"
#include "model/line_list.h"
#include "output/binary_files.h"
#include "scenario/stored_scenario.h"
#include "source_text/scrivi_righe.h"
#include "support/test_support.h"

namespace railscen::analysis {
namespace {

using testing::TempFolder;

const FileNames kNames = file_names(kScenarioLineName, kScenarioTrainName);

const Run& stored_run() {
    static const Run run = [] {
        Run r = make_run();
        MemorySource source(list_bytes(stored_line_description()),
                            list_bytes(stored_train_description()));
        compile_in_memory(r, 1, source);
        return r;
    }();
    return run;
}

std::string scenario_file_with_line_name(const std::string& line) {
    Slots slots{};
    slots[kLineSlot].text = line;
    slots[kTrainSlot].text = "T";
    const Bytes bytes = encode_scenario_file(slots);
    return std::string(bytes.begin(), bytes.end());
}

TEST(CompiledFiles, ReadsBackWhatTheCompileWrote) {
    ASSERT_EQ(stored_run().error_code, 0);
    TempFolder folder;
    write_binary_files(stored_run(), folder.path());

    const CompiledFiles files = read_compiled_files(folder.path() / kNames.scenario_file);
    EXPECT_EQ(files.scenario_file, folder.path() / kNames.scenario_file);
    EXPECT_EQ(files.cell_file, folder.path() / kNames.cell_file);
    EXPECT_EQ(files.plan_file, folder.path() / kNames.plan_file);
    EXPECT_EQ(files.scenario.slots, stored_run().slots);
    EXPECT_EQ(files.scenario.cells, stored_run().cells->all());
    ASSERT_TRUE(files.scenario.plan);
    EXPECT_TRUE(*files.scenario.plan == stored_run().plan);

    // Without the plan: the file is still named, so that no output lands on it.
    const CompiledFiles no_plan = read_compiled_files(folder.path() / kNames.scenario_file, false);
    EXPECT_FALSE(no_plan.scenario.plan);
    EXPECT_EQ(no_plan.plan_file, folder.path() / kNames.plan_file);
    std::filesystem::remove(folder.path() / kNames.plan_file);
    EXPECT_FALSE(read_compiled_files(folder.path() / kNames.scenario_file).scenario.plan);
}

TEST(CompiledFiles, SaysWhichFileCannotBeReadAndWhy) {
    struct Case {
        const char* what;
        std::function<void(const std::filesystem::path&)> spoil;
        std::string message;  // {F} stands for the folder
    };
    const std::string sim = kNames.scenario_file.string();
    const std::string dat = kNames.cell_file.string();
    const Case cases[] = {
        {"no scenario file", [&](const auto& f) { std::filesystem::remove(f / sim); },
         "{F}/" + sim + ": no such file"},
        {"no cell file", [&](const auto& f) { std::filesystem::remove(f / dat); },
         "{F}/" + dat + ": no such file"},
        {"a cell file cut short",
         [&](const auto& f) { write_file(f / dat, std::string(20, '\0')); },
         "{F}/" + dat + ": cell file: holds 20 bytes, not a whole number of 15-byte cells"},
        {"a scenario file cut short",
         [&](const auto& f) { write_file(f / sim, std::string(40, '\0')); },
         "{F}/" + sim +
             ": scenario file: holds 40 bytes and ends inside slot 1 of 87 (at least 68 bytes "
             "needed)"},
        {"a line name that leads out of the folder",
         [&](const auto& f) { write_file(f / sim, scenario_file_with_line_name("../x")); },
         "{F}/" + sim +
             ": the line name \"../x\" cannot make a file name: a path separator (/ or \\) may "
             "not stand in a name"},
        {"a line name holding an escape",
         [&](const auto& f) { write_file(f / sim, scenario_file_with_line_name("A\x1b")); },
         "{F}/" + sim +
             ": the line name \"A\\x1b\" cannot make a file name: a control byte may not stand "
             "in a name"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder folder;
        write_binary_files(stored_run(), folder.path());
        c.spoil(folder.path());
        std::string expected = c.message;
        expected.replace(expected.find("{F}"), 3, folder.path().string());
        try {
            read_compiled_files(folder.path() / sim);
            ADD_FAILURE() << "read";
        } catch (const CompiledFilesError& e) {
            EXPECT_EQ(std::string(e.what()), expected);
        }
    }
}

}  // namespace
}  // namespace railscen::analysis
