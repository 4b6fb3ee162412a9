#pragma once

#include <cstdint>
#include <string>

namespace railscen::analysis {

// The one way the tool writes metres and times, in messages, tables and the route sheet alike.

// A time of day or a span of time as "H:MM:SS" ("16:39:30", "0:03:00"); a negative one gets
// a minus sign.
std::string clock_text(std::int64_t seconds);

// Whole metres with thousands grouped: "12,350".
std::string metres_text(std::int64_t metres);

// A place or a stretch in metres: "12,350 m", "12,350-13,100 m".
std::string metres_range_text(std::int64_t from, std::int64_t to);

}  // namespace railscen::analysis
