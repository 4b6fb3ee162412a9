#include "analysis/stops.h"

#include <algorithm>

namespace railscen::analysis {

bool stops_at(std::int64_t dwell, int category) {
    constexpr int kFirstPassingCategory = 25;
    return dwell > 0 && category < kFirstPassingCategory;
}

std::vector<std::size_t> run_stop_slots(const std::vector<SourceRecord>& records,
                                        const Slots& slots) {
    std::size_t count = 0;
    for (const SourceRecord& r : records) count += r.is(RecordKind::kStation) ? 1 : 0;
    count = std::min<std::size_t>(count, kFirstSignSlot - kFirstStationSlot);
    std::vector<std::size_t> stops;
    for (std::size_t i = 0; i < count; ++i) {
        const ScenarioSlot& s = slots[kFirstStationSlot + i];
        const bool last = i + 1 == count;
        if (i > 0 && !last && !stops_at(s.byte2, s.category)) continue;
        if (!stops.empty() && s.position <= slots[stops.back()].position) continue;
        stops.push_back(kFirstStationSlot + i);
    }
    return stops;
}

std::vector<std::size_t> run_stop_slots(const Run& run) {
    return run_stop_slots(run.records, run.slots);
}

}  // namespace railscen::analysis
