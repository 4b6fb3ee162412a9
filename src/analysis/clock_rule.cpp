#include "analysis/clock_rule.h"

namespace railscen::analysis {

std::string clock_fields_problem(std::int64_t hour, std::int64_t minute, std::int64_t second) {
    std::string out;
    auto name = [&](const char* what, std::int64_t value, std::int64_t last) {
        if (value >= 0 && value <= last) return;
        if (!out.empty()) out += "; ";
        out += std::string(what) + " " + std::to_string(value) +
               (value < 0 ? " is negative" : " is past " + std::to_string(last));
    };
    name("hour", hour, 23);
    name("minute", minute, 59);
    name("second", second, 59);
    return out;
}

std::int64_t time_after(std::int64_t from, std::int64_t seconds) {
    constexpr std::int64_t kDay = 24 * 3600;
    return ((from + seconds) % kDay + kDay) % kDay;
}

std::optional<std::int64_t> leg_seconds(std::int64_t from, std::int64_t to) {
    constexpr std::int64_t kDay = 24 * 3600;
    if (to >= from) return to - from;
    const std::int64_t past_midnight = to - from + kDay;
    if (past_midnight < kDay / 2) return past_midnight;
    return std::nullopt;
}

}  // namespace railscen::analysis
