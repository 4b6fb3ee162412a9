#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "model/run.h"

namespace railscen {

using Bytes = std::vector<std::uint8_t>;

// Byte images of the three binary files: little-endian, packed, no headers.
Bytes encode_scenario_file(const Slots& slots);  // 34 + text length bytes per slot
Bytes encode_cell_file(const Cells& cells);      // 15 bytes per cell
Bytes encode_plan_file(const Plan& plan);        // the plan's image, whole

// Writes the plan file (only when with_plan is non-zero), the scenario file and the cell
// file into folder, in that order. Returns the names written. Throws FileError.
std::vector<std::string> write_binary_files(const Run& run, const std::filesystem::path& folder);

}  // namespace railscen
