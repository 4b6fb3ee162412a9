#include "lsp/hover.h"

#include "analysis/records.h"

#include <cmath>
#include <cstdio>
#include <sstream>

#include "analysis/speed_limits.h"
#include "analysis/units_text.h"
#include "loader/record_kinds.h"
#include "lsp/records.h"
#include "model/cell_index.h"
#include "model/text_encoding.h"
#include "model/track_cell.h"
#include "source_text/keywords.h"

namespace railscen::lsp {
namespace {

const char* const kArrow = " \xe2\x86\x92 ";  // " → "

std::string cells_list(const std::vector<std::int64_t>& cells) {
    std::string out;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0) out += ", ";
        out += std::to_string(cells[i]);
    }
    return out;
}

const TrackCell* cell_at(const Run& run, std::int64_t i) {
    return run.cells && run.cells->contains(i) ? &(*run.cells)[i] : nullptr;
}

std::string kind_words(std::uint8_t kind) {
    if (kind == kFree) return "free";
    return "a " + std::string(cell_kind_name(kind));
}

// "cell 122" and, when the grid does not hold the expected object there, what it holds.
std::string object_cell(const Run& run, std::int64_t i, std::uint8_t expected) {
    std::string out = "cell " + std::to_string(i);
    const TrackCell* c = cell_at(run, i);
    if (c == nullptr) return out + " (outside the grid)";
    if (c->kind != expected) out += " (holds " + kind_words(c->kind) + ", not this record)";
    return out;
}

// The cells of a signal's approach marks that hold them, nearest to the signal first.
std::vector<std::int64_t> signal_approach_cells(const Run& run, std::int64_t signal) {
    std::vector<std::int64_t> found;
    for (int b = 1; b <= 4; ++b) {
        const std::int64_t a = cell_index::signal_approach(signal, b);
        const TrackCell* c = cell_at(run, a);
        if (c != nullptr && c->approach % 10 == b) found.push_back(a);
    }
    return found;
}

// The numeric fields the loader read, up to count of them or to the first that is no number.
std::vector<std::int64_t> numbers(const SourceRecord& r, std::size_t count) {
    std::vector<std::int64_t> out;
    for (const RecordField& f : r.fields) {
        if (out.size() == count || !f.number) break;
        out.push_back(*f.number);
    }
    return out;
}

// The text field after count fields (a station's name), as the loader read it.
std::string text_after(const SourceRecord& r, std::size_t count) {
    return r.fields.size() > count ? r.fields[count].text : std::string();
}

// A record's scenario slot among the records of its kind before it: stations up from 1, sign
// texts down from 80.
int slot_of(const Run& run, const SourceRecord& record, RecordKind kind) {
    int before = 0;
    for (const SourceRecord& r : run.records) {
        if (&r == &record) break;
        if (r.file == record.file && r.is(kind)) ++before;
    }
    return kind == RecordKind::kStation ? kFirstStationSlot + before : kFirstSignSlot - before;
}

std::string metres(std::int64_t m) {
    return std::to_string(m) + " m";
}

// The limit in force at a metre by the one rule the route sheet and the timetable's bound
// use, on a line of its own; empty without a grid.
std::string limit_in_force(const Run& run, std::int64_t m) {
    if (!run.cells) return {};
    const std::vector<analysis::SpeedStretch> limits = analysis::speed_limits(run);
    const analysis::SpeedStretch* s = analysis::stretch_at(limits, m);
    if (s == nullptr || s->kmh == 0) return {};
    return "\n\nin force at " + metres(m) + ": " + analysis::stretch_text(*s) + " (" +
           analysis::limit_source_words(s->sources) + ")";
}

// A record with nothing more to tell than its fields: each by the format table's name, unit and
// range, with the value read from it.
std::string fields_hover(const RecordInfo& info, const SourceRecord& r) {
    const RecordFormat& format = format_of(info);
    std::string out = std::string(info.name) + ": " + std::string(format.about);
    for (std::size_t i = 0; i < format.fields.size(); ++i) {
        const FieldFormat& f = format.fields[i];
        out += "\n" + std::to_string(i + 1) + ". " + std::string(f.name);
        if (!f.unit.empty()) out += " (" + std::string(f.unit) + ")";
        if (i < r.fields.size()) {
            const RecordField& read = r.fields[i];
            out += " = " + (read.number ? std::to_string(*read.number)
                                        : "\"" + utf8_from_1252(read.text) + "\"");
        }
        out += ": " + std::string(f.range);
    }
    return out;
}

