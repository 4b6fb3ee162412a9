// What the route sheet draws: the objects of the grid and the records the loader read, the
// step profiles, and how much of the scenario was loaded before a code stopped the loader.

#include <algorithm>
#include <cmath>

#include "analysis/binary_views.h"
#include "analysis/grid_view.h"
#include "analysis/sheet_facts.h"
#include "analysis/speed_limits.h"
#include "analysis/units_text.h"
#include "model/cell_index.h"
#include "model/text_encoding.h"
#include "output/binary_decode.h"
#include "source_text/keywords.h"

namespace railscen::analysis {
namespace {

std::string kmh(int a, int b, int c) {
    return std::to_string(a) + "/" + std::to_string(b) + "/" + std::to_string(c);
}

// Author's text for a label: UTF-8 with control bytes as visible escapes (XML may not hold
// them), runs of blanks as one (as the browser shows them).
std::string display_text(const std::string& bytes) {
    const std::string utf8 = terminal_text(bytes);
    std::string out;
    for (const char c : utf8) {
        const bool blank = c == ' ' || c == '\t';
        if (blank && (out.empty() || out.back() == ' ')) continue;
        out += blank ? ' ' : c;
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

std::optional<std::int64_t> field_number(const SourceRecord& r, std::size_t i) {
    if (i >= r.fields.size()) return std::nullopt;
    return r.fields[i].number;
}

// The codes recorded after the loader read both texts to their end.
bool raised_after_loading(std::int32_t code) {
    return code == 2 || code == 11 || code == 12 || code == 13 || code == 1250 || code == 1251;
}

class FactFinder {
  public:
    explicit FactFinder(const Scene& scene) : s_(scene) {}

    SheetFacts find() {
        find_load_state();
        stations();
        cell_objects();
        mountains();
        curves();
        code_records();
        std::stable_sort(f_.objects.begin(), f_.objects.end(),
                         [](const SheetObject& a, const SheetObject& b) {
                             if (a.lane != b.lane) return a.lane < b.lane;
                             return a.from < b.from;
                         });
        profiles();
        return std::move(f_);
    }

  private:
    // Records the loader finished: all of them, or all but the one it stopped at.
    std::size_t finished_records() const {
        if (f_.load.whole || s_.records.empty()) return s_.records.size();
        return s_.records.size() - 1;
    }

    // An object's metre: the position its record gives, for the objects that stand where
    // their record says; by its cell otherwise.
    std::int64_t metre_of(std::size_t cell) const {
        return placed_metre(grid_view(s_), static_cast<std::int64_t>(cell));
    }

    void find_load_state() {
        LoadState& load = f_.load;
        for (const Diagnostic& d : s_.diagnostics) {
            if (d.severity == Severity::kError && d.code != 0) {
                load.code = &d;
                break;
            }
        }
        if (load.code == nullptr) {
            // Compiled files with a report: the code is known, what was loaded is not.
            load.from_files = !s_.from_texts;
            if (s_.code) {
                load.code_number = *s_.code;
                if (s_.position) load.mark = *s_.position;
            }
            return;
        }
        const Diagnostic& d = *load.code;
        load.code_number = d.code;
        if (d.position) load.mark = *d.position;
        if (d.at && d.at->line > 0) {
            load.where = s_.names.of(d.at->file) + ":" + std::to_string(d.at->line);
        }
        if (raised_after_loading(d.code)) return;
        load.whole = false;

        // The loader stopped at its last record; a layer holds values only up to the row
        // before the last one it read, since a row fills the cells before its own position.
        const std::size_t done = finished_records();
        const bool train_started =
            !s_.records.empty() && s_.records.back().file == SourceFile::kTrain;
        std::int64_t gradient = 0, speed = 0, adhesion = 0, line_last = 0, train_last = 0;
        for (std::size_t i = 0; i < done; ++i) {
            const SourceRecord& r = s_.records[i];
            const std::optional<std::int64_t> p = field_number(r, 0);
            if (!p) continue;
            const std::int64_t filled = cell_index::profile_break(*p) * 50;
            if (r.is(RecordKind::kGradient)) gradient = std::max(gradient, filled);
            if (r.is(RecordKind::kSpeedLimit)) speed = std::max(speed, filled);
            if (r.is(RecordKind::kAdhesion)) adhesion = std::max(adhesion, filled);
            if (r.file == SourceFile::kLine && !r.is(RecordKind::kLength)) {
                line_last = std::max(line_last, *p);
            }
            if (r.file == SourceFile::kTrain) train_last = std::max(train_last, *p);
        }
        if (!load.mark && !s_.records.empty()) load.mark = field_number(s_.records.back(), 0);
        if (train_started) {
            load.train_to = load.mark.value_or(train_last);
            load.speed_to = speed;
            load.adhesion_to = adhesion;
        } else {
            load.line_to = load.mark.value_or(line_last);
            load.gradient_to = gradient;
            load.train_to = load.speed_to = load.adhesion_to = 0;
        }
    }

    void add(Lane lane, std::int64_t from, std::int64_t to, FactKind kind, std::string label,
             std::string title, int value = kNoValue) {
        f_.objects.push_back({lane, from, to, kind, std::move(label), std::move(title), value});
    }

    void stations() {
        for (const std::size_t i : station_slots(s_.slots)) {
            const ScenarioSlot& st = s_.slots[i];
            const std::string name = display_text(st.text);
            std::string title =
                "station " + name + " at " + metres_range_text(st.position, st.position);
            if (st.finish > st.start) title += ", zone " + metres_range_text(st.start, st.finish);
            if (st.time > 0) {
                char clock[16];
                std::snprintf(clock, sizeof clock, "%02d:%02d", st.time / 3600 % 100,
                              st.time / 60 % 60);
                title += std::string(", timed ") + clock;
            }
            add(Lane::kStations, st.position, st.position, FactKind::kStation, name, title);
        }
    }

    void cell_objects() {
        const auto& cells = s_.cells;
        for (std::size_t i = 0; i < cells.size(); ++i) {
            const TrackCell& c = cells[i];
            const std::int64_t m = metre_of(i);
            const std::string at = " at " + metres_range_text(m, m);
            switch (c.kind) {
                case kSignal: {
                    const SignalAspects a = decode_signal(c);
                    add(Lane::kSignals, m, m, FactKind::kSignal, "",
                        "signal" + at + ", left head type " + std::to_string(a.left_head) +
                            (a.right_head != 0 ? ", right head type " + std::to_string(a.right_head)
                                               : std::string(", no right head")));
                    break;
                }
                case kSpeedBoard: {
                    const BoardSpeeds b = decode_speed_board(c);
                    const std::string left = kmh(b.left[0], b.left[1], b.left[2]);
                    const std::string right = kmh(b.right[0], b.right[1], b.right[2]);
                    const bool has_left = b.left[0] != 0 || b.left[1] != 0 || b.left[2] != 0;
                    const bool has_right = b.right[0] != 0 || b.right[1] != 0 || b.right[2] != 0;
                    std::string title = "speed board" + at + ":";
                    if (has_left) title += " " + left + " km/h left";
                    if (has_left && has_right) title += ",";
                    if (has_right) title += " " + right + " km/h right";
                    add(Lane::kSpeedBoards, m, m, FactKind::kSpeedBoard, has_left ? left : right,
                        title, has_left ? b.left[0] : b.right[0]);
                    break;
                }
                case kSignBoard: {
                    if (c.param1 < 0 || c.param1 >= kSlotCount) break;
                    const std::string text =
                        display_text(s_.slots[static_cast<std::size_t>(c.param1)].text);
                    add(Lane::kSignBoards, m, m, FactKind::kSignBoard, text,
                        "sign board" + at + ": " + text);
                    break;
                }
                case kSlowdownStart:
                    slowdown(i, m);
                    break;
                case kSlowdownWarning:
                    add(Lane::kSlowdowns, m, m, FactKind::kSlowdownWarning, "",
                        "slowdown warning point" + at + ", " + std::to_string(c.param1) +
                            " km/h ahead");
                    break;
                case kCodeDrop:
                case kCodeDropNoValue: {
                    const bool from_row =
                        placing_record(grid_view(s_), static_cast<std::int64_t>(i)) != nullptr;
                    std::string title = "cab-code drop point" + at;
                    if (c.kind == kCodeDrop) title += ", code " + std::to_string(c.param1);
                    if (c.kind == kCodeDropNoValue) title += ", no code value";
                    if (s_.from_texts) {
                        title += from_row ? " (code row)" : " (added by the compiler)";
                    }
                    add(Lane::kCabCodes, m, m, FactKind::kCodeDrop,
                        c.kind == kCodeDrop ? std::to_string(c.param1) : "", title);
                    break;
                }
                default:
                    break;
            }
        }
    }

    // A slowdown from its start cell to its end cell, with the record's own figures when known.
    void slowdown(std::size_t start, std::int64_t m) {
        const TrackCell& c = s_.cells[start];
        const std::int64_t to = slowdown_end_metre(grid_view(s_), static_cast<std::int64_t>(start));
        add(Lane::kSlowdowns, m, to, FactKind::kSlowdown, std::to_string(c.param1),
            "slowdown " + std::to_string(c.param1) + " km/h over " + metres_range_text(m, to),
            c.param1);
    }

    void mountains() {
        const auto& cells = s_.cells;
        for (std::size_t i = 0; i < cells.size();) {
            const std::uint8_t kind = cells[i].mountain;
            std::size_t end = i + 1;
            while (end < cells.size() && cells[end].mountain == kind) ++end;
            if (kind != 0) {
                const auto from = static_cast<std::int64_t>(i) * 50;
                const auto to = static_cast<std::int64_t>(end) * 50;
                add(Lane::kMountains, from, to, FactKind::kMountain,
                    "class " + std::to_string(kind),
                    "mountain or tunnel stretch, class " + std::to_string(kind) + ", " +
                        metres_range_text(from, to));
            }
            i = end;
        }
    }

    void curves() {
        static constexpr double kCurvature[] = {0.0001, 0.0002, 0.0004, 0.001, 0.002, 0.003};
        const std::size_t done = finished_records();
        for (std::size_t i = 0; i < done; ++i) {
            const SourceRecord& r = s_.records[i];
            if (!r.is(RecordKind::kCurve)) continue;
            const std::optional<double> k = curve_curvature(r.keyword.text);
            const std::optional<std::int64_t> start = field_number(r, 0);
            const std::optional<std::int64_t> length = field_number(r, 1);
            if (!k || !start || !length) continue;
            int cls = 1;
            for (int c = 0; c < 6; ++c) {
                if (std::fabs(std::fabs(*k) - kCurvature[c]) < 1e-9) cls = c + 1;
            }
            const bool left = *k < 0;
            const auto radius = std::lround(1 / std::fabs(*k));
            add(Lane::kCurves, *start, *start + std::max<std::int64_t>(*length, 0),
                left ? FactKind::kLeftCurve : FactKind::kRightCurve,
                (left ? "L" : "R") + std::to_string(cls),
                "curve class " + std::to_string(cls) + (left ? " to the left" : " to the right") +
                    " (radius " + std::to_string(radius) + " m), " +
                    metres_range_text(*start, *start + *length));
        }
    }

    void code_records() {
        const std::size_t done = finished_records();
        for (std::size_t i = 0; i < done; ++i) {
            const SourceRecord& r = s_.records[i];
            const std::optional<std::int64_t> a = field_number(r, 0);
            const std::optional<std::int64_t> b = field_number(r, 1);
            if (!a || !b) continue;
            if (r.is(RecordKind::kCodeRow)) {
                add(Lane::kCodeRows, *a, *a, FactKind::kCodeRow, "",
                    "code row at " + metres_range_text(*a, *a) + ", value " + std::to_string(*b));
            }
            if (r.is(RecordKind::kSignalRepetition) && *b > *a) {
                const std::optional<int> count = repetition_code_count(r.keyword.text);
                const std::string codes = count ? std::to_string(*count) + " codes" : "codes";
                add(Lane::kCodeRows, *a, *b, FactKind::kSignalRepetition,
                    "signal repetition, " + codes,
                    "signal repetition with " + codes + ", " + metres_range_text(*a, *b));
            }
        }
    }

    Profile layer(const char* name, FactKind kind, const char* unit, std::int64_t loaded_to,
                  int (*value)(const TrackCell&)) const {
        Profile p{name, kind, unit, {}};
        p.values.resize(s_.cells.size(), kNoValue);
        for (std::size_t c = 0; c < s_.cells.size(); ++c) {
            if (static_cast<std::int64_t>(c) * 50 < loaded_to) p.values[c] = value(s_.cells[c]);
        }
        return p;
    }

    void profiles() {
        const LoadState& load = f_.load;
        // The last three cells keep every layer at 0: no row of the texts fills them.
        const auto filled_to =
            static_cast<std::int64_t>(s_.cells.size() > 3 ? s_.cells.size() - 3 : 0) * 50;
        f_.gradient = layer("gradient", FactKind::kGradient, "\u2030",
                            std::min(load.gradient_to, filled_to), gradient_per_mille);
        f_.adhesion =
            layer("adhesion", FactKind::kAdhesion, "", std::min(load.adhesion_to, filled_to),
                  [](const TrackCell& c) { return static_cast<int>(c.adhesion); });
        f_.train_limit = layer("train limit", FactKind::kTrainLimit, "km/h",
                               std::min(load.speed_to, filled_to), train_limit_kmh);

        const std::size_t n = s_.cells.size();
        f_.line_limit = {"line limit (boards)", FactKind::kLineLimit, "km/h", {}};
        f_.slowdown_limit = {"slowdowns", FactKind::kSlowdownLimit, "km/h", {}};
        f_.effective_limit = {"effective limit", FactKind::kEffectiveLimit, "km/h", {}};
        f_.line_limit.values.assign(n, kNoValue);
        f_.slowdown_limit.values.assign(n, kNoValue);
        f_.effective_limit.values.assign(n, kNoValue);
        // Each cell shows the limits in force at its first metre, by the one rule of the line's
        // speed limit that the timetable and the run use too.
        const std::vector<SpeedStretch> limits = speed_limits(s_);
        std::size_t at = 0;
        for (std::size_t c = 0; c < n; ++c) {
            const auto m = static_cast<std::int64_t>(c) * 50;
            while (at < limits.size() && limits[at].to <= m) ++at;
            if (at == limits.size()) break;
            const SpeedStretch& here = limits[at];
            if (m < load.line_to && m < filled_to && here.line_kmh > 0) {
                f_.line_limit.values[c] = here.line_kmh;
            }
            if (m < load.train_to && here.slowdown_kmh > 0) {
                f_.slowdown_limit.values[c] = here.slowdown_kmh;
            }
            if (f_.train_limit.values[c] != kNoValue) f_.effective_limit.values[c] = here.kmh;
        }
    }

    const Scene& s_;
    SheetFacts f_;
};

}  // namespace

SheetFacts sheet_facts(const Scene& scene) {
    return FactFinder(scene).find();
}

}  // namespace railscen::analysis
