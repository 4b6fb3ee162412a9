#include "compile/scenario_folder.h"

#include <algorithm>

#include "compile/inputs.h"
#include "model/file_names.h"
#include "model/text_encoding.h"
#include "model/utf8_path.h"

namespace railscen {

std::string ScenarioTexts::label() const {
    return names.line_name + " / " + names.train_name;
}

std::vector<ScenarioTexts> scenario_pairs(const std::vector<std::string>& file_names) {
    std::vector<ScenarioTexts> pairs;
    for (const std::string& line : file_names) {
        for (const std::string& train : file_names) {
            if (std::optional<ScenarioNames> names = names_from_files(line, train)) {
                pairs.push_back({utf8_path(line), utf8_path(train), std::move(*names)});
            }
        }
    }
    return pairs;
}

std::vector<std::string> partner_names(std::string_view file,
                                       const std::vector<std::string>& file_names) {
    std::vector<std::string> trains;
    std::vector<std::string> lines;
    for (const std::string& other : file_names) {
        if (names_from_files(file, other)) trains.push_back(other);
        if (names_from_files(other, file)) lines.push_back(other);
    }
    if (!trains.empty()) return trains;
    std::stable_sort(lines.begin(), lines.end(), [](const std::string& a, const std::string& b) {
        return a.size() > b.size();
    });
    return lines;
}

FolderScenarios scenarios_in(const std::filesystem::path& folder, const ScenarioNames& wanted) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        // An entry whose kind cannot be told (a loop of links) is kept: reading it names why.
        std::error_code ec;
        if (entry.is_regular_file(ec) || ec) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    std::vector<std::string> names;
    for (const auto& file : files) names.push_back(utf8_name(file.filename()));

    FolderScenarios found;
    for (ScenarioTexts& pair : scenario_pairs(names)) {
        if (!wanted.line_name.empty() && pair.names.line_name != wanted.line_name) continue;
        if (!wanted.train_name.empty() && pair.names.train_name != wanted.train_name) continue;
        pair.line_file = folder / pair.line_file;
        pair.train_file = folder / pair.train_file;
        found.texts.push_back(std::move(pair));
    }
    // The names typed are UTF-8; the scenario's file names are built from its Windows-1252
    // text.
    const bool both = !wanted.line_name.empty() && !wanted.train_name.empty();
    const std::filesystem::path wanted_file =
        both ? file_names(cp1252_from_utf8(wanted.line_name).bytes,
                          cp1252_from_utf8(wanted.train_name).bytes)
                   .scenario_file
             : std::filesystem::path();
    for (const auto& file : files) {
        if (file.extension() != ".sim") continue;
        if (both && file.filename() != wanted_file) continue;
        found.compiled.push_back(file);
    }
    return found;
}

FolderScenario one_scenario(const FolderScenarios& found, const std::string& shown,
                            const std::string& advice) {
    if (found.texts.size() > 1) {
        std::string listed;
        for (const ScenarioTexts& pair : found.texts) {
            listed += (listed.empty() ? "\"" : ", \"") + pair.label() + "\"";
        }
        throw UsageError(shown + " holds " + std::to_string(found.texts.size()) + " scenarios (" +
                         listed + "): " + advice);
    }
    FolderScenario one;
    if (found.texts.size() == 1) one.texts = found.texts.front();
    if (found.compiled.size() == 1) one.compiled = found.compiled.front();
    if (one.texts) return one;
    if (found.compiled.size() > 1) {
        throw UsageError(shown + " holds " + std::to_string(found.compiled.size()) +
                         " scenario files (.sim): " + advice);
    }
    if (!one.compiled) {
        throw UsageError(shown +
                         " holds no scenario: no description texts (NAME_linea.txt and "
                         "NAME_TRAIN-.txt) and no scenario file (.sim)");
    }
    return one;
}

}  // namespace railscen
