#pragma once

#include <climits>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "cli/svg_writer.h"
#include "model/diagnostic.h"
#include "model/plan.h"
#include "model/run.h"
#include "model/scenario_slot.h"
#include "model/source_record.h"
#include "model/track_cell.h"

namespace railscen::cli {

// What the route sheet is drawn from: the compiled scenario, and, when it was compiled from
// the description texts here, what the loader read and what the compile found.
struct RenderScene {
    Slots slots;
    std::vector<TrackCell> cells;
    std::optional<Plan> plan;              // none when compiled without a plan
    std::optional<std::int32_t> code;      // the code the compile (or its report) recorded
    std::optional<std::int32_t> position;  // its position, for codes that carry one

    bool from_texts = false;
    std::vector<SourceRecord> records;
    std::vector<Diagnostic> diagnostics;
    std::unordered_map<std::int64_t, std::size_t> placed_by;
    SourceNames names;
};

// The scene of a compile run in memory (the run's grid, plan and records are moved out).
RenderScene scene_from_run(Run&& run, std::optional<std::int32_t> fatal, SourceNames names);

// The stretch drawn, in route metres.
struct SheetRange {
    std::int64_t from = 0;
    std::int64_t to = 0;
};

// The route length from slot 84, or the grid's reach when that is missing.
std::int64_t route_length(const RenderScene& scene);
// Where the grid ends: the route and the run-out beyond it.
std::int64_t grid_end(const RenderScene& scene);

// The whole sheet as an SVG document: plan view on top, then the bands on one metre axis.
std::string route_sheet(const RenderScene& scene, std::optional<SheetRange> range = {});

// The route metre an object in a cell stands for, by its kind's cell rule.
std::int64_t object_metre(const TrackCell& cell, std::size_t index);

// A round step (1, 2 or 5 times a power of ten) near span / count.
double nice_step(double span, int count);

// "12350 m", "46650–51650 m".
std::string metres_text(std::int64_t from, std::int64_t to);

// ---- What the sheet draws, taken from the scene (sheet_facts.cpp) ----

enum class Lane {
    kStations,
    kSignals,
    kSpeedBoards,
    kSignBoards,
    kMountains,
    kCurves,
    kSlowdowns,
    kCabCodes,
    kCodeRows
};
inline constexpr int kLaneCount = 9;

inline constexpr int kNoValue = INT_MIN;

struct SheetObject {
    Lane lane;
    std::int64_t from;  // metres
    std::int64_t to;    // from again for an object at one point
    const char* kind;   // the element's class: "station", "signal", ...
    std::string label;  // shown where there is room; empty: the title only
    std::string title;
    const char* colour;
    int value = kNoValue;  // the speed a speed board (its first, on the side it stands) or a
                           // slowdown sets, km/h
};

// A step profile with one value per cell (cell c holds metres 50c to 50c + 50); kNoValue where
// nothing is defined or nothing was loaded.
struct Profile {
    const char* name;  // "train limit"
    const char* kind;  // the element class
    const char* unit;  // "km/h"
    const char* colour;
    double width;
    std::vector<int> values;
};

// How much of the scenario the loader read: after a code that stopped it, each layer holds
// loaded values only before its own metre, and the place of the code is marked.
struct LoadState {
    bool whole = true;
    bool from_files = false;           // compiled files: what was loaded is not known
    const Diagnostic* code = nullptr;  // the code that stopped the loading, or the run's code
    std::int32_t code_number = 0;
    std::optional<std::int64_t> mark;  // metres
    std::string where;                 // "FILE:LINE" of the code
    std::int64_t line_to = LLONG_MAX;  // line objects and gradient
    std::int64_t train_to = LLONG_MAX;
    std::int64_t gradient_to = LLONG_MAX;
    std::int64_t speed_to = LLONG_MAX;
    std::int64_t adhesion_to = LLONG_MAX;
};

struct SheetFacts {
    LoadState load;
    std::vector<SheetObject> objects;  // by lane, in metre order within each
    Profile line_limit, train_limit, slowdown_limit, effective_limit, gradient, adhesion;
};

SheetFacts sheet_facts(const RenderScene& scene);

// The plan view over the range, sized to the track's own extent; returns its height.
double draw_plan_view(SvgDocument& svg, const RenderScene& scene, const SheetFacts& facts,
                      SheetRange range, double top, double width);

// The lanes of objects and the profile bands on one metre axis; returns their height.
double draw_bands(SvgDocument& svg, const RenderScene& scene, const SheetFacts& facts,
                  SheetRange range, double top, double width);

}  // namespace railscen::cli
