#include "paper/scenario_facts.h"

#include <algorithm>
#include <cctype>

#include "analysis/records.h"
#include "analysis/stops.h"

namespace railscen::paper {
namespace {

using analysis::field_value;

// The train text's speed-limit row: a position and the speed from there.
constexpr std::size_t kLimitPosition = 0;
constexpr std::size_t kLimitSpeed = 1;
// The sign board: a position and its text.
constexpr std::size_t kSignPosition = 0;
constexpr std::size_t kSignText = 1;

std::vector<const SourceRecord*> records_of(const Run& run, RecordKind kind, std::size_t fields) {
    std::vector<const SourceRecord*> found;
    for (const SourceRecord& r : run.records) {
        if (r.is(kind) && r.fields.size() >= fields && field_value(r, 0)) found.push_back(&r);
    }
    return found;
}

std::string trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return "";
    const std::size_t last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

bool is_letter_1252(unsigned char c) {
    return std::isalpha(c) != 0 || (c >= 0xC0 && c != 0xD7 && c != 0xF7);
}

unsigned char lower_1252(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 32);
    return c;
}

unsigned char upper_1252(unsigned char c) {
    if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 32);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 32);
    return c;
}

// Each word with a capital first letter and the rest small.
std::string capitalised(std::string_view text) {
    std::string out;
    bool word_start = true;
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (is_letter_1252(c)) {
            out += static_cast<char>(word_start ? upper_1252(c) : lower_1252(c));
            word_start = false;
        } else {
            out += ch;
            word_start = c == ' ';
        }
    }
    return out;
}

}  // namespace

std::vector<Station> stations(const Run& run) {
    std::size_t count = 0;
    for (const SourceRecord& r : run.records) count += r.is(RecordKind::kStation) ? 1 : 0;
    count = std::min<std::size_t>(count, kFirstSignSlot - kFirstStationSlot);
    std::vector<Station> out;
    for (std::size_t i = 0; i < count; ++i) {
        const ScenarioSlot& s = run.slots[kFirstStationSlot + i];
        out.push_back({s.text, s.position, s.time, s.byte2, s.category});
    }
    return out;
}

bool stops_at(const Station& station) {
    return analysis::stops_at(station.dwell, station.category);
}

std::vector<Station> run_stops(const Run& run) {
    const std::vector<std::size_t> slots = analysis::run_stop_slots(run);
    std::vector<Station> out;
    for (const std::size_t slot : slots) {
        const ScenarioSlot& s = run.slots[slot];
        out.push_back({s.text, s.position, s.time, slot == slots.back() ? 0 : s.byte2, s.category});
    }
    return out;
}

std::vector<SpeedBoard> speed_boards(const Run& run) {
    namespace field = analysis::board_field;
    std::vector<SpeedBoard> out;
    for (const SourceRecord* r : records_of(run, RecordKind::kSpeedBoard, 9)) {
        std::int64_t highest = 0;
        for (const std::size_t side : {field::kLeftSpeeds, field::kRightSpeeds}) {
            for (std::size_t rank = 0; rank < 3; ++rank) {
                highest = std::max(highest, field_value(*r, side + rank).value_or(0));
            }
        }
        out.push_back({*field_value(*r, field::kPosition), static_cast<int>(highest)});
    }
    return out;
}

std::vector<TrainLimit> train_limits(const Run& run) {
    std::vector<TrainLimit> out;
    for (const SourceRecord* r : records_of(run, RecordKind::kSpeedLimit, 2)) {
        out.push_back({*field_value(*r, kLimitPosition),
                       static_cast<int>(field_value(*r, kLimitSpeed).value_or(0))});
    }
    return out;
}

std::vector<SignBoard> sign_boards(const Run& run) {
    std::vector<SignBoard> out;
    for (const SourceRecord* r : records_of(run, RecordKind::kSignBoard, 2)) {
        out.push_back({*field_value(*r, kSignPosition), r->fields[kSignText].text});
    }
    return out;
}

std::vector<Slowdown> slowdowns(const Run& run) {
    std::vector<Slowdown> out;
    for (const SourceRecord* r : records_of(run, RecordKind::kSlowdown, 3)) {
        namespace field = analysis::slowdown_field;
        out.push_back({*field_value(*r, field::kPosition),
                       static_cast<int>(field_value(*r, field::kSpeed).value_or(0)),
                       field_value(*r, field::kLength).value_or(0)});
    }
    return out;
}

std::string sign_board_name(std::string_view text) {
    std::vector<std::string> groups;
    std::string_view rest = text;
    while (!rest.empty()) {
        const std::size_t open = rest.find('(');
        if (open == std::string_view::npos) {
            if (!trimmed(rest).empty()) groups.push_back(trimmed(rest));
            break;
        }
        if (!trimmed(rest.substr(0, open)).empty()) groups.push_back(trimmed(rest.substr(0, open)));
        const std::size_t close = rest.find(')', open);
        const std::string_view inside = rest.substr(
            open + 1, close == std::string_view::npos ? std::string_view::npos : close - open - 1);
        if (!trimmed(inside).empty()) groups.push_back(trimmed(inside));
        if (close == std::string_view::npos) break;
        rest.remove_prefix(close + 1);
    }
    if (groups.size() > 1 && std::any_of(groups.back().begin(), groups.back().end(), [](char c) {
            return std::isdigit(static_cast<unsigned char>(c)) != 0;
        })) {
        groups.pop_back();
    }
    std::string joined;
    for (const std::string& g : groups) joined += (joined.empty() ? "" : " ") + g;
    return capitalised(joined);
}

std::int64_t kilometre_point(const Slots& slots, std::int64_t metres) {
    for (const int i : {kProgressiveTre, kProgressiveDue, kProgressiveUno}) {
        const ScenarioSlot& d = slots[i];
        if (d.start > metres) continue;
        const std::int64_t value = d.finish - (d.position == 1 ? 100 : 0);
        return value + (metres - d.start);
    }
    return metres;
}

std::optional<std::int64_t> braked_percentage(const Run& run) {
    std::optional<std::int64_t> found;
    for (const SourceRecord& r : run.records) {
        if (r.is(RecordKind::kBrakedMass) && field_value(r, 0)) found = field_value(r, 0);
    }
    return found;
}

std::int64_t clock_start(const Run& run) {
    const ScenarioSlot& train = run.slots[kTrainSlot];
    return std::int64_t{train.word3} * 3600 + std::int64_t{train.word4} * 60 + train.word5;
}

std::string train_number(std::string_view train_name) {
    const std::string name = trimmed(train_name);
    const std::size_t blank = name.rfind(' ');
    return blank == std::string::npos ? name : name.substr(blank + 1);
}

LinePlaces line_places(std::string_view line_name) {
    const std::size_t hyphen = line_name.find('-');
    if (hyphen == std::string_view::npos) return {trimmed(line_name), ""};
    return {trimmed(line_name.substr(0, hyphen)), trimmed(line_name.substr(hyphen + 1))};
}

}  // namespace railscen::paper
