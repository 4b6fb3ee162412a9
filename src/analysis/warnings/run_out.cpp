// Objects past the line's length: the compile places them in the run-out it adds after the
// line's end (7000 m of grid), where the line itself has ended: a station there is never a
// stop of the run, a signal or board there is never met.

#include "analysis/warnings.h"
#include "model/scenario_slot.h"

namespace railscen::analysis {

std::vector<Diagnostic> run_out_warnings(const Run& run) {
    std::vector<Diagnostic> warnings;
    if (!run.cells) return warnings;
    const std::int64_t length = run.slots[kRouteSlot].finish;
    for (const SourceRecord& r : run.records) {
        const char* what = r.is(RecordKind::kStation)      ? "station"
                           : r.is(RecordKind::kSignal)     ? "signal"
                           : r.is(RecordKind::kSpeedBoard) ? "speed board"
                           : r.is(RecordKind::kSignBoard)  ? "sign board"
                           : r.is(RecordKind::kSlowdown)   ? "slowdown"
                           : r.is(RecordKind::kCodeRow)    ? "code drop point"
                                                           : nullptr;
        if (what == nullptr || r.fields.empty() || !r.fields[0].number) continue;
        const std::int64_t at = *r.fields[0].number;
        if (at <= length) continue;
        warnings.push_back(
            warning("run-out", r.field_location(0),
                    std::string("the ") + what + " at " + std::to_string(at) +
                        " m lies past the line's end at " + std::to_string(length) +
                        " m, in the run-out the compile adds after it: the run ends before it"));
    }
    return warnings;
}

}  // namespace railscen::analysis
