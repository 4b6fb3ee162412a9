#pragma once

// A compiled scenario read back from its three files: the scenario file (.sim), and the cell
// file and plan file its line and train names lead to, beside it.

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <vector>

#include "model/plan.h"
#include "model/scenario_slot.h"
#include "model/track_cell.h"

namespace railscen::analysis {

// A compiled scenario as its three files hold it (the plan absent when none was written).
struct CompiledScenario {
    Slots slots;
    std::vector<TrackCell> cells;
    std::optional<Plan> plan;
};

// The files read and what they hold. The plan file is named even when it is absent or was not
// read, so that a command can keep its outputs off it.
struct CompiledFiles {
    std::filesystem::path scenario_file;
    std::filesystem::path cell_file;
    std::filesystem::path plan_file;
    CompiledScenario scenario;
};

// Why a compiled scenario could not be read; what() names the file and the reason.
class CompiledFilesError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Reads and decodes the scenario file and the files its names lead to, each no larger than its
// format allows. A line or train name that cannot make a file name (one that would lead out of
// the folder) is refused before any other file is opened. The plan is read when with_plan is
// set and the file is there. Throws CompiledFilesError (a missing file, bytes that do not
// decode) or FileError (a file that cannot be read).
CompiledFiles read_compiled_files(const std::filesystem::path& scenario_file,
                                  bool with_plan = true);

}  // namespace railscen::analysis
