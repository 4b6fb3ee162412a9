// A real train's fastest run over the scenario, from a rolling-stock file: the route and stops
// by scenario_run's rule, the run by the train's dynamics.

#include "analysis/train_run.h"

#include <algorithm>
#include <cmath>

#include "analysis/chosen_train.h"
#include "analysis/scenario_run.h"
#include "analysis/scene.h"
#include "dynamics/rolling_stock.h"
#include "dynamics/running_time.h"
#include "model/file_io.h"
#include "model/utf8_path.h"

namespace railscen::analysis {
namespace {

constexpr double kDrawnStep = 25;  // m between drawn points where the speed changes

// Between two corners the square of the speed is a straight line in the distance.
std::vector<RunSpeedPoint> drawn_speeds(const dynamics::FastestRun& run) {
    std::vector<RunSpeedPoint> out;
    const auto& p = run.points;
    for (std::size_t i = 0; i < p.size(); ++i) {
        if (i > 0 && p[i].speed != p[i - 1].speed && p[i].position > p[i - 1].position) {
            const double a = p[i - 1].speed * p[i - 1].speed;
            const double b = p[i].speed * p[i].speed;
            const double span = p[i].position - p[i - 1].position;
            const auto pieces = static_cast<int>(std::ceil(span / kDrawnStep));
            for (int k = 1; k < pieces; ++k) {
                const double share = static_cast<double>(k) / pieces;
                out.push_back({p[i - 1].position + span * share,
                               std::sqrt(std::max(0.0, a + (b - a) * share)) * 3.6});
            }
        }
        out.push_back({p[i].position, p[i].speed * 3.6});
    }
    return out;
}

// When the train leaves a place: the start at once, a stop after its dwell, the last station
// on arrival, any other place as the front passes it; none outside the run.
std::optional<double> leaving(const std::vector<RunStation>& stations,
                              const dynamics::FastestRun& run, std::int64_t metres) {
    if (metres < stations.front().position || metres > stations.back().position) {
        return std::nullopt;
    }
    if (metres == stations.front().position) return 0.0;
    for (std::size_t i = 1; i < stations.size(); ++i) {
        if (stations[i].position == metres) return run.stops[i - 1].departure;
    }
    return dynamics::run_at(run, static_cast<double>(metres)).time;
}

// The facts of the run, and the run itself for the times of the legs.
struct Computed {
    TrainRun facts;
    dynamics::FastestRun fastest;
};

template <typename Source>
Computed run_over(const Source& source, const std::vector<RunStation>& stations,
                  const TrainChoice& choice, LimitRule rule) {
    const dynamics::TrainDynamics train = chosen_train(choice);
    if (stations.size() < 2) throw TrainRunError("the train has no two stations to run between");
    Computed out;
    try {
        out.fastest = dynamics::fastest_run(train, route_profile(source, stations, rule));
    } catch (const dynamics::RunError& e) {
        throw TrainRunError(train.id + ": " + e.what());
    }
    out.facts.train = train.name.empty() ? train.id : train.id + " (" + train.name + ")";
    out.facts.speeds = drawn_speeds(out.fastest);
    for (std::size_t i = 1; i < stations.size(); ++i) {
        out.facts.stands.push_back({stations[i].name, static_cast<double>(stations[i].position),
                                    out.fastest.stops[i - 1].arrival});
    }
    return out;
}

}  // namespace

dynamics::TrainDynamics chosen_train(const TrainChoice& choice) {
    try {
        const std::string text = read_input_file(utf8_path(choice.rolling_stock));
        const dynamics::RollingStock stock =
            dynamics::parse_rolling_stock(text, choice.rolling_stock);
        const dynamics::TrainFormation* formation = dynamics::find_train(stock, choice.train_id);
        if (formation == nullptr) {
            throw TrainRunError(choice.rolling_stock + " has no train" +
                                (choice.train_id.empty() ? "" : " \"" + choice.train_id + "\""));
        }
        return dynamics::train_dynamics(stock, *formation, choice.rolling_stock);
    } catch (const TrainRunError&) {
        throw;
    } catch (const std::runtime_error& e) {
        throw TrainRunError(e.what());
    }
}

bool has_train_dynamics() {
    return true;
}

TrainRun train_run(const Run& run, const TrainChoice& choice, LimitRule rule) {
    if (!run.cells) throw TrainRunError("the scenario has no grid to run over");
    const std::vector<RunStation> stations = run_stations(run);
    Computed c = run_over(run, stations, choice, rule);
    for (const TimedLeg& leg : timed_legs(run, rule)) {
        const std::optional<double> from = leaving(stations, c.fastest, leg.from_metres);
        const std::optional<double> to = leaving(stations, c.fastest, leg.to_metres);
        c.facts.leg_seconds.push_back(from && to && *to > *from ? std::optional(*to - *from)
                                                                : std::nullopt);
    }
    return c.facts;
}

TrainRun train_run(const Scene& scene, const TrainChoice& choice, LimitRule rule) {
    if (scene.cells.empty()) throw TrainRunError("the scenario has no grid to run over");
    return run_over(scene, run_stations(scene), choice, rule).facts;
}

}  // namespace railscen::analysis
