#pragma once

#include <cstdint>
#include <string>

namespace railscen::bench {

// A valid line and train description of any length from 10 km to 1,000 km, made by laying the
// stored scenario's line end to end: curves, gradients, mountains, boards, signals, speed and
// adhesion rows and cab-code rows repeat every 105 km; stations and sign texts, which take
// scenario slots, come from the first stretch only.
struct LongScenario {
    std::string line_text;  // CR LF lines, as the pack writes them
    std::string train_text;
};

inline constexpr std::int32_t kMinLongLength = 10000;
inline constexpr std::int32_t kMaxLongLength = 1000000;

// Throws std::invalid_argument for a length outside 10,000 to 1,000,000 m.
LongScenario make_long_scenario(std::int32_t length);

}  // namespace railscen::bench
