// The shortest run between timed stations at the speed limits in force: what the timetable
// command prints and what check's [timetable] warnings are built on.

#include "analysis/run_times.h"
#include "analysis/clock_rule.h"
#include "analysis/units_text.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/cell_index.h"

namespace railscen::analysis {
namespace {

constexpr int kNoLimit = std::numeric_limits<int>::max();

// The number in field i, an empty field reading as 0 as the loader reads it; nullopt when the
// record ends before it or holds something else there.
std::optional<std::int64_t> field_number(const SourceRecord& r, std::size_t i) {
    if (i >= r.fields.size()) return std::nullopt;
    if (r.fields[i].number) return r.fields[i].number;
    if (r.fields[i].text.empty()) return 0;
    return std::nullopt;
}

// A record of one kind only, whose fields are all that kind's.
bool only(const SourceRecord& r, RecordKind kind) {
    return r.kinds.size() == 1 && r.kinds.front() == kind;
}

// Whether the object the record stands for was placed into the cell.
bool placed(const Run& run, std::size_t record, std::int64_t cell) {
    const auto found = run.placed_by.find(cell);
    return found != run.placed_by.end() && found->second == record;
}

struct Board {
    std::int64_t position;
    int left;  // the side's highest speed, 0 where the side has no board
    int right;
};

struct Slowdown {
    std::int64_t from;
    std::int64_t to;
    int kmh;
};

int highest(const SourceRecord& r, std::size_t first) {
    std::int64_t top = 0;
    for (std::size_t i = first; i < first + 3; ++i)
        top = std::max(top, field_number(r, i).value_or(0));
    return static_cast<int>(std::min<std::int64_t>(top, kNoLimit - 1));
}

}  // namespace

std::string limit_source_words(unsigned sources) {
    std::string words;
    const auto add = [&](unsigned bit, const char* word) {
        if ((sources & bit) == 0) return;
        if (!words.empty()) words += " and ";
        words += word;
    };
    add(kLineLimit, "line speed board");
    add(kTrainLimit, "train limit");
    add(kSlowdownLimit, "slowdown");
    return words;
}

std::vector<SpeedStretch> speed_limits(const Run& run) {
    std::vector<SpeedStretch> limits;
    if (!run.cells) return limits;
    const Cells& cells = *run.cells;
    const std::int64_t end = static_cast<std::int64_t>(cells.size()) * 50;

    std::vector<Board> boards;
    std::vector<Slowdown> slowdowns;
    std::vector<std::int64_t> breaks = {0, end};
    for (std::size_t i = 0; i < run.records.size(); ++i) {
        const SourceRecord& r = run.records[i];
        const std::optional<std::int64_t> at = field_number(r, 0);
        if (!at) continue;
        if (only(r, RecordKind::kSpeedBoard) && r.fields.size() >= 9 &&
            placed(run, i, cell_index::speed_board(*at))) {
            boards.push_back({*at, highest(r, 1), highest(r, 5)});
            breaks.push_back(*at);
        } else if (only(r, RecordKind::kSlowdown) && r.fields.size() >= 6 &&
                   placed(run, i, cell_index::slowdown_start(*at))) {
            const std::int64_t kmh = field_number(r, 1).value_or(0);
            const std::int64_t length = field_number(r, 2).value_or(0);
            if (kmh <= 0 || length <= 0) continue;
            slowdowns.push_back(
                {*at, *at + length, static_cast<int>(std::min<std::int64_t>(kmh, kNoLimit - 1))});
            breaks.push_back(*at);
            breaks.push_back(*at + length);
        }
    }
    // The train meets the boards in the order of the line, whatever the order of the rows.
    std::stable_sort(boards.begin(), boards.end(),
                     [](const Board& a, const Board& b) { return a.position < b.position; });
    for (std::int64_t c = 1; c < static_cast<std::int64_t>(cells.size()); ++c) {
        if (cells[c].speed_limit != cells[c - 1].speed_limit) breaks.push_back(c * 50);
    }
    std::sort(breaks.begin(), breaks.end());
    breaks.erase(std::unique(breaks.begin(), breaks.end()), breaks.end());

    int left = kNoLimit;
    int right = kNoLimit;
    std::size_t next_board = 0;
    for (std::size_t b = 0; b + 1 < breaks.size(); ++b) {
        const std::int64_t from = breaks[b];
        const std::int64_t to = breaks[b + 1];
        if (from < 0 || from >= end) continue;
        while (next_board < boards.size() && boards[next_board].position <= from) {
            if (boards[next_board].left > 0) left = boards[next_board].left;
            if (boards[next_board].right > 0) right = boards[next_board].right;
            ++next_board;
        }
        int kmh = kNoLimit;
        unsigned sources = 0;
        const auto meet = [&](int limit, unsigned source) {
            if (limit <= 0 || limit == kNoLimit) return;
            if (limit < kmh) {
                kmh = limit;
                sources = source;
            } else if (limit == kmh) {
                sources |= source;
            }
        };
        meet(std::max(left, right), kLineLimit);
        meet(cells[from / 50].speed_limit * 5, kTrainLimit);
        for (const Slowdown& s : slowdowns) {
            if (s.from <= from && from < s.to) meet(s.kmh, kSlowdownLimit);
        }
        if (kmh == kNoLimit) kmh = 0;
        if (!limits.empty() && limits.back().kmh == kmh && limits.back().sources == sources) {
            limits.back().to = to;
        } else {
            limits.push_back({from, to, kmh, sources});
        }
    }
    return limits;
}

RunBound fastest_run(const std::vector<SpeedStretch>& limits, std::int64_t from, std::int64_t to) {
    // The run's pieces, neighbours of one speed joined; a joined piece is said to be held by
    // what holds all of it, or else by everything that holds some of it.
    std::vector<SpeedStretch> pieces;
    std::vector<unsigned> held_by_some;
    for (const SpeedStretch& s : limits) {
        const std::int64_t a = std::max(from, s.from);
        const std::int64_t b = std::min(to, s.to);
        if (a >= b) continue;
        if (!pieces.empty() && pieces.back().kmh == s.kmh && pieces.back().to == a) {
            pieces.back().to = b;
            pieces.back().sources &= s.sources;
            held_by_some.back() |= s.sources;
        } else {
            pieces.push_back({a, b, s.kmh, s.sources});
            held_by_some.push_back(s.sources);
        }
    }
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (pieces[i].sources == 0) pieces[i].sources = held_by_some[i];
    }
    RunBound bound;
    int fastest = 0;  // 0: some piece has no known limit
    bool unlimited = false;
    for (const SpeedStretch& p : pieces) {
        if (p.kmh == 0) unlimited = true;
        fastest = std::max(fastest, p.kmh);
    }
    double most_lost = -1;
    for (const SpeedStretch& p : pieces) {
        if (p.kmh == 0) continue;
        const auto metres = static_cast<double>(p.to - p.from);
        const double seconds = metres / (p.kmh / 3.6);
        bound.seconds += seconds;
        const double lost = unlimited ? seconds : seconds - metres / (fastest / 3.6);
        if (lost > most_lost + 1e-9) {
            most_lost = lost;
            bound.limiting = p;
        }
    }
    return bound;
}

