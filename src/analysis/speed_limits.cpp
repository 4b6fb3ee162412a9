// The speed limit in force along the line: one rule for every front end.

#include "analysis/speed_limits.h"

#include <algorithm>
#include <limits>

#include "analysis/grid_view.h"
#include "analysis/scene.h"
#include "analysis/units_text.h"
#include "output/binary_decode.h"

namespace railscen::analysis {
namespace {

constexpr int kNoLimit = std::numeric_limits<int>::max();

struct Board {
    std::int64_t position;
    int left;  // the side's speed by the rule, 0 where the side has no speeds
    int right;
};

struct Slowdown {
    std::int64_t from;
    std::int64_t to;
    int kmh;
};

int by_rank(const int (&speeds)[3], Rank rank) {
    switch (rank) {
        case Rank::kA:
            return speeds[0];
        case Rank::kB:
            return speeds[1];
        case Rank::kC:
            return speeds[2];
        case Rank::kAnyRank:
            break;
    }
    return std::max({speeds[0], speeds[1], speeds[2]});
}

int by_side(int left, int right, Side side) {
    switch (side) {
        case Side::kLeft:
            return left;
        case Side::kRight:
            return right;
        case Side::kEitherSide:
            break;
    }
    return std::max(left, right);
}

int or_none(int kmh) {
    return kmh <= 0 || kmh == kNoLimit ? 0 : kmh;
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

std::vector<SpeedStretch> speed_limits(const GridView& grid, LimitRule rule) {
    std::vector<SpeedStretch> limits;
    const std::vector<TrackCell>& cells = grid.cells;
    if (cells.empty()) return limits;
    const auto count = static_cast<std::int64_t>(cells.size());
    const std::int64_t end = count * 50;

    // The boards and slowdowns as the compile placed them, in the order of the line.
    std::vector<Board> boards;
    std::vector<Slowdown> slowdowns;
    std::vector<std::int64_t> breaks = {0, end};
    for (std::int64_t i = 0; i < count; ++i) {
        const TrackCell& c = cells[static_cast<std::size_t>(i)];
        if (c.kind == kSpeedBoard) {
            const BoardSpeeds b = decode_speed_board(c);
            boards.push_back(
                {placed_metre(grid, i), by_rank(b.left, rule.rank), by_rank(b.right, rule.rank)});
            breaks.push_back(boards.back().position);
        } else if (c.kind == kSlowdownStart && c.param1 > 0) {
            const std::int64_t from = placed_metre(grid, i);
            const std::int64_t to = slowdown_end_metre(grid, i);
            if (to <= from) continue;
            slowdowns.push_back({from, to, c.param1});
            breaks.push_back(from);
            breaks.push_back(to);
        }
    }
    std::stable_sort(boards.begin(), boards.end(),
                     [](const Board& a, const Board& b) { return a.position < b.position; });
    for (std::int64_t c = 1; c < count; ++c) {
        if (cells[static_cast<std::size_t>(c)].speed_limit !=
            cells[static_cast<std::size_t>(c - 1)].speed_limit) {
            breaks.push_back(c * 50);
        }
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
        SpeedStretch s{from, to};
        // A side that has met no board yet limits nothing: under the either-side rule a
        // one-sided board holds no train back, as the other track may run at any speed.
        s.line_kmh = or_none(by_side(left, right, rule.side));
        s.train_kmh = cells[static_cast<std::size_t>(from / 50)].speed_limit * 5;
        int slowest = kNoLimit;
        for (const Slowdown& d : slowdowns) {
            if (d.from <= from && from < d.to) slowest = std::min(slowest, d.kmh);
        }
        s.slowdown_kmh = or_none(slowest);
        int kmh = kNoLimit;
        const auto meet = [&](int limit, unsigned source) {
            if (limit <= 0) return;
            if (limit < kmh) {
                kmh = limit;
                s.sources = source;
            } else if (limit == kmh) {
                s.sources |= source;
            }
        };
        meet(s.line_kmh, kLineLimit);
        meet(s.train_kmh, kTrainLimit);
        meet(s.slowdown_kmh, kSlowdownLimit);
        s.kmh = or_none(kmh);
        SpeedStretch* last = limits.empty() ? nullptr : &limits.back();
        if (last != nullptr && last->kmh == s.kmh && last->sources == s.sources &&
            last->line_kmh == s.line_kmh && last->train_kmh == s.train_kmh &&
            last->slowdown_kmh == s.slowdown_kmh) {
            last->to = to;
        } else {
            limits.push_back(s);
        }
    }
    return limits;
}

std::vector<SpeedStretch> speed_limits(const Run& run, LimitRule rule) {
    return speed_limits(grid_view(run), rule);
}

std::vector<SpeedStretch> speed_limits(const Scene& scene, LimitRule rule) {
    return speed_limits(grid_view(scene), rule);
}

const SpeedStretch* stretch_at(const std::vector<SpeedStretch>& limits, std::int64_t m) {
    const auto it =
        std::upper_bound(limits.begin(), limits.end(), m,
                         [](std::int64_t metre, const SpeedStretch& s) { return metre < s.to; });
    return it == limits.end() || it->from > m ? nullptr : &*it;
}

std::string stretch_text(const SpeedStretch& s) {
    return std::to_string(s.kmh) + " km/h over " + metres_range_text(s.from, s.to);
}

}  // namespace railscen::analysis
