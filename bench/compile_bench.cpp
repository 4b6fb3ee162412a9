// Speed of each phase of a compile, on the stored scenario (argument 0) and on long lines made
// by the generator (argument: the line's length in metres).

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

#include "compile/memorizza_percorso.h"
#include "grid/post_pass.h"
#include "grid/race_codes.h"
#include "loader/description_source.h"
#include "loader/loading.h"
#include "long_scenario.h"
#include "model/file_io.h"
#include "model/file_names.h"
#include "output/binary_files.h"
#include "scenario/stored_scenario.h"
#include "source_text/field_reader.h"
#include "source_text/scrivi_righe.h"

#ifdef RAILSCEN_BENCH_CLI
#include "analysis/warnings.h"
#endif

namespace railscen {
namespace {

// The texts of a scenario: the stored one for length 0, else a generated long line.
const bench::LongScenario& texts(std::int64_t length) {
    static bench::LongScenario stored{list_bytes(stored_line_description()),
                                      list_bytes(stored_train_description())};
    static std::int64_t made_for = -1;
    static bench::LongScenario made;
    if (length == 0) return stored;
    if (made_for != length) {
        made = bench::make_long_scenario(static_cast<std::int32_t>(length));
        made_for = length;
    }
    return made;
}

// A run after the line phase, or after both phases.
Run loaded(std::int64_t length, bool with_train) {
    const bench::LongScenario& t = texts(length);
    Run run = make_run();
    MemorySource source(t.line_text, t.train_text);
    Loading loading(run, source);
    if (loading.line_phase() && with_train) loading.train_phase();
    return run;
}

void scenarios(benchmark::internal::Benchmark* b) {
    b->Arg(0)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
}

void BM_Reader(benchmark::State& state) {
    const std::string& text = texts(state.range(0)).line_text;
    for (auto _ : state) {
        FieldReader reader(text);
        std::size_t fields = 0;
        while (!reader.at_end()) {
            benchmark::DoNotOptimize(reader.read_text());
            ++fields;
        }
        benchmark::DoNotOptimize(fields);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_Reader)->Apply(scenarios);

void BM_LinePhase(benchmark::State& state) {
    for (auto _ : state) {
        Run run = loaded(state.range(0), false);
        benchmark::DoNotOptimize(run.plan.filled());
    }
}
BENCHMARK(BM_LinePhase)->Apply(scenarios);

// The plan alone: straight and curved stretches of 1000 m in turn over the whole line, its
// points computed in the pieces the file is written in (handed to nothing here).
void BM_Plan(benchmark::State& state) {
    const auto length = static_cast<std::int32_t>(state.range(0) == 0 ? 105500 : state.range(0));
    for (auto _ : state) {
        Plan plan = Plan::for_route(length);
        plan.start();
        for (std::int64_t at = 1000; plan.filled() <= plan.last_row() - 2; at += 2000) {
            plan.extend_straight(std::min(at, plan.last_row() - 2));
            plan.extend_curve(std::min(at + 1000, plan.last_row() - 2), 0.001);
        }
        std::uint64_t bytes = 0;
        plan.produce([&](std::uint64_t, std::span<const std::uint8_t> piece) {
            bytes += piece.size();
            benchmark::DoNotOptimize(piece.data());
        });
        benchmark::DoNotOptimize(bytes);
    }
    state.SetBytesProcessed(state.iterations() * (std::int64_t{length} + 7001) * 20);
}
BENCHMARK(BM_Plan)->Apply(scenarios);

void BM_TrainPhase(benchmark::State& state) {
    const bench::LongScenario& t = texts(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        Run run = make_run();
        MemorySource source(t.line_text, t.train_text);
        Loading loading(run, source);
        const bool line_done = loading.line_phase();
        state.ResumeTiming();
        if (line_done) loading.train_phase();
        benchmark::DoNotOptimize(run.cells->all().data());
    }
}
BENCHMARK(BM_TrainPhase)->Apply(scenarios);

void BM_PostProcessingPass(benchmark::State& state) {
    const Run base = loaded(state.range(0), true);
    for (auto _ : state) {
        state.PauseTiming();
        Run run = base;
        state.ResumeTiming();
        post_process_grid(run);
        benchmark::DoNotOptimize(stamp_markers(run));
    }
}
BENCHMARK(BM_PostProcessingPass)->Apply(scenarios);

void BM_CompileInMemory(benchmark::State& state) {
    const bench::LongScenario& t = texts(state.range(0));
    for (auto _ : state) {
        Run run = make_run();
        MemorySource source(t.line_text, t.train_text);
        benchmark::DoNotOptimize(compile_in_memory(run, 1, source));
        benchmark::DoNotOptimize(run.cells->all().data());
    }
}
BENCHMARK(BM_CompileInMemory)->Apply(scenarios);

#ifdef RAILSCEN_BENCH_CLI
// What check does: the compile in memory and the warnings on the records it read.
void BM_CheckInMemory(benchmark::State& state) {
    const bench::LongScenario& t = texts(state.range(0));
    for (auto _ : state) {
        Run run = make_run();
        MemorySource source(t.line_text, t.train_text);
        benchmark::DoNotOptimize(compile_in_memory(run, 1, source));
        benchmark::DoNotOptimize(analysis::check_warnings(run));
    }
}
BENCHMARK(BM_CheckInMemory)->Apply(scenarios);
#endif

void BM_EncodeScenarioFile(benchmark::State& state) {
    const Run run = loaded(state.range(0), true);
    for (auto _ : state) benchmark::DoNotOptimize(encode_scenario_file(run.slots));
}
BENCHMARK(BM_EncodeScenarioFile)->Apply(scenarios)->Unit(benchmark::kMicrosecond);

void BM_EncodeCellFile(benchmark::State& state) {
    const Run run = loaded(state.range(0), true);
    for (auto _ : state) benchmark::DoNotOptimize(encode_cell_file(*run.cells));
}
BENCHMARK(BM_EncodeCellFile)->Apply(scenarios)->Unit(benchmark::kMicrosecond);

// The three binary files written through the file writer into a temporary folder.
void BM_WriteBinaryFiles(benchmark::State& state) {
    Run run = loaded(state.range(0), true);
    post_process_grid(run);
    stamp_markers(run);
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("railscen_bench_" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    for (auto _ : state) benchmark::DoNotOptimize(write_binary_files(run, folder));
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_WriteBinaryFiles)->Apply(scenarios);

}  // namespace
}  // namespace railscen

BENCHMARK_MAIN();
