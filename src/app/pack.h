#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace railscen {

inline constexpr int kExitClean = 0;
inline constexpr int kExitScenarioCode = 1;
inline constexpr int kExitFatal = 2;
inline constexpr int kExitFileFailure = 3;

struct PackResult {
    int status = kExitClean;
    std::optional<std::int32_t> fatal;  // the caller shows the error box
    std::string message;                // one line for standard error, or empty
};

// One run of the pack in folder: names, wait window, the five text writers, the compile.
// Throws FileError when a file cannot be written; files written before stay whole.
PackResult run_pack(
    const std::filesystem::path& folder, const std::function<void()>& show_window = [] {});

}  // namespace railscen
