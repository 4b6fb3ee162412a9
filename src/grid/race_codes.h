#pragma once

#include <cstdint>
#include <optional>

#include "model/run.h"

namespace railscen {

// Plain sum of the character codes of the first 25 characters of the lowered train and line
// names followed by the padding text (0 to 6375).
std::int16_t codice_gara_og(const Run& run);

// The same characters weighted by their 1-based position (0 to 82875).
std::int32_t codice_gara_st(const Run& run);

// Stamps the markers (model/markers.h) and the two race codes into slot 85 and cell 1. Returns
// 1250 or 1251 when the target fields are already occupied; nothing is stamped after that.
std::optional<std::int32_t> stamp_markers(Run& run);

}  // namespace railscen