std::int64_t whole_seconds(double seconds) {
    return static_cast<std::int64_t>(std::ceil(seconds - 1e-6));
}

std::vector<TimedLeg> timed_legs(const Run& run) {
    std::vector<TimedLeg> legs;
    if (!run.cells) return legs;
    const std::vector<SpeedStretch> limits = speed_limits(run);

    const SourceRecord* clock = nullptr;
    for (const SourceRecord& r : run.records) {
        if (r.is(RecordKind::kClock) && r.fields.size() >= 3 && r.fields[0].number &&
            r.fields[1].number && r.fields[2].number) {
            clock = &r;
        }
    }
    // Station records in the order read: the loader gives them slots 1, 2, 3, ... in that order.
    std::vector<std::size_t> rows;
    for (std::size_t i = 0; i < run.records.size(); ++i) {
        if (run.records[i].is(RecordKind::kStation)) rows.push_back(i);
    }
    const ScenarioSlot* previous = nullptr;
    for (std::size_t i = 0; i < rows.size() && kFirstStationSlot + i < kFirstSignSlot; ++i) {
        const ScenarioSlot& station = run.slots[kFirstStationSlot + i];
        if (station.time == 0) continue;
        TimedLeg leg;
        leg.to_name = station.text;
        leg.to_time = station.time;
        leg.to_metres = station.position;
        leg.to_record = rows[i];
        if (previous != nullptr) {
            leg.from_name = previous->text;
            leg.from_time = previous->time;
            leg.from_metres = previous->position;
        } else if (clock != nullptr) {
            leg.from_clock = true;
            leg.from_time = *clock->fields[0].number * 3600 + *clock->fields[1].number * 60 +
                            *clock->fields[2].number;
            leg.from_metres = run.slots[kFirstStationSlot].position;
        }
        const bool first = previous == nullptr;
        previous = &station;
        if (first && (!leg.from_clock || leg.to_metres <= leg.from_metres)) {
            continue;  // nothing to run before the first timed station
        }
        // One rule for times past midnight; a leg it cannot take forward is flagged by check.
        const std::optional<std::int64_t> scheduled = leg_seconds(leg.from_time, leg.to_time);
        if (!scheduled) continue;
        leg.scheduled = *scheduled;
        if (leg.to_metres > leg.from_metres) {
            leg.bound = fastest_run(limits, leg.from_metres, leg.to_metres);
        }
        legs.push_back(std::move(leg));
    }
    return legs;
}

std::string stretch_text(const SpeedStretch& s) {
    return std::to_string(s.kmh) + " km/h over " + metres_range_text(s.from, s.to);
}

}  // namespace railscen::analysis
