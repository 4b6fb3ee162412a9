#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace railscen::lsp {

// The compiler reads Windows-1252 bytes; an editor holds Unicode text and counts columns in
// UTF-16 code units. Every Windows-1252 byte decodes to one character of the Basic Multilingual
// Plane, so converting a document character for byte keeps its lines and makes a byte offset in
// a line equal to its UTF-16 column. Characters Windows-1252 cannot hold become "?" (two of them
// for a character outside the Basic Multilingual Plane, which takes two code units), so the
// columns still agree; U+0080 to U+009F, which an editor that read the file as Latin-1 shows for
// the bytes 0x80 to 0x9F, become those bytes again.
std::string bytes_from_editor(std::string_view utf8);

// The number of characters bytes_from_editor could not represent (each is one "?").
std::size_t unrepresentable_characters(std::string_view utf8);

// Beside each byte bytes_from_editor gives, '1' where it stands for a character it could not
// represent and '0' elsewhere: kept beside a document so that edits keep the count exact.
std::string lost_mask(std::string_view utf8);

// Windows-1252 bytes as the editor's UTF-8 text.
std::string editor_from_bytes(std::string_view bytes);

// Columns of one line: a byte offset as UTF-16 code units, and back (clamped to the line).
int utf16_column(std::string_view line_bytes, std::size_t byte_offset);
std::size_t byte_offset(std::string_view line_bytes, int utf16_column);

// The byte offset in a whole text of a 0-based line and UTF-16 column (lines end at CR LF, LF
// or CR); nullopt for a line past the last or a column past its line's end.
std::optional<std::size_t> text_offset(std::string_view bytes, std::int64_t line,
                                       std::int64_t column);

// A stretch of a text as an editor counts it: 0-based lines, UTF-16 columns.
struct TextRange {
    int start_line = 0;
    int start_character = 0;
    int end_line = 0;
    int end_character = 0;
    auto operator<=>(const TextRange&) const = default;
};

// How many lines a text has: one more than its line ends.
std::int64_t line_count(std::string_view bytes);

}  // namespace railscen::lsp
