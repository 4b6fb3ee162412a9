// railscen render: the route sheet of a scenario as one SVG picture. From the description
// texts (two files, or a folder holding them) the scenario is compiled here and the sheet
// knows every record the loader read; from a folder of compiled files it draws what those
// files hold.

#include <CLI/CLI.hpp>
#include <cmath>
#include <filesystem>
#include <iostream>
#include <memory>

#include "cli/commands.h"
#include "compile/inputs.h"
#include "compile/memorizza_percorso.h"
#include "compile/scenario_names.h"
#include "model/error_codes.h"
#include "model/file_io.h"
#include "model/file_names.h"
#include "model/text_encoding.h"
#include "model/utf8_path.h"
#include "output/binary_decode.h"
#include "render/route_sheet.h"
#include "report/compile_report.h"
#include "report/diagnostics.h"

namespace railscen::cli {
namespace {

struct RenderOptions {
    std::vector<std::string> inputs;
    std::string svg_file;
    std::string report_file;
    std::string line_name;
    std::string train_name;
    bool no_plan = false;
    bool from_utf8 = false;
    std::optional<std::int64_t> from;
    std::optional<std::int64_t> to;
    analysis::TrainChoice train;
};

// A report is a few hundred bytes of JSON; anything far larger is no report.
constexpr std::size_t kMaxReportBytes = 1 << 20;

class RenderFailure : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

std::string must_read(const std::filesystem::path& file, std::size_t max_bytes) {
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) throw RenderFailure(file.string() + ": no such file");
    return read_input_file(file, max_bytes);
}

// The names that lead from the scenario file to the cell and plan files come from the file
// itself: a crafted one may not lead out of the folder.
void check_name(const std::filesystem::path& sim, const std::string& name, const char* what) {
    const std::string problem = name_problem(name);
    if (!problem.empty()) {
        throw RenderFailure(sim.string() + ": the " + what + " name \"" + terminal_text(name) +
                            "\" cannot make a file name: " + problem);
    }
}

// Which of the names the options leave to be given.
std::string missing_names(const RenderOptions& o) {
    if (o.line_name.empty() && o.train_name.empty()) return "--line-name and --train-name";
    return o.line_name.empty() ? "--line-name" : "--train-name";
}

std::string listed(const std::vector<std::string>& names) {
    std::string out;
    for (std::size_t i = 0; i < names.size(); ++i) out += (i > 0 ? ", \"" : "\"") + names[i] + "\"";
    return out;
}

// What a folder holds: pairs of description texts named by the pack's pattern, and scenario
// files.
struct FolderScenarios {
    std::vector<std::pair<std::filesystem::path, std::filesystem::path>> texts;
    std::vector<std::string> text_names;  // "LINE / TRAIN"
    std::vector<std::filesystem::path> compiled;
};

FolderScenarios scenarios_in(const std::filesystem::path& folder, const RenderOptions& o) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        // An entry whose kind cannot be told (a loop of links) is kept: reading it names why.
        std::error_code ec;
        if (entry.is_regular_file(ec) || ec) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    FolderScenarios found;
    // The names typed are UTF-8; the scenario's file names are built from its Windows-1252 text.
    const FileNames wanted =
        file_names(cp1252_from_utf8(o.line_name).bytes, cp1252_from_utf8(o.train_name).bytes);
    for (const auto& line : files) {
        for (const auto& train : files) {
            const std::optional<ScenarioNames> names =
                names_from_files(utf8_name(line.filename()), utf8_name(train.filename()));
            if (!names) continue;
            if (!o.line_name.empty() && names->line_name != o.line_name) continue;
            if (!o.train_name.empty() && names->train_name != o.train_name) continue;
            found.texts.emplace_back(line, train);
            found.text_names.push_back(names->line_name + " / " + names->train_name);
        }
    }
    for (const auto& file : files) {
        if (file.extension() != ".sim") continue;
        if (!o.line_name.empty() && !o.train_name.empty() &&
            file.filename() != wanted.scenario_file) {
            continue;
        }
        found.compiled.push_back(file);
    }
    return found;
}

// The scene of two description texts, compiled here as compile would (nothing is written).
analysis::Scene scene_from_texts(const RenderOptions& o, const std::string& line_file,
                                 const std::string& train_file) {
    CompileInputs in;
    in.line_file = line_file;
    in.train_file = train_file;
    in.line_name = o.line_name;
    in.train_name = o.train_name;
    in.no_plan = o.no_plan;
    in.from_utf8 = o.from_utf8;
    Run run = named_run(in);
    InputTexts texts(in);
    guard_outputs({o.svg_file}, {line_file, train_file});
    const std::optional<std::int32_t> fatal = compile_in_memory(run, in.with_plan(), texts);
    return analysis::scene_from_run(std::move(run), fatal, report::source_names(in));
}

// The scene of a compiled scenario's binary files, and the code its report marks.
analysis::Scene scene_from_files(const RenderOptions& o, const std::filesystem::path& sim) {
    const std::filesystem::path folder = sim.parent_path();
    analysis::Scene scene;
    std::vector<std::filesystem::path> inputs = {sim};
    try {
        scene.slots = decode_scenario_file(must_read(sim, kMaxScenarioFileBytes));
        const std::string& line = scene.slots[kLineSlot].text;
        const std::string& train = scene.slots[kTrainSlot].text;
        check_name(sim, line, "line");
        check_name(sim, train, "train");
        const FileNames names = file_names(line, train);
        scene.cells = decode_cell_file(must_read(folder / names.cell_file, kMaxCellFileBytes));
        inputs.push_back(folder / names.cell_file);
        inputs.push_back(folder / names.plan_file);
        std::error_code ec;
        if (!o.no_plan && std::filesystem::exists(folder / names.plan_file, ec)) {
            scene.plan =
                decode_plan_file(read_input_file(folder / names.plan_file, kMaxPlanFileBytes));
        }
    } catch (const DecodeError& e) {
        throw RenderFailure(folder.string() + ": " + e.what());
    }
    if (!o.report_file.empty()) {
        inputs.emplace_back(o.report_file);
        const report::CompileReport report =
            report::parse_report(must_read(o.report_file, kMaxReportBytes));
        if (report.error_code != 0) {
            scene.code = report.error_code;
            const ErrorCodeInfo* info = find_error_code(report.error_code);
            if (info != nullptr && info->has_position) scene.position = report.error_position;
        }
    }
    guard_outputs({o.svg_file}, inputs);
    return scene;
}

