// The options of compile, check, timetable and the other commands that read a description pair.

#include <CLI/CLI.hpp>
#include <map>
#include <string>

#include "cli/commands.h"
#include "compile/inputs.h"
#include "model/file_names.h"

namespace railscen::cli {

namespace {

// The scenario file counts a text's length in 16 bits; a file name has its own limits.
const CLI::Validator kNameLength(
    [](const std::string& name) {
        return name.size() <= 255 ? std::string() : std::string("a name is at most 255 bytes");
    },
    "at most 255 bytes");

// A name becomes part of file names: it may not lead into another folder or hold what one of
// the systems refuses in a file name.
const CLI::Validator kFileNamePart([](const std::string& name) { return name_problem(name); },
                                   "no path separator, control byte or <>:\"|?*");

}  // namespace

void add_name_options(CLI::App& command, CompileInputs& inputs) {
    command
        .add_option("--line-name", inputs.line_name,
                    "line name the file names are built from (a trailing blank counts); "
                    "default: NAME of NAME_linea.txt")
        ->check(kNameLength)
        ->check(kFileNamePart);
    command
        .add_option("--train-name", inputs.train_name,
                    "train name the file names are built from; default: TRAIN of "
                    "NAME_TRAIN-.txt")
        ->check(kNameLength)
        ->check(kFileNamePart);
}

void add_compile_inputs(CLI::App& command, CompileInputs& inputs) {
    command.add_option("LINE_FILE", inputs.line_file, "line description text")->required();
    command.add_option("TRAIN_FILE", inputs.train_file, "train description text")->required();
    add_name_options(command, inputs);
    command.add_flag("--no-plan", inputs.no_plan, "build and write no plan (curves are not read)");
    command.add_flag("-w,--no-warnings", inputs.no_warnings, "show no warnings");
    command
        .add_option("--format", inputs.format,
                    "text: messages on standard error; json or sarif (SARIF 2.1.0): the "
                    "diagnostics on standard output")
        ->check(CLI::IsMember({"text", "json", "sarif"}))
        ->capture_default_str();
    command.add_flag("--from-utf8", inputs.from_utf8,
                     "the texts are UTF-8: convert them to Windows-1252 before the compile");
    command.add_flag("--warnings-as-errors", inputs.warnings_as_errors,
                     "a warning makes the exit status 1");
}

void add_limit_rule(CLI::App& command, analysis::LimitRule& rule) {
    const std::map<std::string, analysis::Rank> ranks = {
        {"A", analysis::Rank::kA}, {"B", analysis::Rank::kB}, {"C", analysis::Rank::kC}};
    const std::map<std::string, analysis::Side> sides = {{"left", analysis::Side::kLeft},
                                                         {"right", analysis::Side::kRight}};
    command
        .add_option("--rank", rule.rank,
                    "the train's rank: a speed board's first (A), second (B) or third (C) "
                    "speed; default: the highest of the three")
        ->transform(CLI::CheckedTransformer(ranks, CLI::ignore_case));
    command
        .add_option("--side", rule.side,
                    "the track the train runs on: the boards' left or right speeds; default: "
                    "the higher of the two sides")
        ->transform(CLI::CheckedTransformer(sides, CLI::ignore_case));
}

void add_output_folder(CLI::App& command, std::string& folder, const std::string& what) {
    command.add_option("-o,--output", folder, what + " (must exist)")
        ->type_name("DIR")
        ->capture_default_str();
}

CLI::Option* add_train_choice(CLI::App& command, analysis::TrainChoice& train,
                              const std::string& use) {
    CLI::Option* stock =
        command
            .add_option("--rolling-stock", train.rolling_stock,
                        "rolling-stock file (railtoolkit YAML, schema version 2022.05): " + use)
            ->type_name("FILE");
    command
        .add_option("--train", train.train_id, "the train's id in the file; the first by default")
        ->type_name("ID")
        ->needs(stock);
    return stock;
}

}  // namespace railscen::cli
