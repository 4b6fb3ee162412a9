#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace railscen::analysis {

// The one rule for the times of a timetable: a time of day is an hour 0 to 23, a minute and a
// second 0 to 59; what lies outside is named, never wrapped into another time.
// Empty when the three fields make a time of day, else what is wrong, in words:
// "hour 99 is past 23; minute 99 is past 59".
std::string clock_fields_problem(std::int64_t hour, std::int64_t minute, std::int64_t second);

// A leg of the timetable runs forward in time. From one time of day (seconds after midnight)
// to the next: the seconds between them; a time earlier than the one before it lies past
// midnight when that makes the leg shorter than half a day (23:50 to 00:00:01 is 601 s).
// nullopt otherwise: a time before the one it follows (08:00 to 07:50), which is flagged.
std::optional<std::int64_t> leg_seconds(std::int64_t from, std::int64_t to);

// The time of day a leg of that many seconds reaches from a time of day: past midnight it
// starts again from 0:00:00, so leg_seconds reads the leg back when it is under half a day.
std::int64_t time_after(std::int64_t from, std::int64_t seconds);

}  // namespace railscen::analysis
