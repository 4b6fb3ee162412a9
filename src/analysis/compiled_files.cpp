#include "analysis/compiled_files.h"

#include "model/file_io.h"
#include "model/file_names.h"
#include "model/text_encoding.h"
#include "output/binary_decode.h"

namespace railscen::analysis {
namespace {

std::string must_read(const std::filesystem::path& file, std::size_t max_bytes) {
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) {
        throw CompiledFilesError(file.string() + ": no such file");
    }
    return read_input_file(file, max_bytes);
}

// The names that lead from the scenario file to the other two come from the file itself: a
// crafted one may not lead out of the folder.
void check_name(const std::filesystem::path& sim, const std::string& name, const char* what) {
    const std::string problem = name_problem(name);
    if (!problem.empty()) {
        throw CompiledFilesError(sim.string() + ": the " + what + " name \"" + terminal_text(name) +
                                 "\" cannot make a file name: " + problem);
    }
}

}  // namespace

CompiledFiles read_compiled_files(const std::filesystem::path& scenario_file, bool with_plan) {
    CompiledFiles files;
    files.scenario_file = scenario_file;
    const std::filesystem::path* reading = &files.scenario_file;
    try {
        files.scenario.slots =
            decode_scenario_file(must_read(scenario_file, kMaxScenarioFileBytes));
        const std::string& line = files.scenario.slots[kLineSlot].text;
        const std::string& train = files.scenario.slots[kTrainSlot].text;
        check_name(scenario_file, line, "line");
        check_name(scenario_file, train, "train");
        const FileNames names = file_names(line, train);
        const std::filesystem::path folder = scenario_file.parent_path();
        files.cell_file = folder / names.cell_file;
        files.plan_file = folder / names.plan_file;
        reading = &files.cell_file;
        files.scenario.cells = decode_cell_file(must_read(files.cell_file, kMaxCellFileBytes));
        std::error_code ec;
        if (with_plan && std::filesystem::exists(files.plan_file, ec)) {
            reading = &files.plan_file;
            files.scenario.plan =
                decode_plan_file(read_input_file(files.plan_file, kMaxPlanFileBytes));
        }
    } catch (const DecodeError& e) {
        throw CompiledFilesError(reading->string() + ": " + e.what());
    }
    return files;
}

}  // namespace railscen::analysis
