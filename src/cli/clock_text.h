#pragma once

#include <cstdint>
#include <string>

namespace railscen::cli {

// A time of day or a span of time as "H:MM:SS" ("16:39:30", "0:03:00"); a negative one gets
// a minus sign.
std::string clock_text(std::int64_t seconds);

}  // namespace railscen::cli
