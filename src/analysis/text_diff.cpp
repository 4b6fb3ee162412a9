// What changed between two versions of a scenario's texts, told from the records each compile
// read: objects by their position, profiles over the stretches where they differ, stations by
// their name, settings by what they set.

#include <algorithm>
#include <cmath>
#include <functional>

#include "analysis/diff.h"
#include "analysis/records.h"
#include "analysis/run_times.h"
#include "analysis/units_text.h"
#include "model/record_format.h"
#include "model/text_encoding.h"
#include "source_text/keywords.h"

namespace railscen::analysis {
namespace {

// The number in field i, an empty field reading as 0 as the loader reads it.
std::optional<std::int64_t> number(const SourceRecord& r, std::size_t i) {
    if (i >= r.fields.size()) return std::nullopt;
    if (r.fields[i].number) return r.fields[i].number;
    if (r.fields[i].text.empty()) return 0;
    return std::nullopt;
}

std::string n(const SourceRecord& r, std::size_t i) {
    const std::optional<std::int64_t> v = number(r, i);
    return v ? std::to_string(*v) : "\"" + utf8_from_1252(r.fields[i].text) + "\"";
}

std::string m(std::int64_t metres) {
    return metres_text(metres) + " m";
}

// Records of this one kind that hold its fields whole, the first a number.
std::vector<const SourceRecord*> records_of(const Run& run, RecordKind kind, std::size_t fields) {
    std::vector<const SourceRecord*> found;
    for (const SourceRecord& r : run.records) {
        if (r.kinds.size() == 1 && r.kinds.front() == kind && r.fields.size() >= fields &&
            number(r, 0)) {
            found.push_back(&r);
        }
    }
    return found;
}

// ---- objects at a position -------------------------------------------------------------

using Fields = std::vector<std::pair<std::string, std::string>>;

struct Item {
    std::int64_t at = 0;
    Fields fields;
    std::string near;  // " between ... and ...", for slowdowns
};

std::string all_fields(const Fields& fields) {
    std::string text;
    for (const auto& [name, value] : fields) {
        text += (text.empty() ? "" : ", ") + name + " " + value;
    }
    return text;
}

std::string changed_fields(const Fields& a, const Fields& b) {
    std::string text;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        if (a[i].second == b[i].second) continue;
        text += (text.empty() ? "" : "; ") + a[i].first + " " + a[i].second + " -> " + b[i].second;
    }
    return text;
}

void compare_items(const std::string& subject, std::vector<Item> a, std::vector<Item> b,
                   std::vector<TextChange>& out) {
    const auto by_place = [](const Item& x, const Item& y) { return x.at < y.at; };
    std::stable_sort(a.begin(), a.end(), by_place);
    std::stable_sort(b.begin(), b.end(), by_place);
    std::vector<const Item*> gone;
    std::vector<const Item*> come;
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() || j < b.size()) {
        if (j == b.size() || (i < a.size() && a[i].at < b[j].at)) {
            gone.push_back(&a[i++]);
        } else if (i == a.size() || b[j].at < a[i].at) {
            come.push_back(&b[j++]);
        } else {
            if (a[i].fields != b[j].fields) {
                out.push_back(
                    {b[j].at, {}, subject, "changed", changed_fields(a[i].fields, b[j].fields)});
            }
            ++i;
            ++j;
        }
    }
    // An object gone from one place and come to another, alike in all else, has moved.
    for (const Item*& g : gone) {
        for (const Item*& c : come) {
            if (c == nullptr || c->fields != g->fields) continue;
            out.push_back({c->at, {}, subject, "moved", "from " + m(g->at) + c->near});
            g = nullptr;
            c = nullptr;
            break;
        }
    }
    for (const Item* g : gone) {
        if (g != nullptr)
            out.push_back({g->at, {}, subject, "removed", all_fields(g->fields) + g->near});
    }
    for (const Item* c : come) {
        if (c != nullptr)
            out.push_back({c->at, {}, subject, "added", all_fields(c->fields) + c->near});
    }
}

std::string speeds(const SourceRecord& r, std::size_t first) {
    const std::int64_t a = number(r, first).value_or(0);
    const std::int64_t b = number(r, first + 1).value_or(0);
    const std::int64_t c = number(r, first + 2).value_or(0);
    if (a == 0 && b == 0 && c == 0) return "none";
    return std::to_string(a) + "/" + std::to_string(b) + "/" + std::to_string(c) + " km/h";
}

