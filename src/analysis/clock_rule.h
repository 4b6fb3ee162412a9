#pragma once

#include <cstdint>
#include <string>

namespace railscen::analysis {

// The one rule for the times of a timetable: a time of day is an hour 0 to 23, a minute and a
// second 0 to 59; what lies outside is named, never wrapped into another time.
// Empty when the three fields make a time of day, else what is wrong, in words:
// "hour 99 is past 23; minute 99 is past 59".
std::string clock_fields_problem(std::int64_t hour, std::int64_t minute, std::int64_t second);

}  // namespace railscen::analysis
