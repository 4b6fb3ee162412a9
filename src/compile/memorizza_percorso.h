#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "loader/description_source.h"
#include "model/run.h"

namespace railscen {

struct CompileOutcome {
    std::optional<std::int32_t> fatal;  // 1250 or 1251: the run ends, nothing more is written
    std::vector<std::string> written;   // names of the binary files written, in order
};

// The compile: reset the slots, load both descriptions, post-process the grid, stamp the
// markers and race codes, and write the binary files into out_folder. Whatever code loading
// recorded, the run goes on; only a load that never created a grid writes nothing (a scenario
// without a grid would be broken). Throws FileError when a file cannot be written.
CompileOutcome memorizza_percorso(Run& run, std::int32_t j, DescriptionSource& source,
                                  const std::filesystem::path& out_folder);

// The same steps up to the stamps, writing nothing (for checks and inspection).
std::optional<std::int32_t> compile_in_memory(Run& run, std::int32_t j, DescriptionSource& source);

}  // namespace railscen
