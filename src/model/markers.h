#pragma once

#include <cstdint>

namespace railscen {

// The values the marker stamps write once a compile is complete: slot 85's word1 and cell 1's
// param1. The simulator takes a scenario without them for a broken one.
inline constexpr std::int16_t kSlotMarker = 610;
inline constexpr std::int16_t kCellMarker = 5121;

}  // namespace railscen