// Stations by their place along the line, for saying where a slowdown lies.
std::string between_stations(const Run& run, std::int64_t from, std::int64_t to) {
    const StationsAround around = stations_around(run, from, to);
    if (around.before == nullptr || around.after == nullptr) return "";
    return " (between " + utf8_from_1252(around.before->text) + " and " +
           utf8_from_1252(around.after->text) + ")";
}

std::vector<Item> items(const Run& run, RecordKind kind) {
    std::vector<Item> found;
    const std::size_t wanted = kind == RecordKind::kSpeedBoard ? 9
                               : kind == RecordKind::kSignal   ? 11
                               : kind == RecordKind::kSlowdown ? 6
                               : kind == RecordKind::kMountain ? 3
                                                               : 2;
    for (const SourceRecord* r : records_of(run, kind, wanted)) {
        Item item;
        item.at = *number(*r, 0);
        switch (kind) {
            case RecordKind::kSpeedBoard:
                item.fields = {{"left", speeds(*r, 1)},
                               {"left stripes", n(*r, 4)},
                               {"right", speeds(*r, 5)},
                               {"right stripes", n(*r, 8)}};
                break;
            case RecordKind::kSignBoard:
                item.fields = {{"text", "\"" + utf8_from_1252(r->fields[1].text) + "\""}};
                break;
            case RecordKind::kSignal: {
                // Heads, aspects and time by the format table's names, after the position.
                const RecordFormat& format = *record_format(RecordKind::kSignal);
                for (std::size_t f = 1; f < format.fields.size(); ++f)
                    item.fields.emplace_back(std::string(format.fields[f].name), n(*r, f));
                break;
            }
            case RecordKind::kCodeRow:
                item.fields = {{"value", n(*r, 1)}};
                break;
            case RecordKind::kMountain:
                item.fields = {{"to", number(*r, 1) ? m(*number(*r, 1)) : n(*r, 1)},
                               {"kind", n(*r, 2)}};
                break;
            case RecordKind::kSlowdown: {
                item.fields = {{"speed", n(*r, 1) + " km/h"},
                               {"length", n(*r, 2) + " m"},
                               {"f_tt", n(*r, 3)},
                               {"f_ta", n(*r, 4)},
                               {"d_v", n(*r, 5)}};
                item.near = between_stations(run, item.at, item.at + number(*r, 2).value_or(0));
                break;
            }
            default:
                break;
        }
        found.push_back(std::move(item));
    }
    return found;
}

// ---- profiles ---------------------------------------------------------------------------

// A value that holds over a stretch: none before a profile's first row, or off a curve.
using Level = std::optional<double>;

struct Span {
    std::int64_t from;
    std::int64_t to;
    Level level;
};

// Rows that each hold from their position to the next row's, in the order of the line.
std::vector<Span> step_rows(const Run& run, RecordKind kind, std::int64_t end) {
    std::vector<Span> spans;
    for (const SourceRecord* r : records_of(run, kind, 2)) {
        const std::optional<std::int64_t> v = number(*r, 1);
        if (v) spans.push_back({*number(*r, 0), end, static_cast<double>(*v)});
    }
    std::stable_sort(spans.begin(), spans.end(),
                     [](const Span& x, const Span& y) { return x.from < y.from; });
    for (std::size_t i = 0; i + 1 < spans.size(); ++i) spans[i].to = spans[i + 1].from;
    return spans;
}

// Curves over their length, with their signed curvature.
std::vector<Span> curve_spans(const Run& run) {
    std::vector<Span> spans;
    for (const SourceRecord* r : records_of(run, RecordKind::kCurve, 2)) {
        const std::optional<std::int64_t> length = number(*r, 1);
        const std::optional<double> k = curve_curvature(r->keyword.text);
        if (length && k) spans.push_back({*number(*r, 0), *number(*r, 0) + *length, *k});
    }
    return spans;
}

// The level of a profile at positions that only go up: the last span begun by then, while it
// lasts (spans of one profile do not overlap), in one pass however long the line.
class LevelCursor {
  public:
    explicit LevelCursor(std::vector<Span> spans) : spans_(std::move(spans)) {
        std::stable_sort(spans_.begin(), spans_.end(),
                         [](const Span& x, const Span& y) { return x.from < y.from; });
    }
    Level at(std::int64_t metres) {
        while (next_ < spans_.size() && spans_[next_].from <= metres) ++next_;
        if (next_ == 0 || metres >= spans_[next_ - 1].to) return std::nullopt;
        return spans_[next_ - 1].level;
    }

