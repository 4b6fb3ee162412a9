// A curve that begins inside the curve before: the plan turns on, curve after curve, so from
// the overlap on the whole plan lies off the line's true course.

#include "analysis/warnings.h"

namespace railscen::analysis {

std::vector<Diagnostic> curve_overlap_warnings(const Run& run) {
    std::vector<Diagnostic> warnings;
    if (run.with_plan == 0) return warnings;  // curves are read only with the plan
    std::optional<std::pair<std::int64_t, std::int64_t>> before;  // start and end, metres
    for (const SourceRecord& r : run.records) {
        if (!r.is(RecordKind::kCurve) || r.fields.size() < 2) continue;
        const std::optional<std::int64_t> start = r.fields[0].number;
        const std::optional<std::int64_t> length = r.fields[1].number;
        if (!start || !length) continue;
        if (before && *start < before->second && *start >= before->first) {
            warnings.push_back(warning(
                "curve-overlap", r.field_location(0),
                "this curve begins at " + std::to_string(*start) + " m, inside the curve before (" +
                    std::to_string(before->first) + " to " + std::to_string(before->second) +
                    " m): the plan turns twice over the overlap, and every point after it lies "
                    "off the line's course"));
        }
        before = std::pair{*start, *start + *length};
    }
    return warnings;
}

}  // namespace railscen::analysis
