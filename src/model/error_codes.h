#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace railscen {

// The one table of codes a compile can record or end with. Every message that prints a code
// draws its words from here.
struct ErrorCodeInfo {
    std::int32_t code;
    std::string_view meaning;  // plain words, lower case, no full stop
    bool has_position;         // error_position belongs to the code
    std::string_view raised_by;
    std::string_view remedy;
};

std::span<const ErrorCodeInfo> error_code_table();

// nullptr for a code that is not in the table.
const ErrorCodeInfo* find_error_code(std::int32_t code);

inline constexpr std::int32_t kFatalMarkers = 1250;
inline constexpr std::int32_t kFatalRaceCodes = 1251;

}  // namespace railscen
