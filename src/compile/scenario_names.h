#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace railscen {

struct ScenarioNames {
    std::string line_name;
    std::string train_name;
};

// The names the pack would have used for these two description files: "NAME_linea.txt" and
// "NAME_TRAIN-.txt" with the same NAME give line name NAME and train name TRAIN. Takes the
// files' own names (no folder); nullopt when they do not follow that pattern.
std::optional<ScenarioNames> names_from_files(std::string_view line_file,
                                              std::string_view train_file);

// Why two file names that names_from_files refuses do not name one scenario, when it is one of
// two mistakes: the train description given first and the line second ("the files are given in
// each other's place"), or a line NAME_linea.txt beside a train OTHER_TRAIN-.txt whose names
// disagree. nullopt for names that follow no pattern at all.
std::optional<std::string> names_mismatch(std::string_view line_file, std::string_view train_file);

}  // namespace railscen
