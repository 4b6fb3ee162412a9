// What changed between two compiled scenarios, read back by the one decoder: the slots field by
// field, the cells as stretches with their layers, the plan by its largest deviation.

#include <cmath>
#include <cstdio>
#include <set>

#include "analysis/binary_views.h"
#include "analysis/diff.h"
#include "analysis/grid_view.h"
#include "analysis/run_times.h"
#include "analysis/units_text.h"
#include "model/text_encoding.h"

namespace railscen::analysis {
namespace {

// Changed cells closer than this many unchanged cells form one stretch (a signal's approach
// marks lie every second cell).
constexpr std::int64_t kJoinGap = 2;

std::string utf8_quoted(const std::string& text) {
    return "\"" + utf8_from_1252(text) + "\"";
}

std::string slot_label(int slot, const ScenarioSlot& a, const ScenarioSlot& b, bool station) {
    switch (slot) {
        case kProgressiveTre:
            return "kilometric progressive three";
        case kProgressiveDue:
            return "kilometric progressive two";
        case kProgressiveUno:
            return "kilometric progressive one";
        case kRouteSlot:
            return "route";
        case kLineSlot:
            return "line";
        case kTrainSlot:
            return "train";
        default:
            break;
    }
    const std::string& text = b.text.empty() ? a.text : b.text;
    if (text.empty()) return "no text";
    return (station ? "station " : "") + utf8_quoted(text);
}

std::string time_words(std::int32_t t) {
    return t == 0 ? "untimed" : clock_text(t);
}

// A station's slot in the author's words: its name, place, zone, time and dwell, the other
// fields by the names the train text gives them.
std::vector<FieldChange> station_fields(const ScenarioSlot& a, const ScenarioSlot& b) {
    std::vector<FieldChange> changes;
    const auto compare = [&](const char* name, auto x, auto y) {
        if (x != y) changes.push_back({name, std::to_string(x), std::to_string(y)});
    };
    if (a.text != b.text) changes.push_back({"name", utf8_quoted(a.text), utf8_quoted(b.text)});
    if (a.position != b.position) {
        changes.push_back({"position", metres_range_text(a.position, a.position),
                           metres_range_text(b.position, b.position)});
    }
    if (a.start != b.start || a.finish != b.finish) {
        changes.push_back(
            {"zone", metres_range_text(a.start, a.finish), metres_range_text(b.start, b.finish)});
    }
    if (a.time != b.time) changes.push_back({"time", time_words(a.time), time_words(b.time)});
    if (a.byte2 != b.byte2) {
        changes.push_back(
            {"dwell", std::to_string(a.byte2) + " s", std::to_string(b.byte2) + " s"});
    }
    compare("category", int{a.category}, int{b.category});
    compare("flag", int{a.flag}, int{b.flag});
    compare("byte4", int{a.byte4}, int{b.byte4});
    compare("byte3", int{a.byte3}, int{b.byte3});
    compare("word1", a.word1, b.word1);
    compare("word2", a.word2, b.word2);
    compare("byte1", int{a.byte1}, int{b.byte1});
    compare("word3", a.word3, b.word3);
    compare("word4", a.word4, b.word4);
    compare("word5", a.word5, b.word5);
    return changes;
}

std::vector<FieldChange> slot_fields(const ScenarioSlot& a, const ScenarioSlot& b) {
    std::vector<FieldChange> changes;
    const auto compare = [&](const char* name, auto x, auto y) {
        if (x != y) changes.push_back({name, std::to_string(x), std::to_string(y)});
    };
    compare("category", int{a.category}, int{b.category});
    compare("start", a.start, b.start);
    compare("finish", a.finish, b.finish);
    compare("position", a.position, b.position);
    compare("flag", int{a.flag}, int{b.flag});
    if (a.text != b.text) {
        changes.push_back(
            {"text", "\"" + utf8_from_1252(a.text) + "\"", "\"" + utf8_from_1252(b.text) + "\""});
    }
    compare("word1", a.word1, b.word1);
    compare("word2", a.word2, b.word2);
    compare("word3", a.word3, b.word3);
    compare("word4", a.word4, b.word4);
    compare("word5", a.word5, b.word5);
    compare("byte1", int{a.byte1}, int{b.byte1});
    compare("byte2", int{a.byte2}, int{b.byte2});
    compare("byte3", int{a.byte3}, int{b.byte3});
    compare("byte4", int{a.byte4}, int{b.byte4});
    if (a.time != b.time) {
        const auto time = [](std::int32_t t) {
            return std::to_string(t) + " (" + clock_text(t) + ")";
        };
        changes.push_back({"time", time(a.time), time(b.time)});
    }
    return changes;
}

// The layers of a cell by name, the object first (its kind and values).
struct Layer {
    const char* name;
    bool (*differs)(const TrackCell&, const TrackCell&);
    std::string (*words)(const TrackCell&);
};

bool object_differs(const TrackCell& a, const TrackCell& b) {
    return a.kind != b.kind || a.param1 != b.param1 || a.param2 != b.param2 ||
           a.param3 != b.param3 || a.param4 != b.param4 || a.signal_time != b.signal_time;
}

std::string object_words(const TrackCell& c) {
    if (c.kind == kFree) return "free";
    return std::string(cell_kind_name(c.kind)) + " " + std::to_string(c.param1) + "," +
           std::to_string(c.param2) + "," + std::to_string(c.param3) + "," +
           std::to_string(c.param4) +
           (c.signal_time != 0 ? " time " + std::to_string(c.signal_time) : "");
}

const Layer kLayers[] = {
    {"object", object_differs, object_words},
    {"approach", [](const TrackCell& a, const TrackCell& b) { return a.approach != b.approach; },
     [](const TrackCell& c) { return std::to_string(c.approach); }},
    {"mountain", [](const TrackCell& a, const TrackCell& b) { return a.mountain != b.mountain; },
     [](const TrackCell& c) { return std::to_string(c.mountain); }},
    {"speed_limit",
     [](const TrackCell& a, const TrackCell& b) { return a.speed_limit != b.speed_limit; },
     [](const TrackCell& c) { return std::to_string(train_limit_kmh(c)) + " km/h"; }},
    {"gradient", [](const TrackCell& a, const TrackCell& b) { return a.gradient != b.gradient; },
     [](const TrackCell& c) { return std::to_string(c.gradient); }},
    {"adhesion", [](const TrackCell& a, const TrackCell& b) { return a.adhesion != b.adhesion; },
     [](const TrackCell& c) { return std::to_string(c.adhesion); }},
};

void close_stretch(CellStretch& s,
                   const std::vector<std::set<std::pair<std::string, std::string>>>& seen,
                   std::vector<CellStretch>& out) {
    for (std::size_t l = 0; l < std::size(kLayers); ++l) {
        if (seen[l].empty()) continue;
        s.layers.emplace_back(kLayers[l].name);
        if (seen[l].size() == 1) {
            s.details.push_back(std::string(kLayers[l].name) + " " + seen[l].begin()->first +
                                " -> " + seen[l].begin()->second);
        }
    }
    out.push_back(std::move(s));
}

std::vector<CellStretch> cell_stretches(const std::vector<TrackCell>& a,
                                        const std::vector<TrackCell>& b) {
    std::vector<CellStretch> out;
    const TrackCell none;
    const std::size_t count = std::max(a.size(), b.size());
    std::optional<CellStretch> open;
    std::vector<std::set<std::pair<std::string, std::string>>> seen(std::size(kLayers));
    for (std::size_t i = 0; i < count; ++i) {
        // A cell only one grid has stands against an empty cell.
        const TrackCell& x = i < a.size() ? a[i] : none;
        const TrackCell& y = i < b.size() ? b[i] : none;
        if (x == y && (i < a.size()) == (i < b.size())) continue;
        const auto at = static_cast<std::int64_t>(i);
        if (open && at - open->last_cell - 1 > kJoinGap) {
            close_stretch(*open, seen, out);
            open.reset();
            for (auto& s : seen) s.clear();
        }
        // A cell's metres follow the rule of the object it holds now, or held before; a cell
        // whose layers alone changed, the rule of the profile rows.
        const bool placed =
            object_differs(x, y) || x.approach != y.approach || (i < a.size()) != (i < b.size());
        const TrackCell& holder = y.kind != kFree ? y : x;
        const cell_index::PositionRange metres =
            placed ? cell_positions(holder, at) : layer_positions(at);
        if (!open) open = CellStretch{at, at, metres.first, metres.last, 0, {}, {}};
        open->last_cell = at;
        open->to_metres = metres.last;
        ++open->changed_cells;
        for (std::size_t l = 0; l < std::size(kLayers); ++l) {
            if (kLayers[l].differs(x, y) || (l == 0 && (i < a.size()) != (i < b.size()))) {
                // Keep the words of a few changes only: enough to tell one kind of change.
                if (seen[l].size() < 2) seen[l].insert({kLayers[l].words(x), kLayers[l].words(y)});
            }
        }
    }
    if (open) close_stretch(*open, seen, out);
    return out;
}

std::optional<PlanChange> plan_change(const std::optional<Plan>& a, const std::optional<Plan>& b) {
    PlanChange change;
    change.rows_a = a ? a->rows() : 0;
    change.rows_b = b ? b->rows() : 0;
    bool differs = change.rows_a != change.rows_b;
    if (a && b) {
        const std::int64_t rows = std::min(a->rows(), b->rows());
        for (std::int64_t row = 0; row < rows; ++row) {
            const TaggedValue xa = a->x(row);
            const TaggedValue ya = a->y(row);
            const TaggedValue xb = b->x(row);
            const TaggedValue yb = b->y(row);
            if (xa == xb && ya == yb) continue;
            ++change.differing_rows;
            const double d = std::hypot(numeric(xa) - numeric(xb), numeric(ya) - numeric(yb));
            if (d > change.largest_deviation) {
                change.largest_deviation = d;
                change.at_row = row;
            }
        }
        differs = differs || change.differing_rows > 0;
    }
    if (!differs) return std::nullopt;
    return change;
}

std::string deviation_text(double metres) {
    char text[40];
    std::snprintf(text, sizeof text, "%.3f", metres);
    return text;
}

}  // namespace

CompiledDiff compiled_changes(const CompiledScenario& a, const CompiledScenario& b) {
    CompiledDiff diff;
    for (int s = 0; s < kSlotCount; ++s) {
        const auto i = static_cast<std::size_t>(s);
        if (a.slots[i] == b.slots[i]) continue;
        // A station on either side, and no sign text on the other, is told as a station.
        const std::string role_a = slot_role(a.slots, i);
        const std::string role_b = slot_role(b.slots, i);
        const bool station = (role_a == "station" || role_b == "station") &&
                             role_a != "sign text" && role_b != "sign text";
        std::vector<FieldChange> fields =
            station ? station_fields(a.slots[i], b.slots[i]) : slot_fields(a.slots[i], b.slots[i]);
        diff.slots.push_back({s, slot_label(s, a.slots[i], b.slots[i], station), fields});
    }
    diff.cells_a = a.cells.size();
    diff.cells_b = b.cells.size();
    diff.cells = cell_stretches(a.cells, b.cells);
    diff.plan = plan_change(a.plan, b.plan);
    return diff;
}

std::vector<std::string> compiled_lines(const CompiledDiff& diff) {
    std::vector<std::string> lines;
    for (const SlotChange& s : diff.slots) {
        std::string line = "slot " + std::to_string(s.slot) + " (" + s.label + "):";
        for (std::size_t i = 0; i < s.fields.size(); ++i) {
            line += (i == 0 ? " " : "; ") + s.fields[i].field + " " + s.fields[i].before + " -> " +
                    s.fields[i].after;
        }
        lines.push_back(line);
    }
    if (diff.cells_a != diff.cells_b) {
        lines.push_back("cells: " + std::to_string(diff.cells_a) + " -> " +
                        std::to_string(diff.cells_b) + " cells");
    }
    for (const CellStretch& c : diff.cells) {
        std::string line = c.first_cell == c.last_cell ? "cell " + std::to_string(c.first_cell)
                                                       : "cells " + std::to_string(c.first_cell) +
                                                             "-" + std::to_string(c.last_cell);
        line += " (" + metres_range_text(c.from_metres, c.to_metres) + ", " +
                std::to_string(c.changed_cells) + " changed):";
        for (std::size_t i = 0; i < c.layers.size(); ++i)
            line += (i == 0 ? " " : ", ") + c.layers[i];
        for (const std::string& d : c.details) line += "; " + d;
        lines.push_back(line);
    }
    if (diff.plan) {
        const PlanChange& p = *diff.plan;
        std::string line = "plan:";
        if (p.rows_a == 0 || p.rows_b == 0) {
            line += p.rows_a == 0 ? " only in the second, " + metres_text(p.rows_b) + " rows"
                                  : " only in the first, " + metres_text(p.rows_a) + " rows";
        } else {
            if (p.rows_a != p.rows_b) {
                line += " " + metres_text(p.rows_a) + " -> " + metres_text(p.rows_b) + " rows;";
            }
            line += " " + metres_text(p.differing_rows) + " rows differ, the largest deviation " +
                    deviation_text(p.largest_deviation) + " m at row " + metres_text(p.at_row);
        }
        lines.push_back(line);
    }
    return lines;
}

}  // namespace railscen::analysis
