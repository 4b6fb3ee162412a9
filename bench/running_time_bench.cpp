// The fastest run of the example regional EMU along a made-up line of 100 and 1,000 km: a
// limit change every 2 km, a gradient change every 1.5 km, a curve every 3 km and a stop every
// 25 km, the run worked out from the profile each time. The run's time does not depend on how
// often it is sampled afterwards; the second case samples it every 10 m as CSV does.

#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>

#include "dynamics/rolling_stock.h"
#include "dynamics/running_time.h"

namespace railscen::dynamics {
namespace {

TrainDynamics regional_emu() {
    std::ifstream in(std::string(EXAMPLES_DIR) + "/regional-emu.yaml");
    std::stringstream text;
    text << in.rdbuf();
    const RollingStock stock = parse_rolling_stock(text.str(), "regional-emu.yaml");
    return train_dynamics(stock, stock.trains.front(), "regional-emu.yaml");
}

RouteProfile made_up_line(double length) {
    const double limits[] = {160, 120, 80, 140, 100};
    const double gradients[] = {0, 6, -8, 12, -4, 3};
    const double radii[] = {0, 600, 350, 1200};
    RouteProfile route;
    route.end = length;
    for (int i = 0; i * 2000.0 < length; ++i) {
        route.limits.push_back({i * 2000.0, (i + 1) * 2000.0, limits[i % 5]});
    }
    for (int i = 0; i * 1500.0 < length; ++i) {
        route.gradients.push_back({i * 1500.0, (i + 1) * 1500.0, gradients[i % 6]});
    }
    for (int i = 0; i * 3000.0 < length; ++i) {
        route.curves.push_back({i * 3000.0, i * 3000.0 + 800, radii[i % 4]});
    }
    for (double x = 25'000; x < length; x += 25'000) route.stops.push_back({x, 30});
    return route;
}

void BM_FastestRun(benchmark::State& state) {
    const TrainDynamics train = regional_emu();
    const RouteProfile route = made_up_line(static_cast<double>(state.range(0)));
    double seconds = 0;
    for (auto _ : state) {
        const FastestRun run = fastest_run(train, route);
        seconds = run.running_time;
        benchmark::DoNotOptimize(run.points.data());
    }
    state.counters["running_time_s"] = seconds;
}
BENCHMARK(BM_FastestRun)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

void BM_FastestRunSampledEvery10m(benchmark::State& state) {
    const TrainDynamics train = regional_emu();
    const RouteProfile route = made_up_line(static_cast<double>(state.range(0)));
    for (auto _ : state) {
        const FastestRun run = fastest_run(train, route);
        double sum = 0;
        for (double x = 0; x <= route.end; x += 10) sum += run_at(run, x).time;
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_FastestRunSampledEvery10m)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace railscen::dynamics

BENCHMARK_MAIN();
