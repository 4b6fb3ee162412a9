// railscen render: the route sheet of a scenario as one SVG picture. From the description
// texts (two files, or a folder holding them) the scenario is compiled here and the sheet
// knows every record the loader read; from a folder of compiled files it draws what those
// files hold.

#include <CLI/CLI.hpp>
#include <cmath>
#include <filesystem>
#include <iostream>
#include <memory>

#include "analysis/compiled_files.h"
#include "cli/commands.h"
#include "compile/inputs.h"
#include "compile/memorizza_percorso.h"
#include "compile/scenario_folder.h"
#include "model/error_codes.h"
#include "model/file_io.h"
#include "model/utf8_path.h"
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

// Which of the names the options leave to be given.
std::string missing_names(const RenderOptions& o) {
    if (o.line_name.empty() && o.train_name.empty()) return "--line-name and --train-name";
    return o.line_name.empty() ? "--line-name" : "--train-name";
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
    analysis::CompiledFiles files = analysis::read_compiled_files(sim, !o.no_plan);
    analysis::Scene scene;
    static_cast<analysis::CompiledScenario&>(scene) = std::move(files.scenario);
    std::vector<std::filesystem::path> inputs = {files.scenario_file, files.cell_file,
                                                 files.plan_file};
    if (!o.report_file.empty()) {
        inputs.emplace_back(o.report_file);
        const report::CompileReport report =
            report::parse_report(read_input_file(utf8_path(o.report_file), kMaxReportBytes));
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
    const FolderScenario one =
        one_scenario(scenarios_in(folder, {o.line_name, o.train_name}), folder.string(),
                     "give " + missing_names(o) + " to pick one");
    if (one.texts) {
        return scene_from_texts(o, one.texts->line_file.lexically_normal().string(),
                                one.texts->train_file.lexically_normal().string());
    }
    return scene_from_files(o, *one.compiled);
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
    add_train_choice(*app, o->train,
                     "with description texts, draw the fastest run of the file's train over the "
                     "speed limits, with its time at each stand");
    return {app, [o](std::ostream&, std::ostream& err) { return run_render(*o, err); }};
}

}  // namespace railscen::cli
