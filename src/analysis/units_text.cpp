#include "analysis/units_text.h"

#include <cstddef>
#include <cstdio>

namespace railscen::analysis {

std::string clock_text(std::int64_t seconds) {
    const bool negative = seconds < 0;
    const auto s = static_cast<unsigned long long>(negative ? -seconds : seconds);
    char text[40];
    std::snprintf(text, sizeof text, "%s%llu:%02llu:%02llu", negative ? "-" : "", s / 3600,
                  s / 60 % 60, s % 60);
    return text;
}

std::string metres_text(std::int64_t metres) {
    std::string digits = std::to_string(metres < 0 ? -metres : metres);
    for (auto at = static_cast<std::ptrdiff_t>(digits.size()) - 3; at > 0; at -= 3) {
        digits.insert(static_cast<std::size_t>(at), ",");
    }
    return (metres < 0 ? "-" : "") + digits;
}

std::string metres_range_text(std::int64_t from, std::int64_t to) {
    if (from == to) return metres_text(from) + " m";
    return metres_text(from) + "-" + metres_text(to) + " m";
}

}  // namespace railscen::analysis
