// railscen run LINE_FILE TRAIN_FILE --rolling-stock FILE: the fastest run of a train of the
// rolling-stock file from the first station to the last, stopping at every station with a
// dwell and at the last, under the scenario's speed limits, gradients and curves.

#include <CLI/CLI.hpp>
#include <cmath>
#include <cstdio>
#include <memory>
#include <nlohmann/json.hpp>

#include "analysis/chosen_train.h"
#include "analysis/run_times.h"
#include "analysis/scenario_run.h"
#include "analysis/units_text.h"
#include "cli/commands.h"
#include "compile/inputs.h"
#include "compile/memorizza_percorso.h"
#include "dynamics/running_time.h"
#include "model/text_encoding.h"
#include "report/diagnostics.h"
#include "source_text/keywords.h"

namespace railscen::cli {
namespace {

struct RunOptions {
    CompileInputs inputs = CompileInputs::for_reading();  // nothing is written
    analysis::TrainChoice train;
    double step = 10;
    analysis::LimitRule rule;
};

std::string fixed(double value, int decimals) {
    char text[48];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string train_words(const dynamics::TrainDynamics& t) {
    return t.id + " (" + t.name + "): " + fixed(t.mass / 1000, 0) + " t, " + fixed(t.length, 1) +
           " m, " + fixed(t.speed_limit * 3.6, 0) + " km/h, braking " + fixed(t.braking, 2) +
           " m/s^2";
}

std::string legs_text(const dynamics::TrainDynamics& train,
                      const std::vector<analysis::RunLeg>& legs) {
    std::string out = "Fastest run of " + train_words(train) + "\n\n";
    char line[256];
    std::snprintf(line, sizeof line, "%-24s %-24s %10s %9s %9s %9s\n", "From", "To", "Distance",
                  "Running", "Scheduled", "Margin");
    out += line;
    for (const analysis::RunLeg& leg : legs) {
        const std::string distance =
            analysis::metres_text(leg.to->position - leg.from->position) + " m";
        std::snprintf(line, sizeof line, "%-24s %-24s %10s %9s %9s %9s\n",
                      terminal_text(leg.from->name).c_str(), terminal_text(leg.to->name).c_str(),
                      distance.c_str(), analysis::clock_text(leg.running_seconds()).c_str(),
                      leg.scheduled ? analysis::clock_text(*leg.scheduled).c_str() : "-",
                      leg.margin() ? analysis::clock_text(*leg.margin()).c_str() : "-");
        out += line;
    }
    return out;
}

nlohmann::json legs_json(const dynamics::TrainDynamics& train,
                         const std::vector<analysis::RunLeg>& legs,
                         const dynamics::FastestRun& run) {
    nlohmann::json list = nlohmann::json::array();
    for (const analysis::RunLeg& leg : legs) {
        list.push_back({{"from", utf8_from_1252(leg.from->name)},
                        {"to", utf8_from_1252(leg.to->name)},
                        {"distance_m", leg.to->position - leg.from->position},
                        {"running_time_s", std::round(leg.running_time * 10) / 10},
                        {"scheduled_s", leg.scheduled ? nlohmann::json(*leg.scheduled) : nullptr},
                        {"margin_s", leg.margin() ? nlohmann::json(*leg.margin()) : nullptr}});
    }
    return {{"train", train.id},
            {"total_time_s", std::round(run.running_time * 10) / 10},
            {"legs", list}};
}

std::string run_csv(const dynamics::RouteProfile& route, const dynamics::FastestRun& run,
                    double step) {
    std::string out = "position_m,speed_kmh,time_s\n";
    const auto count = static_cast<std::int64_t>(std::floor((route.end - route.start) / step));
    for (std::int64_t i = 0; i <= count + 1; ++i) {
        const double x = std::min(route.start + static_cast<double>(i) * step, route.end);
        const dynamics::RunPoint p = dynamics::run_at(run, x);
        out += fixed(x, 1) + "," + fixed(p.speed * 3.6, 2) + "," + fixed(p.time, 2) + "\n";
        if (x >= route.end) break;
    }
    return out;
}

int run_run(const RunOptions& o, std::ostream& out, std::ostream& err) {
    dynamics::TrainDynamics train;
    try {
        train = analysis::chosen_train(o.train);
    } catch (const analysis::TrainRunError& e) {
        err << "railscen run: " << e.what() << '\n';
        return kExitFailure;
    }

    Run run = named_run(o.inputs);
    InputTexts source(o.inputs);
    const std::optional<std::int32_t> fatal = compile_in_memory(run, 1, source);
    if (run.error_code != 0 || fatal) {
        err << report::format_diagnostics(run, o.inputs, {}, o.inputs.colour);
        err << "railscen run: the scenario does not compile; no run\n";
        return kExitProblem;
    }
    const std::vector<analysis::RunStation> stations = analysis::run_stations(run);
    if (stations.size() < 2) {
        err << "railscen run: the train has no two stations to run between\n";
        return kExitProblem;
    }
    const dynamics::RouteProfile route = analysis::route_profile(run, stations, o.rule);
    dynamics::FastestRun fastest;
    try {
        fastest = dynamics::fastest_run(train, route);
    } catch (const dynamics::RunError& e) {
        err << "railscen run: " << train.id << ": " << e.what() << '\n';
        return kExitProblem;
    }
    if (o.inputs.format == "csv") {
        out << run_csv(route, fastest, o.step);
    } else if (o.inputs.format == "json") {
        out << legs_json(train, analysis::run_legs(stations, fastest), fastest).dump(2) << '\n';
    } else {
        out << legs_text(train, analysis::run_legs(stations, fastest));
    }
    return kExitOk;
}

}  // namespace

Command add_run_command(CLI::App& parent) {
    auto o = std::make_shared<RunOptions>();
    CLI::App* app = parent.add_subcommand(
        "run", "the fastest run of a real train: traction, resistance, braking and stops");
    app->add_option("LINE_FILE", o->inputs.line_file, "line description text")->required();
    app->add_option("TRAIN_FILE", o->inputs.train_file, "train description text")->required();
    add_train_choice(*app, o->train, "the train that runs")->required();
    add_limit_rule(*app, o->rule);
    app->add_option("--format", o->inputs.format,
                    "text: a table of legs; json: the same as JSON; csv: position, speed, time")
        ->check(CLI::IsMember({"text", "json", "csv"}))
        ->capture_default_str();
    app->add_option("--step", o->step, "metres between the CSV's rows")
        ->check(CLI::PositiveNumber)
        ->capture_default_str();
    app->add_flag("--from-utf8", o->inputs.from_utf8,
                  "the texts are UTF-8: convert them to Windows-1252 before the compile");
    return {app, [o](std::ostream& out, std::ostream& err) { return run_run(*o, out, err); },
            &o->inputs};
}

}  // namespace railscen::cli
