// railscen diff A B: what changed between two versions of a scenario. A and B are each a folder
// (holding the two description texts, or a compiled scenario), or, given as four files, the
// two texts of each: diff A_LINE A_TRAIN B_LINE B_TRAIN. Exit status 0 when alike, 1 when they
// differ, 2 on trouble, as diff(1) does.

#include <CLI/CLI.hpp>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "analysis/compiled_files.h"
#include "analysis/diff.h"
#include "cli/commands.h"
#include "compile/inputs.h"
#include "compile/memorizza_percorso.h"
#include "compile/scenario_folder.h"
#include "compile/scenario_names.h"
#include "model/file_io.h"
#include "model/utf8_path.h"
#include "report/diagnostics.h"

namespace railscen::cli {
namespace {

struct DiffOptions {
    std::vector<std::string> paths;
    std::string format = "text";
    bool compiled = false;
    bool from_utf8 = false;
};

class DiffTrouble : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// One side of the comparison as given: its texts, its compiled scenario file, or both.
struct Side {
    std::string given;
    std::optional<std::pair<std::filesystem::path, std::filesystem::path>> texts;
    std::optional<std::filesystem::path> sim;
};

// A line for the terminal: the authors' texts in it may hold control bytes, shown as escapes.
std::string shown(const std::string& line) {
    std::string out;
    for (const char c : line) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02x", byte);
            out += escape;
        } else {
            out += c;
        }
    }
    return out;
}

Side folder_side(const std::string& given) {
    const std::filesystem::path folder = utf8_path(given);
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) {
        throw DiffTrouble("\"" + given +
                          "\" is no folder; give two folders, or the line and train texts of "
                          "each side (four files)");
    }
    const FolderScenario one = one_scenario(scenarios_in(folder), "\"" + given + "\"",
                                            "give the texts of each side as files");
    Side side{given, {}, one.compiled};
    if (one.texts) side.texts = {one.texts->line_file, one.texts->train_file};
    return side;
}

// The compiler's run over one side's texts; trouble when it records a code.
Run compiled_run(const Side& side, bool from_utf8, std::ostream& err) {
    CompileInputs inputs = CompileInputs::for_reading();
    inputs.line_file = utf8_name(side.texts->first);
    inputs.train_file = utf8_name(side.texts->second);
    inputs.from_utf8 = from_utf8;
    // The names only name files; the pack's pattern gives them when the files follow it.
    if (const auto names = names_from_files(utf8_name(side.texts->first.filename()),
                                            utf8_name(side.texts->second.filename()))) {
        inputs.line_name = names->line_name;
        inputs.train_name = names->train_name;
    }
    Run run = named_run(inputs);
    InputTexts source(inputs);
    const std::optional<std::int32_t> fatal = compile_in_memory(run, 1, source);
    if (run.error_code != 0 || fatal) {
        err << report::format_diagnostics(run, inputs);
        throw DiffTrouble("\"" + side.given + "\" does not compile; nothing compared");
    }
    return run;
}

analysis::CompiledScenario compiled_side(const Side& side, bool from_utf8, std::ostream& err) {
    if (side.sim) return analysis::read_compiled_files(*side.sim).scenario;
    Run run = compiled_run(side, from_utf8, err);
    analysis::CompiledScenario scenario{
        run.slots, run.cells ? run.cells->all() : std::vector<TrackCell>{}, {}};
    if (run.plan.exists()) scenario.plan = std::move(run.plan);
    return scenario;
}

nlohmann::json text_json(const std::vector<analysis::TextChange>& changes) {
    nlohmann::json list = nlohmann::json::array();
    for (const analysis::TextChange& c : changes) {
        list.push_back(
            {{"metres", c.metres ? nlohmann::json(*c.metres) : nlohmann::json()},
             {"end_metres", c.end_metres ? nlohmann::json(*c.end_metres) : nlohmann::json()},
             {"subject", c.subject},
             {"what", c.what},
             {"detail", c.detail},
             {"text", c.line()}});
    }
    return {{"compared", "texts"}, {"equal", changes.empty()}, {"changes", list}};
}

