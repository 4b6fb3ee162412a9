#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/source_record.h"

namespace railscen {

enum class Severity { kError, kWarning };

// Another record that explains a diagnostic: the one that already holds the cell, the
// station before.
struct RelatedLocation {
    SourceLocation at;
    std::string note;

    friend bool operator==(const RelatedLocation&, const RelatedLocation&) = default;
    friend auto operator<=>(const RelatedLocation&, const RelatedLocation&) = default;
};

// One problem as the stage that found it knew it. Codes go with errors; a warning has code 0
// and says what it means in its reason.
struct Diagnostic {
    Severity severity = Severity::kError;
    std::int32_t code = 0;
    std::optional<std::int32_t> position;  // metres along the line
    std::optional<std::int64_t> cell;      // the cell the code is about
    std::optional<std::uint8_t> occupant;  // the object kind that already held that cell
    std::optional<SourceLocation> at;      // the field the caret goes under; nullopt: no text
    // What exactly failed (code 25), or a warning's words. Quoted author's text stays in its
    // Windows-1252 bytes: the formatter turns it into safe UTF-8.
    std::string reason;
    std::vector<RelatedLocation> related;
    // A warning's kind, shown in brackets after its message ("spelling", "order", ...).
    std::string name;
    // A code raised only because loading had stopped at an earlier one (the train phase finding
    // the grid already refused): shown as a note under that first code, never as an error of
    // its own.
    bool consequence = false;

    // Two diagnostics are alike when every datum is: the tools show such a pair once.
    friend bool operator==(const Diagnostic&, const Diagnostic&) = default;
    friend auto operator<=>(const Diagnostic&, const Diagnostic&) = default;
};

// "error N: MEANING": the one place the words of a code are put together.
std::string code_heading(std::int32_t code);

// What a diagnostic says, without its severity and code, which a record carries in fields of
// their own: an error's meaning[ by a KIND][: REASON][ (at P m)], a warning's words.
std::string message_text(const Diagnostic& d);

// The pack's one line: "error N: MEANING[ by a KIND][: REASON][ (at P m)]", the position
// only for codes that carry one.
std::string one_line(const Diagnostic& d);

// The names under which the tool shows the two texts, and the name of the tool itself for a
// diagnostic that points at no text.
struct SourceNames {
    std::string line;
    std::string train;
    std::string tool = "railscen";

    const std::string& of(SourceFile file) const {
        return file == SourceFile::kLine ? line : train;
    }
};

// Compiler form: "FILE:LINE:COL: error N: ..." (or "FILE: ..." for a text as a whole), the
// source line and a caret under the field, then every related location the same way as a
// "note:". The lines come from the texts the loader read.
// With colour, the words "error", "warning" and "note" and the caret carry terminal colours.
std::string compiler_message(const Diagnostic& d, const SourceTexts& texts,
                             const SourceNames& names, bool colour = false);

// Widest echoed source line, in columns; a longer one is cut around the caret's field.
inline constexpr std::size_t kMaxEchoColumns = 200;

// The 1-based line of text, safe for a terminal, and a caret line under the 1-based column;
// empty when the text has no such line.
std::string source_excerpt(std::string_view text, int line, int column);

}  // namespace railscen
