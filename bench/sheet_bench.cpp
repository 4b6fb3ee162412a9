// Speed and size of the route sheet, on the stored scenario (argument 0) and on long lines made
// by the generator (argument: the line's length in metres). The scenario is compiled once; the
// sheet is drawn from it each time, as render does after its compile.

#include <benchmark/benchmark.h>

#include "compile/memorizza_percorso.h"
#include "loader/description_source.h"
#include "long_scenario.h"
#include "model/file_io.h"
#include "render/route_sheet.h"
#include "scenario/stored_scenario.h"
#include "source_text/scrivi_righe.h"

namespace railscen {
namespace {

analysis::Scene compiled(std::int64_t length) {
    const bench::LongScenario t =
        length == 0 ? bench::LongScenario{list_bytes(stored_line_description()),
                                          list_bytes(stored_train_description())}
                    : bench::make_long_scenario(static_cast<std::int32_t>(length));
    Run run = make_run();
    MemorySource source(t.line_text, t.train_text);
    const std::optional<std::int32_t> fatal = compile_in_memory(run, 1, source);
    return analysis::scene_from_run(std::move(run), fatal, {"line", "train"});
}

void BM_RouteSheet(benchmark::State& state) {
    const analysis::Scene scene = compiled(state.range(0));
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string svg = render::route_sheet(scene);
        bytes = svg.size();
        benchmark::DoNotOptimize(svg.data());
    }
    state.counters["svg_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_RouteSheet)->Arg(0)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// A 20 km stretch of the long line.
void BM_RouteSheetStretch(benchmark::State& state) {
    const analysis::Scene scene = compiled(state.range(0));
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string svg = render::route_sheet(scene, render::SheetRange{500000, 520000});
        bytes = svg.size();
        benchmark::DoNotOptimize(svg.data());
    }
    state.counters["svg_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_RouteSheetStretch)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace railscen

BENCHMARK_MAIN();
