#pragma once

#include <cstdint>

#include "model/run.h"

namespace railscen {

// What the mountain encoder remembers between records: only the previous stretch's end is
// ever read again.
struct MountainState {
    std::int32_t mountain_count = 0;
    std::int32_t previous_end = 0;
};

// Writes a mountain stretch into the mountain layer; a kind above 10 also marks every fourth
// cell of the stretch as a spacer. Returns the effective kind. Never sets a code.
std::int32_t memo_montagna(Run& run, MountainState& state, std::int32_t inizio, std::int32_t fine,
                           std::int32_t tipo);

// Speeds and stripe counts of one maximum-speed board, left side then right side.
struct SpeedBoard {
    std::int32_t vas = 0, vbs = 0, vcs = 0, strisces = 0;
    std::int32_t vad = 0, vbd = 0, vcd = 0, strisced = 0;
};

// Places one speed board; an occupied cell gives code 21 and writes nothing.
void memo_indicatori_v_max(Run& run, std::int32_t posizione, const SpeedBoard& board);

}  // namespace railscen
