#include <cstdio>
#include <nlohmann/json.hpp>

#include "analysis/binary_views.h"
#include "model/cell_index.h"
#include "model/markers.h"
#include "output/binary_decode.h"

namespace railscen::analysis {
namespace {

using Json = nlohmann::ordered_json;

bool is_listed(const TrackCell& c) {
    return c.kind != kFree || c.param1 != 0 || c.param2 != 0 || c.param3 != 0 || c.param4 != 0 ||
           c.signal_time != 0 || c.approach != 0;
}

// Cell 1 carries the scenario marker and the race code beside whatever object it holds.
bool carries_stamps(const TrackCell& c, std::size_t index) {
    return index == 1 && c.kind == kFree && c.param1 == kCellMarker;
}

int speed_kmh(const TrackCell& c) {
    return c.speed_limit * 5;
}
int gradient_per_mille(const TrackCell& c) {
    return c.gradient - 100;
}

std::string triple(const int (&v)[3]) {
    return std::to_string(v[0]) + "/" + std::to_string(v[1]) + "/" + std::to_string(v[2]);
}

std::string board_text(const BoardSpeeds& b) {
    const bool same = std::equal(std::begin(b.left), std::end(b.left), std::begin(b.right));
    const bool no_right = b.right[0] == 0 && b.right[1] == 0 && b.right[2] == 0;
    std::string text = same ? triple(b.left) + " both sides"
                            : "left " + triple(b.left) + ", right " +
                                  (no_right ? std::string("none") : triple(b.right));
    return text + ", stripes " + std::to_string(b.left_stripes) + "/" +
           std::to_string(b.right_stripes);
}

std::string slowdown_text(const TrackCell& c) {
    std::string text = "v " + std::to_string(c.param1) + " km/h";
    if (c.param2 != 0) text += ", d_v " + std::to_string(c.param2);
    if (c.kind != kSlowdownWarning) text += ", f_tt " + std::to_string(c.param3);
    return text;
}

// The values of the cell's object in short form.
std::string object_text(const TrackCell& c, std::size_t index) {
    std::string text;
    switch (c.kind) {
        case kSignal: {
            const SignalAspects a = decode_signal(c);
            text = "aspects";
            for (int i = 0; i < 3; ++i) {
                text += " " + std::to_string(a.left[i]) + "/" + std::to_string(a.right[i]);
            }
            text += ", heads " + std::to_string(a.left_head) + "/" + std::to_string(a.right_head) +
                    ", rapp " + std::to_string(a.rapp) + ", time " + std::to_string(c.signal_time);
            break;
        }
        case kSpeedBoard:
            text = board_text(decode_speed_board(c));
            break;
        case kSlowdownStart:
        case kSlowdownEnd:
        case kSlowdownWarning:
            text = slowdown_text(c);
            break;
        case kSlowdownMarker:
            text = "marker " + std::to_string(c.param1);
            break;
        case kStationStop:
            text = "station slot " + std::to_string(c.param1);
            break;
        case kCodeDrop:
            text = "code " + std::to_string(c.param1);
            break;
        case kSignBoard:
            text = "text in slot " + std::to_string(c.param1);
            break;
        default:
            break;
    }
    if (carries_stamps(c, index)) {
        text = "scenario marker " + std::to_string(c.param1) + ", race code " +
               std::to_string(c.param2);
    }
    return text;
}

// The object's values and the approach mark, for the table.
std::string decoded_text(const TrackCell& c, std::size_t index) {
    std::string text = object_text(c, index);
    if (c.approach != 0) {
        const ApproachMark m = decode_approach(c.approach);
        if (!text.empty()) text += "; ";
        text += "approach " + std::to_string(c.approach) + " (mark " + std::to_string(m.mark) +
                ", code " + std::to_string(m.code) + ")";
    }
    return text;
}

Json cell_object(const TrackCell& c, std::size_t index) {
    Json j = {{"index", index},
              {"kind", c.kind},
              {"kind_name", cell_kind_name(c.kind)},
              {"param1", c.param1},
              {"param2", c.param2},
              {"param3", c.param3},
              {"param4", c.param4},
              {"signal_time", c.signal_time}};
    j["layers"] = {{"approach", c.approach},       {"mountain", c.mountain},
                   {"speed_limit", c.speed_limit}, {"speed_limit_kmh", speed_kmh(c)},
                   {"gradient", c.gradient},       {"gradient_per_mille", gradient_per_mille(c)},
                   {"adhesion", c.adhesion}};
    if (c.kind == kSignal) {
        const SignalAspects a = decode_signal(c);
        j["signal"] = {{"left_aspects", a.left},   {"right_aspects", a.right},
                       {"left_head", a.left_head}, {"right_head", a.right_head},
                       {"rapp", a.rapp},           {"time", c.signal_time}};
    } else if (c.kind == kSpeedBoard) {
        const BoardSpeeds b = decode_speed_board(c);
        j["speed_board"] = {{"left_kmh", b.left},
                            {"right_kmh", b.right},
                            {"left_stripes", b.left_stripes},
                            {"right_stripes", b.right_stripes}};
    } else if (c.kind >= kSlowdownEnd && c.kind <= kSlowdownWarning) {
        j["slowdown"] = {{"v", c.param1}, {"d_v", c.param2}, {"f_tt", c.param3}};
    } else if (c.kind == kSlowdownMarker) {
        j["marker"] = c.param1;
    } else if (c.kind == kStationStop) {
        j["station_slot"] = c.param1;
    } else if (c.kind == kCodeDrop) {
        j["code"] = c.param1;
    } else if (c.kind == kSignBoard) {
        j["sign_slot"] = c.param1;
    }
    if (carries_stamps(c, index)) {
        j["scenario_marker"] = c.param1;
        j["race_code"] = c.param2;
    }
    if (c.approach != 0) {
        const ApproachMark m = decode_approach(c.approach);
        j["approach_mark"] = {{"code", m.code}, {"mark", m.mark}};
    }
    return j;
}

std::string metres(const cell_index::PositionRange& r, std::int64_t shift = 0) {
    return std::to_string(r.first + shift) + " to " + std::to_string(r.last + shift) + " m";
}

// The route positions of the records that would put the object here, by the kind's own rule.
std::string record_position(const TrackCell& c, std::size_t index) {
    const auto i = static_cast<std::int64_t>(index);
    switch (c.kind) {
        case kCodeDrop:
        case kCodeDropNoValue:
            return "a code row at " + metres(cell_index::positions_in(i, 0)) +
                   ", or a drop point the compiler added";
        case kStationStop:
            return "a station zone ending at " + metres(cell_index::positions_in(i, -1));
        case kSlowdownEnd:
            return "a slowdown whose start plus length is " +
                   metres(cell_index::positions_in(i, 1));
        case kSlowdownWarning:
            return "a slowdown starting at " + metres(cell_index::positions_in(i, 1), 1200);
        case kSlowdownMarker:
            return "the slowdown starting about " + std::to_string(i * 50 + 1200) + " m";
        case kSpacer:
            return "a mountain stretch";
        default:
            return metres(cell_index::positions_in(i, 1));
    }
}

}  // namespace

std::string cells_table(const std::vector<TrackCell>& cells) {
    std::string out = "cell file: " + std::to_string(cells.size()) + " cells (0 to " +
                      std::to_string(cells.size() - 1) + ")\n";
    char row[160];
    std::snprintf(row, sizeof row, "%5s  %-24s %6s %6s %6s %6s %4s %4s %4s %5s %5s %4s  %s\n",
                  "cell", "kind", "p1", "p2", "p3", "p4", "time", "appr", "mnt", "km/h", "grad",
                  "adh", "decoded");
    out += row;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const TrackCell& c = cells[i];
        if (!is_listed(c)) continue;
        std::snprintf(row, sizeof row, "%5zu  %-24s %6d %6d %6d %6d %4d %4d %4d %5d %+5d %4d  ", i,
                      std::string(cell_kind_name(c.kind)).c_str(), c.param1, c.param2, c.param3,
                      c.param4, c.signal_time, c.approach, c.mountain, speed_kmh(c),
                      gradient_per_mille(c), c.adhesion);
        out += row + decoded_text(c, i) + "\n";
    }
    return out;
}

