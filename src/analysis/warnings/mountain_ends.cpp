// A mountain or tunnel whose end is not after its start: the encoder writes no cell for it, so
// the simulator shows no mountain or tunnel there, and nothing else says so.

#include "analysis/warnings.h"

namespace railscen::analysis {

std::vector<Diagnostic> mountain_end_warnings(const Run& run) {
    std::vector<Diagnostic> warnings;
    for (const SourceRecord& r : run.records) {
        if (!r.is(RecordKind::kMountain) || r.fields.size() < 2) continue;
        const std::optional<std::int64_t> start = r.fields[0].number;
        const std::optional<std::int64_t> end = r.fields[1].number;
        if (!start || !end || *end > *start) continue;
        warnings.push_back(warning(
            "mountain", r.field_location(1),
            "the mountain ends at " + std::to_string(*end) + " m, not after its start at " +
                std::to_string(*start) +
                " m: the stretch gets no cell, so the simulator shows no mountain or tunnel "
                "here (the end is the second field)"));
    }
    return warnings;
}

}  // namespace railscen::analysis
