#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "model/cell_index.h"
#include "model/run.h"
#include "model/source_record.h"
#include "model/track_cell.h"

namespace railscen::analysis {

struct Scene;

// A compiled grid as the analyses read it: its cells and, when it was compiled here, the
// records that placed its objects. Both a compile run and a scene loaded from files give one.
struct GridView {
    const std::vector<TrackCell>& cells;
    const std::vector<SourceRecord>& records;
    const std::unordered_map<std::int64_t, std::size_t>& placed_by;
};

GridView grid_view(const Run& run);
GridView grid_view(const Scene& scene);

// The layers of a cell as the simulator reads them: the train's speed limit in km/h (0: none)
// and the gradient in per mille.
inline int train_limit_kmh(const TrackCell& c) {
    return c.speed_limit * 5;
}
inline int gradient_per_mille(const TrackCell& c) {
    return static_cast<int>(c.gradient) - 100;
}

// The record that placed the object in cell `index`, when the grid was compiled here.
const SourceRecord* placing_record(const GridView& grid, std::int64_t index);

// The route metre an object in a cell stands for, by its kind's cell rule.
std::int64_t object_metre(const TrackCell& cell, std::int64_t index);

// The whole metres that put the object of a cell into cell `index`, by the same cell rule:
// drop points fall into the cell of their own 50 m, every other object one cell further on.
// A cell without an object stands for the metres an object placed there would have.
cell_index::PositionRange cell_positions(const TrackCell& cell, std::int64_t index);

// The whole metres whose profile row (gradient, train speed limit, adhesion) or mountain
// start begins its layer's value at cell `index`: round_even(p / 50) is that cell.
inline cell_index::PositionRange layer_positions(std::int64_t index) {
    return cell_index::positions_in(index, 0);
}

// Where the object in cell `index` stands: the position its record gives, for the objects
// placed where their record says (signals, boards, slowdown starts, drop points); by its cell
// otherwise.
std::int64_t placed_metre(const GridView& grid, std::int64_t index);

// Where the slowdown starting in cell `index` ends: its record's length, or, without the
// record, the metre of the end cell that follows it; its start when neither is found.
std::int64_t slowdown_end_metre(const GridView& grid, std::int64_t index);

}  // namespace railscen::analysis
