// Speed of one whole compile of the stored scenario, in memory, and of the file images.

#include <benchmark/benchmark.h>

#include "app/memorizza_percorso.h"
#include "model/file_names.h"
#include "output/binary_files.h"
#include "scenario/stored_scenario.h"
#include "source_text/scrivi_righe.h"

namespace railscen {
namespace {

MemorySource stored_source() {
    return MemorySource(list_bytes(stored_line_description()),
                        list_bytes(stored_train_description()));
}

void BM_CompileStoredScenario(benchmark::State& state) {
    for (auto _ : state) {
        Run run = make_run();
        MemorySource source = stored_source();
        benchmark::DoNotOptimize(compile_in_memory(run, 1, source));
        benchmark::DoNotOptimize(run.cells->all().data());
    }
}
BENCHMARK(BM_CompileStoredScenario)->Unit(benchmark::kMillisecond);

void BM_EncodeBinaryFiles(benchmark::State& state) {
    Run run = make_run();
    MemorySource source = stored_source();
    compile_in_memory(run, 1, source);
    for (auto _ : state) {
        benchmark::DoNotOptimize(encode_plan_file(run.plan));
        benchmark::DoNotOptimize(encode_scenario_file(run.slots));
        benchmark::DoNotOptimize(encode_cell_file(*run.cells));
    }
}
BENCHMARK(BM_EncodeBinaryFiles)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace railscen

BENCHMARK_MAIN();
