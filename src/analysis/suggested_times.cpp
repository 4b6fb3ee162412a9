// Times for the timed stations from a train's run plus a recovery margin, chained from the
// first time the author gave.

#include <cmath>

#include "analysis/clock_rule.h"
#include "analysis/train_run.h"

namespace railscen::analysis {

std::vector<SuggestedTime> suggested_times(const std::vector<TimedLeg>& legs,
                                           const std::vector<std::optional<double>>& leg_seconds,
                                           double margin_percent) {
    std::vector<SuggestedTime> out;
    for (std::size_t i = 0; i < legs.size(); ++i) {
        const TimedLeg& leg = legs[i];
        // A leg follows the one before when it starts where and when that one ends; a station
        // timed before the time it follows begins no leg of its own, and the next starts anew.
        std::int64_t from = leg.from_time;
        if (i > 0 && !leg.from_clock && legs[i - 1].to_metres == leg.from_metres &&
            legs[i - 1].to_time == leg.from_time) {
            from = out.back().time;
        }
        SuggestedTime s;
        const std::optional<double> run = i < leg_seconds.size() ? leg_seconds[i] : std::nullopt;
        if (run) {
            s.seconds =
                static_cast<std::int64_t>(std::ceil(*run * (1 + margin_percent / 100) - 1e-6));
            s.from_run = true;
        } else {
            s.seconds = leg.scheduled;
        }
        s.time = time_after(from, s.seconds);
        // A station timed 0:00:00 has no time: one proposed at midnight goes a second later.
        if (s.time == 0) {
            s.time = 1;
            ++s.seconds;
        }
        out.push_back(s);
    }
    return out;
}

}  // namespace railscen::analysis
