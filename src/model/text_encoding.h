#pragma once

#include <string>
#include <string_view>

namespace railscen {

// Description texts, names and slot texts are Windows-1252 bytes; terminals, JSON and SVG want
// UTF-8. Bytes that Windows-1252 leaves undefined become U+FFFD.
std::string utf8_from_1252(std::string_view bytes);

// Author's text for a terminal, as UTF-8: control bytes other than tab (below 0x20, and 0x7F)
// shown as visible escapes ("\x1b"), so a record cannot move the cursor or retitle the window.
std::string terminal_text(std::string_view bytes);

// The Windows-1252 bytes of a UTF-8 text. Fails on bytes that are not UTF-8 and on a character
// that Windows-1252 cannot hold; `problem` then says which, in words.
struct Cp1252Result {
    std::string bytes;
    std::string problem;  // empty on success
    bool ok() const { return problem.empty(); }
};
Cp1252Result cp1252_from_utf8(std::string_view utf8);

// True for a text that holds bytes above 0x7F and is valid UTF-8 throughout: most likely saved
// as UTF-8 by an editor, where the compiler reads Windows-1252 ("è" would become "Ã¨").
bool looks_like_utf8(std::string_view bytes);

// Text for SVG and XML: &, <, >, " and ' escaped.
std::string xml_escaped(std::string_view utf8);

}  // namespace railscen
