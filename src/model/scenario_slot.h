#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace railscen {

// One record of the scenario table. Stations use every field; the fixed definitions in
// slots 81 to 86 use a few.
// Bytes of a slot in the scenario file before its text.
inline constexpr std::size_t kSlotFixedSize = 34;

struct ScenarioSlot {
    std::uint8_t category = 0;
    std::int32_t start = 0;
    std::int32_t finish = 0;
    std::int32_t position = 0;
    std::uint8_t flag = 0;
    std::string text;  // Windows-1252 bytes
    std::int16_t word1 = 0;
    std::int16_t word2 = 0;
    std::int16_t word3 = 0;
    std::int16_t word4 = 0;
    std::int16_t word5 = 0;
    std::uint8_t byte1 = 0;
    std::uint8_t byte2 = 0;
    std::uint8_t byte3 = 0;
    std::uint8_t byte4 = 0;
    std::int32_t time = 0;

    friend bool operator==(const ScenarioSlot&, const ScenarioSlot&) = default;
};

inline constexpr int kSlotCount = 87;

// Stations count up from slot 1, sign texts down from slot 80.
inline constexpr int kFirstStationSlot = 1;
inline constexpr int kFirstSignSlot = 80;
inline constexpr int kProgressiveTre = 81;
inline constexpr int kProgressiveDue = 82;
inline constexpr int kProgressiveUno = 83;
inline constexpr int kRouteSlot = 84;
inline constexpr int kLineSlot = 85;
inline constexpr int kTrainSlot = 86;

using Slots = std::array<ScenarioSlot, kSlotCount>;

// Every number and byte to 0, every text empty, index 0 to 86 in order.
inline void reset_slots(Slots& slots) {
    for (ScenarioSlot& slot : slots) slot = ScenarioSlot{};
}

}  // namespace railscen
