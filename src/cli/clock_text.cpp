#include "cli/clock_text.h"

#include <cstdio>

namespace railscen::cli {

std::string clock_text(std::int64_t seconds) {
    const bool negative = seconds < 0;
    const auto s = static_cast<unsigned long long>(negative ? -seconds : seconds);
    char text[40];
    std::snprintf(text, sizeof text, "%s%llu:%02llu:%02llu", negative ? "-" : "", s / 3600,
                  s / 60 % 60, s % 60);
    return text;
}

}  // namespace railscen::cli
