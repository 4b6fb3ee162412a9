#pragma once

#include <string>
#include <string_view>

namespace railscen {

// A description text laid out for reading: in every run of record lines between two headers
// the fields stand in columns, right-aligned, two blanks after each comma; leading and trailing
// blanks go. Only blanks next to a comma or at a line's ends change, which the reader never
// sees: line ends (CR LF or LF, each line its own), Windows-1252 bytes, headers, comments,
// empty lines, lines holding a tab or a quote, and the blanks inside a field stay as they are.
std::string laid_out_text(std::string_view text);

// Whether the reader takes the same fields, on the same lines, from both texts: what fmt
// checks before it writes anything.
bool same_fields(std::string_view a, std::string_view b);

}  // namespace railscen
