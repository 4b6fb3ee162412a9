#include "cli/lsp_diagnostics.h"

#include <string>

#include "cli/diagnostics.h"
#include "cli/lsp_positions.h"
#include "cli/lsp_records.h"
#include "cli/source_lines.h"
#include "cli/warnings.h"
#include "model/cell_index.h"
#include "model/error_codes.h"
#include "source_text/field_reader.h"

namespace railscen::cli {
namespace {

constexpr int kSeverityError = 1;
constexpr int kSeverityWarning = 2;
constexpr int kSeverityInformation = 3;

nlohmann::json position(int line, int character) {
    return {{"line", line}, {"character", character}};
}

// The range of the field that begins at a 1-based line and byte column: to the next comma or
// line end (to the closing quote of a quoted field), blanks after it left out.
nlohmann::json field_range(std::string_view text, int line, int column) {
    const FieldReader reader(text);
    const std::string_view row = reader.line_text(line);
    std::size_t start = column > 0 ? static_cast<std::size_t>(column - 1) : 0;
    if (start > row.size()) start = row.size();
    std::size_t end = start;
    if (end < row.size() && row[end] == '"') {
        const std::size_t close = row.find('"', end + 1);
        end = close == std::string_view::npos ? row.size() : close + 1;
    } else {
        end = row.find(',', start);
        if (end == std::string_view::npos) end = row.size();
        while (end > start && (row[end - 1] == ' ' || row[end - 1] == '\t')) --end;
    }
    if (end == start && end < row.size()) ++end;  // an empty field: mark the separator
    const int l = line > 0 ? line - 1 : 0;
    return {{"start", position(l, utf16_column(row, start))},
            {"end", position(l, utf16_column(row, end))}};
}

nlohmann::json diagnostic(nlohmann::json range, int severity, std::optional<int> code,
                          const std::string& message) {
    nlohmann::json d = {{"range", std::move(range)},
                        {"severity", severity},
                        {"source", "railscen"},
                        {"message", message}};
    if (code) d["code"] = *code;
    return d;
}

const nlohmann::json kFirstLine = {{"start", position(0, 0)}, {"end", position(0, 0)}};

// The text a code without a record of its own is best shown on.
SourceFile unplaced_file(const CompiledPair& c) {
    const std::int32_t code = c.run.error_code;
    // The pass that adds drop points works around the train's signals and slowdowns.
    if (code >= 11 && code <= 13) return SourceFile::kTrain;
    return SourceFile::kLine;
}

std::string code_message(const Run& run, std::int32_t code) {
    const ErrorCodeInfo* info = find_error_code(code);
    std::string message = "error " + std::to_string(code) + ": " + refined_meaning(run, code);
    if (info != nullptr && info->has_position) {
        message += " (at " + std::to_string(run.error_position) + " m)";
    }
    if (info != nullptr && !info->remedy.empty()) message += "\n" + std::string(info->remedy);
    return message;
}

// The cell a refused record aimed at, for the codes that refuse a taken cell.
std::optional<std::int64_t> taken_cell(std::int32_t code, std::int32_t position) {
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
        default:
            return std::nullopt;
    }
}

// The cells a record line puts an object into, by its kind's cell rule.
std::vector<std::int64_t> object_cells(const RecordLine& r) {
    std::vector<std::int64_t> cells;
    const auto n = record_numbers(r.text, 3);
    if (n.empty()) return cells;
    for (ObjectRecord o : r.objects) {
        if (o == ObjectRecord::kSpeedBoard) cells.push_back(cell_index::speed_board(n[0]));
        if (o == ObjectRecord::kSignBoard) cells.push_back(cell_index::sign_board(n[0]));
    }
    for (TrainRecord t : r.train) {
        if (t == TrainRecord::kSignal) cells.push_back(cell_index::signal(n[0]));
        if (t == TrainRecord::kCodeRow) cells.push_back(cell_index::code_row(n[0]));
        if (t == TrainRecord::kSlowdown && n.size() >= 3) {
            cells.push_back(cell_index::slowdown_start(n[0]));
            cells.push_back(cell_index::slowdown_end(n[0], n[2]));
            if (n[0] > 1500) cells.push_back(cell_index::slowdown_warning(n[0]));
        }
    }
    return cells;
}

// For a record refused on a taken cell: the records of either text whose object that cell is.
nlohmann::json related_holders(const CompiledPair& c) {
    nlohmann::json related = nlohmann::json::array();
    const Run& run = c.run;
    const std::optional<std::int64_t> cell = taken_cell(run.error_code, run.error_position);
    if (!cell || !run.error_source) return related;
    for (SourceFile file : {SourceFile::kLine, SourceFile::kTrain}) {
        const PairSide& side = c.pair.side(file);
        if (side.stand_in || side.uri.empty()) continue;
        for (const RecordLine& r : classify_lines(side.bytes, file)) {
            if (file == run.error_source->file && r.line == run.error_source->line) continue;
            for (std::int64_t held : object_cells(r)) {
                if (held != *cell) continue;
                related.push_back(
                    {{"location",
                      {{"uri", side.uri},
                       {"range", field_range(side.bytes, r.line, r.keyword_column)}}},
                     {"message", "cell " + std::to_string(*cell) + " is already taken here"}});
                break;
            }
            if (related.size() >= 8) return related;
        }
    }
    return related;
}

}  // namespace

