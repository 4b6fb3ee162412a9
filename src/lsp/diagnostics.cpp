#include "lsp/diagnostics.h"

#include <set>
#include <string>
#include <utility>

#include "analysis/shown.h"
#include "analysis/warnings.h"
#include "lsp/positions.h"
#include "lsp/rolling_stock.h"
#include "model/diagnostic.h"
#include "model/error_codes.h"
#include "source_text/field_reader.h"

namespace railscen::lsp {
namespace {

// The range of the field that begins at a 1-based line and byte column: to the next comma or
// line end (to the closing quote of a quoted field), blanks after it left out.
TextRange field_range(std::string_view text, int line, int column) {
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
    return {l, utf16_column(row, start), l, utf16_column(row, end)};
}

constexpr TextRange kFirstLine{};

// The text a code without a record of its own is best shown on.
// One of the compiler's diagnostics as LSP shows it on `file`: on its field when it points
// into this text, on the first line when it points at no text (or into a stand-in), with every
// note as related information.
std::optional<ShownDiagnostic> shown_diagnostic(const CompiledPair& c, SourceFile file,
                                                const Diagnostic& d) {
    const PairSide& side = c.pair.side(file);
    std::string message = one_line(d);
    if (d.severity == Severity::kError) {
        const ErrorCodeInfo* info = find_error_code(d.code);
        if (info != nullptr && !info->remedy.empty()) message += "\n" + std::string(info->remedy);
    }
    const Level level = d.severity == Severity::kError ? Level::kError : Level::kWarning;
    const int code = d.severity == Severity::kError ? d.code : 0;

    // What a stand-in lacks is no fault of the text being edited.
    if (d.severity == Severity::kWarning && d.at && c.pair.side(d.at->file).stand_in) {
        return std::nullopt;
    }
    ShownDiagnostic shown;
    if (d.at && d.at->line > 0 && !c.pair.side(d.at->file).stand_in) {
        if (d.at->file != file) return std::nullopt;
        shown = {field_range(side.bytes, d.at->line, d.at->column), level, code, message, {}};
    } else {
        // A text as a whole, a stand-in's record, or no record at all: the line text shows what
        // points at none, unless it is the stand-in.
        const SourceFile home = d.at && !c.pair.side(d.at->file).stand_in ? d.at->file
                                : c.pair.line.stand_in                    ? SourceFile::kTrain
                                                                          : SourceFile::kLine;
        if (home != file) return std::nullopt;
        if (d.at && c.pair.side(d.at->file).stand_in)
            message += " (compiled without a partner text)";
        shown = {kFirstLine, level, code, message, {}};
    }
    for (const RelatedLocation& r : d.related) {
        const PairSide& where = c.pair.side(r.at.file);
        if (where.stand_in || where.uri.empty()) continue;
        shown.related.push_back(
            {where.uri, field_range(where.bytes, r.at.line, r.at.column), r.note});
    }
    return shown;
}

}  // namespace

std::vector<ShownDiagnostic> text_diagnostics(const CompiledPair& c, SourceFile file) {
    std::vector<ShownDiagnostic> out;
    const PairSide& side = c.pair.side(file);
    if (side.stand_in) return out;
    const PairSide& other =
        c.pair.side(file == SourceFile::kLine ? SourceFile::kTrain : SourceFile::kLine);

    // The same finding twice (a code recorded again, a warning on the same field) is shown once.
    std::set<ShownDiagnostic> seen;
    auto add = [&](const Diagnostic& d) {
        std::optional<ShownDiagnostic> shown = shown_diagnostic(c, file, d);
        if (shown && seen.insert(*shown).second) out.push_back(std::move(*shown));
    };
    // A code loading met only because it had stopped is a note under the first error.
    for (const Diagnostic& d : analysis::shown_diagnostics(c.run)) add(d);

    if (side.bytes.size() > kMaxCheckedText || other.bytes.size() > kMaxCheckedText) {
        out.push_back({kFirstLine,
                       Level::kInformation,
                       0,
                       "text over 2 MB: compiled, but not checked for warnings",
                       {}});
        return out;
    }
    for (const Diagnostic& d : analysis::check_warnings(c.run)) add(d);
    for (const Diagnostic& d : rolling_stock_warnings(c)) add(d);
    return out;
}

std::vector<ShownDiagnostic> notes_in(const std::vector<ShownDiagnostic>& shown,
                                      const std::string& uri) {
    std::vector<ShownDiagnostic> out;
    for (const ShownDiagnostic& d : shown) {
        const std::string finding = d.message.substr(0, d.message.find('\n'));
        for (const RelatedPlace& r : d.related) {
            if (r.uri != uri) continue;
            out.push_back(
                {r.range, Level::kInformation, 0, r.note + "\n(a note to: " + finding + ")", {}});
        }
    }
    return out;
}

}  // namespace railscen::lsp
