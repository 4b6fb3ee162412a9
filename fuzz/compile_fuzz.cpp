// Fuzzes the whole compile: the input is a line description and a train description separated
// by the first NUL byte; the last byte's lowest bit asks for the plan. No input may crash, hang or
// touch memory outside the model.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "compile/memorizza_percorso.h"
#include "model/file_names.h"
#include "output/binary_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find('\0');
    railscen::MemorySource source(input.substr(0, split), split == std::string::npos
                                                              ? std::string()
                                                              : input.substr(split + 1));
    railscen::Run run = railscen::make_run();
    // The input's last byte chooses whether the plan is built as well.
    const std::int32_t with_plan = size > 0 && (data[size - 1] & 1) != 0;
    railscen::compile_in_memory(run, with_plan, source);
    if (run.cells) {
        railscen::encode_cell_file(*run.cells);
        railscen::encode_scenario_file(run.slots);
    }
    // The plan's points are computed as its file is written: produce them into nothing.
    run.plan.produce([](std::uint64_t, std::span<const std::uint8_t>) {});
    return 0;
}