std::string signal_hover(const Run& run, const std::vector<std::int64_t>& n) {
    if (n.empty()) return {};
    const std::int64_t c = cell_index::signal(n[0]);
    std::string out = "signal at " + metres(n[0]) + kArrow + object_cell(run, c, kSignal);
    const std::vector<std::int64_t> marks = signal_approach_cells(run, c);
    if (!marks.empty()) out += "; approach marks in cells " + cells_list(marks);
    if (const TrackCell* cell = cell_at(run, c); cell != nullptr && cell->kind == kSignal) {
        out += "; packed heads " + std::to_string(cell->param4) + ", aspects " +
               std::to_string(cell->param1) + ", " + std::to_string(cell->param2) + ", " +
               std::to_string(cell->param3);
        if (cell->signal_time != 0) out += ", time " + std::to_string(cell->signal_time);
    }
    return out;
}

std::string station_hover(const Run& run, const SourceRecord& r) {
    const int slot_number = slot_of(run, r, RecordKind::kStation);
    const std::vector<std::int64_t> n = numbers(r, 1);
    if (slot_number <= 0 || slot_number >= kSlotCount || n.empty()) return {};
    const ScenarioSlot& slot = run.slots[static_cast<std::size_t>(slot_number)];
    const std::string name = text_after(r, 16);
    std::string out =
        "station \"" + utf8_from_1252(name) + "\" (slot " + std::to_string(slot_number) + ")";
    if (slot.position != n[0] || slot.text != name) {
        return out + ": not loaded (the compile stopped before it)";
    }
    out += ": zone " + std::to_string(slot.start) + " to " + metres(slot.finish);
    const std::int64_t stop = cell_index::station_stop(slot.finish);
    const TrackCell* stop_cell = cell_at(run, stop);
    if (stop_cell != nullptr && stop_cell->kind == kStationStop &&
        stop_cell->param1 == slot_number) {
        out += kArrow + std::string("stop cell ") + std::to_string(stop);
        std::vector<std::int64_t> marks;
        for (int b = 1; b <= 4; ++b) {
            const std::int64_t a = cell_index::station_approach(slot.finish, b);
            const TrackCell* c = cell_at(run, a);
            if (c != nullptr && c->approach == 80 + b) marks.push_back(a);
        }
        if (!marks.empty()) out += "; approach marks in cells " + cells_list(marks);
    } else {
        out += "; no stop cell (category " + std::to_string(slot.category) + ")";
    }
    if (slot.time != 0) out += "; timed " + analysis::clock_text(slot.time);
    return out;
}

// A step profile row at p: the value holds from the cell of p on.
std::string profile_hover(const Run& run, std::string_view what, const std::vector<std::int64_t>& n,
                          std::string_view unit, std::uint8_t TrackCell::*layer) {
    if (n.size() < 2) return {};
    const std::int64_t c = cell_index::profile_break(n[0]);
    std::string out = std::string(what) + " " + std::to_string(n[1]) + std::string(unit) +
                      " from " + metres(n[0]) + kArrow + "from cell " + std::to_string(c);
    if (const TrackCell* cell = cell_at(run, c)) {
        out += " (layer value " + std::to_string((*cell).*layer) + ")";
    } else {
        out += " (outside the grid)";
    }
    return out;
}

std::string object_hover(const Run& run, const SourceRecord& r, ObjectRecord o) {
    switch (o) {
        case ObjectRecord::kGradient:
            return profile_hover(run, "gradient", numbers(r, 2), " \xe2\x80\xb0",
                                 &TrackCell::gradient);
        case ObjectRecord::kCurve: {
            const auto n = numbers(r, 2);
            if (n.size() < 2) return {};
            const std::optional<double> k = curve_curvature(r.keyword.text);
            std::string out = "curve from " + metres(n[0]) + " to " + metres(n[0] + n[1]);
            if (k) {
                std::ostringstream radius;
                radius << std::lround(1.0 / std::fabs(*k));
                out +=
                    std::string(*k < 0 ? ", left" : ", right") + ", radius " + radius.str() + " m";
            }
            return out + kArrow + "cells " + std::to_string(cell_index::after(n[0])) + " to " +
                   std::to_string(cell_index::after(n[0] + n[1]));
        }
        case ObjectRecord::kMountain: {
            const auto n = numbers(r, 3);
            if (n.size() < 3) return {};
            return "mountain of kind " + std::to_string(n[2]) + " from " + metres(n[0]) + " to " +
                   metres(n[1]) + kArrow + "cells " +
                   std::to_string(cell_index::mountain_first(n[0])) + " to " +
                   std::to_string(cell_index::mountain_last(n[1])) +
                   (n[2] > 10 ? ", a spacer in every fourth" : "");
        }
        case ObjectRecord::kSpeedBoard: {
            const auto n = numbers(r, 1);
            if (n.empty()) return {};
            const std::int64_t c = cell_index::speed_board(n[0]);
            std::string out =
                "speed board at " + metres(n[0]) + kArrow + object_cell(run, c, kSpeedBoard);
            if (const TrackCell* cell = cell_at(run, c);
                cell != nullptr && cell->kind == kSpeedBoard) {
                out += "; packed value " + std::to_string(cell->param1) + " (first speeds), " +
                       std::to_string(cell->param2) + " (second), " + std::to_string(cell->param3) +
                       " (third); stripes " + std::to_string(cell->param4);
            }
            return out + limit_in_force(run, n[0]);
        }
        case ObjectRecord::kSignBoard: {
            const auto n = numbers(r, 1);
            if (n.empty()) return {};
            const std::int64_t c = cell_index::sign_board(n[0]);
            return "sign board at " + metres(n[0]) + kArrow + object_cell(run, c, kSignBoard) +
                   "; text in slot " + std::to_string(slot_of(run, r, RecordKind::kSignBoard));
        }
    }
    return {};
}

