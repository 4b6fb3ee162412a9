#include "cli/diagnostics.h"

#include <filesystem>

#include "cli/source_lines.h"
#include "cli/text_encoding.h"
#include "model/cell_index.h"
#include "model/error_codes.h"
#include "model/file_io.h"
#include "output/binary_decode.h"

namespace railscen::cli {
namespace {

// The text of a 1-based line of a file; nullopt when the file or the line cannot be read.
std::optional<std::string> file_line(const std::string& file, int line) {
    std::optional<std::string> text;
    try {
        text = read_file(file);
    } catch (const FileError&) {
        return std::nullopt;
    }
    if (!text || line < 1) return std::nullopt;
    const std::vector<SourceLine> lines = split_lines(*text);
    if (static_cast<std::size_t>(line) > lines.size()) return std::nullopt;
    return std::string(lines[static_cast<std::size_t>(line) - 1].text);
}

// The cell a refused record aimed at, for the codes whose position names it.
std::optional<std::int64_t> target_cell(std::int32_t code, std::int32_t position) {
    switch (code) {
        case 6:
            return cell_index::sign_board(position);
        case 7:
            return cell_index::code_row(position);
        case 16:
            return cell_index::signal(position);
        case 17:
            return cell_index::slowdown_warning(position);
        case 18:
            return cell_index::slowdown_start(position);
        case 21:
            return cell_index::speed_board(position);
        case kFatalMarkers:
        case kFatalRaceCodes:
            return 1;  // the stamps go into cell 1
        default:
            return std::nullopt;
    }
}

// Where a message without a known record is best pinned: the file it is about, else the tool.
std::string unplaced_prefix(const Run& run, const CompileInputs& inputs) {
    if (run.error_source) return inputs.file_of(run.error_source->file);
    if (run.error_code == 101 || run.error_code == 2) return inputs.line_file;
    // The pass that adds drop points works around the train's signals and slowdowns.
    if (run.error_code >= 11 && run.error_code <= 13) return inputs.train_file;
    std::error_code ignored;
    if (run.error_code == 25 && !std::filesystem::exists(inputs.train_file, ignored)) {
        return inputs.train_file;
    }
    return "railscen";
}

}  // namespace

std::optional<SourcePoint> recorded_source(const Run& run, const CompileInputs& inputs) {
    if (!run.error_source) return std::nullopt;
    SourcePoint at{inputs.file_of(run.error_source->file), run.error_source->line,
                   run.error_source->column};
    if (!file_line(at.file, at.line)) return std::nullopt;
    return at;
}

std::string refined_meaning(const Run& run, std::int32_t code) {
    const ErrorCodeInfo* info = find_error_code(code);
    std::string meaning = info != nullptr ? std::string(info->meaning) : "unknown code";
    const std::optional<std::int64_t> cell = target_cell(code, run.error_position);
    if (!cell || !run.cells || !run.cells->contains(*cell)) return meaning;
    const std::uint8_t kind = (*run.cells)[*cell].kind;
    // Only objects a writer places are named; a free cell or an unused code says nothing.
    if (is_free((*run.cells)[*cell]) || cell_kind_name(kind) == "unused kind") return meaning;
    return meaning + " by a " + std::string(cell_kind_name(kind));
}

std::string format_recorded_code(const Run& run, const CompileInputs& inputs) {
    const std::int32_t code = run.error_code;
    const ErrorCodeInfo* info = find_error_code(code);
    std::string message = "error " + std::to_string(code) + ": " + refined_meaning(run, code);
    if (info != nullptr && info->has_position) {
        message += " (at " + std::to_string(run.error_position) + " m)";
    }
    const std::optional<SourcePoint> at = recorded_source(run, inputs);
    if (!at) return unplaced_prefix(run, inputs) + ": " + message + "\n";
    return at->file + ":" + std::to_string(at->line) + ": " + message + "\n" + source_excerpt(*at);
}

std::string format_fatal(const Run& run, std::int32_t code) {
    return "railscen: error " + std::to_string(code) + ": " + refined_meaning(run, code) + "\n";
}

std::string format_warning(const SourcePoint& at, std::string_view message) {
    return at.file + ":" + std::to_string(at.line) + ": warning: " + std::string(message) + "\n" +
           source_excerpt(at);
}

std::string source_excerpt(const SourcePoint& at) {
    const std::optional<std::string> line = file_line(at.file, at.line);
    if (!line) return {};
    // Blanks under the text before the column, tabs kept so the caret lines up.
    std::string caret;
    for (std::size_t i = 0; i + 1 < static_cast<std::size_t>(at.column) && i < line->size(); ++i) {
        caret += (*line)[i] == '\t' ? '\t' : ' ';
    }
    return utf8_from_1252(*line) + "\n" + caret + "^\n";
}

}  // namespace railscen::cli
