// railscen check LINE_FILE TRAIN_FILE: the compile without writing anything, and warnings on
// what the compile accepts but the author most likely did not mean; with a rolling-stock file,
// on the timed legs its train cannot keep.

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
    return run_check(inputs, {}, err, out);
}

int run_check(const CompileInputs& inputs, const analysis::TrainChoice& train, std::ostream& err,
              std::ostream& out) {
    Run run = named_run(inputs);
    InputTexts source(inputs);
    const std::optional<std::int32_t> fatal = compile_in_memory(run, inputs.with_plan(), source);

    std::vector<Diagnostic> warnings = analysis::wanted_warnings(run, inputs.no_warnings);
    if (!train.rolling_stock.empty() && run.error_code == 0 && !fatal && !inputs.no_warnings) {
        try {
            for (Diagnostic& d : analysis::train_run_warnings(run, train)) {
                warnings.push_back(std::move(d));
            }
        } catch (const analysis::TrainRunError& e) {
            err << "railscen check: " << e.what() << '\n';
            return kExitFailure;
        }
    }
    report::print_diagnostics(run, inputs, warnings, out, err);
    if (run.error_code != 0 || fatal) return kExitProblem;
    return inputs.warnings_as_errors && !warnings.empty() ? kExitProblem : kExitOk;
}

Command add_check_command(CLI::App& parent) {
    struct CheckOptions {
        CompileInputs inputs;
        analysis::TrainChoice train;
    };
    auto o = std::make_shared<CheckOptions>();
    CLI::App* app = parent.add_subcommand(
        "check", "compile without writing anything, and warn on likely mistakes");
    add_compile_inputs(*app, o->inputs);
    add_train_choice(*app, o->train, "warn on each timed leg its train's fastest run cannot keep");
    return {app,
            [o](std::ostream& out, std::ostream& err) {
                return run_check(o->inputs, o->train, err, out);
            },
            &o->inputs};
}

}  // namespace railscen::cli
