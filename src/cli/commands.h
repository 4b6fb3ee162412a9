#pragma once

#include <cstdint>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "analysis/speed_limits.h"
#include "analysis/train_run.h"
#include "compile/inputs.h"

namespace CLI {
class App;
class Option;
}  // namespace CLI

namespace railscen::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitProblem = 1;  // a recorded code or a fatal marker error
inline constexpr int kExitFailure = 2;  // a usage error or a failed file operation

// A subcommand added to the tool, and what runs it once the command line has been parsed:
// results go to out, messages to err.
struct Command {
    CLI::App* app;
    std::function<int(std::ostream& out, std::ostream& err)> run;
    // The inputs of a command that shows a compile's diagnostics: the tool sets their colour.
    CompileInputs* inputs = nullptr;
};

// The whole tool on the arguments after the program's name; returns the exit status.
// LINE_FILE TRAIN_FILE [--line-name NAME] [--train-name NAME] [--no-plan] [-w]
// [--warnings-as-errors] [--format text|json|sarif] [--from-utf8]
void add_compile_inputs(CLI::App& command, CompileInputs& inputs);
// --line-name and --train-name alone, for a command whose other inputs differ.
void add_name_options(CLI::App& command, CompileInputs& inputs);

// -o,--output DIR: the folder a command writes into, the working folder by default; it must
// exist (require_output_folder), so a mistyped name is not made into a new folder.
void add_output_folder(CLI::App& command, std::string& folder, const std::string& what);

// --rank A|B|C and --side left|right: which of a speed board's speeds hold for the train.
void add_limit_rule(CLI::App& command, analysis::LimitRule& rule);

// --rolling-stock FILE (what the command does with it in `use`) and --train ID, which needs it;
// returns the first, for other options that need it too.
CLI::Option* add_train_choice(CLI::App& command, analysis::TrainChoice& train,
                              const std::string& use);

int run_tool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// What check and explain do once their arguments are parsed; messages go to the streams.
// JSON (--format json) goes to out, which defaults to standard output.
int run_check(const CompileInputs& inputs, std::ostream& err, std::ostream& out = std::cout);
// The same with the warnings on the timed legs a rolling-stock file's train cannot keep.
int run_check(const CompileInputs& inputs, const analysis::TrainChoice& train, std::ostream& err,
              std::ostream& out);
int run_explain(std::int32_t code, std::ostream& out, std::ostream& err);
int run_explain_record(const std::string& word, std::ostream& out, std::ostream& err);

Command add_sources_command(CLI::App& parent);
Command add_compile_command(CLI::App& parent);
Command add_check_command(CLI::App& parent);
Command add_explain_command(CLI::App& parent);
Command add_inspect_command(CLI::App& parent);
Command add_render_command(CLI::App& parent);
Command add_lsp_command(CLI::App& parent);
Command add_watch_command(CLI::App& parent);
Command add_diff_command(CLI::App& parent);
Command add_timetable_command(CLI::App& parent);
Command add_run_command(CLI::App& parent);
Command add_completion_command(CLI::App& parent);
Command add_documents_command(CLI::App& parent);
Command add_new_command(CLI::App& parent);
Command add_fmt_command(CLI::App& parent);

}  // namespace railscen::cli
