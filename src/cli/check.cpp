// railscen check LINE_FILE TRAIN_FILE: the compile without writing anything, and warnings on
// what the compile accepts but the author most likely did not mean.

#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>

#include "analysis/warnings.h"
#include "cli/commands.h"
#include "compile/inputs.h"
#include "compile/memorizza_percorso.h"
#include "loader/description_source.h"
#include "model/file_io.h"
#include "report/diagnostics.h"

namespace railscen::cli {

int run_check(const CompileInputs& inputs, std::ostream& err, std::ostream& out) {
    Run run = named_run(inputs);
    InputTexts source(inputs);
    const std::optional<std::int32_t> fatal = compile_in_memory(run, inputs.with_plan(), source);

    const std::vector<Diagnostic> warnings = analysis::wanted_warnings(run, inputs.no_warnings);
    report::print_diagnostics(run, inputs, warnings, out, err);
    if (run.error_code != 0 || fatal) return kExitProblem;
    return inputs.warnings_as_errors && !warnings.empty() ? kExitProblem : kExitOk;
}

Command add_check_command(CLI::App& parent) {
    auto inputs = std::make_shared<CompileInputs>();
    CLI::App* app = parent.add_subcommand(
        "check", "compile without writing anything, and warn on likely mistakes");
    add_compile_inputs(*app, *inputs);
    return {app,
            [inputs](std::ostream& out, std::ostream& err) { return run_check(*inputs, err, out); },
            inputs.get()};
}

}  // namespace railscen::cli
