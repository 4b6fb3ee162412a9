// railscen explain N: what a code means, what raises it and how to mend it.

#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>

#include "cli/commands.h"
#include "model/diagnostic.h"
#include "model/error_codes.h"

namespace railscen::cli {

int run_explain(std::int32_t code, std::ostream& out, std::ostream& err) {
    const ErrorCodeInfo* info = find_error_code(code);
    if (info == nullptr) {
        err << "railscen: " << code << " is not a code the compile records\n";
        return kExitFailure;
    }
    out << code_heading(info->code) << '\n';
    if (info->code == kFatalMarkers || info->code == kFatalRaceCodes) {
        out << "  fatal: the compile ends and writes no binary file\n";
    } else if (info->has_position) {
        out << "  position: the report gives the record's position in metres\n";
    }
    out << "  raised by: " << info->raised_by << '\n';
    out << "  remedy: " << info->remedy << '\n';
    return kExitOk;
}

Command add_explain_command(CLI::App& parent) {
    auto code = std::make_shared<std::int32_t>(0);
    CLI::App* app = parent.add_subcommand("explain", "explain a code of the compile");
    app->add_option("N", *code, "the code")->required();
    return {app,
            [code](std::ostream& out, std::ostream& err) { return run_explain(*code, out, err); }};
}

}  // namespace railscen::cli
