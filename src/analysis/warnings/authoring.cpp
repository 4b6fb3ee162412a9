// Warnings on slips of the author's hand: rows out of order, fields past a record's end, text
// cut at a comma, tabs, UTF-8 texts, a train text that is none, the two texts swapped.

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "analysis/units_text.h"
#include "analysis/warnings.h"
#include "model/text_encoding.h"
#include "source_text/keywords.h"

namespace railscen::analysis {
namespace {

const char* row_name(RecordKind kind) {
    switch (kind) {
        case RecordKind::kGradient:
            return "gradient";
        case RecordKind::kCurve:
            return "curve";
        case RecordKind::kSpeedLimit:
            return "speed limit";
        case RecordKind::kAdhesion:
            return "adhesion";
        default:
            return "record";
    }
}

int last_line(const SourceRecord& r) {
    return r.fields.empty() ? r.keyword.line : r.fields.back().line;
}

// Where each byte that matches `wanted` first stands on its line: one location per line.
template <typename Wanted>
std::vector<SourceLocation> first_on_each_line(std::string_view text, SourceFile file,
                                               Wanted wanted) {
    std::vector<SourceLocation> found;
    int line = 1;
    int column = 1;
    bool seen = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\n' || (c == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'))) {
            ++line;
            column = 1;
            seen = false;
            continue;
        }
        if (!seen && wanted(c)) {
            found.push_back({file, line, column});
            seen = true;
        }
        if (c != '\r') ++column;
    }
    return found;
}

// Where the first byte past ASCII stands, eight bytes at a time; npos when there is none. Most
// texts have none or few, and an ASCII run is UTF-8 whatever follows it.
std::size_t first_high_byte(std::string_view text) {
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + i, 8);
        if ((word & 0x8080808080808080u) != 0) break;
    }
    for (; i < text.size(); ++i) {
        if (static_cast<unsigned char>(text[i]) > 0x7f) return i;
    }
    return std::string_view::npos;
}

bool has_section(std::string_view text, std::string_view name) {
    return text.find(name) != std::string_view::npos;
}

}  // namespace

std::vector<Diagnostic> order_warnings(const Run& run) {
    std::vector<Diagnostic> warnings;
    for (const RecordKind kind : {RecordKind::kGradient, RecordKind::kCurve,
                                  RecordKind::kSpeedLimit, RecordKind::kAdhesion}) {
        const SourceRecord* previous = nullptr;
        for (const SourceRecord& r : run.records) {
            if (!r.is(kind) || r.fields.empty() || !r.fields[0].number) continue;
            if (previous != nullptr && *r.fields[0].number < *previous->fields[0].number) {
                Diagnostic d = warning(
                    "order", r.field_location(0),
                    std::string(row_name(kind)) + " row at " + std::to_string(*r.fields[0].number) +
                        " m comes after the row at " + std::to_string(*previous->fields[0].number) +
                        " m; the rows of a section go up along the line");
                d.related.push_back({previous->field_location(0), "the row before"});
                warnings.push_back(std::move(d));
            }
            previous = &r;
        }
    }
    return warnings;
}

std::vector<Diagnostic> extra_field_warnings(const Run& run) {
    std::vector<Diagnostic> warnings;
    const SourceRecord* owner = nullptr;  // the last record that was something
    int warned_line = 0;
    for (const SourceRecord& r : run.records) {
        if (!r.kinds.empty()) {
            owner = &r;
            continue;
        }
        if (owner == nullptr || owner->file != r.file || last_line(*owner) != r.keyword.line ||
            warned_line == r.keyword.line) {
            continue;
        }
        warned_line = r.keyword.line;
        const bool text_last =
            (owner->is(RecordKind::kSignBoard) || owner->is(RecordKind::kStation)) &&
            !owner->fields.empty() && !owner->fields.back().number;
        if (text_last) {
            warnings.push_back(warning("comma", r.location(),
                                       "the text \"" + owner->fields.back().text +
                                           "\" ends at a comma; \"" + r.keyword.text +
                                           "\" after it is dropped (a text cannot hold a comma)"));
        } else {
            warnings.push_back(warning("extra-field", r.location(),
                                       "\"" + r.keyword.text + "\" after the \"" +
                                           owner->keyword.text + "\" record's " +
                                           std::to_string(owner->fields.size()) +
                                           " fields belongs to no record and is dropped"));
        }
    }
    return warnings;
}

std::vector<Diagnostic> text_warnings(const Run& run) {
    std::vector<Diagnostic> warnings;
    for (const SourceFile file : {SourceFile::kLine, SourceFile::kTrain}) {
        const std::optional<std::string>& text = run.texts.of(file);
        if (!text) continue;
        if (text->find('\t') != std::string::npos) {
            for (const SourceLocation& at :
                 first_on_each_line(*text, file, [](char c) { return c == '\t'; })) {
                warnings.push_back(warning("tab", at, "a tab separates nothing here; use blanks"));
            }
        }
        const std::size_t high = first_high_byte(*text);
        if (high != std::string_view::npos &&
            looks_like_utf8(std::string_view(*text).substr(high))) {
            const std::vector<SourceLocation> first = first_on_each_line(
                *text, file, [](char c) { return static_cast<unsigned char>(c) > 0x7f; });
            warnings.push_back(warning(
                "encoding", first.front(),
                "the text is UTF-8, but the compiler reads Windows-1252 (\"\xe8\" would become "
                "\"\xc3\xa8\"); save it as Windows-1252 or compile with --from-utf8"));
        }
    }
    return warnings;
}

std::vector<Diagnostic> train_text_warnings(const Run& run) {
    std::vector<Diagnostic> warnings;
    auto holds = [&](SourceFile file, auto matches) {
        return std::any_of(run.records.begin(), run.records.end(), [&](const SourceRecord& r) {
            return r.file == file && matches(r.keyword.text);
        });
    };
    auto line_like = [](std::string_view k) {
        return !general_matches(k).empty() || !object_matches(k, true).empty();
    };
    auto train_like = [](std::string_view k) { return !train_matches(k).empty(); };
    // A line text whose records are all train records is a train text: the compile stops in it
    // before it reads the other text.
    if (run.texts.line && !holds(SourceFile::kLine, line_like) &&
        holds(SourceFile::kLine, train_like)) {
        warnings.push_back(warning("swapped", {SourceFile::kLine, 0, 0},
                                   "the line description reads like a train description (its "
                                   "records are train records): are the two files swapped?"));
        return warnings;
    }
    const std::optional<std::string>& train = run.texts.train;
    if (!train) return warnings;
    const SourceLocation whole_train{SourceFile::kTrain, 0, 0};
    if (!has_section(*train, "[generale]")) {
        warnings.push_back(warning("train-text", whole_train,
                                   "the train description has no \"[generale]\" section; the "
                                   "compile reads no record from it"));
    }
    return warnings;
}

}  // namespace railscen::analysis
