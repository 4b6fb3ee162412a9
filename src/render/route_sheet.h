#pragma once

#include <climits>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "analysis/sheet_facts.h"
#include "analysis/train_run.h"
#include "analysis/units_text.h"
#include "model/diagnostic.h"
#include "model/plan.h"
#include "model/run.h"
#include "model/scenario_slot.h"
#include "model/source_record.h"
#include "model/track_cell.h"
#include "render/svg_writer.h"

namespace railscen::render {

// The sheet draws what the analyses found.
using analysis::kLaneCount;
using analysis::kNoValue;
using analysis::Lane;
using analysis::LoadState;
using analysis::metres_range_text;
using analysis::Profile;
using analysis::Scene;
using analysis::SheetFacts;
using analysis::SheetObject;
using analysis::TrainRun;

// The stretch drawn, in route metres.
struct SheetRange {
    std::int64_t from = 0;
    std::int64_t to = 0;
};

// The whole sheet as an SVG document: plan view on top, then the bands on one metre axis; a
// train's run, when given, over the speed-limit band with its time at each stand.
std::string route_sheet(const Scene& scene, std::optional<SheetRange> range = {},
                        const TrainRun* run = nullptr);

// A round step (1, 2 or 5 times a power of ten) near span / count.
double nice_step(double span, int count);

// The plan view over the range, sized to the track's own extent; returns its height.
double draw_plan_view(SvgDocument& svg, const Scene& scene, const SheetFacts& facts,
                      SheetRange range, double top, double width);

// The lanes of objects and the profile bands on one metre axis; returns their height.
double draw_bands(SvgDocument& svg, const Scene& scene, const SheetFacts& facts, SheetRange range,
                  double top, double width, const TrainRun* run = nullptr);

}  // namespace railscen::render
