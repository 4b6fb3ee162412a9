#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace railscen::cli {

// Line-oriented views of a description text, for the checks that point at records. The
// loader itself reads fields wherever they stand; the written texts keep one record a line.
struct SourceLine {
    int number;  // 1-based
    std::string_view text;
};

// Lines ended by CR LF, a lone LF or a lone CR; a last line without an end counts too.
std::vector<SourceLine> split_lines(std::string_view text);

// A comma-separated field of a line, blanks trimmed, with the 1-based column where its text
// begins (where it would begin, for an empty field).
struct LineField {
    std::string_view text;
    int column;
};
std::vector<LineField> split_fields(std::string_view line);

// A whole field that is a signed decimal integer.
std::optional<std::int64_t> parse_integer(std::string_view field);

// The lines after the first one that holds "[generale]" (any case): where records begin.
std::vector<SourceLine> record_lines(std::string_view text);

}  // namespace railscen::cli
