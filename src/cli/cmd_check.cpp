// railscen check LINE_FILE TRAIN_FILE: the compile without writing anything, and warnings on
// what the compile accepts but the author most likely did not mean.

#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>

#include "app/memorizza_percorso.h"
#include "cli/commands.h"
#include "cli/compile_inputs.h"
#include "cli/diagnostics.h"
#include "cli/warnings.h"
#include "model/file_io.h"

namespace railscen::cli {
namespace {

std::string text_or_empty(const std::string& file) {
    try {
        return read_file(file).value_or("");
    } catch (const FileError&) {
        return {};  // the compile has reported what it could not read
    }
}

std::vector<Warning> all_warnings(const Run& run, const CompileInputs& inputs) {
    const std::string line = text_or_empty(inputs.line_file);
    const std::string train = text_or_empty(inputs.train_file);
    std::vector<Warning> found = spelling_warnings(line, SourceFile::kLine);
    for (auto more : {spelling_warnings(train, SourceFile::kTrain), stretch_warnings(run, line),
                      timetable_warnings(run, train)}) {
        found.insert(found.end(), more.begin(), more.end());
    }
    return found;
}

int run_check(const CompileInputs& inputs) {
    Run run = named_run(inputs);
    InputTexts source(inputs);
    const std::optional<std::int32_t> fatal = compile_in_memory(run, inputs.with_plan(), source);

    if (run.error_code != 0) std::cerr << format_recorded_code(run, inputs);
    if (fatal) std::cerr << format_fatal(run, *fatal);
    for (const Warning& w : all_warnings(run, inputs)) {
        std::cerr << format_warning({inputs.file_of(w.file), w.line, w.column}, w.message);
    }
    return run.error_code != 0 || fatal ? kExitProblem : kExitOk;
}

}  // namespace

Command add_check_command(CLI::App& parent) {
    auto inputs = std::make_shared<CompileInputs>();
    CLI::App* app = parent.add_subcommand(
        "check", "compile without writing anything, and warn on likely mistakes");
    add_compile_inputs(*app, *inputs);
    return {app, [inputs] { return run_check(*inputs); }};
}

}  // namespace railscen::cli
