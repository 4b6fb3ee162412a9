#include "cli/compile_inputs.h"

#include <CLI/CLI.hpp>

namespace railscen::cli {

namespace {

// The scenario file counts a text's length in 16 bits; a file name has its own limits.
const CLI::Validator kNameLength(
    [](const std::string& name) {
        return name.size() <= 255 ? std::string() : std::string("a name is at most 255 bytes");
    },
    "at most 255 bytes");

}  // namespace

void add_compile_inputs(CLI::App& command, CompileInputs& inputs) {
    command.add_option("LINE_FILE", inputs.line_file, "line description text")->required();
    command.add_option("TRAIN_FILE", inputs.train_file, "train description text")->required();
    command
        .add_option("--line-name", inputs.line_name,
                    "line name the file names are built from (a trailing blank counts)")
        ->capture_default_str()
        ->check(kNameLength);
    command
        .add_option("--train-name", inputs.train_name, "train name the file names are built from")
        ->capture_default_str()
        ->check(kNameLength);
    command.add_flag("--no-plan", inputs.no_plan, "build and write no plan (curves are not read)");
}

Run named_run(const CompileInputs& inputs) {
    return make_run(inputs.line_name, inputs.train_name, inputs.with_plan());
}

}  // namespace railscen::cli
