#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "analysis/compiled_files.h"
#include "model/plan.h"
#include "model/run.h"
#include "model/scenario_slot.h"
#include "model/track_cell.h"

namespace railscen::analysis {

// One thing that changed between two versions of a scenario's texts, in the author's words:
// where (a position, or a stretch, or nowhere for a setting of the whole scenario), what it
// is, and how it changed.
struct TextChange {
    std::optional<std::int64_t> metres;
    std::optional<std::int64_t> end_metres;  // a stretch ends here
    std::string subject;                     // "speed board", "station \"Lares\"", "gradient"
    std::string what;                        // "added", "removed", "changed", "moved", ...
    std::string detail;                      // UTF-8

    // "2,750 m: speed board changed: left 100/100/105 -> 100/100/110 km/h"
    std::string line() const;
};

// The stations a stretch of line lies between: the last at or before its start and the first
// at or after its end (their slots); nullptr where there is none. The diff says a slowdown lies
// "between" them, and the slowdown order form names them.
struct StationsAround {
    const ScenarioSlot* before = nullptr;
    const ScenarioSlot* after = nullptr;
};
StationsAround stations_around(const Run& run, std::int64_t from, std::int64_t to);

// What changed from a to b, read from the records each compile read; settings of the whole
// scenario first, then by metre.
std::vector<TextChange> text_changes(const Run& a, const Run& b);

struct FieldChange {
    std::string field;
    std::string before;
    std::string after;
};

struct SlotChange {
    int slot = 0;
    std::string label;  // "station \"Lares\"", "sign text", "route", ...
    std::vector<FieldChange> fields;
};

// Changed cells less than 150 m apart, as one stretch; the layers that changed in it, and
// for each layer whose cells all changed alike, how.
struct CellStretch {
    std::int64_t first_cell = 0;
    std::int64_t last_cell = 0;
    // The metres the stretch stands for: from the first metre the cell rule puts into its
    // first cell to the last it puts into its last.
    std::int64_t from_metres = 0;
    std::int64_t to_metres = 0;
    std::size_t changed_cells = 0;
    std::vector<std::string> layers;   // "object", "approach", "mountain", "speed_limit", ...
    std::vector<std::string> details;  // "speed_limit 90 -> 100 km/h"
};

struct PlanChange {
    std::int64_t rows_a = 0;  // 0: no plan on that side
    std::int64_t rows_b = 0;
    std::int64_t differing_rows = 0;  // among the rows both have
    double largest_deviation = 0;     // metres between the two points of one row
    std::int64_t at_row = 0;
};

struct CompiledDiff {
    std::vector<SlotChange> slots;
    std::size_t cells_a = 0;
    std::size_t cells_b = 0;
    std::vector<CellStretch> cells;
    std::optional<PlanChange> plan;  // none when both plans are alike

    bool equal() const { return slots.empty() && cells_a == cells_b && cells.empty() && !plan; }
};

CompiledDiff compiled_changes(const CompiledScenario& a, const CompiledScenario& b);

// The compiled diff as lines of text, one change a line.
std::vector<std::string> compiled_lines(const CompiledDiff& diff);

}  // namespace railscen::analysis
