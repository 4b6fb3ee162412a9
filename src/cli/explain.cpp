// railscen explain N: what a code means, what raises it and how to mend it.

#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>

#include "cli/commands.h"
#include "model/cell_index.h"
#include "model/diagnostic.h"
#include "model/error_codes.h"

namespace railscen::cli {
namespace {

std::string metres(cell_index::PositionRange r) {
    return std::to_string(r.first) + " to " + std::to_string(r.last);
}

// The positions that put each kind of object into cell 1, by the rule that kind's writer uses.
std::string positions_in_cell_one() {
    using cell_index::positions_in;
    std::string approach;
    for (int b = 1; b <= 4; ++b) {
        approach += (b == 1 ? "" : b == 4 ? " or " : ", ") + metres(positions_in(1, -1 - b));
    }
    // A slowdown's warning cell lies 1200 m before its start, its four marker cells below the
    // cell of (start - 1200) / 50.
    const cell_index::PositionRange warning = positions_in(1, 1);
    const cell_index::PositionRange markers{positions_in(1, 0).first, positions_in(4, 0).last};
    return ": signals, speed boards, sign boards, slowdown starts and ends at " +
           metres(positions_in(1, 1)) + " m; code rows at " + metres(positions_in(1, 0)) +
           " m; a station zone ending at " + metres(positions_in(1, -1)) + " m (its stop) or at " +
           approach + " m (its approach marks); a slowdown starting at " +
           metres({warning.first + 1200, warning.last + 1200}) + " m (its warning) or at " +
           metres({markers.first + 1200, markers.last + 1200}) + " m (its markers)";
}

}  // namespace

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
    out << "  remedy: " << info->remedy;
    if (info->code == kFatalMarkers || info->code == kFatalRaceCodes)
        out << positions_in_cell_one();
    out << '\n';
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