std::string cells_json(const std::vector<TrackCell>& cells) {
    // Every cell, so that a program reading the JSON has the layers of empty cells as well.
    Json all = Json::array();
    for (std::size_t i = 0; i < cells.size(); ++i) all.push_back(cell_object(cells[i], i));
    const Json j = {{"file", "cells"}, {"cell_count", cells.size()}, {"cells", all}};
    return j.dump(2) + "\n";
}

std::string cell_json(const std::vector<TrackCell>& cells, std::size_t index) {
    return cell_object(cells.at(index), index).dump(2) + "\n";
}

std::string cell_words(const std::vector<TrackCell>& cells, std::size_t index) {
    const TrackCell& c = cells.at(index);
    std::string out = "cell " + std::to_string(index) + ": ";
    out += c.kind == kFree ? "no object" : std::string(cell_kind_name(c.kind));
    if (c.kind != kFree) out += ", for a record at " + record_position(c, index);
    out += "\n";
    if (c.kind == kSignal) {
        const SignalAspects a = decode_signal(c);
        out += "  left head type " + std::to_string(a.left_head) + ", aspects " +
               std::to_string(a.left[0]) + ", " + std::to_string(a.left[1]) + ", " +
               std::to_string(a.left[2]) + "\n";
        out += "  right head type " + std::to_string(a.right_head) + ", aspects " +
               std::to_string(a.right[0]) + ", " + std::to_string(a.right[1]) + ", " +
               std::to_string(a.right[2]) + "\n";
        out += "  rapp " + std::to_string(a.rapp) + ", signal time " +
               std::to_string(c.signal_time) + "\n";
    } else {
        const std::string object = object_text(c, index);
        if (!object.empty()) out += "  " + object + "\n";
    }
    if (c.approach != 0) {
        const ApproachMark m = decode_approach(c.approach);
        out += "  approach mark " + std::to_string(m.mark) + " of an object with code " +
               std::to_string(m.code) + " (layer value " + std::to_string(c.approach) + ")\n";
    }
    out += "  layers: mountain " + std::to_string(c.mountain) + ", speed limit " +
           std::to_string(speed_kmh(c)) + " km/h, gradient " +
           (gradient_per_mille(c) > 0 ? "+" : "") + std::to_string(gradient_per_mille(c)) +
           " per mille, adhesion " + std::to_string(c.adhesion) + "\n";
    return out;
}

}  // namespace railscen::analysis
