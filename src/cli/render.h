#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli/svg_writer.h"
#include "model/plan.h"
#include "model/scenario_slot.h"
#include "model/track_cell.h"

namespace railscen::cli {

// A compiled scenario as read back from its binary files, and the code a report marks.
struct RenderScene {
    Slots slots;
    std::vector<TrackCell> cells;
    std::optional<Plan> plan;              // none when compiled without a plan
    std::optional<std::int32_t> code;      // the report's code, when it recorded one
    std::optional<std::int32_t> position;  // its position, for codes that carry one
};

inline constexpr double kCanvasWidth = 1200;
inline constexpr double kPlanViewHeight = 760;
inline constexpr double kProfileViewHeight = 640;
inline constexpr const char* kBackground = "#ffffff";

// The plan view: the track scaled to fit, north up, with a scale bar, stations, signals,
// boards and mountain stretches.
void draw_plan_view(SvgDocument& svg, const RenderScene& scene, double top);

// The longitudinal profile: line speed, gradient and adhesion against km, with stations.
void draw_profile_view(SvgDocument& svg, const RenderScene& scene, double top);

// The route length from slot 84, or the grid's reach when that is missing.
std::int64_t route_length(const RenderScene& scene);

// The route metre an object in a cell stands for, by its kind's cell rule.
std::int64_t object_metre(const TrackCell& cell, std::size_t index);

// A round step (1, 2 or 5 times a power of ten) near span / count.
double nice_step(double span, int count);

}  // namespace railscen::cli