  private:
    std::vector<Span> spans_;
    std::size_t next_ = 0;
};

void compare_profiles(const std::string& subject, const std::vector<Span>& a,
                      const std::vector<Span>& b, std::int64_t end,
                      const std::function<std::string(const Level&)>& words,
                      std::vector<TextChange>& out) {
    std::vector<std::int64_t> breaks = {end};
    for (const auto* spans : {&a, &b}) {
        for (const Span& s : *spans) {
            breaks.push_back(s.from);
            breaks.push_back(s.to);
        }
    }
    std::sort(breaks.begin(), breaks.end());
    breaks.erase(std::unique(breaks.begin(), breaks.end()), breaks.end());
    LevelCursor in_a(a);
    LevelCursor in_b(b);
    std::optional<Span> before;
    std::optional<Span> after;
    const auto flush = [&] {
        if (!before) return;
        const char* what = !before->level ? "added" : !after->level ? "removed" : "changed";
        out.push_back({before->from, before->to, subject, what,
                       words(before->level) + " -> " + words(after->level)});
        before.reset();
        after.reset();
    };
    for (std::size_t i = 0; i + 1 < breaks.size() && breaks[i] < end; ++i) {
        const std::int64_t from = breaks[i];
        const std::int64_t to = std::min(breaks[i + 1], end);
        const Level la = in_a.at(from);
        const Level lb = in_b.at(from);
        if (la == lb) {
            flush();
            continue;
        }
        if (before && before->to == from && before->level == la && after->level == lb) {
            before->to = to;
            after->to = to;
            continue;
        }
        flush();
        before = Span{from, to, la};
        after = Span{from, to, lb};
    }
    flush();
}

std::string level_words(const Level& level, const char* unit) {
    if (!level) return "none";
    return std::to_string(std::llround(*level)) + unit;
}

std::string curve_words(const Level& k) {
    if (!k || *k == 0) return "straight";
    return std::string(*k < 0 ? "left" : "right") + " curve of radius " +
           metres_text(std::llround(1.0 / std::fabs(*k))) + " m";
}

// ---- stations ---------------------------------------------------------------------------

struct Station {
    std::int64_t at;
    std::string name;  // UTF-8
    std::int64_t time;
    std::int64_t dwell;
    Fields fields;  // everything else the row gives, by the format table's names
};

// The station fields told apart by their own words rather than in the list of the rest.
bool told_apart(std::size_t f) {
    using namespace station_field;
    return f == kPosition || f == kDwell || f == kHour || f == kMinute || f == kSecond ||
           f == kName;
}

std::vector<Station> stations(const Run& run) {
    const RecordFormat& format = *record_format(RecordKind::kStation);
    std::vector<Station> found;
    for (const SourceRecord* r : records_of(run, RecordKind::kStation, station_field::kName + 1)) {
        Station s{*number(*r, station_field::kPosition),
                  utf8_from_1252(station_name(*r)),
                  station_time(*r).value_or(0),
                  station_dwell(*r).value_or(0),
                  {}};
        for (std::size_t f = 0; f < format.fields.size(); ++f) {
            if (told_apart(f)) continue;
            const FieldFormat& field = format.fields[f];
            s.fields.emplace_back(
                std::string(field.name),
                n(*r, f) +
                    (field.unit.empty() || !number(*r, f) ? "" : " " + std::string(field.unit)));
        }
        found.push_back(std::move(s));
    }
    return found;
}

std::string time_words(std::int64_t t) {
    return t == 0 ? "untimed" : clock_text(t);
}

std::string dwell_words(std::int64_t seconds) {
    return std::to_string(seconds) + " s";
}

std::string quoted(const std::string& name) {
    return "\"" + name + "\"";
}

