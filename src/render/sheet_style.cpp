#include "render/sheet_style.h"

#include <array>

namespace railscen::render {
namespace {

using analysis::FactKind;

struct Row {
    FactKind kind;
    FactStyle style;
};

// In FactKind's order, which style_of checks.
constexpr Row kStyles[] = {
    {FactKind::kStation, {"station", "#000000"}},
    {FactKind::kSignal, {"signal", "#d62728"}},
    {FactKind::kSpeedBoard, {"speed-board", "#ff9f1c"}},
    {FactKind::kSignBoard, {"sign-board", "#7b3294"}},
    {FactKind::kSlowdownWarning, {"slowdown-warning", "#e66101"}},
    {FactKind::kSlowdown, {"slowdown", "#e66101"}},
    {FactKind::kCodeDrop, {"code-drop", "#1a9850"}},
    {FactKind::kMountain, {"mountain", "#b5651d"}},
    {FactKind::kLeftCurve, {"curve", "#2166ac"}},
    {FactKind::kRightCurve, {"curve", "#b2182b"}},
    {FactKind::kCodeRow, {"code-row", "#4d4d4d"}},
    {FactKind::kSignalRepetition, {"signal-repetition", "#9ecae1"}},
    {FactKind::kGradient, {"gradient", "#1b3a8c", 1.5}},
    {FactKind::kAdhesion, {"adhesion", "#1b7837", 1.5}},
    {FactKind::kTrainLimit, {"train-limit", "#2b83ba", 1.5}},
    {FactKind::kLineLimit, {"line-limit", "#999999", 1.5, "5 3"}},
    {FactKind::kSlowdownLimit, {"slowdown-limit", "#e66101", 2}},
    {FactKind::kEffectiveLimit, {"effective-limit", "#000000", 2.5}},
};
static_assert(std::size(kStyles) == analysis::kFactKindCount);

constexpr bool in_order() {
    for (std::size_t i = 0; i < std::size(kStyles); ++i) {
        if (static_cast<std::size_t>(kStyles[i].kind) != i) return false;
    }
    return true;
}
static_assert(in_order(), "one row per kind, in FactKind's order");

}  // namespace

const FactStyle& style_of(FactKind kind) {
    return kStyles[static_cast<std::size_t>(kind)].style;
}

}  // namespace railscen::render
