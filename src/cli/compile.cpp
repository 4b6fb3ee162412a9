// railscen compile LINE_FILE TRAIN_FILE: the pack's compile on an author's own texts, which are
// read and never changed.

#include <CLI/CLI.hpp>
#include <filesystem>
#include <iostream>
#include <memory>

#include "analysis/warnings.h"
#include "cli/commands.h"
#include "compile/inputs.h"
#include "compile/memorizza_percorso.h"
#include "model/file_io.h"
#include "model/file_names.h"
#include "model/utf8_path.h"
#include "paper/documents.h"
#include "report/compile_report.h"
#include "report/diagnostics.h"

namespace railscen::cli {
namespace {

struct CompileOptions {
    CompileInputs inputs;
    std::string out_folder = ".";
    std::string report_file;
    bool documents = false;  // the driver's timetable sheet and slowdown order form too
};

int run_compile(const CompileOptions& o, std::ostream& out, std::ostream& err) {
    Run run = named_run(o.inputs);
    InputTexts source(o.inputs);

    const std::filesystem::path folder = utf8_path(o.out_folder);
    const FileNames names = file_names(run.line_name, run.train_name);
    WrittenFiles written;
    written.plan = run.with_plan != 0;
    written.binaries = true;
    written.documents = o.documents;
    if (!o.report_file.empty()) written.named.push_back(utf8_path(o.report_file));
    const std::vector<std::filesystem::path> outputs = written_paths(folder, names, written);
    guard_outputs(outputs, {utf8_path(o.inputs.line_file), utf8_path(o.inputs.train_file)});

    require_output_folder(folder, outputs.front());
    // Two compiles into one folder take turns, so it holds one run's files.
    const FolderLock lock(folder);
    const CompileOutcome outcome = memorizza_percorso(run, o.inputs.with_plan(), source, folder);

    const std::vector<Diagnostic> warnings = analysis::wanted_warnings(run, o.inputs.no_warnings);
    report::print_diagnostics(run, o.inputs, warnings, out, err);
    if (!o.report_file.empty()) {
        write_file(utf8_path(o.report_file),
                   report::report_json(report::make_report(run, outcome, o.inputs)));
    }
    if (run.error_code != 0 || outcome.fatal) return kExitProblem;
    if (o.documents) {
        for (const std::string& w :
             paper::write_documents(folder, run, paper::timetable_sheet(run))) {
            err << "railscen compile: warning: " << w << '\n';
        }
    }
    return o.inputs.warnings_as_errors && !warnings.empty() ? kExitProblem : kExitOk;
}

}  // namespace

Command add_compile_command(CLI::App& parent) {
    auto options = std::make_shared<CompileOptions>();
    CLI::App* app = parent.add_subcommand(
        "compile", "compile a line and a train description into the simulator's binary files");
    add_compile_inputs(*app, options->inputs);
    add_output_folder(*app, options->out_folder, "folder for the binary files");
    app->add_option("--report", options->report_file, "write the outcome as JSON into FILE")
        ->type_name("FILE");
    app->add_flag("--documents", options->documents,
                  "write the driver's timetable sheet and slowdown order form too");
    return {
        app,
        [options](std::ostream& out, std::ostream& err) { return run_compile(*options, out, err); },
        &options->inputs};
}

}  // namespace railscen::cli