nlohmann::json compiled_json(const analysis::CompiledDiff& diff) {
    nlohmann::json slots = nlohmann::json::array();
    for (const analysis::SlotChange& s : diff.slots) {
        nlohmann::json fields = nlohmann::json::array();
        for (const analysis::FieldChange& f : s.fields) {
            fields.push_back({{"field", f.field}, {"before", f.before}, {"after", f.after}});
        }
        slots.push_back({{"slot", s.slot}, {"label", s.label}, {"fields", fields}});
    }
    nlohmann::json stretches = nlohmann::json::array();
    for (const analysis::CellStretch& c : diff.cells) {
        stretches.push_back({{"first_cell", c.first_cell},
                             {"last_cell", c.last_cell},
                             {"from_metres", c.from_metres},
                             {"to_metres", c.to_metres},
                             {"changed_cells", c.changed_cells},
                             {"layers", c.layers},
                             {"details", c.details}});
    }
    nlohmann::json plan;
    if (diff.plan) {
        plan = {{"rows_a", diff.plan->rows_a},
                {"rows_b", diff.plan->rows_b},
                {"differing_rows", diff.plan->differing_rows},
                {"largest_deviation_metres", diff.plan->largest_deviation},
                {"at_row", diff.plan->at_row}};
    }
    return {
        {"compared", "compiled"},
        {"equal", diff.equal()},
        {"slots", slots},
        {"cells", {{"count_a", diff.cells_a}, {"count_b", diff.cells_b}, {"stretches", stretches}}},
        {"plan", plan},
        {"lines", analysis::compiled_lines(diff)}};
}

int run_diff(const DiffOptions& o, std::ostream& out, std::ostream& err) {
    try {
        Side a;
        Side b;
        if (o.paths.size() == 4) {
            a = {o.paths[0] + " " + o.paths[1], std::pair{o.paths[0], o.paths[1]}, {}};
            b = {o.paths[2] + " " + o.paths[3], std::pair{o.paths[2], o.paths[3]}, {}};
        } else if (o.paths.size() == 2) {
            a = folder_side(o.paths[0]);
            b = folder_side(o.paths[1]);
        } else {
            throw DiffTrouble(
                "give two folders (A B) or four texts (A_LINE A_TRAIN B_LINE B_TRAIN)");
        }
        if (a.texts && b.texts && !o.compiled) {
            const Run run_a = compiled_run(a, o.from_utf8, err);
            const Run run_b = compiled_run(b, o.from_utf8, err);
            const std::vector<analysis::TextChange> changes = analysis::text_changes(run_a, run_b);
            if (o.format == "json") {
                out << text_json(changes).dump(2) << '\n';
            } else {
                for (const analysis::TextChange& c : changes) out << shown(c.line()) << '\n';
            }
            return changes.empty() ? kExitOk : kExitProblem;
        }
        const analysis::CompiledDiff diff = compiled_changes(compiled_side(a, o.from_utf8, err),
                                                             compiled_side(b, o.from_utf8, err));
        if (o.format == "json") {
            out << compiled_json(diff).dump(2) << '\n';
        } else {
            for (const std::string& line : analysis::compiled_lines(diff))
                out << shown(line) << '\n';
        }
        return diff.equal() ? kExitOk : kExitProblem;
    } catch (const std::runtime_error& e) {
        err << "railscen diff: " << e.what() << '\n';
        return kExitFailure;
    }
}

}  // namespace

Command add_diff_command(CLI::App& parent) {
    auto o = std::make_shared<DiffOptions>();
    CLI::App* app = parent.add_subcommand(
        "diff",
        "what changed between two versions of a scenario, by metre; exit 0 alike, 1 differ, "
        "2 trouble");
    app->add_option("PATHS", o->paths,
                    "two folders, each holding the two description texts (NAME_linea.txt and "
                    "NAME_TRAIN-.txt) or a compiled scenario (.sim and its cell and plan files); "
                    "or four files: A_LINE A_TRAIN B_LINE B_TRAIN")
        ->required()
        ->type_name("FOLDER|FILE")
        ->expected(2, 4);
    app->add_flag("--compiled", o->compiled,
                  "compare the compiled scenarios (texts are compiled first) instead of the texts");
    app->add_option("--format", o->format, "text: one change a line; json: the same as JSON")
        ->check(CLI::IsMember({"text", "json"}))
        ->capture_default_str();
    app->add_flag("--from-utf8", o->from_utf8,
                  "the texts are UTF-8: convert them to Windows-1252 before the compile");
    return {app, [o](std::ostream& out, std::ostream& err) { return run_diff(*o, out, err); }};
}

}  // namespace railscen::cli
