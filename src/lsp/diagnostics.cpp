#include "lsp/diagnostics.h"

#include <set>
#include <string>

#include "analysis/warnings.h"
#include "lsp/positions.h"
#include "model/diagnostic.h"
#include "model/error_codes.h"
#include "source_text/field_reader.h"

namespace railscen::lsp {
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

// A code of 0 is no code: warnings and notices carry none.
nlohmann::json diagnostic(nlohmann::json range, int severity, int code,
                          const std::string& message) {
    nlohmann::json d = {{"range", std::move(range)},
                        {"severity", severity},
                        {"source", "railscen"},
                        {"message", message}};
    if (code != 0) d["code"] = code;
    return d;
}

const nlohmann::json kFirstLine = {{"start", position(0, 0)}, {"end", position(0, 0)}};

// The text a code without a record of its own is best shown on.
// One of the compiler's diagnostics as LSP shows it on `file`: on its field when it points
// into this text, on the first line when it points at no text (or into a stand-in), with every
// note as related information.
std::optional<nlohmann::json> lsp_diagnostic(const CompiledPair& c, SourceFile file,
                                             const Diagnostic& d) {
    const PairSide& side = c.pair.side(file);
    std::string message = one_line(d);
    if (d.severity == Severity::kError) {
        const ErrorCodeInfo* info = find_error_code(d.code);
        if (info != nullptr && !info->remedy.empty()) message += "\n" + std::string(info->remedy);
    }
    const int severity = d.severity == Severity::kError ? kSeverityError : kSeverityWarning;
    const int code = d.severity == Severity::kError ? d.code : 0;

    // What a stand-in lacks is no fault of the text being edited.
    if (d.severity == Severity::kWarning && d.at && c.pair.side(d.at->file).stand_in) {
        return std::nullopt;
    }
    nlohmann::json shown;
    if (d.at && d.at->line > 0 && !c.pair.side(d.at->file).stand_in) {
        if (d.at->file != file) return std::nullopt;
        shown =
            diagnostic(field_range(side.bytes, d.at->line, d.at->column), severity, code, message);
    } else {
        // A text as a whole, a stand-in's record, or no record at all: the line text shows what
        // points at none, unless it is the stand-in.
        const SourceFile home = d.at && !c.pair.side(d.at->file).stand_in ? d.at->file
                                : c.pair.line.stand_in                    ? SourceFile::kTrain
                                                                          : SourceFile::kLine;
        if (home != file) return std::nullopt;
        if (d.at && c.pair.side(d.at->file).stand_in)
            message += " (compiled without a partner text)";
        shown = diagnostic(kFirstLine, severity, code, message);
    }
    nlohmann::json related = nlohmann::json::array();
    for (const RelatedLocation& r : d.related) {
        const PairSide& where = c.pair.side(r.at.file);
        if (where.stand_in || where.uri.empty()) continue;
        related.push_back(
            {{"location",
              {{"uri", where.uri}, {"range", field_range(where.bytes, r.at.line, r.at.column)}}},
             {"message", r.note}});
    }
    if (!related.empty()) shown["relatedInformation"] = std::move(related);
    return shown;
}

}  // namespace

std::vector<nlohmann::json> lsp_diagnostics(const CompiledPair& c, SourceFile file) {
    std::vector<nlohmann::json> out;
    const PairSide& side = c.pair.side(file);
    if (side.stand_in) return out;
    const PairSide& other =
        c.pair.side(file == SourceFile::kLine ? SourceFile::kTrain : SourceFile::kLine);

    std::set<std::string> seen;
    auto add = [&](const Diagnostic& d) {
        std::optional<nlohmann::json> shown = lsp_diagnostic(c, file, d);
        if (shown && seen.insert(shown->dump()).second) out.push_back(std::move(*shown));
    };
    for (const Diagnostic& d : c.run.diagnostics) add(d);

    if (side.bytes.size() > kMaxCheckedText || other.bytes.size() > kMaxCheckedText) {
        out.push_back(diagnostic(kFirstLine, kSeverityInformation, 0,
                                 "text over 2 MB: compiled, but not checked for warnings"));
        return out;
    }
    for (const Diagnostic& d : analysis::check_warnings(c.run)) add(d);
    return out;
}

}  // namespace railscen::lsp
