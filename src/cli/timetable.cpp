// railscen timetable LINE_FILE TRAIN_FILE: for each pair of consecutive timed stations, the
// shortest run at the speed limits in force against the scheduled time; with a rolling-stock
// file, the real train's fastest run beside it, and with --suggest, times proposed from it.

#include <CLI/CLI.hpp>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "analysis/run_times.h"
#include "analysis/train_run.h"
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

std::string run_words(const analysis::TrainRun& train) {
    return "the fastest run of " + train.train +
           " by its traction, resistance and braking, from leaving one station to leaving the "
           "next (a stop there included; at the last station, the arrival)";
}

// The run's seconds over leg i, whole; none when not computed.
std::optional<std::int64_t> run_seconds(const analysis::TrainRun* train, std::size_t i) {
    if (train == nullptr || i >= train->leg_seconds.size() || !train->leg_seconds[i]) return {};
    return analysis::whole_seconds(*train->leg_seconds[i]);
}

std::string optional_clock(std::optional<std::int64_t> seconds) {
    return seconds ? analysis::clock_text(*seconds) : "-";
}

// Rows of cells in columns two blanks apart, the last column as it is.
std::string table_text(const std::vector<std::vector<std::string>>& rows) {
    std::vector<std::size_t> widths(rows.front().size(), 0);
    for (const auto& row : rows) {
        for (std::size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], width(row[c]));
    }
    std::string out;
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t c = 0; c < row.size(); ++c) {
            line += c + 1 < row.size() ? padded(row[c], widths[c] + 2) : row[c];
        }
        out += line + "\n";
    }
    return out;
}

std::string count_words(int n) {
    return std::to_string(n) + (n == 1 ? " timed station" : " timed stations");
}

std::string legs_text(const std::vector<analysis::TimedLeg>& legs,
                      const analysis::TrainRun* train) {
    std::string out = "Run times between timed stations. Bound: ";
    out += kBoundWords;
    out += ".\n";
    if (train != nullptr) out += "Run: " + run_words(*train) + ".\n";
    out += "\n";
    if (legs.empty()) return out + "No two timed stations follow each other.\n";
    std::vector<std::vector<std::string>> rows = {
        {"From", "To", "Distance", "Bound", "Scheduled", "Margin", "Limited most by"}};
    if (train != nullptr) rows.front().insert(rows.front().begin() + 4, "Run");
    int late = 0;
    int not_kept = 0;
    for (std::size_t i = 0; i < legs.size(); ++i) {
        const analysis::TimedLeg& leg = legs[i];
        const std::optional<std::int64_t> margin = leg.margin();
        if (margin && *margin < 0) ++late;
        rows.push_back(
            {from_words(leg), terminal_text(leg.to_name),
             analysis::metres_text(leg.to_metres - leg.from_metres) + " m",
             leg.bound ? analysis::clock_text(analysis::whole_seconds(leg.bound->seconds)) : "-",
             analysis::clock_text(leg.scheduled), margin ? analysis::clock_text(*margin) : "-",
             limiting_words(leg)});
        if (train != nullptr) {
            const std::optional<std::int64_t> run = run_seconds(train, i);
            if (run && *run > leg.scheduled) ++not_kept;
            rows.back().insert(rows.back().begin() + 4, optional_clock(run));
        }
    }
    out += table_text(rows) + "\n";
    if (late == 0) {
        out += "Every timed station can be reached in its scheduled time.\n";
    } else {
        out += count_words(late) + " cannot be reached in the scheduled time (negative margin).\n";
    }
    if (train != nullptr && not_kept > 0) {
        out += count_words(not_kept) + " cannot be kept by the train's fastest run.\n";
    }
    return out;
}

