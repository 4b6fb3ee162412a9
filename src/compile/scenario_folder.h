#pragma once

// Which scenario a folder holds: the pairs of description texts named by the pack's pattern
// ("NAME_linea.txt" beside "NAME_TRAIN-.txt") and the compiled scenario files (.sim). Every
// command that takes a folder, and the editor looking for a text's partner, finds them here.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "compile/scenario_names.h"

namespace railscen {

// One scenario's two description texts, and the names their file names give.
struct ScenarioTexts {
    std::filesystem::path line_file;
    std::filesystem::path train_file;
    ScenarioNames names;

    std::string label() const;  // "LINE / TRAIN"
};

// The pairs among these file names (no folder) that name one scenario, lines in the order
// given and, for each, its trains in the order given.
std::vector<ScenarioTexts> scenario_pairs(const std::vector<std::string>& file_names);

// The names among file_names that can pair with file: for a line description its trains in the
// order given; for a train description the lines whose name begins it, the longest name first
// (a line name may hold underscores itself). Empty for a name that follows neither pattern.
std::vector<std::string> partner_names(std::string_view file,
                                       const std::vector<std::string>& file_names);

// What a folder holds, in name order. Names typed by the user (UTF-8; either may be empty)
// narrow it: a pair whose names differ is left out, and when both are given only the scenario
// file those names make is kept.
struct FolderScenarios {
    std::vector<ScenarioTexts> texts;
    std::vector<std::filesystem::path> compiled;
};
FolderScenarios scenarios_in(const std::filesystem::path& folder, const ScenarioNames& wanted = {});

// The one scenario a folder holds: its texts when there is one pair, and its scenario file
// when there is one. Throws UsageError when several pairs are there, or no pair and not
// exactly one scenario file: "FOLDER holds 3 scenarios ("A / T1", "A / T2", "B / T1"): ADVICE",
// "FOLDER holds 2 scenario files (.sim): ADVICE", or "FOLDER holds no scenario: ...".
// shown is the folder as the message names it; advice says how to pick one.
struct FolderScenario {
    std::optional<ScenarioTexts> texts;
    std::optional<std::filesystem::path> compiled;
};
FolderScenario one_scenario(const FolderScenarios& found, const std::string& shown,
                            const std::string& advice);

}  // namespace railscen
