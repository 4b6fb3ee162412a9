#include "analysis/warnings.h"
#include "model/cell_index.h"

namespace railscen::analysis {

std::vector<Diagnostic> stretch_warnings(const Run& run) {
    std::vector<Diagnostic> warnings;
    if (!run.cells) return warnings;
    const std::int64_t last_cell = run.cells->upper_bound();
    const bool with_curves = run.with_plan != 0 && run.plan.exists();
    for (const SourceRecord& r : run.records) {
        // The start and the end (or length) of a stretch: its first two numbers.
        if (r.fields.size() < 2 || !r.fields[0].number || !r.fields[1].number) continue;
        const std::int64_t first = *r.fields[0].number;
        const std::int64_t second = *r.fields[1].number;
        if (r.is(RecordKind::kMountain) && cell_index::mountain_last(second) > last_cell) {
            warnings.push_back(warning("stretch", r.field_location(1),
                                       "mountain from " + std::to_string(first) + " m to " +
                                           std::to_string(second) +
                                           " m runs past the end of the grid at " +
                                           std::to_string((last_cell + 1) * 50) + " m"));
        }
        if (with_curves && r.is(RecordKind::kCurve) && first + second > run.plan.last_row()) {
            warnings.push_back(warning("stretch", r.field_location(1),
                                       "curve from " + std::to_string(first) + " m, " +
                                           std::to_string(second) +
                                           " m long, runs past the end of the plan at " +
                                           std::to_string(run.plan.last_row()) + " m"));
        }
    }
    return warnings;
}

std::vector<Diagnostic> check_warnings(const Run& run) {
    std::vector<Diagnostic> found = spelling_warnings(run);
    for (auto more : {stretch_warnings(run), timetable_warnings(run), clock_warnings(run),
                      order_warnings(run), extra_field_warnings(run), continuation_warnings(run),
                      text_warnings(run), train_text_warnings(run), mountain_end_warnings(run),
                      curve_overlap_warnings(run), speed_ceiling_warnings(run),
                      run_out_warnings(run), cut_off_warnings(run), clock_field_warnings(run)}) {
        found.insert(found.end(), more.begin(), more.end());
    }
    return found;
}

}  // namespace railscen::analysis

namespace railscen::analysis {

std::vector<Diagnostic> wanted_warnings(const Run& run, bool no_warnings) {
    return no_warnings ? std::vector<Diagnostic>{} : check_warnings(run);
}

}  // namespace railscen::analysis
