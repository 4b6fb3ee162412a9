#include "analysis/grid_view.h"

#include "analysis/scene.h"
#include "model/cell_index.h"

namespace railscen::analysis {

GridView grid_view(const Run& run) {
    static const std::vector<TrackCell> kNoCells;
    return {run.cells ? run.cells->all() : kNoCells, run.records, run.placed_by};
}

GridView grid_view(const Scene& scene) {
    return {scene.cells, scene.records, scene.placed_by};
}

const SourceRecord* placing_record(const GridView& grid, std::int64_t index) {
    const auto it = grid.placed_by.find(index);
    if (it == grid.placed_by.end() || it->second >= grid.records.size()) return nullptr;
    return &grid.records[it->second];
}

namespace {

bool is_drop_point(const TrackCell& cell) {
    return cell.kind == kCodeDrop || cell.kind == kCodeDropNoValue;
}

}  // namespace

std::int64_t object_metre(const TrackCell& cell, std::int64_t index) {
    return is_drop_point(cell) ? cell_index::code_row_metre(index) : cell_index::after_metre(index);
}

cell_index::PositionRange cell_positions(const TrackCell& cell, std::int64_t index) {
    return cell_index::positions_in(index, is_drop_point(cell) ? 0 : 1);
}

std::int64_t placed_metre(const GridView& grid, std::int64_t index) {
    const TrackCell& cell = grid.cells[static_cast<std::size_t>(index)];
    const std::int64_t by_cell = object_metre(cell, index);
    const bool at_record = cell.kind == kSignal || cell.kind == kSpeedBoard ||
                           cell.kind == kSignBoard || cell.kind == kSlowdownStart ||
                           cell.kind == kCodeDrop || cell.kind == kCodeDropNoValue;
    if (!at_record) return by_cell;
    const SourceRecord* r = placing_record(grid, index);
    if (r == nullptr || r->fields.empty() || !r->fields[0].number) return by_cell;
    return *r->fields[0].number;
}

std::int64_t slowdown_end_metre(const GridView& grid, std::int64_t index) {
    const std::int64_t from = placed_metre(grid, index);
    if (const SourceRecord* r = placing_record(grid, index)) {
        if (r->fields.size() > 2 && r->fields[2].number && *r->fields[2].number > 0) {
            return from + *r->fields[2].number;
        }
        return from;
    }
    const auto count = static_cast<std::int64_t>(grid.cells.size());
    for (std::int64_t e = index + 1; e < count; ++e) {
        const TrackCell& c = grid.cells[static_cast<std::size_t>(e)];
        if (c.kind == kSlowdownEnd) return object_metre(c, e);
        if (c.kind == kSlowdownStart) break;
    }
    return from;
}

}  // namespace railscen::analysis
