// railscen timetable LINE_FILE TRAIN_FILE: for each pair of consecutive timed stations, the
// shortest run at the speed limits in force against the scheduled time.

#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "analysis/run_times.h"
#include "analysis/units_text.h"
#include "cli/commands.h"
#include "compile/inputs.h"
#include "compile/memorizza_percorso.h"
#include "model/text_encoding.h"
#include "report/diagnostics.h"

namespace railscen::cli {
namespace {

constexpr const char* kBoundWords =
    "the shortest time at the speed limits in force (line speed boards, the train's limits, "
    "slowdowns); a bound that ignores acceleration, braking and stops, which no real run beats";

// Columns counted in characters, not bytes.
std::size_t width(std::string_view utf8) {
    std::size_t n = 0;
    for (const char c : utf8) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    return n;
}

std::string padded(const std::string& text, std::size_t to) {
    return text + std::string(to > width(text) ? to - width(text) : 0, ' ');
}

std::string from_words(const analysis::TimedLeg& leg) {
    return leg.from_clock ? "(clock " + analysis::clock_text(leg.from_time) + ")"
                          : terminal_text(leg.from_name);
}

std::string limiting_words(const analysis::TimedLeg& leg) {
    if (!leg.bound) return "the station does not lie beyond the one before";
    if (!leg.bound->limiting) return "no speed limit known";
    return analysis::stretch_text(*leg.bound->limiting) + " (" +
           analysis::limit_source_words(leg.bound->limiting->sources) + ")";
}

std::string legs_text(const std::vector<analysis::TimedLeg>& legs) {
    std::string out = "Run times between timed stations. Bound: ";
    out += kBoundWords;
    out += ".\n\n";
    if (legs.empty()) return out + "No two timed stations follow each other.\n";
    std::vector<std::vector<std::string>> rows = {
        {"From", "To", "Distance", "Bound", "Scheduled", "Margin", "Limited most by"}};
    int late = 0;
    for (const analysis::TimedLeg& leg : legs) {
        const std::optional<std::int64_t> margin = leg.margin();
        if (margin && *margin < 0) ++late;
        rows.push_back(
            {from_words(leg), terminal_text(leg.to_name),
             analysis::metres_text(leg.to_metres - leg.from_metres) + " m",
             leg.bound ? analysis::clock_text(analysis::whole_seconds(leg.bound->seconds)) : "-",
             analysis::clock_text(leg.scheduled), margin ? analysis::clock_text(*margin) : "-",
             limiting_words(leg)});
    }
    std::vector<std::size_t> widths(rows.front().size(), 0);
    for (const auto& row : rows) {
        for (std::size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], width(row[c]));
    }
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t c = 0; c < row.size(); ++c) {
            line += c + 1 < row.size() ? padded(row[c], widths[c] + 2) : row[c];
        }
        out += line + "\n";
    }
    out += "\n";
    if (late == 0) return out + "Every timed station can be reached in its scheduled time.\n";
    return out + std::to_string(late) + (late == 1 ? " timed station" : " timed stations") +
           " cannot be reached in the scheduled time (negative margin).\n";
}

nlohmann::json legs_json(const std::vector<analysis::TimedLeg>& legs) {
    nlohmann::json list = nlohmann::json::array();
    for (const analysis::TimedLeg& leg : legs) {
        nlohmann::json j;
        j["from"] =
            leg.from_clock ? nlohmann::json() : nlohmann::json(utf8_from_1252(leg.from_name));
        j["from_clock"] = leg.from_clock;
        j["to"] = utf8_from_1252(leg.to_name);
        j["from_time"] = analysis::clock_text(leg.from_time);
        j["to_time"] = analysis::clock_text(leg.to_time);
        j["from_metres"] = leg.from_metres;
        j["to_metres"] = leg.to_metres;
        j["scheduled_seconds"] = leg.scheduled;
        j["bound_seconds"] = leg.bound ? nlohmann::json(analysis::whole_seconds(leg.bound->seconds))
                                       : nlohmann::json();
        j["margin_seconds"] = leg.margin() ? nlohmann::json(*leg.margin()) : nlohmann::json();
        nlohmann::json limiting;
        if (leg.bound && leg.bound->limiting) {
            const analysis::SpeedStretch& s = *leg.bound->limiting;
            limiting = {{"kmh", s.kmh},
                        {"from_metres", s.from},
                        {"to_metres", s.to},
                        {"by", analysis::limit_source_words(s.sources)}};
        }
        j["limiting"] = limiting;
        list.push_back(std::move(j));
    }
    return {{"bound", kBoundWords}, {"legs", list}};
}

struct TimetableOptions {
    CompileInputs inputs = CompileInputs::for_reading();  // the table does not depend on the names
    analysis::LimitRule rule;
};

int run_timetable(const TimetableOptions& o, std::ostream& out, std::ostream& err) {
    Run run = named_run(o.inputs);
    InputTexts source(o.inputs);
    const std::optional<std::int32_t> fatal = compile_in_memory(run, 0, source);
    if (run.error_code != 0 || fatal) {
        err << report::format_diagnostics(run, o.inputs, {}, o.inputs.colour);
        err << "railscen timetable: the scenario does not compile; no run times\n";
        return kExitProblem;
    }
    const std::vector<analysis::TimedLeg> legs = analysis::timed_legs(run, o.rule);
    if (o.inputs.format == "json") {
        out << legs_json(legs).dump(2) << '\n';
    } else {
        out << legs_text(legs);
    }
    return kExitOk;
}

}  // namespace

Command add_timetable_command(CLI::App& parent) {
    auto o = std::make_shared<TimetableOptions>();
    CLI::App* app = parent.add_subcommand(
        "timetable",
        "the shortest run between timed stations at the speed limits, against the timetable");
    app->add_option("LINE_FILE", o->inputs.line_file, "line description text")->required();
    app->add_option("TRAIN_FILE", o->inputs.train_file, "train description text")->required();
    add_limit_rule(*app, o->rule);
    app->add_option("--format", o->inputs.format, "text: a table; json: the same as JSON")
        ->check(CLI::IsMember({"text", "json"}))
        ->capture_default_str();
    app->add_flag("--from-utf8", o->inputs.from_utf8,
                  "the texts are UTF-8: convert them to Windows-1252 before the compile");
    add_name_options(*app, o->inputs);
    return {app, [o](std::ostream& out, std::ostream& err) { return run_timetable(*o, out, err); },
            &o->inputs};
}

}  // namespace railscen::cli
