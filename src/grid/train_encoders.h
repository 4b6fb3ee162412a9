#pragma once

#include <cstdint>

#include "model/run.h"

namespace railscen {

// The eleven values of a signal row, in row order.
struct SignalRow {
    std::int32_t posizione = 0;
    std::int32_t sx = 0, s1 = 0, s2 = 0, s3 = 0;
    std::int32_t rapp = 0;
    std::int32_t dx = 0, d1 = 0, d2 = 0, d3 = 0;
    std::int32_t tempo = 0;
};

// The six values of a slowdown row, in row order.
struct SlowdownRow {
    std::int32_t x = 0;
    std::int32_t v = 0;
    std::int32_t l = 0;
    std::int32_t f_tt = 0;
    std::int32_t f_ta = 0;
    std::int32_t d_v = 0;
};

// Places a signal and marks the four cells of its approach. An occupied signal cell gives
// code 16 and writes nothing.
void memo_segnale(Run& run, const SignalRow& row);

// Places a slowdown's end, start and warning cells and, on request, four markers before the
// warning point. Codes 17 to 19 write nothing; code 20 leaves end, start and warning written.
void memo_rallentamento(Run& run, const SlowdownRow& row);

}  // namespace railscen
