// The one formatter of diagnostics: the pack's line, the compiler form with the source line and
// caret taken from the text in memory, related notes, and echoes safe for a terminal.

#include "model/diagnostic.h"

#include <gtest/gtest.h>

#include "model/track_cell.h"

namespace railscen {
namespace {

const SourceNames kNames{"line.txt", "train.txt", "railscen"};

Diagnostic at(std::int32_t code, SourceLocation where, std::optional<std::int32_t> position = {}) {
    Diagnostic d;
    d.code = code;
    d.position = position;
    d.at = where;
    return d;
}

TEST(Diagnostic, CompilerFormWithCaretAndNotes) {
    SourceTexts texts;
    texts.line = "[generale]\r\nindicatori_vmax,  6050,  100\r\n";
    texts.train = "[generale]\nsegnale,    6050,   2\n";
    Diagnostic d = at(16, {SourceFile::kTrain, 2, 13}, 6050);
    d.occupant = kSpeedBoard;
    d.related.push_back({{SourceFile::kLine, 2, 19}, "cell 122 already holds the speed board"});
    EXPECT_EQ(compiler_message(d, texts, kNames),
              "train.txt:2:13: error 16: signal cell already occupied by a speed board (at 6050 "
              "m)\n"
              "segnale,    6050,   2\n"
              "            ^\n"
              "line.txt:2:19: note: cell 122 already holds the speed board\n"
              "indicatori_vmax,  6050,  100\n"
              "                  ^\n");
}

TEST(Diagnostic, WithoutALineOrAText) {
    SourceTexts texts;
    texts.line = "x\n";
    // A text as a whole, a code no record raised, a line the text does not have.
    EXPECT_EQ(compiler_message(at(101, {SourceFile::kLine, 0, 0}), texts, kNames),
              "line.txt: error 101: line description missing\n");
    Diagnostic fatal;
    fatal.code = 1250;
    EXPECT_EQ(compiler_message(fatal, texts, kNames),
              "railscen: error 1250: marker fields already occupied\n");
    EXPECT_EQ(compiler_message(at(3, {SourceFile::kLine, 9, 1}), texts, kNames),
              "line.txt:9:1: error 3: signal repetition start not a multiple of 50\n");
    EXPECT_EQ(compiler_message(at(3, {SourceFile::kTrain, 1, 1}), texts, kNames),
              "train.txt:1:1: error 3: signal repetition start not a multiple of 50\n");
}

TEST(Diagnostic, EchoesAreSafeAndLinedUp) {
    struct Case {
        std::string text;
        int line;
        int column;
        std::string excerpt;
    };
    const Case cases[] = {
        {"a\r\nsegnale, 800\r\n", 2, 10, "segnale, 800\n         ^\n"},
        {"a\rb\nc", 3, 1, "c\n^\n"},                           // lone CR and LF end lines too
        {"x,\t\t7", 1, 5, "x,\t\t7\n  \t\t^\n"},               // tabs stay tabs under the line
        {"\x1b[2J, 7", 1, 7, "\\x1b[2J, 7\n         ^\n"},     // an escape takes four columns
        {"citt\xe0, 7", 1, 8, "citt\xc3\xa0, 7\n       ^\n"},  // one column per Windows-1252 byte
        {"a", 2, 1, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(source_excerpt(c.text, c.line, c.column), c.excerpt);
}

TEST(Diagnostic, ALongLineIsCutAroundTheCaret) {
    struct Case {
        std::size_t before;  // columns before the field
        std::size_t after;   // columns after it
        bool cut_before;
        bool cut_after;
    };
    const Case cases[] = {{10, 400, false, true}, {400, 10, true, false}, {300, 300, true, true}};
    for (const Case& c : cases) {
        const std::string line = std::string(c.before, 'a') + "6O50" + std::string(c.after, 'b');
        const std::string excerpt = source_excerpt(line, 1, static_cast<int>(c.before) + 1);
        const std::string echoed = excerpt.substr(0, excerpt.find('\n'));
        const std::string caret = excerpt.substr(echoed.size() + 1);
        EXPECT_LE(echoed.size(), kMaxEchoColumns);
        EXPECT_EQ(echoed.rfind("...", 0) == 0, c.cut_before) << c.before;
        EXPECT_EQ(echoed.size() >= 3 && echoed.substr(echoed.size() - 3) == "...", c.cut_after);
        ASSERT_EQ(caret.back(), '\n');
        EXPECT_EQ(echoed.substr(caret.size() - 2, 4), "6O50") << c.before;
    }
    // Up to the limit nothing is cut.
    const std::string fits(kMaxEchoColumns, 'x');
    EXPECT_EQ(source_excerpt(fits, 1, 1), fits + "\n^\n");
}

}  // namespace
}  // namespace railscen
