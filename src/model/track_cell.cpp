#include "model/track_cell.h"

#include "model/cell_index.h"

namespace railscen {

Cells Cells::for_route(std::int32_t route_length) {
    const std::int64_t upper = round_even((static_cast<double>(route_length) + 7000.0) / 50.0);
    // The loader refuses lengths that would leave fewer than two cells; a grid never has none.
    return Cells(static_cast<std::size_t>(upper < 0 ? 1 : upper + 1));
}

std::string_view cell_kind_name(std::uint8_t kind) {
    switch (kind) {
        case kFree:
            return "free";
        case kSignal:
            return "signal";
        case kSlowdownEnd:
            return "slowdown end";
        case kSlowdownStart:
            return "slowdown start";
        case kSlowdownWarning:
            return "slowdown warning point";
        case kSlowdownMarker:
            return "slowdown marker";
        case kSpeedBoard:
            return "speed board";
        case kStationStop:
            return "station stop";
        case kSpacer:
            return "spacer";
        case kCodeDrop:
            return "cab-code drop point";
        case kCodeDropNoValue:
            return "cab-code drop point without value";
        case kSignBoard:
            return "sign board";
        default:
            return "unused kind";
    }
}

}  // namespace railscen
