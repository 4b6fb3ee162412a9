#include "grid/train_encoders.h"

#include "model/cell_index.h"

namespace railscen {
namespace {

// Packings are computed wide and keep their low 16 bits.
std::int16_t low16(std::int64_t v) {
    return static_cast<std::int16_t>(v);
}

}  // namespace

void memo_segnale(Run& run, const SignalRow& s) {
    Cells& cells = *run.cells;
    const std::int64_t c = cell_index::signal(s.posizione);
    if (!cells.free_at(c)) {
        record_occupied(run, 16, c, s.posizione);
        return;
    }
    TrackCell& cell = cells[c];
    const std::int64_t heads = std::int64_t{s.sx} * 3 + s.dx;
    cell.kind = kSignal;
    cell.param4 = low16(std::int64_t{s.rapp} * 10 + heads);
    cell.param1 = low16(std::int64_t{s.s1} * 10 + s.d1);
    cell.param2 = low16(std::int64_t{s.s2} * 10 + s.d2);
    cell.param3 = low16(std::int64_t{s.s3} * 10 + s.d3);

    // Only a type-2 left head carries its time; times 1 to 100 are raised to 101.
    std::int32_t tempo = s.tempo;
    if (tempo >= 1 && tempo <= 100) tempo = 101;
    cell.signal_time = s.sx == 2 ? static_cast<std::uint8_t>(tempo) : 0;
    note_placed(run, c);

    // The approach cells are not tested: their objects stay, earlier marks are overwritten.
    // Cells before the start of the grid are skipped.
    for (int b = 1; b <= 4; ++b) {
        const std::int64_t a = cell_index::signal_approach(c, b);
        if (cells.contains(a)) cells[a].approach = static_cast<std::uint8_t>(heads * 10 + b);
    }
}

void memo_rallentamento(Run& run, const SlowdownRow& r) {
    Cells& cells = *run.cells;
    const bool has_warning = r.x > 1500;
    const std::int64_t cw = cell_index::slowdown_warning(r.x);
    const std::int64_t cs = cell_index::slowdown_start(r.x);
    const std::int64_t ce = cell_index::slowdown_end(r.x, r.l);
    const std::int64_t m = cell_index::slowdown_marker_base(r.x);
    // Without a warning cell there are no markers, whatever the row asks.
    const bool markers = has_warning && r.f_ta != 0;

    if (has_warning && !cells.free_at(cw)) {
        record_occupied(run, 17, cw, r.x);
        return;
    }
    if (!cells.free_at(cs)) {
        record_occupied(run, 18, cs, r.x);
        return;
    }
    if (!cells.free_at(ce)) {
        record_occupied(run, 19, ce, r.x);
        return;
    }

    const std::int16_t v = low16(r.v);
    const std::int16_t f_tt = low16(r.f_tt);
    const std::int16_t d_v = low16(r.d_v);
    TrackCell& end = cells[ce];
    end.kind = kSlowdownEnd;
    if (r.d_v != 0) end.param2 = d_v;
    TrackCell& start = cells[cs];
    start.kind = kSlowdownStart;
    if (r.d_v != 0) start.param2 = d_v;
    if (has_warning) {
        TrackCell& warning = cells[cw];
        warning.kind = kSlowdownWarning;
        if (r.d_v != 0) warning.param2 = d_v;
        warning.param1 = v;
    }
    start.param1 = v;
    end.param1 = v;
    start.param3 = f_tt;
    end.param3 = f_tt;
    for (const std::int64_t placed : {ce, cs}) note_placed(run, placed);
    if (has_warning) note_placed(run, cw);

    if (!markers) return;
    for (int j = 0; j < 4; ++j) {
        if (!cells.free_at(m - j)) {
            record_occupied(run, 20, m - j, r.x);
            return;
        }
    }
    for (int j = 0; j < 4; ++j) {
        TrackCell& marker = cells[m - j];
        marker.kind = kSlowdownMarker;
        marker.param1 = static_cast<std::int16_t>(j + 1);
        if (r.d_v != 0) marker.param2 = static_cast<std::int16_t>(j + 1);
        note_placed(run, m - j);
    }
}

}  // namespace railscen