void compare_station(const Station& a, const Station& b, std::vector<TextChange>& out) {
    std::vector<std::string> what;
    std::vector<std::string> detail;
    if (a.name != b.name) {
        what.emplace_back("renamed");
        detail.push_back("name " + quoted(a.name) + " -> " + quoted(b.name));
    }
    if (a.at != b.at) {
        what.emplace_back("moved");
        detail.push_back("from " + m(a.at) + " to " + m(b.at));
    }
    if (a.time != b.time || a.dwell != b.dwell) what.emplace_back("retimed");
    if (a.time != b.time)
        detail.push_back("time " + time_words(a.time) + " -> " + time_words(b.time));
    if (a.dwell != b.dwell)
        detail.push_back("dwell " + dwell_words(a.dwell) + " -> " + dwell_words(b.dwell));
    if (a.fields != b.fields) {
        what.emplace_back("changed");
        detail.push_back(changed_fields(a.fields, b.fields));
    }
    if (what.empty()) return;
    std::string w;
    std::string d;
    for (std::size_t i = 0; i < what.size(); ++i) w += (i == 0 ? "" : ", ") + what[i];
    for (std::size_t i = 0; i < detail.size(); ++i) d += (i == 0 ? "" : "; ") + detail[i];
    out.push_back({b.at, {}, "station " + quoted(b.name), w, d});
}

void compare_stations(const std::vector<Station>& a, const std::vector<Station>& b,
                      std::vector<TextChange>& out) {
    std::vector<bool> a_used(a.size(), false);
    std::vector<bool> b_used(b.size(), false);
    // First by name, then by place (a renamed station), then by the order read: a station
    // both moved and renamed keeps its slot.
    const std::function<bool(std::size_t, std::size_t)> keys[] = {
        [&](std::size_t i, std::size_t j) { return a[i].name == b[j].name; },
        [&](std::size_t i, std::size_t j) { return a[i].at == b[j].at; },
        [](std::size_t i, std::size_t j) { return i == j; }};
    for (const auto& same : keys) {
        for (std::size_t i = 0; i < a.size(); ++i) {
            for (std::size_t j = 0; j < b.size() && !a_used[i]; ++j) {
                if (b_used[j] || !same(i, j)) continue;
                a_used[i] = b_used[j] = true;
                compare_station(a[i], b[j], out);
            }
        }
    }
    const auto whole = [](const Station& s) {
        return (s.time == 0 ? std::string("untimed") : "timed " + clock_text(s.time)) + ", dwell " +
               dwell_words(s.dwell) + ", " + all_fields(s.fields);
    };
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (!a_used[i])
            out.push_back({a[i].at, {}, "station " + quoted(a[i].name), "removed", whole(a[i])});
    }
    for (std::size_t j = 0; j < b.size(); ++j) {
        if (!b_used[j])
            out.push_back({b[j].at, {}, "station " + quoted(b[j].name), "added", whole(b[j])});
    }
}

// ---- settings of the whole scenario -----------------------------------------------------

struct Setting {
    std::string name;
    std::string value;
};

std::vector<Setting> settings(const Run& run) {
    std::vector<Setting> found;
    for (const SourceRecord& r : run.records) {
        if (r.kinds.size() != 1) continue;
        const auto all_numbers = [&](std::size_t count) {
            for (std::size_t i = 0; i < count; ++i) {
                if (!number(r, i)) return false;
            }
            return true;
        };
        switch (r.kinds.front()) {
            case RecordKind::kLength:
                if (all_numbers(1)) found.push_back({"line length", m(*number(r, 0))});
                break;
            case RecordKind::kProgressive:
            case RecordKind::kBackground: {
                if (!all_numbers(r.kinds.front() == RecordKind::kProgressive ? 3 : 1)) break;
                static const char* const kWhich[] = {"",
                                                     "kilometric progressive three",
                                                     "kilometric progressive two",
                                                     "kilometric progressive one",
                                                     "background one",
                                                     "background two",
                                                     "background three"};
                for (const GeneralRecord g : general_matches(r.keyword.text)) {
                    const auto i = static_cast<std::size_t>(g);
                    if (i == 0 || i > 6) continue;
                    found.push_back({kWhich[i], r.kinds.front() == RecordKind::kBackground
                                                    ? n(r, 0)
                                                    : "origin " + m(*number(r, 0)) + ", value " +
                                                          m(*number(r, 1)) + ", flag " + n(r, 2)});
                }
                break;
            }
            case RecordKind::kSignalRepetition:
                if (all_numbers(2)) {
                    const std::optional<int> codes = repetition_code_count(r.keyword.text);
                    found.push_back({"signal repetition",
                                     m(*number(r, 0)) + " to " + m(*number(r, 1)) + ", " +
                                         (codes ? std::to_string(*codes) : "no") + " codes"});
                }
                break;
            case RecordKind::kBrakedMass:
                if (all_numbers(1)) found.push_back({"braked mass", n(r, 0) + " %"});
                break;
            case RecordKind::kCars:
                if (all_numbers(1)) found.push_back({"number of cars", n(r, 0)});
                break;
            case RecordKind::kSand:
                if (all_numbers(1)) found.push_back({"sand", n(r, 0)});
                break;
            case RecordKind::kClock:
                if (all_numbers(3)) {
                    found.push_back({"clock", clock_text(clock_start(r).value_or(0))});
                }
                break;
            default:
                break;
        }
    }
    return found;
}

