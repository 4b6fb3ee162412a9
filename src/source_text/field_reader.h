#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "model/source_record.h"

namespace railscen {

// A read the text cannot satisfy: a malformed number, a value outside its type, or a read
// after the last byte. The loader turns it into its unexpected-failure code.
class ReadFailure : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Reads a description text as a stream of fields separated by commas and line ends (CR LF,
// or a lone LF or CR). Fields are read wherever they stand; records are a matter for the
// loader.
class FieldReader {
  public:
    explicit FieldReader(std::string_view text) : text_(text) {}

    // Holds once the last byte has been read.
    bool at_end() const { return pos_ >= text_.size(); }

    // A text field: to the next comma or line end, blanks trimmed. A field of any kind that
    // begins with a double quote runs to the next double quote; what follows the closing quote
    // up to the separator is skipped.
    std::string read_text();

    // Numeric fields: blanks, an optional sign, decimal digits, blanks. A field ends at a
    // comma, a blank or the line end; the blanks after it and one comma belong to the same
    // separator. An empty field reads as 0. A quoted number is read between its quotes.
    std::int32_t read_long();
    std::int16_t read_integer();
    std::uint8_t read_byte();

    // Where the field last read began (1-based line and column).
    int field_line() const { return field_line_; }
    int field_column() const { return field_column_; }

    // The text of a 1-based line, without its line end; empty past the end.
    std::string_view line_text(int line) const;

    // From now on every field read is also appended to fields as it was written (nullptr:
    // none), so that a record keeps what it was read from. Room is made at once for the
    // fields left on the current line, where a record's fields usually stand.
    void trace_into(std::vector<RecordField>* fields);

  private:
    std::int64_t read_number(std::int64_t min, std::int64_t max, const char* type);
    std::string_view take_quoted();  // at the opening quote; returns what the quotes enclose
    void consume_separator();        // one comma or line end, if one follows
    void skip_blanks();
    bool at_line_end() const;
    void consume_line_end();
    void mark_field_start();
    void require_more(const char* what) const;

    std::string_view text_;
    std::size_t pos_ = 0;
    int line_ = 1;
    std::size_t line_start_ = 0;
    int field_line_ = 0;
    int field_column_ = 0;
    std::vector<RecordField>* trace_ = nullptr;
};

// Keyword tests: substring search, in one of two fixed modes.
bool contains_exact(std::string_view field, std::string_view word);
bool contains_any_case(std::string_view field, std::string_view word);

}  // namespace railscen
