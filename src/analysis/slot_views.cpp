#include <cstdio>
#include <nlohmann/json.hpp>

#include "analysis/binary_views.h"
#include "analysis/units_text.h"
#include "model/text_encoding.h"

namespace railscen::analysis {
namespace {

using Json = nlohmann::ordered_json;

// A sign text slot holds its text and nothing else.
bool is_sign_text(const ScenarioSlot& s) {
    ScenarioSlot bare;
    bare.text = s.text;
    return !s.text.empty() && s == bare;
}

// Sign texts fill the slots from 80 downward; stations take the slots below them.
std::size_t lowest_sign_slot(const Slots& slots) {
    std::size_t lowest = kFirstSignSlot + 1;
    while (lowest > 1 && is_sign_text(slots[lowest - 1])) --lowest;
    return lowest;
}

std::string terminal_quoted(const std::string& text) {
    return "\"" + terminal_text(text) + "\"";  // for the terminal: control bytes escaped
}

Json slot_object(const Slots& slots, std::size_t i) {
    const ScenarioSlot& s = slots[i];
    return {{"index", i},
            {"role", slot_role(slots, i)},
            {"category", s.category},
            {"start", s.start},
            {"finish", s.finish},
            {"position", s.position},
            {"flag", s.flag},
            {"text", utf8_from_1252(s.text)},
            {"word1", s.word1},
            {"word2", s.word2},
            {"word3", s.word3},
            {"word4", s.word4},
            {"word5", s.word5},
            {"byte1", s.byte1},
            {"byte2", s.byte2},
            {"byte3", s.byte3},
            {"byte4", s.byte4},
            {"time", s.time}};
}

std::string station_words(const ScenarioSlot& s) {
    std::string out = "station " + terminal_quoted(s.text) + "\n";
    out += "  position " + std::to_string(s.position) + " m, category " +
           std::to_string(s.category) + ", zone " + std::to_string(s.start) + " to " +
           std::to_string(s.finish) + " m\n";
    out += s.time != 0 ? "  timed " + clock_text(s.time) + "\n" : "  no timed call\n";
    out += "  flag " + std::to_string(s.flag) + "; bytes " + std::to_string(s.byte1) + ", " +
           std::to_string(s.byte2) + ", " + std::to_string(s.byte3) + ", " +
           std::to_string(s.byte4) + "; words " + std::to_string(s.word1) + ", " +
           std::to_string(s.word2) + ", " + std::to_string(s.word3) + ", " +
           std::to_string(s.word4) + ", " + std::to_string(s.word5) + "\n";
    return out;
}

}  // namespace

std::string slot_role(const Slots& slots, std::size_t i) {
    if (i >= kProgressiveTre && i <= kProgressiveUno) return "progressive";
    if (i == kRouteSlot) return "route";
    if (i == kLineSlot) return "line";
    if (i == kTrainSlot) return "train";
    if (slots[i] == ScenarioSlot{}) return "empty";
    if (i == 0) return "sign text";  // only the 81st sign board reaches slot 0
    return i >= lowest_sign_slot(slots) ? "sign text" : "station";
}

std::vector<std::size_t> station_slots(const Slots& slots) {
    std::vector<std::size_t> stations;
    for (std::size_t i = kFirstStationSlot; i <= kFirstSignSlot; ++i) {
        if (slot_role(slots, i) == "station") stations.push_back(i);
    }
    return stations;
}

std::string slots_table(const Slots& slots) {
    std::string out = "scenario file: 87 slots\n";
    char row[200];
    std::snprintf(row, sizeof row,
                  "%4s  %-11s %3s %8s %8s %8s %4s %6s %6s %6s %6s %6s %3s %3s %3s %3s %7s  %s\n",
                  "slot", "role", "cat", "start", "finish", "position", "flag", "word1", "word2",
                  "word3", "word4", "word5", "b1", "b2", "b3", "b4", "time", "text");
    out += row;
    for (std::size_t i = 0; i < slots.size(); ++i) {
        const ScenarioSlot& s = slots[i];
        std::snprintf(row, sizeof row,
                      "%4zu  %-11s %3d %8d %8d %8d %4d %6d %6d %6d %6d %6d %3d %3d %3d %3d %7d  ",
                      i, slot_role(slots, i).c_str(), s.category, s.start, s.finish, s.position,
                      s.flag, s.word1, s.word2, s.word3, s.word4, s.word5, s.byte1, s.byte2,
                      s.byte3, s.byte4, s.time);
        out += row + (s.text.empty() ? std::string() : terminal_quoted(s.text)) + "\n";
    }
    return out;
}

std::string slots_json(const Slots& slots) {
    Json list = Json::array();
    for (std::size_t i = 0; i < slots.size(); ++i) list.push_back(slot_object(slots, i));
    const Json j = {{"file", "scenario"}, {"slots", list}};
    return j.dump(2) + "\n";
}

std::string slot_json(const Slots& slots, std::size_t index) {
    return slot_object(slots, index).dump(2) + "\n";
}

std::string slot_words(const Slots& slots, std::size_t i) {
    const ScenarioSlot& s = slots.at(i);
    const std::string role = slot_role(slots, i);
    std::string out = "slot " + std::to_string(i) + ": ";
    if (role == "station") return out + station_words(s);
    if (role == "sign text") return out + "sign board text " + terminal_quoted(s.text) + "\n";
    if (role == "progressive") {
        return out + "kilometric progressive from " + std::to_string(s.start) + " m: value " +
               std::to_string(s.finish) + " m, flag " + std::to_string(s.position) + "\n";
    }
    if (role == "route") {
        return out + "route length " + std::to_string(s.finish) + " m, braked mass " +
               std::to_string(s.start) + " %, " + std::to_string(s.position) + " cars\n";
    }
    if (role == "line") {
        return out + "line " + terminal_quoted(s.text) + "; backgrounds " +
               std::to_string(s.start) + ", " + std::to_string(s.position) + ", " +
               std::to_string(s.finish) + "; marker " + std::to_string(s.word1) + "; race code " +
               std::to_string(s.time) + "\n";
    }
    if (role == "train") {
        return out + "train " + terminal_quoted(s.text) + "; signal repetition " +
               std::to_string(s.start) + " to " + std::to_string(s.finish) + " m with " +
               std::to_string(s.position) + " codes; sand " + std::to_string(s.word1) + "; clock " +
               clock_text(s.word3 * 3600LL + s.word4 * 60LL + s.word5) + "\n";
    }
    return out + "empty\n";
}

}  // namespace railscen::analysis