std::string general_hover(const Run& run, const SourceRecord& r, GeneralRecord g) {
    if (g == GeneralRecord::kLength) {
        const auto n = numbers(r, 1);
        if (n.empty()) return {};
        std::string out = "line length " + metres(n[0]);
        if (run.cells) {
            out += kArrow + std::string("grid of cells 0 to ") +
                   std::to_string(run.cells->upper_bound()) + " (7000 m beyond the end)";
        }
        return out;
    }
    return fields_hover(info(g), r);
}

std::string train_hover(const Run& run, const SourceRecord& r, TrainRecord t) {
    switch (t) {
        case TrainRecord::kSignal:
            return signal_hover(run, numbers(r, 1));
        case TrainRecord::kStation:
            return station_hover(run, r);
        case TrainRecord::kSpeedLimit: {
            const auto n = numbers(r, 2);
            if (n.size() < 2) return {};
            return profile_hover(run, "speed limit", n, " km/h", &TrackCell::speed_limit) +
                   limit_in_force(run, n[0]);
        }
        case TrainRecord::kAdhesion:
            return profile_hover(run, "adhesion", numbers(r, 2), "", &TrackCell::adhesion);
        case TrainRecord::kSlowdown: {
            const auto n = numbers(r, 3);
            if (n.size() < 3) return {};
            return "slowdown to " + std::to_string(n[1]) + " km/h from " + metres(n[0]) + " over " +
                   metres(n[2]) + kArrow + "start " +
                   object_cell(run, cell_index::slowdown_start(n[0]), kSlowdownStart) + ", end " +
                   object_cell(run, cell_index::slowdown_end(n[0], n[2]), kSlowdownEnd) +
                   (n[0] > 1500
                        ? ", warning " +
                              object_cell(run, cell_index::slowdown_warning(n[0]), kSlowdownWarning)
                        : std::string()) +
                   limit_in_force(run, n[0]);
        }
        case TrainRecord::kClock: {
            const std::optional<std::int64_t> start = analysis::clock_start(r);
            if (!start) return fields_hover(info(t), r);
            return "clock at the start of the run: " + analysis::clock_text(*start) + kArrow +
                   "scenario slot 86, words 3 to 5";
        }
        case TrainRecord::kCodeRow: {
            const auto n = numbers(r, 2);
            if (n.size() < 2) return {};
            const std::int64_t c = cell_index::code_row(n[0]);
            return "drop point at " + metres(n[0]) + kArrow +
                   object_cell(run, c, n[1] > 0 ? kCodeDrop : kCodeDropNoValue);
        }
        default:
            return fields_hover(info(t), r);
    }
}

}  // namespace

std::optional<std::string> hover_text(const Run& run, SourceFile file, int line) {
    std::vector<std::string> parts;
    for (const SourceRecord& r : run.records) {
        if (r.file != file || r.keyword.line != line) continue;
        for (const RecordKind kind : r.kinds) {
            const auto k = static_cast<int>(kind);
            if (kind == RecordKind::kLength || kind == RecordKind::kProgressive ||
                kind == RecordKind::kBackground || kind == RecordKind::kSignalRepetition) {
                // The general records are told apart by their keyword's words.
                for (const GeneralRecord g : general_matches(r.keyword.text)) {
                    if (record_kind(g) == kind) parts.push_back(general_hover(run, r, g));
                }
            } else if (kind <= RecordKind::kSignBoard) {
                parts.push_back(object_hover(
                    run, r,
                    static_cast<ObjectRecord>(k - static_cast<int>(RecordKind::kGradient))));
            } else {
                parts.push_back(train_hover(
                    run, r,
                    static_cast<TrainRecord>(k - static_cast<int>(RecordKind::kBrakedMass))));
            }
        }
    }
    std::string out;
    for (const std::string& p : parts) {
        if (p.empty()) continue;
        if (!out.empty()) out += "\n\n";
        out += p;
    }
    if (out.empty()) return std::nullopt;
    return out;
}

}  // namespace railscen::lsp
