#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/source_record.h"

namespace railscen::analysis {

// The records' layout, published once: where each field of a record stands (0: the first
// field after the keyword), and named accessors for what the tool reads of them. Nobody else
// counts fields.

namespace station_field {
inline constexpr std::size_t kPosition = 0;
inline constexpr std::size_t kCategory = 1;
inline constexpr std::size_t kLength = 2;
inline constexpr std::size_t kDwell = 12;  // seconds the train stands, 0 where it passes
inline constexpr std::size_t kHour = 13;
inline constexpr std::size_t kMinute = 14;
inline constexpr std::size_t kSecond = 15;
inline constexpr std::size_t kName = 16;
}  // namespace station_field

namespace clock_field {
inline constexpr std::size_t kHour = 0;
inline constexpr std::size_t kMinute = 1;
inline constexpr std::size_t kSecond = 2;
}  // namespace clock_field

namespace board_field {
inline constexpr std::size_t kPosition = 0;
inline constexpr std::size_t kLeftSpeeds = 1;  // three speeds, ranks A, B, C
inline constexpr std::size_t kLeftStripes = 4;
inline constexpr std::size_t kRightSpeeds = 5;
inline constexpr std::size_t kRightStripes = 8;
}  // namespace board_field

namespace slowdown_field {
inline constexpr std::size_t kPosition = 0;
inline constexpr std::size_t kSpeed = 1;
inline constexpr std::size_t kLength = 2;
}  // namespace slowdown_field

// The number in field i as the loader reads it, an empty field reading as 0; nullopt when the
// record ends before it or holds something else there.
std::optional<std::int64_t> field_value(const SourceRecord& r, std::size_t i);

// Seconds after midnight of hour, minute and second fields starting at `first`; nullopt when
// one of them is not a whole number.
std::optional<std::int64_t> time_of_day(const SourceRecord& r, std::size_t first);

// The clock record the train text sets, the last whose three fields are whole numbers; nullptr
// where there is none.
const SourceRecord* clock_record(const std::vector<SourceRecord>& records);

// The clock record's start: seconds after midnight.
std::optional<std::int64_t> clock_start(const SourceRecord& clock);

// A station's timed call, seconds after midnight; 0 where the station is untimed.
std::optional<std::int64_t> station_time(const SourceRecord& station);

// A station's dwell in seconds.
std::optional<std::int64_t> station_dwell(const SourceRecord& station);

// A station's name, Windows-1252 as written: the text after its sixteen numbers.
std::string station_name(const SourceRecord& station);

}  // namespace railscen::analysis
