// Speed of one whole compile of the stored scenario, in memory, and of the file images.

#include <benchmark/benchmark.h>

#include "app/memorizza_percorso.h"
#include "model/file_names.h"
#include "output/binary_files.h"
#include "scenario/stored_scenario.h"
#include "source_text/scrivi_righe.h"

namespace railscen {
namespace {

class StoredSource : public DescriptionSource {
  public:
    std::optional<std::string> line_text() override {
        return list_bytes(stored_line_description());
    }
    std::optional<std::string> train_text() override {
        return list_bytes(stored_train_description());
    }
    void delete_line() override {}
    void delete_train() override {}
};

Run named_run() {
    Run run;
    run.line_name = kScenarioLineName;
    run.train_name = kScenarioTrainName;
    return run;
}

void BM_CompileStoredScenario(benchmark::State& state) {
    for (auto _ : state) {
        Run run = named_run();
        StoredSource source;
        benchmark::DoNotOptimize(compile_in_memory(run, 1, source));
        benchmark::DoNotOptimize(run.cells->all().data());
    }
}
BENCHMARK(BM_CompileStoredScenario)->Unit(benchmark::kMillisecond);

void BM_EncodeBinaryFiles(benchmark::State& state) {
    Run run = named_run();
    StoredSource source;
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
