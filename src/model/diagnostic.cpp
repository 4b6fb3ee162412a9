#include "model/diagnostic.h"

#include "model/error_codes.h"
#include "model/text_encoding.h"
#include "model/track_cell.h"

namespace railscen {
namespace {

// The 1-based line of a text, without its line end (CR LF, a lone LF or a lone CR).
std::optional<std::string_view> line_of(std::string_view text, int line) {
    if (line < 1) return std::nullopt;
    std::size_t pos = 0;
    for (int current = 1; current < line; ++current) {
        while (pos < text.size() && text[pos] != '\r' && text[pos] != '\n') ++pos;
        if (pos >= text.size()) return std::nullopt;
        if (text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') ++pos;
        ++pos;
    }
    if (pos >= text.size() && line > 1) return std::nullopt;
    std::size_t end = pos;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
    return text.substr(pos, end - pos);
}

// One byte of the author's text as the terminal shows it, and the columns it takes.
struct Shown {
    std::string text;
    std::size_t width;
};

Shown shown(char c) {
    std::string text = terminal_text(std::string_view(&c, 1));
    const std::size_t width = text.size() > 1 && text[0] == '\\' ? text.size() : 1;
    return {std::move(text), width};
}

std::string located(const SourceLocation& at, const SourceNames& names) {
    std::string where = names.of(at.file);
    if (at.line > 0) where += ":" + std::to_string(at.line) + ":" + std::to_string(at.column);
    return where;
}

// The severity word that begins a message, in its terminal colour.
std::string coloured_word(std::string_view message, bool colour) {
    if (!colour) return std::string(message);
    for (const auto& [word, code] : {std::pair{std::string_view("error"), "\x1b[1;31m"},
                                     std::pair{std::string_view("warning"), "\x1b[1;35m"},
                                     std::pair{std::string_view("note"), "\x1b[1;36m"}}) {
        if (message.starts_with(word)) {
            return code + std::string(word) + "\x1b[0m" + std::string(message.substr(word.size()));
        }
    }
    return std::string(message);
}

std::string excerpt_at(const SourceLocation& at, const SourceTexts& texts, bool colour) {
    const std::optional<std::string>& text = texts.of(at.file);
    std::string excerpt = text ? source_excerpt(*text, at.line, at.column) : std::string();
    if (colour && excerpt.ends_with("^\n")) {
        excerpt.replace(excerpt.size() - 2, 1, "\x1b[1;32m^\x1b[0m");
    }
    return excerpt;
}

}  // namespace

std::string code_heading(std::int32_t code) {
    const ErrorCodeInfo* info = find_error_code(code);
    return "error " + std::to_string(code) + ": " +
           std::string(info != nullptr ? info->meaning : "unknown code");
}

std::string message_text(const Diagnostic& d) {
    if (d.severity == Severity::kWarning) return terminal_text(d.reason);
    const ErrorCodeInfo* info = find_error_code(d.code);
    std::string text(info != nullptr ? info->meaning : "unknown code");
    // Only objects a writer places are named.
    if (d.occupant && *d.occupant != kFree && *d.occupant != kSpacer &&
        cell_kind_name(*d.occupant) != "unused kind") {
        text += " by a " + std::string(cell_kind_name(*d.occupant));
    }
    if (!d.reason.empty()) text += ": " + terminal_text(d.reason);
    if (info != nullptr && info->has_position && d.position) {
        text += " (at " + std::to_string(*d.position) + " m)";
    }
    return text;
}

std::string one_line(const Diagnostic& d) {
    if (d.severity == Severity::kWarning) {
        std::string text = "warning: " + message_text(d);
        if (!d.name.empty()) text += " [" + d.name + "]";
        return text;
    }
    return "error " + std::to_string(d.code) + ": " + message_text(d);
}

std::string compiler_message(const Diagnostic& d, const SourceTexts& texts,
                             const SourceNames& names, bool colour) {
    std::string out = (d.at ? located(*d.at, names) : names.tool) + ": " +
                      coloured_word(one_line(d), colour) + "\n";
    if (d.at) out += excerpt_at(*d.at, texts, colour);
    for (const RelatedLocation& r : d.related) {
        out += located(r.at, names) + ": " + coloured_word("note", colour) + ": " +
               terminal_text(r.note) + "\n";
        out += excerpt_at(r.at, texts, colour);
    }
    return out;
}

std::string source_excerpt(std::string_view text, int line, int column) {
    const std::optional<std::string_view> source = line_of(text, line);
    if (!source) return {};
    std::vector<Shown> bytes;
    bytes.reserve(source->size());
    std::size_t total = 0;
    for (const char c : *source) {
        bytes.push_back(shown(c));
        total += bytes.back().width;
    }
    const std::size_t caret = std::min<std::size_t>(column > 0 ? column - 1 : 0, bytes.size());

    // A line too wide for a terminal keeps a window around the caret, cut with ellipses.
    std::size_t first = 0;
    std::size_t last = bytes.size();  // one past
    if (total > kMaxEchoColumns) {
        constexpr std::string_view kEllipsis = "...";
        const std::size_t budget = kMaxEchoColumns - 2 * kEllipsis.size();
        std::size_t width = 0;
        first = caret;
        // About a third of the window before the caret, the rest after it.
        while (first > 0 && width + bytes[first - 1].width <= budget / 3) {
            width += bytes[--first].width;
        }
        last = first;
        width = 0;
        while (last < bytes.size() && width + bytes[last].width <= budget) {
            width += bytes[last++].width;
        }
        while (first > 0 && width + bytes[first - 1].width <= budget) {
            width += bytes[--first].width;
        }
    }
    std::string echoed = first > 0 ? "..." : "";
    std::string under = first > 0 ? "   " : "";
    for (std::size_t i = first; i < last; ++i) {
        echoed += bytes[i].text;
        // Blanks under the text before the column, tabs kept so that the caret lines up.
        if (i < caret) under += (*source)[i] == '\t' ? "\t" : std::string(bytes[i].width, ' ');
    }
    if (last < bytes.size()) echoed += "...";
    return echoed + "\n" + under + "^\n";
}

}  // namespace railscen