std::vector<nlohmann::json> lsp_diagnostics(const CompiledPair& c, SourceFile file) {
    std::vector<nlohmann::json> out;
    const PairSide& side = c.pair.side(file);
    if (side.stand_in) return out;
    const PairSide& other =
        c.pair.side(file == SourceFile::kLine ? SourceFile::kTrain : SourceFile::kLine);
    const Run& run = c.run;

    if (run.error_code != 0) {
        const std::string message = code_message(run, run.error_code);
        if (run.error_source) {
            const SourceLocation& at = *run.error_source;
            if (at.file == file) {
                out.push_back(diagnostic(field_range(side.bytes, at.line, at.column),
                                         kSeverityError, run.error_code, message));
                nlohmann::json related = related_holders(c);
                if (!related.empty()) out.back()["relatedInformation"] = std::move(related);
            } else if (c.pair.side(at.file).stand_in) {
                // Raised in the stand-in: the text alone cannot settle it.
                out.push_back(diagnostic(kFirstLine, kSeverityError, run.error_code,
                                         message + " (compiled without a partner text)"));
            }
        } else {
            SourceFile target = unplaced_file(c);
            if (c.pair.side(target).stand_in) target = file;
            if (target == file) {
                out.push_back(diagnostic(kFirstLine, kSeverityError, run.error_code, message));
            }
        }
    }
    if (c.fatal && file == SourceFile::kLine) {
        out.push_back(diagnostic(
            kFirstLine, kSeverityError, *c.fatal,
            "error " + std::to_string(*c.fatal) + ": " + refined_meaning(run, *c.fatal)));
    }

    if (side.bytes.size() > kMaxCheckedText || other.bytes.size() > kMaxCheckedText) {
        out.push_back(diagnostic(kFirstLine, kSeverityInformation, std::nullopt,
                                 "text over 2 MB: compiled, but not checked for warnings"));
        return out;
    }
    std::vector<Warning> warnings = spelling_warnings(side.bytes, file);
    const std::string& line_text = c.pair.line.bytes;
    const std::string& train_text = c.pair.train.bytes;
    if (file == SourceFile::kLine) {
        for (Warning& w : stretch_warnings(run, line_text)) warnings.push_back(std::move(w));
    } else if (!c.pair.line.stand_in) {
        for (Warning& w : timetable_warnings(run, train_text)) warnings.push_back(std::move(w));
    }
    for (const Warning& w : warnings) {
        if (w.file != file) continue;
        out.push_back(diagnostic(field_range(side.bytes, w.line, w.column), kSeverityWarning,
                                 std::nullopt, w.message));
    }
    return out;
}

}  // namespace railscen::cli