std::string suggested_text(const std::vector<analysis::TimedLeg>& legs,
                           const analysis::TrainRun& train,
                           const std::vector<analysis::SuggestedTime>& times, double margin) {
    char percent[32];
    std::snprintf(percent, sizeof percent, "%g", margin);
    std::string out = "Proposed times: " + run_words(train) + ", plus a " + percent +
                      " % recovery margin, up to the whole second; each leg from the time "
                      "proposed before it.\n\n";
    if (legs.empty()) return out + "No two timed stations follow each other.\n";
    std::vector<std::vector<std::string>> rows = {
        {"From", "To", "Scheduled", "Run", "Proposed leg", "Proposed time"}};
    for (std::size_t i = 0; i < legs.size(); ++i) {
        const analysis::TimedLeg& leg = legs[i];
        const analysis::SuggestedTime& t = times[i];
        rows.push_back({from_words(leg), terminal_text(leg.to_name),
                        analysis::clock_text(leg.to_time), optional_clock(run_seconds(&train, i)),
                        analysis::clock_text(t.seconds),
                        analysis::clock_text(t.time) +
                            (t.from_run ? "" : " (no run: the scheduled leg kept)")});
    }
    return out + table_text(rows);
}

nlohmann::json legs_json(const std::vector<analysis::TimedLeg>& legs,
                         const analysis::TrainRun* train,
                         const std::vector<analysis::SuggestedTime>* suggested) {
    nlohmann::json list = nlohmann::json::array();
    for (std::size_t i = 0; i < legs.size(); ++i) {
        const analysis::TimedLeg& leg = legs[i];
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
        const bool computed =
            train != nullptr && i < train->leg_seconds.size() && train->leg_seconds[i];
        j["run_s"] = computed ? nlohmann::json(std::round(*train->leg_seconds[i] * 10) / 10)
                              : nlohmann::json();
        if (suggested != nullptr) {
            j["suggested_time"] = analysis::clock_text((*suggested)[i].time);
            j["suggested_seconds"] = (*suggested)[i].seconds;
            j["suggested_from_run"] = (*suggested)[i].from_run;
        }
        list.push_back(std::move(j));
    }
    nlohmann::json doc = {{"bound", kBoundWords}, {"legs", list}};
    if (train != nullptr) doc["train"] = train->train;
    return doc;
}

struct TimetableOptions {
    CompileInputs inputs = CompileInputs::for_reading();  // the table does not depend on the names
    analysis::LimitRule rule;
    analysis::TrainChoice train;
    bool suggest = false;
    double margin = analysis::kDefaultRecoveryMargin;
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
    std::optional<analysis::TrainRun> train;
    if (!o.train.rolling_stock.empty()) {
        try {
            train = analysis::train_run(run, o.train, o.rule);
        } catch (const analysis::TrainRunError& e) {
            err << "railscen timetable: " << e.what() << '\n';
            return kExitProblem;
        }
    }
    std::vector<analysis::SuggestedTime> suggested;
    if (o.suggest) suggested = analysis::suggested_times(legs, train->leg_seconds, o.margin);
    const analysis::TrainRun* t = train ? &*train : nullptr;
    if (o.inputs.format == "json") {
        nlohmann::json doc = legs_json(legs, t, o.suggest ? &suggested : nullptr);
        if (o.suggest) doc["margin_percent"] = o.margin;
        out << doc.dump(2) << '\n';
    } else if (o.suggest) {
        out << suggested_text(legs, *train, suggested, o.margin);
    } else {
        out << legs_text(legs, t);
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
    CLI::Option* stock =
        add_train_choice(*app, o->train, "the train's fastest run over each leg beside the bound");
    CLI::Option* suggest =
        app->add_flag("--suggest", o->suggest,
                      "propose each timed station's time: the fastest run plus a recovery margin")
            ->needs(stock);
    app->add_option("--margin", o->margin,
                    "the recovery margin of --suggest, percent of the running time; 5 is the "
                    "middle of the 3 to 7 % supplements usual for regional passenger trains "
                    "(UIC leaflet 451-1 recommends such running-time supplements)")
        ->type_name("PERCENT")
        ->check(CLI::Range(0.0, 100.0))
        ->needs(suggest)
        ->capture_default_str();
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
