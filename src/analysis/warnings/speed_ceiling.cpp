// Speeds that no train runs: a speed board or a speed limit far above the fastest train in
// service is a slip of the keyboard ("1200" for "120"). The compile keeps it (a board packs up
// to 1275 km/h, a limit up to 1277 km/h), and the simulator would then let the train run at it.

#include "analysis/warnings.h"

namespace railscen::analysis {

std::vector<Diagnostic> speed_ceiling_warnings(const Run& run) {
    std::vector<Diagnostic> warnings;
    for (const SourceRecord& r : run.records) {
        // The speed fields of each record: a board's six, a limit's one, a slowdown's one.
        std::vector<std::size_t> speeds;
        if (r.is(RecordKind::kSpeedBoard)) speeds = {1, 2, 3, 5, 6, 7};
        if (r.is(RecordKind::kSpeedLimit) || r.is(RecordKind::kSlowdown)) speeds = {1};
        for (const std::size_t i : speeds) {
            if (i >= r.fields.size() || !r.fields[i].number) continue;
            const std::int64_t v = *r.fields[i].number;
            if (v <= kFastestTrain) continue;
            warnings.push_back(
                warning("speed", r.field_location(i),
                        std::to_string(v) +
                            " km/h is beyond any train: the fastest trains in service "
                            "run " +
                            std::to_string(kFastestTrain) +
                            " km/h, and the simulator would let the train run at this speed"));
        }
    }
    return warnings;
}

}  // namespace railscen::analysis
