#include "model/text_encoding.h"

#include <gtest/gtest.h>

#include <string>

namespace railscen {
namespace {

struct TerminalCase {
    std::string bytes;
    std::string shown;
};

TEST(TerminalText, ControlBytesAreShownEscapedAndTheRestAsUtf8) {
    const TerminalCase cases[] = {
        {"segnale, 800", "segnale, 800"},
        {"a\tb", "a\tb"},                                 // tab lines up the caret
        {"\x1b]0;owned\x07", "\\x1b]0;owned\\x07"},       // a retitle sequence
        {"x\x1b[2Jy", "x\\x1b[2Jy"},                      // clear screen
        {std::string("\0\x7f\r", 3), "\\x00\\x7f\\x0d"},  // NUL, DEL, carriage return
        {"citt\xe0 \x80", "citt\xc3\xa0 \xe2\x82\xac"},   // Windows-1252 to UTF-8
        {"\x81", "\xef\xbf\xbd"},                         // undefined byte: replacement
    };
    for (const TerminalCase& c : cases) EXPECT_EQ(terminal_text(c.bytes), c.shown) << c.shown;
}

}  // namespace
}  // namespace railscen