void compare_settings(const std::vector<Setting>& a, const std::vector<Setting>& b,
                      std::vector<TextChange>& out) {
    // A setting given twice counts as its last.
    const auto last = [](const std::vector<Setting>& list, const std::string& name) {
        const Setting* found = nullptr;
        for (const Setting& s : list) {
            if (s.name == name) found = &s;
        }
        return found;
    };
    std::vector<std::string> names;
    for (const auto* list : {&a, &b}) {
        for (const Setting& s : *list) {
            if (std::find(names.begin(), names.end(), s.name) == names.end())
                names.push_back(s.name);
        }
    }
    for (const std::string& name : names) {
        const Setting* x = last(a, name);
        const Setting* y = last(b, name);
        if (x == nullptr) {
            out.push_back({{}, {}, name, "added", y->value});
        } else if (y == nullptr) {
            out.push_back({{}, {}, name, "removed", x->value});
        } else if (x->value != y->value) {
            out.push_back({{}, {}, name, "changed", x->value + " -> " + y->value});
        }
    }
}

std::int64_t line_end(const Run& run) {
    if (run.cells) return static_cast<std::int64_t>(run.cells->size()) * 50;
    return run.slots[kRouteSlot].finish;
}

}  // namespace

std::string TextChange::line() const {
    std::string where;
    if (metres) where = metres_text(*metres) + (end_metres ? "-" + m(*end_metres) : " m") + ": ";
    return where + subject + " " + what + (detail.empty() ? "" : ": " + detail);
}

StationsAround stations_around(const Run& run, std::int64_t from, std::int64_t to) {
    StationsAround around;
    for (int s = kFirstStationSlot; s < kFirstSignSlot; ++s) {
        const ScenarioSlot& station = run.slots[s];
        if (station.text.empty()) continue;
        if (station.position <= from &&
            (around.before == nullptr || station.position > around.before->position)) {
            around.before = &station;
        }
        if (station.position >= to &&
            (around.after == nullptr || station.position < around.after->position)) {
            around.after = &station;
        }
    }
    return around;
}

std::vector<TextChange> text_changes(const Run& a, const Run& b) {
    std::vector<TextChange> out;
    compare_settings(settings(a), settings(b), out);
    const std::int64_t end = std::max(line_end(a), line_end(b));
    compare_profiles(
        "gradient", step_rows(a, RecordKind::kGradient, end),
        step_rows(b, RecordKind::kGradient, end), end,
        [](const Level& l) { return level_words(l, " per mille"); }, out);
    compare_profiles("curve", curve_spans(a), curve_spans(b), end, curve_words, out);
    compare_profiles(
        "train speed limit", step_rows(a, RecordKind::kSpeedLimit, end),
        step_rows(b, RecordKind::kSpeedLimit, end), end,
        [](const Level& l) { return level_words(l, " km/h"); }, out);
    compare_profiles(
        "adhesion", step_rows(a, RecordKind::kAdhesion, end),
        step_rows(b, RecordKind::kAdhesion, end), end,
        [](const Level& l) { return level_words(l, ""); }, out);
    const std::pair<RecordKind, const char*> objects[] = {
        {RecordKind::kMountain, "mountain stretch"}, {RecordKind::kSpeedBoard, "speed board"},
        {RecordKind::kSignBoard, "sign board"},      {RecordKind::kSignal, "signal"},
        {RecordKind::kSlowdown, "slowdown"},         {RecordKind::kCodeRow, "code row"},
    };
    for (const auto& [kind, subject] : objects)
        compare_items(subject, items(a, kind), items(b, kind), out);
    compare_stations(stations(a), stations(b), out);
    const auto place = [](const TextChange& c) {
        return std::pair{c.metres.has_value(), c.metres.value_or(0)};
    };
    std::stable_sort(out.begin(), out.end(),
                     [&](const TextChange& x, const TextChange& y) { return place(x) < place(y); });
    return out;
}

}  // namespace railscen::analysis
