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

}  // namespace railscen
