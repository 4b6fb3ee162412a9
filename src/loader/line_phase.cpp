#include <algorithm>
#include <cmath>

#include "grid/line_encoders.h"
#include "grid/progressive.h"
#include "loader/loading.h"
#include "model/cell_index.h"
#include "source_text/keywords.h"

namespace railscen {
namespace {

constexpr std::int32_t kMaxRouteLength = 1000000;
constexpr std::int32_t kMinRouteLength = -6974;  // round_even((length + 7000) / 50) >= 1
constexpr std::int64_t kMaxPlanCursor = 1000000;
constexpr std::size_t kMaxTextLength = 32767;  // the scenario file stores lengths as Integer

}  // namespace

Diagnostic& Loading::record(std::int32_t code, const Field& at) {
    Diagnostic& d = record_code(run_, code);
    d.at = at;
    return d;
}

Diagnostic& Loading::record(std::int32_t code, std::int32_t position, const Field& at) {
    Diagnostic& d = record_code(run_, code, position);
    d.at = at;
    return d;
}

void Loading::locate_encoder_code(std::int32_t position, const Field& at, std::size_t before) {
    if (run_.diagnostics.size() == before) {
        // Left by the line phase: this record meets it only because loading stopped there.
        record(run_.error_code, position, at).consequence = true;
        return;
    }
    run_.error_position = position;
    run_.diagnostics.back().at = at;
}

Cells& Loading::cells() {
    if (!run_.cells) throw LoadFailure("no \"lunghezza percorso\" record before the first object");
    return *run_.cells;
}

bool Loading::beyond_grid(std::int32_t position, int margin) {
    return cells().upper_bound() < (static_cast<double>(position) + margin) / 50.0;
}

Loading::Next Loading::refuse(std::int32_t position, const Field& at) {
    record(15, position, at);
    return Next::kClosing;
}

std::string Loading::text_field(const char* what) {
    std::string text = reader_->read_text();
    if (text.size() > kMaxTextLength) throw LoadFailure(std::string(what) + " too long");
    return text;
}

void Loading::start_reading(std::string_view text) {
    reader_.emplace(text);
    // A record per line, and for the line text room for the train's too (a train text is
    // usually a fraction of its line's), so that the records are moved at most once.
    std::size_t lines = 1;
    for (auto at = text.find('\n'); at != std::string_view::npos; at = text.find('\n', at + 1)) {
        ++lines;
    }
    const std::size_t room = file_ == SourceFile::kLine ? lines + lines / 2 : lines;
    if (run_.records.capacity() < run_.records.size() + lines) {
        run_.records.reserve(run_.records.size() + room);
    }
}

bool Loading::line_phase() {
    run_.slots[kLineSlot].text = run_.line_name;
    run_.slots[kTrainSlot].text = run_.train_name;
    file_ = SourceFile::kLine;
    try {
        run_.texts.line = source_.line_text();
    } catch (const FileError& e) {
        throw LoadFailure(e.what());
    }
    if (!run_.texts.line) {
        record(101, Field{SourceFile::kLine, 0, 0});
        return false;
    }
    start_reading(*run_.texts.line);

    if (!seek_general_section()) return false;
    if (!general_section()) return false;

    progressive_ordina(run_.slots);
    mountains_ = MountainState{};
    board_cursor_ = kFirstSignSlot;
    gradient_cursor_ = 0;
    plan_cursor_ = 2;
    if (run_.with_plan != 0 && run_.plan.exists()) run_.plan.start();

    if (!object_part()) return false;
    close_line_phase();
    return true;
}

bool Loading::seek_general_section() {
    for (;;) {
        const std::string field = reader_->read_text();
        if (reader_->at_end()) {
            source_.delete_line();
            record(102, here());
            return false;
        }
        if (opens_general_section(field)) return true;
    }
}

bool Loading::general_section() {
    for (;;) {
        stop_record();
        if (reader_->at_end()) return true;
        std::string kw = reader_->read_text();
        if (reader_->at_end()) return true;
        for (int i = 0; i < 10 && is_comment_field(kw); ++i) kw = reader_->read_text();
        const Field keyword = here();
        const GeneralMatches matches = general_matches(kw);
        begin_record(kw, matches);

        for (const GeneralRecord record_kind : matches) {
            ScenarioSlot& line = run_.slots[kLineSlot];
            ScenarioSlot& train = run_.slots[kTrainSlot];
            switch (record_kind) {
                case GeneralRecord::kLength: {
                    const std::int32_t length = reader_->read_long();
                    run_.slots[kRouteSlot].finish = length;
                    if (length > kMaxRouteLength) {
                        source_.delete_line();
                        record(1, here());
                        return false;
                    }
                    // A negative length still makes a grid as long as cells 0 and 1 remain
                    // (cell 1 holds the markers).
                    if (length < kMinRouteLength) throw LoadFailure("line length below -6974 m");
                    run_.cells = Cells::for_route(length);
                    if (run_.with_plan != 0) run_.plan = Plan::for_route(length);
                    break;
                }
                case GeneralRecord::kProgressiveTre:
                case GeneralRecord::kProgressiveDue:
                case GeneralRecord::kProgressiveUno: {
                    const int slot = record_kind == GeneralRecord::kProgressiveTre ? kProgressiveTre
                                     : record_kind == GeneralRecord::kProgressiveDue
                                         ? kProgressiveDue
                                         : kProgressiveUno;
                    run_.slots[slot].start = reader_->read_long();
                    run_.slots[slot].finish = reader_->read_long();
                    run_.slots[slot].position = reader_->read_long();
                    break;
                }
                case GeneralRecord::kBackgroundUno:
                    line.start = reader_->read_long();
                    break;
                case GeneralRecord::kBackgroundDue:
                    line.position = reader_->read_long();
                    break;
                case GeneralRecord::kBackgroundTre:
                    line.finish = reader_->read_long();
                    break;
                case GeneralRecord::kSignalRepetition: {
                    train.start = reader_->read_long();
                    const Field start_field = here();
                    train.finish = reader_->read_long();
                    if (train.start % 50 != 0) {
                        source_.delete_line();
                        record(3, start_field);
                        return false;
                    }
                    if (train.finish % 50 != 0) {
                        source_.delete_line();
                        record(4, here());
                        return false;
                    }
                    const std::optional<int> count = repetition_code_count(kw);
                    if (!count) {
                        source_.delete_line();
                        record(5, keyword);
                        return false;
                    }
                    train.position = *count;
                    if (train.finish == 0) train.position = 0;
                    break;
                }
            }
        }
        if (ends_general_section(kw)) return true;
    }
}

bool Loading::next_keyword(std::string& keyword, int passes) {
    stop_record();
    if (reader_->at_end()) return false;
    keyword = reader_->read_text();
    if (reader_->at_end()) return false;
    for (int i = 0; i < passes && is_comment_field(keyword); ++i) {
        keyword = reader_->read_text();
        if (reader_->at_end()) return false;
    }
    return true;
}

bool Loading::object_part() {
    std::string kw;
    while (next_keyword(kw, 2)) {
        const ObjectMatches matches = object_matches(kw, run_.with_plan != 0);
        begin_record(kw, matches);
        for (const ObjectRecord record_kind : matches) {
            Next next = Next::kGoOn;
            switch (record_kind) {
                case ObjectRecord::kGradient:
                    next = gradient_row();
                    break;
                case ObjectRecord::kCurve:
                    next = curve_row(kw);
                    break;
                case ObjectRecord::kMountain:
                    next = mountain_row();
                    break;
                case ObjectRecord::kSpeedBoard:
                    next = speed_board_row();
                    break;
                case ObjectRecord::kSignBoard:
                    next = sign_board_row();
                    break;
            }
            // A refusal by the grid rule goes on to the closing steps like the end of the file.
            if (next == Next::kClosing) return true;
            if (next == Next::kReturn) return false;
        }
    }
    return true;  // the end of the text
}

Loading::Next Loading::gradient_row() {
    const std::int32_t p = reader_->read_long();
    const Field at = here();
    const std::int32_t g = reader_->read_long();
    if (beyond_grid(p, 100)) return refuse(p, at);
    Cells& grid = cells();
    const std::int64_t n = cell_index::profile_break(p);
    if (n > 0) {
        // Runs at least once, even when the cursor already stands at or beyond n.
        do {
            if (grid.contains(gradient_cursor_)) {
                grid[gradient_cursor_].gradient =
                    static_cast<std::uint8_t>(std::int64_t{current_gradient_} + 100);
            }
            ++gradient_cursor_;
        } while (gradient_cursor_ < n);
    }
    current_gradient_ = g;
    return Next::kGoOn;
}

Loading::Next Loading::curve_row(std::string_view keyword) {
    const Field keyword_at = here();
    const std::int32_t s = reader_->read_long();
    const Field at = here();
    const std::int32_t len = reader_->read_long();
    if (beyond_grid(s, 100)) return refuse(s, at);
    const std::optional<double> k = curve_curvature(keyword);
    if (!k) {
        source_.delete_line();
        record(103, keyword_at);
        return Next::kReturn;
    }
    if (!run_.plan.exists()) throw LoadFailure("no plan for a curve");
    // Straight on up to the curve's start, then the curve. Neither run computes a point
    // beyond the plan's last row; a run that computes row 1000000 ends the phase.
    auto run = [&](std::int64_t to, std::optional<double> turn) {
        const std::int64_t stop = std::min({to, run_.plan.last_row(), kMaxPlanCursor});
        if (plan_cursor_ > stop) return true;
        if (turn) {
            run_.plan.extend_curve(stop, *turn);
        } else {
            run_.plan.extend_straight(stop);
        }
        plan_cursor_ = stop + 1;
        if (plan_cursor_ <= kMaxPlanCursor) return true;
        source_.delete_line();
        record(103, keyword_at);
        return false;
    };
    if (!run(s, std::nullopt) || !run(std::int64_t{s} + len, k)) return Next::kReturn;
    return Next::kGoOn;
}

Loading::Next Loading::mountain_row() {
    const std::int32_t inizio = reader_->read_long();
    const Field at = here();
    const std::int32_t fine = reader_->read_long();
    const std::int32_t tipo = reader_->read_long();
    if (beyond_grid(inizio, 100)) return refuse(inizio, at);
    cells();
    memo_montagna(run_, mountains_, inizio, fine, tipo);
    return Next::kGoOn;
}

Loading::Next Loading::speed_board_row() {
    const std::int32_t posizione = reader_->read_long();
    const Field at = here();
    SpeedBoard board;
    for (std::int32_t* v : {&board.vas, &board.vbs, &board.vcs, &board.strisces, &board.vad,
                            &board.vbd, &board.vcd, &board.strisced}) {
        *v = reader_->read_long();
    }
    if (beyond_grid(posizione, 100) || cell_index::speed_board(posizione) < 0) {
        return refuse(posizione, at);
    }
    const std::size_t before = run_.diagnostics.size();
    memo_indicatori_v_max(run_, posizione, board);
    if (run_.error_code > 0) {
        source_.delete_line();
        locate_encoder_code(posizione, at, before);
        return Next::kReturn;
    }
    return Next::kGoOn;
}

Loading::Next Loading::sign_board_row() {
    const std::int32_t p = reader_->read_long();
    const Field at = here();
    std::string text = text_field("sign board text");
    if (beyond_grid(p, 100) || cell_index::sign_board(p) < 0) return refuse(p, at);
    Cells& grid = cells();
    const std::int64_t i = cell_index::sign_board(p);
    if (!grid.free_at(i)) {
        source_.delete_line();
        describe_occupant(run_, record(6, p, at), i);
        return Next::kReturn;
    }
    // Sign texts take slots 80 down to 0; the 82nd board has no slot left.
    if (board_cursor_ < 0) throw LoadFailure("more than 81 sign boards");
    grid[i].kind = kSignBoard;
    grid[i].param1 = static_cast<std::int16_t>(board_cursor_);
    note_placed(run_, i);
    run_.slots[static_cast<std::size_t>(board_cursor_)].text = std::move(text);
    --board_cursor_;
    return Next::kGoOn;
}

void Loading::close_line_phase() {
    source_.delete_line();
    Cells& grid = cells();
    // The last three cells keep gradient 0.
    do {
        if (grid.contains(gradient_cursor_)) {
            grid[gradient_cursor_].gradient =
                static_cast<std::uint8_t>(std::int64_t{current_gradient_} + 100);
        }
        ++gradient_cursor_;
    } while (gradient_cursor_ < grid.upper_bound() - 2);

    if (run_.with_plan != 0 && run_.plan.exists()) {
        const std::int64_t last_computed = run_.plan.last_row() - 2;
        if (plan_cursor_ <= last_computed) {
            run_.plan.extend_straight(last_computed);
            plan_cursor_ = last_computed + 1;
        }
    }
}

}  // namespace railscen
