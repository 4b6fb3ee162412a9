#include "grid/post_pass.h"

#include <cstdint>
#include <optional>
#include <string>

namespace railscen {
namespace {

constexpr std::int16_t kDropValue = 180;

class Pass {
  public:
    explicit Pass(Run& run) : run_(run), cells_(*run.cells), u_(cells_.upper_bound()) {}

    void run() {
        for (std::int64_t c = 1; c <= u_ - 2; ++c) {
            if (cells_[c].kind == kSlowdownWarning) {
                signals_before_warning(c);
            } else if (cells_[c].kind == kSlowdownStart) {
                before_start(c);
                c_start_ = c;
                const std::optional<std::int64_t> e = inside_slowdown(c);
                if (e) after_slowdown(*e);
            }
        }
    }

  private:
    // Candidate cells outside 1..U count as taken.
    bool free(std::int64_t i) const { return i >= 1 && cells_.free_at(i); }
    bool is_drop(std::int64_t i) const { return cells_.contains(i) && cells_[i].kind == kCodeDrop; }

    void place(std::int64_t i) {
        cells_[i].kind = kCodeDrop;
        cells_[i].param1 = kDropValue;
    }

    // No description record raises these codes; the diagnostic names the train description
    // as a whole and points at the record whose object the pass was working around.
    void record(std::int32_t code, std::int64_t cell, std::int64_t object, std::string note) {
        Diagnostic& d = record_code(run_, code, static_cast<std::int32_t>(cell * 50));
        d.cell = cell;
        d.at = SourceLocation{SourceFile::kTrain, 0, 0};
        if (const std::optional<SourceLocation> placer = placed_by(run_, object)) {
            d.related.push_back({*placer, std::move(note)});
        }
    }

    void lower(std::int64_t i) {
        const TaggedValue lowered = minimo(kDropValue, cells_[i].param1);
        cells_[i].param1 = static_cast<std::int16_t>(numeric(lowered));
    }

    // Rule A: every signal among the 20 cells below a warning point, down to cell 3.
    void signals_before_warning(std::int64_t c) {
        for (std::int64_t k = 1; k <= 20; ++k) {
            const std::int64_t d = c - k;
            if (d < 3) return;
            if (cells_[d].kind != kSignal) continue;
            if (free(d - 1)) {
                place(d - 1);
            } else if (free(d - 2)) {
                place(d - 2);
            } else if (is_drop(d - 1)) {
                lower(d - 1);
            } else if (is_drop(d - 2)) {
                lower(d - 2);
            } else {
                record(11, d, d,
                       "the signal in cell " + std::to_string(d) + ", with no free cell before it");
            }
        }
    }

    // Rule B: a point in each of three windows before the start.
    void before_start(std::int64_t c) {
        struct Window {
            std::int64_t tried_above, first;
        };
        for (const Window w : {Window{7, 5}, Window{13, 11}, Window{20, 18}}) {
            if (c <= w.tried_above) continue;
            bool placed = false;
            for (std::int64_t i = c - w.first; i >= c - w.first - 2 && !placed; --i) {
                if (free(i)) {
                    place(i);
                    placed = true;
                }
            }
            if (!placed) record(12, c, c, "the slowdown that starts in cell " + std::to_string(c));
        }
    }

    // Rule C: a point every 8 cells inside a slowdown slower than 110. Returns the end cell
    // (kind 2) that the walk reached; a slowdown of 110 or more is walked without points.
    // The walk stops at the last cell when it meets no end.
    std::optional<std::int64_t> inside_slowdown(std::int64_t c) {
        const bool slow = cells_[c].param1 < 110;
        std::int64_t m = 0;
        for (std::int64_t k = c + 1; k <= u_; ++k) {
            ++m;
            if (slow && m == 8) {
                if (free(k)) {
                    place(k);
                    m = 0;
                } else if (free(k - 1)) {
                    place(k - 1);
                    m = 1;
                } else if (free(k + 1)) {
                    place(k + 1);
                    m = -1;
                } else {
                    record(13, k, c_start_,
                           "the slowdown that starts in cell " + std::to_string(c_start_));
                }
            }
            if (cells_[k].kind == kSlowdownEnd) return k;
        }
        return std::nullopt;
    }

    // Rule D: a point in front of the first signal within 12 cells of the end.
    void after_slowdown(std::int64_t e) {
        for (std::int64_t q = e; q <= e + 12 && q <= u_; ++q) {
            if (cells_[q].kind != kSignal) continue;
            if (free(q - 1)) {
                place(q - 1);
            } else if (free(q - 2)) {
                place(q - 2);
            } else {
                record(13, e, q,
                       "the signal in cell " + std::to_string(q) + ", after the slowdown");
            }
            return;
        }
    }

    Run& run_;
    Cells& cells_;
    const std::int64_t u_;
    std::int64_t c_start_ = 0;  // the slowdown start the walk of rule C began at
};

}  // namespace

void post_process_grid(Run& run) {
    Pass(run).run();
}

}  // namespace railscen
