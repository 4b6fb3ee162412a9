// A compiled scenario as the analyses see it: its binary parts and, compiled here, what the
// loader read.

#include "analysis/scene.h"

#include <algorithm>

namespace railscen::analysis {

Scene scene_from_run(Run&& run, std::optional<std::int32_t> fatal, SourceNames names) {
    Scene scene;
    scene.slots = run.slots;
    if (run.cells) scene.cells = run.cells->all();
    if (run.plan.rows() > 0) scene.plan = std::move(run.plan);
    const std::int32_t code = run.error_code != 0 ? run.error_code : fatal.value_or(0);
    if (code != 0) {
        scene.code = code;
        scene.position = run.error_position;
    }
    scene.from_texts = true;
    scene.records = std::move(run.records);
    scene.diagnostics = std::move(run.diagnostics);
    scene.placed_by = std::move(run.placed_by);
    scene.names = std::move(names);
    return scene;
}

std::int64_t route_length(const Scene& scene) {
    const std::int32_t length = scene.slots[kRouteSlot].finish;
    return length > 0 ? length : static_cast<std::int64_t>(scene.cells.size()) * 50;
}

std::int64_t grid_end(const Scene& scene) {
    const auto cells = static_cast<std::int64_t>(scene.cells.size());
    return std::max<std::int64_t>({(cells - 1) * 50, route_length(scene), 50});
}

}  // namespace railscen::analysis
