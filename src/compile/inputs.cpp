#include "compile/inputs.h"

#include "compile/scenario_names.h"
#include "model/file_io.h"
#include "model/text_encoding.h"
#include "model/utf8_path.h"

namespace railscen {

namespace {

// A name as typed in a UTF-8 terminal (or read from a file name), in the Windows-1252 bytes the
// scenario stores.
std::string stored_name(const std::string& name, std::string_view option) {
    Cp1252Result converted = cp1252_from_utf8(name);
    if (!converted.ok()) {
        throw UsageError(std::string(option) +
                         " cannot be stored in Windows-1252: " + converted.problem);
    }
    return std::move(converted.bytes);
}

}  // namespace

ScenarioNames resolved_names(const CompileInputs& inputs) {
    ScenarioNames names{inputs.line_name, inputs.train_name};
    if (names.line_name.empty() || names.train_name.empty()) {
        const std::string line = utf8_name(utf8_path(inputs.line_file).filename());
        const std::string train = utf8_name(utf8_path(inputs.train_file).filename());
        const std::optional<ScenarioNames> from_files = names_from_files(line, train);
        if (!from_files && !inputs.writes_files) {
            return {std::string(kScenarioLineName), std::string(kScenarioTrainName)};
        }
        if (!from_files) {
            // Files given in each other's place, or two names that disagree, are said as such.
            if (const std::optional<std::string> why = names_mismatch(line, train)) {
                throw UsageError(*why);
            }
            const std::string missing = names.line_name.empty() && names.train_name.empty()
                                            ? "--line-name and --train-name"
                                        : names.line_name.empty() ? "--line-name"
                                                                  : "--train-name";
            throw UsageError("give " + missing + ": the file names \"" + line + "\" and \"" +
                             train +
                             "\" do not follow the pattern NAME_linea.txt and NAME_TRAIN-.txt");
        }
        if (names.line_name.empty()) names.line_name = from_files->line_name;
        if (names.train_name.empty()) names.train_name = from_files->train_name;
    }
    return {stored_name(names.line_name, "--line-name"),
            stored_name(names.train_name, "--train-name")};
}

Run named_run(const CompileInputs& inputs) {
    const ScenarioNames names = resolved_names(inputs);
    return make_run(names.line_name, names.train_name, inputs.with_plan());
}

namespace {

std::string input_text(const std::string& file, bool from_utf8) {
    std::string text = read_input_file(utf8_path(file));
    if (!from_utf8) return text;
    Cp1252Result converted = cp1252_from_utf8(text);
    // A text that is not UTF-8 at all is taken for Windows-1252 already: it needs no converting.
    if (!converted.ok() && !looks_like_utf8(text)) return text;
    if (!converted.ok()) {
        throw UsageError("--from-utf8: \"" + file +
                         "\" cannot be held in Windows-1252: " + converted.problem);
    }
    return std::move(converted.bytes);
}

}  // namespace

InputTexts::InputTexts(const CompileInputs& inputs)
    : line_(input_text(inputs.line_file, inputs.from_utf8)),
      train_(input_text(inputs.train_file, inputs.from_utf8)) {}

std::vector<std::filesystem::path> written_paths(const std::filesystem::path& folder,
                                                 const FileNames& names, const WrittenFiles& what) {
    std::vector<std::filesystem::path> paths;
    if (what.plan) paths.push_back(folder / names.plan_file);
    if (what.binaries) {
        paths.push_back(folder / names.scenario_file);
        paths.push_back(folder / names.cell_file);
    }
    paths.insert(paths.end(), what.named.begin(), what.named.end());
    if (what.documents) {
        paths.push_back(folder / names.timetable_sheet);
        paths.push_back(folder / names.slowdown_form);
    }
    return paths;
}

void guard_outputs(const std::vector<std::filesystem::path>& outputs,
                   const std::vector<std::filesystem::path>& inputs) {
    std::vector<std::pair<std::filesystem::path, FileIdentity>> read;
    for (const std::filesystem::path& input : inputs) {
        if (const auto id = file_identity(input)) read.emplace_back(input, *id);
    }
    for (const std::filesystem::path& output : outputs) {
        std::error_code ec;
        if (std::filesystem::is_directory(output, ec)) {
            throw UsageError("cannot write \"" + utf8_name(output) + "\": a folder has that name");
        }
        const std::optional<FileIdentity> id = file_identity(output);
        if (!id) continue;
        for (const auto& [input, input_id] : read) {
            if (*id == input_id) {
                throw UsageError("the output \"" + utf8_name(output) + "\" is the input \"" +
                                 utf8_name(input) + "\"; railscen never writes over what it reads");
            }
        }
    }
}

void require_output_folder(const std::filesystem::path& folder,
                           const std::filesystem::path& first_output) {
    std::error_code ec;
    const std::filesystem::file_type type = std::filesystem::status(folder, ec).type();
    if (type == std::filesystem::file_type::directory) return;
    const std::string reason =
        type == std::filesystem::file_type::not_found
            ? std::make_error_code(std::errc::no_such_file_or_directory).message()
        : ec ? ec.message()
             : "\"" + utf8_name(folder) + "\" is not a folder";
    throw FileError(write_failure(first_output, reason));
}

}  // namespace railscen
