// The files a command writes under the scenario's names, and the guard that keeps every one of
// them off the files it reads.

#include <gtest/gtest.h>

#include "compile/inputs.h"
#include "model/file_io.h"
#include "model/file_names.h"
#include "model/utf8_path.h"
#include "support/test_support.h"

namespace railscen {
namespace {

using testing::TempFolder;

WrittenFiles written(bool plan, bool binaries, bool documents,
                     std::vector<std::filesystem::path> named = {}) {
    WrittenFiles what;
    what.plan = plan;
    what.binaries = binaries;
    what.documents = documents;
    what.named = std::move(named);
    return what;
}

std::vector<std::string> shown(const std::vector<std::filesystem::path>& paths) {
    std::vector<std::string> out;
    for (const auto& path : paths) out.push_back(utf8_name(path));
    return out;
}

TEST(WrittenPaths, NamesEveryFileInTheOrderCompileWritesThem) {
    const FileNames names = file_names("ROCCAVERDE-PIANELLO ", "R 5531");
    struct Case {
        WrittenFiles what;
        std::vector<std::string> paths;
    };
    const Case cases[] = {
        {written(true, true, true, {"r.json"}),
         {"out/ROCCAVERDE-PIANELLO _linea.dat", "out/ROCCAVERDE-PIANELLO _R 5531.sim",
          "out/ROCCAVERDE-PIANELLO _R 5531.dat", "r.json",
          "out/ROCCAVERDE-PIANELLO _R 5531_scheda_treno.txt",
          "out/ROCCAVERDE-PIANELLO _R 5531_rallentamenti.txt"}},
        {written(false, true, false),
         {"out/ROCCAVERDE-PIANELLO _R 5531.sim", "out/ROCCAVERDE-PIANELLO _R 5531.dat"}},
        {written(false, false, true),
         {"out/ROCCAVERDE-PIANELLO _R 5531_scheda_treno.txt",
          "out/ROCCAVERDE-PIANELLO _R 5531_rallentamenti.txt"}},
        {written(false, false, false), {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(shown(written_paths("out", names, c.what)), c.paths);
    }
}

TEST(WrittenPaths, TheGuardRefusesEachOfThemWhenItIsAnInput) {
    TempFolder folder;
    const FileNames names = file_names("L", "T");
    const std::vector<std::filesystem::path> outputs =
        written_paths(folder.path(), names, written(true, true, true, {folder.path() / "r.json"}));
    ASSERT_EQ(outputs.size(), 6u);
    const std::filesystem::path line = folder.path() / "L_linea.txt";
    write_file(line, "x");
    EXPECT_NO_THROW(guard_outputs(outputs, {line}));
    for (const std::filesystem::path& output : outputs) {
        SCOPED_TRACE(utf8_name(output));
        // The author's train text stored under the name of one of the outputs.
        write_file(output, "x");
        try {
            guard_outputs(outputs, {line, output.parent_path() / "." / output.filename()});
            ADD_FAILURE() << "not refused";
        } catch (const UsageError& e) {
            EXPECT_EQ(std::string(e.what()),
                      "the output \"" + utf8_name(output) + "\" is the input \"" +
                          utf8_name(output.parent_path() / "." / output.filename()) +
                          "\"; railscen never writes over what it reads");
        }
        std::filesystem::remove(output);
    }
}

}  // namespace
}  // namespace railscen
