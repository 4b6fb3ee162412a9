#pragma once

#include <cstdint>
#include <string>

#include "model/file_names.h"
#include "model/run.h"

namespace CLI {
class App;
}

namespace railscen::cli {

// What compile and check share: the two description files as the author named them, the names
// the binary files are built from, and whether the plan is built.
struct CompileInputs {
    std::string line_file;
    std::string train_file;
    std::string line_name{kScenarioLineName};
    std::string train_name{kScenarioTrainName};
    bool no_plan = false;

    std::int32_t with_plan() const { return no_plan ? 0 : 1; }
    const std::string& file_of(SourceFile file) const {
        return file == SourceFile::kLine ? line_file : train_file;
    }
};

// LINE_FILE TRAIN_FILE [--line-name NAME] [--train-name NAME] [--no-plan]
void add_compile_inputs(CLI::App& command, CompileInputs& inputs);

// A run named from the options, ready for the compile.
Run named_run(const CompileInputs& inputs);

}  // namespace railscen::cli