analysis::Scene load_scene(const RenderOptions& o) {
    if (o.inputs.size() == 2) return scene_from_texts(o, o.inputs[0], o.inputs[1]);
    const std::filesystem::path folder = utf8_path(o.inputs.front());
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) {
        throw UsageError("\"" + folder.string() +
                         "\" is no folder: give a folder, or the line and the train description");
    }
    const FolderScenarios found = scenarios_in(folder, o);
    if (found.texts.size() == 1) {
        return scene_from_texts(o, found.texts.front().first.lexically_normal().string(),
                                found.texts.front().second.lexically_normal().string());
    }
    if (found.texts.size() > 1) {
        throw UsageError(folder.string() + " holds " + std::to_string(found.texts.size()) +
                         " scenarios (" + listed(found.text_names) + "): give " + missing_names(o) +
                         " to pick one");
    }
    if (found.compiled.size() == 1) return scene_from_files(o, found.compiled.front());
    if (found.compiled.size() > 1) {
        throw UsageError(folder.string() + " holds " + std::to_string(found.compiled.size()) +
                         " scenario files (.sim): give " + missing_names(o) + " to pick one");
    }
    throw RenderFailure(folder.string() +
                        " holds no scenario: no description texts (NAME_linea.txt and "
                        "NAME_TRAIN-.txt) and no scenario file (.sim)");
}

// The stretch drawn: --from and --to, inside the grid.
render::SheetRange drawn_range(const RenderOptions& o, const analysis::Scene& scene) {
    const std::int64_t end = grid_end(scene);
    const render::SheetRange range{o.from.value_or(0), std::min(o.to.value_or(end), end)};
    if (range.from >= end) {
        throw UsageError("--from " + std::to_string(range.from) +
                         " lies beyond the grid, which ends at " + std::to_string(end) + " m");
    }
    if (o.to && *o.to <= range.from) {
        throw UsageError("--to " + std::to_string(*o.to) + " must lie beyond --from " +
                         std::to_string(range.from));
    }
    return range;
}

int run_render(const RenderOptions& o, std::ostream& err) {
    std::string sheet;
    bool coded = false;  // the scenario holds a code: drawn, and the exit status says so
    try {
        const analysis::Scene scene = load_scene(o);
        std::optional<analysis::TrainRun> train;
        if (!o.train.rolling_stock.empty()) train = analysis::train_run(scene, o.train);
        sheet = render::route_sheet(scene, drawn_range(o, scene), train ? &*train : nullptr);
        coded = scene.code.has_value();
    } catch (const std::runtime_error& e) {
        err << "railscen render: " << e.what() << '\n';
        return kExitFailure;
    }
    write_file(o.svg_file, sheet);
    return coded ? kExitProblem : kExitOk;
}

// The usage line names the two forms INPUT takes, where CLI11 would print "INPUT(1x)".
class RenderUsage : public CLI::Formatter {
  public:
    std::string make_option_usage(const CLI::Option*) const override {
        return "(LINE_FILE TRAIN_FILE | DIR)";
    }
};

}  // namespace

Command add_render_command(CLI::App& parent) {
    auto o = std::make_shared<RenderOptions>();
    CLI::App* app = parent.add_subcommand(
        "render", "draw the route sheet of a scenario (description texts or compiled files)");
    app->add_option("INPUT", o->inputs,
                    "LINE_FILE TRAIN_FILE, or a folder holding the description texts or a "
                    "compiled scenario")
        ->required()
        ->expected(1, 2);
    app->formatter(std::make_shared<RenderUsage>());
    app->add_option("-o,--output", o->svg_file, "the SVG file to write")
        ->required()
        ->type_name("FILE");
    app->add_option("--report", o->report_file,
                    "compiled files: a compile report whose code is marked")
        ->type_name("FILE");
    app->add_option(
        "--line-name", o->line_name,
        "the line name (default: from the file names); picks one of several in a folder");
    app->add_option(
        "--train-name", o->train_name,
        "the train name (default: from the file names); picks one of several in a folder");
    app->add_flag("--no-plan", o->no_plan, "draw no plan (curves are not read)");
    app->add_flag("--from-utf8", o->from_utf8, "the texts are UTF-8");
    app->add_option("--from", o->from, "the first metre drawn")
        ->type_name("M")
        ->check(CLI::NonNegativeNumber);
    app->add_option("--to", o->to, "the last metre drawn")
        ->type_name("M")
        ->check(CLI::PositiveNumber);
    CLI::Option* stock =
        app->add_option("--rolling-stock", o->train.rolling_stock,
                        "description texts: draw the fastest run of the file's train over the "
                        "speed limits, with its time at each stand")
            ->type_name("FILE");
    app->add_option("--train", o->train.train_id,
                    "the train's id in the file; the first by default")
        ->type_name("ID")
        ->needs(stock);
    return {app, [o](std::ostream&, std::ostream& err) { return run_render(*o, err); }};
}

}  // namespace railscen::cli
