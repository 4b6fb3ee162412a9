#include "compile/scenario_names.h"

namespace railscen {

std::optional<ScenarioNames> names_from_files(std::string_view line_file,
                                              std::string_view train_file) {
    constexpr std::string_view kLineSuffix = "_linea.txt";
    constexpr std::string_view kTrainSuffix = "-.txt";
    if (!line_file.ends_with(kLineSuffix)) return std::nullopt;
    const std::string_view name = line_file.substr(0, line_file.size() - kLineSuffix.size());
    if (name.empty() || !train_file.starts_with(name) || !train_file.ends_with(kTrainSuffix)) {
        return std::nullopt;
    }
    std::string_view rest = train_file.substr(name.size());
    if (!rest.starts_with('_') || rest.size() < 1 + kTrainSuffix.size() + 1) return std::nullopt;
    rest = rest.substr(1, rest.size() - 1 - kTrainSuffix.size());
    return ScenarioNames{std::string(name), std::string(rest)};
}

std::optional<std::string> names_mismatch(std::string_view line_file, std::string_view train_file) {
    if (names_from_files(train_file, line_file)) {
        return "the files are given in each other's place: \"" + std::string(train_file) +
               "\" is the line description and \"" + std::string(line_file) +
               "\" the train description; give the line description first";
    }
    constexpr std::string_view kLineSuffix = "_linea.txt";
    constexpr std::string_view kTrainSuffix = "-.txt";
    const std::size_t cut = train_file.rfind('_');
    if (!line_file.ends_with(kLineSuffix) || !train_file.ends_with(kTrainSuffix) ||
        cut == std::string_view::npos || cut == 0) {
        return std::nullopt;
    }
    const std::string_view line_name = line_file.substr(0, line_file.size() - kLineSuffix.size());
    const std::string_view train_line = train_file.substr(0, cut);
    if (line_name == train_line) return std::nullopt;
    return "the two files' names disagree: the line description names the line \"" +
           std::string(line_name) + "\", the train description \"" + std::string(train_line) +
           "\"; rename one of them, or give --line-name and --train-name";
}

}  // namespace railscen
