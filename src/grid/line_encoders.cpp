#include "grid/line_encoders.h"

#include <algorithm>
#include <cstdint>

#include "model/cell_index.h"

namespace railscen {

std::int32_t memo_montagna(Run& run, MountainState& state, std::int32_t inizio, std::int32_t fine,
                           std::int32_t tipo) {
    Cells& cells = *run.cells;
    bool spacers = false;
    if (tipo > 10) {
        tipo -= 10;
        spacers = true;
    }
    ++state.mountain_count;
    // A stretch that starts at most 150 m after the previous one ends is of kind 3.
    if (state.mountain_count > 1 && std::int64_t{inizio} - state.previous_end <= 150) tipo = 3;
    state.previous_end = fine;

    const std::int64_t first = cell_index::mountain_first(inizio);
    const std::int64_t last = cell_index::mountain_last(fine);
    // Only the cells inside the grid are written; spacers are still counted from the first
    // cell of the stretch as if every cell existed.
    const std::int64_t from = std::max<std::int64_t>(first, 0);
    const std::int64_t to = std::min<std::int64_t>(last, cells.upper_bound());
    for (std::int64_t i = from; i <= to; ++i) {
        cells[i].mountain = static_cast<std::uint8_t>(tipo);
        const bool fourth = (i - first + 1) % 4 == 0;
        if (spacers && fourth && cells[i].kind == kFree) cells[i].kind = kSpacer;
    }
    return tipo;
}

void memo_indicatori_v_max(Run& run, std::int32_t posizione, const SpeedBoard& b) {
    Cells& cells = *run.cells;
    const std::int64_t i = cell_index::speed_board(posizione);
    if (!cells.free_at(i)) {
        record_occupied(run, 21, i, posizione);
        return;
    }
    // Left speed / 5 in the hundreds, right speed / 5 in the units.
    auto pack = [](std::int32_t right, std::int32_t left) {
        const double sum = right / 5.0 + static_cast<double>(std::int64_t{left} * 20);
        const std::int64_t packed = round_even(sum);
        if (packed < INT16_MIN || packed > INT16_MAX) {
            throw LoadFailure("speed board speeds too large to pack");
        }
        return static_cast<std::int16_t>(packed);
    };
    TrackCell& cell = cells[i];
    cell.kind = kSpeedBoard;
    cell.param1 = pack(b.vad, b.vas);
    cell.param2 = pack(b.vbd, b.vbs);
    cell.param3 = pack(b.vcd, b.vcs);
    cell.param4 = static_cast<std::int16_t>(std::int64_t{b.strisces} * 10 + b.strisced);
    note_placed(run, i);
}

}  // namespace railscen
