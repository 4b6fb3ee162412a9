#pragma once

// How the route sheet draws each kind of fact: the element's class, its colour, and for a
// profile the stroke. One table, which the lanes, the bands, the plan view and the legend use.

#include "analysis/sheet_facts.h"

namespace railscen::render {

struct FactStyle {
    const char* element_class;  // "station", "speed-board", ...: the SVG class
    const char* colour;         // "#rrggbb"
    double stroke_width = 0;    // a profile's line
    const char* dash = "";      // a profile's stroke-dasharray, empty for a solid line
};

const FactStyle& style_of(analysis::FactKind kind);

}  // namespace railscen::render
