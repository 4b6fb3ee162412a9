#pragma once

#include <string>
#include <vector>

#include "analysis/run_times.h"
#include "analysis/train_run.h"
#include "model/diagnostic.h"
#include "model/run.h"

namespace railscen::analysis {

// Things check finds suspicious although the compile accepts them, as warnings on the records
// the loader read (run.records); a run that read no records gives none.
std::vector<Diagnostic> check_warnings(const Run& run);

// The warnings the options ask for: none under -w.
std::vector<Diagnostic> wanted_warnings(const Run& run, bool no_warnings);

// Timed stations (slot time non-zero) that the timetable reaches sooner than the speed limits
// allow, from the station timed before or from the clock's start: the bound of timed_legs.
std::vector<Diagnostic> timetable_warnings(const Run& run);

// Timed stations the train of a rolling-stock file cannot keep: the leg's scheduled time is
// shorter than the train's fastest run (TrainRun::leg_seconds beside the legs). Legs the speed
// limits alone rule out are left to timetable_warnings. The second form runs the chosen train
// and throws TrainRunError where it cannot.
std::vector<Diagnostic> train_run_warnings(const Run& run, const std::vector<TimedLeg>& legs,
                                           const TrainRun& train);
std::vector<Diagnostic> train_run_warnings(const Run& run, const TrainChoice& choice,
                                           LimitRule rule = {});

// Timed stations before the time they follow (the clock's start, the station timed before) by
// leg_seconds' rule: a time past midnight is no fault.
std::vector<Diagnostic> clock_warnings(const Run& run);

// Rows of a profile section (gradients, curves, speed limits, adhesion) whose position goes
// down: "1200" typed for "12000".
std::vector<Diagnostic> order_warnings(const Run& run);

// Fields after a record's last on its line, which belong to no record: a comma inside a text
// ("comma") or one field too many ("extra-field").
std::vector<Diagnostic> extra_field_warnings(const Run& run);

// A record that takes a field from a line below its keyword's ("continued").
std::vector<Diagnostic> continuation_warnings(const Run& run);

// Tabs, and texts saved as UTF-8.
std::vector<Diagnostic> text_warnings(const Run& run);

// A train description without "[generale]", whose records the compile never reads; the two
// texts swapped.
std::vector<Diagnostic> train_text_warnings(const Run& run);

// Keyword fields that begin a line, match no keyword, but lie close to one.
std::vector<Diagnostic> spelling_warnings(const Run& run);

// Mountains that run past the grid and curves that run past the plan: the compile writes
// nothing beyond either, so their ends are lost.
std::vector<Diagnostic> stretch_warnings(const Run& run);

// Mountains whose end is not after their start ("mountain").
std::vector<Diagnostic> mountain_end_warnings(const Run& run);

// Curves that begin inside the curve before ("curve-overlap").
std::vector<Diagnostic> curve_overlap_warnings(const Run& run);

// The top speed of the fastest trains in service, km/h: a board, limit or slowdown above it is
// most likely a typing slip ("speed").
inline constexpr std::int64_t kFastestTrain = 350;
std::vector<Diagnostic> speed_ceiling_warnings(const Run& run);

// Stations, signals, boards, slowdowns and code drop points past the line's length, in the
// run-out ("run-out").
std::vector<Diagnostic> run_out_warnings(const Run& run);
// The clock or a station timed outside a day's clock: hour past 23, minute or second past 59
// or negative ("clock-field").
std::vector<Diagnostic> clock_field_warnings(const Run& run);

// A text that ends without its closing line ("cut-off"), naming what else a train description
// cut short lacks (its clock, its stations): the file may be a save that did not finish.
std::vector<Diagnostic> cut_off_warnings(const Run& run);

// Whether a list holds a "cut-off" warning: outputs are not replaced by such a compile.
bool has_cut_off_warning(const std::vector<Diagnostic>& warnings);

// A warning of the named kind at a field.
inline Diagnostic warning(std::string name, const SourceLocation& at, std::string message) {
    Diagnostic d;
    d.severity = Severity::kWarning;
    d.at = at;
    d.reason = std::move(message);
    d.name = std::move(name);
    return d;
}

}  // namespace railscen::analysis
