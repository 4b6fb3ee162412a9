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

struct Utf8Case {
    std::string utf8;
    std::string bytes;    // when it converts
    std::string problem;  // when it does not
};

TEST(Cp1252FromUtf8, ConvertsWhatTheCodePageHoldsAndNamesWhatItCannot) {
    const Utf8Case cases[] = {
        {"VELARO-CUSTRA ", "VELARO-CUSTRA ", ""},
        {"citt\xc3\xa0 \xc3\xa8", "citt\xe0 \xe8", ""},  // à è
        {"\xe2\x82\xac \xe2\x80\x93", "\x80 \x96", ""},  // € and the en dash from 0x80-0x9F
        {"\xc5\x81\xc3\xb3"
         "d\xc5\xba",
         "", "\"\xc5\x81\" (U+0141) has no Windows-1252 code"},
        {"\xf0\x9f\x9a\x86", "", "\"\xf0\x9f\x9a\x86\" (U+1F686) has no Windows-1252 code"},
        {"ab\xe8", "", "byte 3 is not UTF-8"},        // already Windows-1252
        {"\xc0\xaf", "", "byte 1 is not UTF-8"},      // overlong
        {"\xed\xa0\x80", "", "byte 1 is not UTF-8"},  // surrogate
        {"\xe2\x82", "", "byte 1 is not UTF-8"},      // cut short
    };
    for (const Utf8Case& c : cases) {
        const Cp1252Result r = cp1252_from_utf8(c.utf8);
        EXPECT_EQ(r.problem, c.problem) << c.utf8;
        if (c.problem.empty()) {
            EXPECT_EQ(r.bytes, c.bytes) << c.utf8;
        }
    }
}

TEST(LooksLikeUtf8, OnlyValidUtf8WithHighBytes) {
    EXPECT_TRUE(looks_like_utf8("stazione, 1000, CITT\xc3\x80"));
    EXPECT_FALSE(looks_like_utf8("stazione, 1000, CITT\xc0"));  // Windows-1252 as it should be
    EXPECT_FALSE(looks_like_utf8("pendenza, 0, 0"));            // plain ASCII: nothing to say
}

}  // namespace
}  // namespace railscen
