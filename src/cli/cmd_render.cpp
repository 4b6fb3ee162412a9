// railscen render DIR -o FILE.svg: the compiled scenario in DIR drawn as a plan view and a
// longitudinal profile, in plain SVG.

#include <CLI/CLI.hpp>
#include <cmath>
#include <filesystem>
#include <iostream>
#include <memory>

#include "cli/commands.h"
#include "cli/compile_inputs.h"
#include "cli/render.h"
#include "cli/report.h"
#include "model/error_codes.h"
#include "model/file_io.h"
#include "model/file_names.h"
#include "model/text_encoding.h"
#include "output/binary_decode.h"

namespace railscen::cli {
namespace {

struct RenderOptions {
    std::string folder;
    std::string svg_file;
    std::string report_file;
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

// The one scenario file in the folder; its slots name the cell and plan files.
std::filesystem::path scenario_file_in(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> found;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.is_regular_file() && entry.path().extension() == ".sim") found.push_back(entry);
    }
    if (found.empty()) throw RenderFailure(folder.string() + " holds no scenario file (.sim)");
    if (found.size() > 1) {
        throw RenderFailure(folder.string() + " holds " + std::to_string(found.size()) +
                            " scenario files; render one compiled scenario per folder");
    }
    return found.front();
}

RenderScene load_scene(const RenderOptions& o) {
    const std::filesystem::path folder = o.folder;
    const std::filesystem::path sim = scenario_file_in(folder);
    RenderScene scene;
    try {
        scene.slots = decode_scenario_file(must_read(sim, kMaxScenarioFileBytes));
        const std::string& line = scene.slots[kLineSlot].text;
        const std::string& train = scene.slots[kTrainSlot].text;
        check_name(sim, line, "line");
        check_name(sim, train, "train");
        const FileNames names = file_names(line, train);
        scene.cells = decode_cell_file(must_read(folder / names.cell_file, kMaxCellFileBytes));
        std::error_code ec;
        if (std::filesystem::exists(folder / names.plan_file, ec)) {
            scene.plan =
                decode_plan_file(read_input_file(folder / names.plan_file, kMaxPlanFileBytes));
        }
    } catch (const DecodeError& e) {
        throw RenderFailure(folder.string() + ": " + e.what());
    }
    if (!o.report_file.empty()) {
        const CompileReport report = parse_report(must_read(o.report_file, kMaxReportBytes));
        if (report.error_code != 0) {
            scene.code = report.error_code;
            const ErrorCodeInfo* info = find_error_code(report.error_code);
            if (info != nullptr && info->has_position) scene.position = report.error_position;
        }
    }
    return scene;
}

// The files render reads, for the check that its picture goes to none of them.
std::vector<std::filesystem::path> render_inputs(const RenderOptions& o, const RenderScene& scene) {
    const std::filesystem::path folder = o.folder;
    const FileNames names = file_names(scene.slots[kLineSlot].text, scene.slots[kTrainSlot].text);
    std::vector<std::filesystem::path> inputs = {scenario_file_in(folder), folder / names.cell_file,
                                                 folder / names.plan_file};
    if (!o.report_file.empty()) inputs.emplace_back(o.report_file);
    return inputs;
}

int run_render(const RenderOptions& o, std::ostream& err) {
    RenderScene scene;
    try {
        scene = load_scene(o);
        guard_outputs({o.svg_file}, render_inputs(o, scene));
    } catch (const std::runtime_error& e) {
        err << "railscen render: " << e.what() << '\n';
        return kExitFailure;
    }
    SvgDocument svg(kCanvasWidth, kPlanViewHeight + kProfileViewHeight, kBackground);
    draw_plan_view(svg, scene, 0);
    draw_profile_view(svg, scene, kPlanViewHeight);
    write_file(o.svg_file, svg.str());
    return kExitOk;
}

}  // namespace

std::int64_t route_length(const RenderScene& scene) {
    const std::int32_t length = scene.slots[kRouteSlot].finish;
    return length > 0 ? length : static_cast<std::int64_t>(scene.cells.size()) * 50;
}

std::int64_t object_metre(const TrackCell& cell, std::size_t index) {
    const auto i = static_cast<std::int64_t>(index);
    // Drop points round position / 50; every other object sits one cell after its position.
    return cell.kind == kCodeDrop || cell.kind == kCodeDropNoValue ? i * 50 : (i - 1) * 50;
}

double nice_step(double span, int count) {
    const double raw = span / count;
    if (!(raw > 0)) return 1;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double f : {1.0, 2.0, 5.0}) {
        if (f * power >= raw) return f * power;
    }
    return 10 * power;
}

Command add_render_command(CLI::App& parent) {
    auto o = std::make_shared<RenderOptions>();
    CLI::App* app =
        parent.add_subcommand("render", "draw the compiled scenario in DIR as an SVG picture");
    app->add_option("DIR", o->folder, "folder holding the compiled scenario")
        ->required()
        ->check(CLI::ExistingDirectory);
    app->add_option("-o,--output", o->svg_file, "the SVG file to write")
        ->required()
        ->type_name("FILE");
    app->add_option("--report", o->report_file, "a compile report whose code is marked")
        ->type_name("FILE");
    return {app, [o](std::ostream&, std::ostream& err) { return run_render(*o, err); }};
}

}  // namespace railscen::cli
