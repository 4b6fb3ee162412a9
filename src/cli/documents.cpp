// railscen documents LINE_FILE TRAIN_FILE: the driver's timetable sheet and slowdown order form
// of an author's scenario, in the pack's own layout, beside where compile puts its files.

#include <CLI/CLI.hpp>
#include <cmath>
#include <filesystem>
#include <memory>

#include "cli/commands.h"
#include "compile/inputs.h"
#include "compile/memorizza_percorso.h"
#include "model/utf8_path.h"
#include "paper/documents.h"
#include "report/diagnostics.h"
#ifdef RAILSCEN_RUN_COMMAND
#include "analysis/chosen_train.h"
#include "paper/run_times.h"
#endif

namespace railscen::cli {
namespace {

struct DocumentsOptions {
    CompileInputs inputs;
    std::string out_folder = ".";
    analysis::TrainChoice train;
};

int run_documents(const DocumentsOptions& o, std::ostream& err) {
    Run run = named_run(o.inputs);
    const std::filesystem::path folder = utf8_path(o.out_folder);
    std::vector<std::filesystem::path> inputs = {utf8_path(o.inputs.line_file),
                                                 utf8_path(o.inputs.train_file)};
    if (!o.train.rolling_stock.empty()) inputs.push_back(utf8_path(o.train.rolling_stock));
    const std::vector<std::filesystem::path> outputs = paper::document_paths(folder, run);
    guard_outputs(outputs, inputs);

#ifdef RAILSCEN_RUN_COMMAND
    std::optional<dynamics::TrainDynamics> train;
    if (!o.train.rolling_stock.empty()) {
        try {
            train = analysis::chosen_train(o.train);
        } catch (const analysis::TrainRunError& e) {
            err << "railscen documents: " << e.what() << '\n';
            return kExitFailure;
        }
    }
#else
    if (!o.train.rolling_stock.empty()) {
        err << "railscen documents: this build has no train dynamics; --rolling-stock cannot be "
               "used\n";
        return kExitFailure;
    }
#endif

    InputTexts source(o.inputs);
    const std::optional<std::int32_t> fatal = compile_in_memory(run, 1, source);
    if (run.error_code != 0 || fatal) {
        err << report::format_diagnostics(run, o.inputs);
        err << "railscen documents: the scenario does not compile; no documents\n";
        return kExitProblem;
    }
    paper::TimetableSheet sheet = paper::timetable_sheet(run);
#ifdef RAILSCEN_RUN_COMMAND
    if (train) {
        sheet.header.mass_tonnes = static_cast<std::int64_t>(std::lround(train->mass / 1000));
        try {
            paper::add_run_times(sheet, run, *train);
        } catch (const dynamics::RunError& e) {
            err << "railscen documents: " << train->id << ": " << e.what() << '\n';
            return kExitProblem;
        }
    }
#endif
    require_output_folder(folder, outputs.front());
    for (const std::string& w : paper::write_documents(folder, run, sheet)) {
        err << "railscen documents: warning: " << w << '\n';
    }
    return kExitOk;
}

}  // namespace

Command add_documents_command(CLI::App& parent) {
    auto o = std::make_shared<DocumentsOptions>();
    CLI::App* app = parent.add_subcommand(
        "documents", "write the driver's timetable sheet and slowdown order form");
    add_compile_inputs(*app, o->inputs);
    add_output_folder(*app, o->out_folder, "folder for the documents");
    add_train_choice(*app, o->train, "the passing times from the train's fastest run");
    return {app, [o](std::ostream&, std::ostream& err) { return run_documents(*o, err); }};
}

}  // namespace railscen::cli
