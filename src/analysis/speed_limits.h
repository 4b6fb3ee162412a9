#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/run.h"

namespace railscen::analysis {

struct GridView;
struct Scene;

// Where a speed limit comes from: the line's speed boards, the train's own speed-limit rows,
// a slowdown. A stretch may be held to the same speed by several at once.
enum LimitSource : unsigned {
    kLineLimit = 1,
    kTrainLimit = 2,
    kSlowdownLimit = 4,
};

// "line speed board", "train limit", "slowdown"; several joined with " and ".
std::string limit_source_words(unsigned sources);

// A speed board gives three speeds for each of the line's two tracks: one per rank of train
// (A, B, C). kAnyRank takes the highest of the three and kEitherSide the higher of the two
// sides, so that the limit is never below what any train on either track may run there; a
// side that has met no board limits nothing.
enum class Rank { kA, kB, kC, kAnyRank };
enum class Side { kLeft, kRight, kEitherSide };

struct LimitRule {
    Rank rank = Rank::kAnyRank;
    Side side = Side::kEitherSide;
};

// A stretch of line, from `from` up to (not including) `to` metres, over which the lowest
// limit in force is kmh; kmh 0 where no limit is known there. Each kind of limit is kept on
// its own too (0 where it sets none), and a stretch ends where any of them changes.
struct SpeedStretch {
    std::int64_t from = 0;
    std::int64_t to = 0;
    int kmh = 0;
    unsigned sources = 0;  // LimitSource bits of the limits at kmh
    int line_kmh = 0;
    int train_kmh = 0;
    int slowdown_kmh = 0;
};

// The speed limits in force along the whole grid, in order and without gaps: the one rule
// that the timetable's bound, the run of a train, the route sheet and the language server
// share.
// - a speed board holds from its position to the next board; its speed is the rule's rank on
//   the rule's side, a side keeping its earlier board where this one has no speeds;
// - the train's limit is the cells' speed-limit layer, 50 m to a cell;
// - a slowdown holds its speed over its length from its start.
std::vector<SpeedStretch> speed_limits(const GridView& grid, LimitRule rule = {});
std::vector<SpeedStretch> speed_limits(const Run& run, LimitRule rule = {});
std::vector<SpeedStretch> speed_limits(const Scene& scene, LimitRule rule = {});

// The stretch holding metre m, or nullptr past the grid.
const SpeedStretch* stretch_at(const std::vector<SpeedStretch>& limits, std::int64_t m);

// "60 km/h over 12,350-13,100 m".
std::string stretch_text(const SpeedStretch& s);

}  // namespace railscen::analysis
