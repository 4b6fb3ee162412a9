#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "analysis/compiled_files.h"
#include "model/diagnostic.h"
#include "model/plan.h"
#include "model/run.h"
#include "model/scenario_slot.h"
#include "model/source_record.h"
#include "model/track_cell.h"

namespace railscen::analysis {

// What the route sheet is drawn from: the compiled scenario (its plan none when compiled
// without one), and, when it was compiled from the description texts here, what the loader
// read and what the compile found.
struct Scene : CompiledScenario {
    std::optional<std::int32_t> code;      // the code the compile (or its report) recorded
    std::optional<std::int32_t> position;  // its position, for codes that carry one

    bool from_texts = false;
    std::vector<SourceRecord> records;
    std::vector<Diagnostic> diagnostics;
    std::unordered_map<std::int64_t, std::size_t> placed_by;
    SourceNames names;
};

// The scene of a compile run in memory (the run's grid, plan and records are moved out).
Scene scene_from_run(Run&& run, std::optional<std::int32_t> fatal, SourceNames names);

// The route length from slot 84, or the grid's reach when that is missing.
std::int64_t route_length(const Scene& scene);
// Where the grid ends: the route and the run-out beyond it.
std::int64_t grid_end(const Scene& scene);

}  // namespace railscen::analysis
