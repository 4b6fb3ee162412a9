#include "source_text/field_reader.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace railscen {
namespace {

std::vector<std::string> all_text_fields(std::string_view text) {
    FieldReader reader(text);
    std::vector<std::string> fields;
    while (!reader.at_end()) fields.push_back(reader.read_text());
    return fields;
}

TEST(FieldReader, TextFieldsEndAtCommasAndLineEndsWithBlanksTrimmed) {
    using V = std::vector<std::string>;
    EXPECT_EQ(all_text_fields("[generale]\r\nsabbia,    100\r\n"),
              (V{"[generale]", "sabbia", "100"}));
    EXPECT_EQ(all_text_fields("a b ,  c\nd\re"), (V{"a b", "c", "d", "e"}));
    EXPECT_EQ(all_text_fields("\r\nx"), (V{"", "x"}));
    EXPECT_EQ(all_text_fields("\"one, two\"  , three"), (V{"one, two", "three"}));
}

struct QuotedCase {
    const char* text;
    std::vector<std::int64_t> numbers;  // empty: the first read fails
};

TEST(FieldReader, QuotedNumbersAreReadBetweenTheirQuotes) {
    const QuotedCase cases[] = {
        {"\"90\"\r\n", {90}},
        {"\"1200\" ,  \" -3 \"\r\n", {1200, -3}},  // blanks inside, blanks before the comma
        {"\"12\" cm, 5\r\n", {12, 5}},             // text after the closing quote is skipped
        {"\"\", 7", {0, 7}},                       // empty reads as 0
        {"\"4\r\n5\", 6", {}},                     // a line end inside is not a blank
        {"\"9 0\"", {}},
        {"\"- 3\"", {}},
        {"\"abc\"", {}},
    };
    for (const QuotedCase& c : cases) {
        FieldReader reader(c.text);
        if (c.numbers.empty()) {
            EXPECT_THROW(reader.read_long(), ReadFailure) << c.text;
            continue;
        }
        for (const std::int64_t n : c.numbers) EXPECT_EQ(reader.read_long(), n) << c.text;
        EXPECT_TRUE(reader.at_end()) << c.text;
    }
}

TEST(FieldReader, NumbersMaySeparateByBlanksCommasOrBoth) {
    FieldReader reader("orologio,    16              39            30 \r\nx");
    EXPECT_EQ(reader.read_text(), "orologio");
    EXPECT_EQ(reader.read_integer(), 16);
    EXPECT_EQ(reader.read_integer(), 39);
    EXPECT_EQ(reader.read_integer(), 30);
    EXPECT_EQ(reader.read_text(), "x");
    EXPECT_TRUE(reader.at_end());

    FieldReader commas("16,39 , 30\r\n");
    EXPECT_EQ(commas.read_long(), 16);
    EXPECT_EQ(commas.read_long(), 39);
    EXPECT_EQ(commas.read_long(), 30);
    EXPECT_TRUE(commas.at_end());
}

TEST(FieldReader, EmptyNumericFieldsReadAsZero) {
    FieldReader reader("30,  0,  ,  ,  ,  0\r\n");
    std::vector<std::int32_t> values;
    for (int i = 0; i < 6; ++i) values.push_back(reader.read_long());
    EXPECT_EQ(values, (std::vector<std::int32_t>{30, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(reader.at_end());
    FieldReader at_line_end("5,\r\nnext");
    EXPECT_EQ(at_line_end.read_long(), 5);
    EXPECT_EQ(at_line_end.read_long(), 0);
    EXPECT_EQ(at_line_end.read_text(), "next");
}

TEST(FieldReader, SignsAndRanges) {
    struct Case {
        std::string text;
        std::int64_t expected;  // INT64_MIN: a failure
    };
    const std::int64_t kFails = INT64_MIN;
    const Case longs[] = {{"-2000", -2000},
                          {"+7", 7},
                          {" 2147483647 ", 2147483647},
                          {"-2147483648", -2147483648LL},
                          {"2147483648", kFails},
                          {"99999999999999999999", kFails},
                          {"12a", kFails},
                          {"-", kFails},
                          {"1.5", kFails},
                          {"\"5\"", 5}};
    for (const Case& c : longs) {
        FieldReader reader(c.text);
        if (c.expected == kFails) {
            EXPECT_THROW(reader.read_long(), ReadFailure) << c.text;
        } else {
            EXPECT_EQ(reader.read_long(), c.expected) << c.text;
        }
    }
    EXPECT_EQ(FieldReader("-32768").read_integer(), -32768);
    EXPECT_THROW(FieldReader("32768").read_integer(), ReadFailure);
    EXPECT_EQ(FieldReader("255").read_byte(), 255);
    EXPECT_THROW(FieldReader("256").read_byte(), ReadFailure);
    EXPECT_THROW(FieldReader("-1").read_byte(), ReadFailure);
}

TEST(FieldReader, EndOfFileHoldsOnceTheLastByteIsRead) {
    FieldReader reader("[fine]\r\n");
    EXPECT_FALSE(reader.at_end());
    EXPECT_EQ(reader.read_text(), "[fine]");
    EXPECT_TRUE(reader.at_end());
    EXPECT_THROW(reader.read_text(), ReadFailure);
    EXPECT_THROW(reader.read_long(), ReadFailure);

    FieldReader no_line_end("a,5");
    no_line_end.read_text();
    EXPECT_EQ(no_line_end.read_long(), 5);
    EXPECT_TRUE(no_line_end.at_end());
}

TEST(FieldReader, KnowsWhereTheLastFieldBegan) {
    FieldReader reader("[generale]\r\nsegnale,    800,   1\nx");
    reader.read_text();
    reader.read_text();
    EXPECT_EQ(reader.field_line(), 2);
    EXPECT_EQ(reader.field_column(), 1);
    reader.read_long();
    EXPECT_EQ(reader.field_line(), 2);
    EXPECT_EQ(reader.field_column(), 13);
    reader.read_long();
    reader.read_text();
    EXPECT_EQ(reader.field_line(), 3);
    EXPECT_EQ(reader.line_text(2), "segnale,    800,   1");
    EXPECT_EQ(reader.line_text(9), "");
}

TEST(FieldReader, TracesTheFieldsItReadsAsWritten) {
    FieldReader reader("montagna,  +26100  41000\t,\"A, B\"\r\n 7");
    std::vector<RecordField> fields;
    reader.read_text();  // not traced
    reader.trace_into(&fields);
    reader.read_long();
    EXPECT_THROW(reader.read_long(), ReadFailure);  // "41000\t": a tab where a blank belongs
    reader.read_text();
    reader.read_byte();
    reader.trace_into(nullptr);
    ASSERT_EQ(fields.size(), 4u);
    const std::vector<std::tuple<std::string, int, int, std::optional<std::int64_t>>> expected = {
        {"+26100", 1, 12, 26100},
        {"41000\t", 1, 20, std::nullopt},
        {"A, B", 1, 27, std::nullopt},
        {"7", 2, 2, 7}};
    for (std::size_t i = 0; i < fields.size(); ++i) {
        EXPECT_EQ(std::tuple(fields[i].text, fields[i].line, fields[i].column, fields[i].number),
                  expected[i])
            << i;
    }
}

TEST(KeywordSearch, ModesDifferOnlyInCase) {
    EXPECT_TRUE(contains_any_case("LUNGHEZZA PERCORSO", "lunghezza"));
    EXPECT_FALSE(contains_exact("Progressiva chilometrica uno", "progressiva"));
    EXPECT_TRUE(contains_exact("xprogressivax", "progressiva"));
}

}  // namespace
}  // namespace railscen
