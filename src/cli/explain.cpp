// railscen explain N: what a code means, what raises it and how to mend it. railscen explain
// RECORD: a record of the description texts, field by field, from the format table.

#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>

#include "cli/commands.h"
#include "model/cell_index.h"
#include "model/diagnostic.h"
#include "model/error_codes.h"
#include "model/record_format.h"

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

int run_explain_record(const std::string& word, std::ostream& out, std::ostream& err) {
    const RecordFormat* record = find_record_format(word);
    if (record == nullptr) {
        err << "railscen: \"" << word << "\" is neither a code nor a record; the records are:";
        for (const RecordFormat& r : record_formats()) {
            err << (&r == record_formats().data() ? " " : ", ") << r.keyword;
        }
        err << '\n';
        return kExitFailure;
    }
    out << record_reference(*record);
    return kExitOk;
}

Command add_explain_command(CLI::App& parent) {
    auto what = std::make_shared<std::string>();
    auto markdown = std::make_shared<bool>(false);
    CLI::App* app = parent.add_subcommand(
        "explain", "explain a code of the compile, or a record of the description texts");
    app->add_option("WHAT", *what, "a code (15) or a record's keyword (stazione, curva, ...)");
    app->add_flag("--markdown", *markdown,
                  "the reference of every record as Markdown (the text of docs/format.md)");
    return {app, [what, markdown](std::ostream& out, std::ostream& err) {
                if (*markdown) {
                    out << format_reference_markdown();
                    return kExitOk;
                }
                if (what->empty()) {
                    err << "railscen explain: give a code or a record's keyword\n";
                    return kExitFailure;
                }
                const bool number = !what->empty() && what->size() < 10 &&
                                    what->find_first_not_of("0123456789") == std::string::npos;
                if (number) return run_explain(std::stoi(*what), out, err);
                return run_explain_record(*what, out, err);
            }};
}

}  // namespace railscen::cli
