#pragma once

#include <climits>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "analysis/scene.h"

namespace railscen::analysis {

// What the route sheet draws, taken from the scene.

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

// What a mark or a profile stands for; how each kind is drawn is the sheet's own business.
enum class FactKind {
    kStation,
    kSignal,
    kSpeedBoard,
    kSignBoard,
    kSlowdownWarning,
    kSlowdown,
    kCodeDrop,
    kMountain,
    kLeftCurve,
    kRightCurve,
    kCodeRow,
    kSignalRepetition,
    kGradient,
    kAdhesion,
    kTrainLimit,
    kLineLimit,
    kSlowdownLimit,
    kEffectiveLimit,
};
inline constexpr int kFactKindCount = 18;

struct SheetObject {
    Lane lane;
    std::int64_t from;  // metres
    std::int64_t to;    // from again for an object at one point
    FactKind kind;
    std::string label;  // shown where there is room; empty: the title only
    std::string title;
    int value = kNoValue;  // the speed a speed board (its first, on the side it stands) or a
                           // slowdown sets, km/h
};

// A step profile with one value per cell (cell c holds metres 50c to 50c + 50); kNoValue where
// nothing is defined or nothing was loaded.
struct Profile {
    const char* name;  // "train limit"
    FactKind kind;
    const char* unit;  // "km/h"
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

SheetFacts sheet_facts(const Scene& scene);

}  // namespace railscen::analysis
