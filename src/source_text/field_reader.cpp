#include "source_text/field_reader.h"

#include <algorithm>

namespace railscen {
namespace {

bool is_blank(char c) {
    return c == ' ';
}
bool is_line_end(char c) {
    return c == '\r' || c == '\n';
}

char lower_ascii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

}  // namespace

void FieldReader::skip_blanks() {
    while (!at_end() && is_blank(text_[pos_])) ++pos_;
}

bool FieldReader::at_line_end() const {
    return !at_end() && is_line_end(text_[pos_]);
}

void FieldReader::consume_line_end() {
    if (text_[pos_] == '\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n') ++pos_;
    ++pos_;
    ++line_;
    line_start_ = pos_;
}

void FieldReader::mark_field_start() {
    field_line_ = line_;
    field_column_ = static_cast<int>(pos_ - line_start_) + 1;
}

void FieldReader::require_more(const char* what) const {
    if (at_end()) {
        throw ReadFailure(std::string("the text ends inside a record, where ") + what + " belongs");
    }
}

std::string_view FieldReader::take_quoted() {
    const std::size_t close = text_.find('"', pos_ + 1);
    const std::size_t end = close == std::string_view::npos ? text_.size() : close;
    const std::string_view value = text_.substr(pos_ + 1, end - pos_ - 1);
    for (std::size_t i = pos_; i < end; ++i) {
        if (text_[i] == '\n' || (text_[i] == '\r' && (i + 1 >= end || text_[i + 1] != '\n'))) {
            ++line_;
            line_start_ = i + 1;
        }
    }
    pos_ = close == std::string_view::npos ? text_.size() : close + 1;
    // Whatever follows the closing quote up to the separator is not part of the field.
    while (!at_end() && text_[pos_] != ',' && !is_line_end(text_[pos_])) ++pos_;
    return value;
}

void FieldReader::consume_separator() {
    if (at_end()) return;
    if (text_[pos_] == ',') {
        ++pos_;
    } else if (at_line_end()) {
        consume_line_end();
    }
}

std::string FieldReader::read_text() {
    require_more("a text field");
    skip_blanks();
    mark_field_start();
    std::string value;
    if (!at_end() && text_[pos_] == '"') {
        value.assign(take_quoted());
    } else {
        const std::size_t begin = pos_;
        while (!at_end() && text_[pos_] != ',' && !is_line_end(text_[pos_])) ++pos_;
        std::string_view raw = text_.substr(begin, pos_ - begin);
        while (!raw.empty() && is_blank(raw.back())) raw.remove_suffix(1);
        value.assign(raw);
    }
    consume_separator();
    if (trace_ != nullptr) trace_->push_back({value, field_line_, field_column_, std::nullopt});
    return value;
}

std::int64_t FieldReader::read_number(std::int64_t min, std::int64_t max, const char* type) {
    require_more(type);
    skip_blanks();
    mark_field_start();
    std::string_view token;
    if (!at_end() && text_[pos_] == '"') {
        // A quoted number: the text between the quotes, read by the same rule, blanks around
        // the digits allowed.
        token = take_quoted();
        consume_separator();
        while (!token.empty() && is_blank(token.front())) token.remove_prefix(1);
        while (!token.empty() && is_blank(token.back())) token.remove_suffix(1);
    } else {
        const std::size_t begin = pos_;
        while (!at_end() && text_[pos_] != ',' && !is_blank(text_[pos_]) &&
               !is_line_end(text_[pos_])) {
            ++pos_;
        }
        token = text_.substr(begin, pos_ - begin);
        // The blanks after the number and one comma or line end close the field.
        skip_blanks();
        consume_separator();
    }
    if (trace_ != nullptr) {
        trace_->push_back({std::string(token), field_line_, field_column_, std::nullopt});
    }

    std::size_t i = 0;
    bool negative = false;
    if (i < token.size() && (token[i] == '+' || token[i] == '-')) {
        negative = token[i] == '-';
        ++i;
    }
    if (token.empty()) return 0;
    if (i == token.size()) throw ReadFailure("a sign without digits where a number belongs");
    std::int64_t value = 0;
    for (; i < token.size(); ++i) {
        const char c = token[i];
        if (c == '\t') throw ReadFailure("a tab where a blank belongs between numbers");
        if (c < '0' || c > '9') {
            throw ReadFailure("\"" + std::string(token) + "\" is not a whole number");
        }
        value = value * 10 + (c - '0');
        if (value > max + 1) break;  // already outside every type; stop before overflow
    }
    if (negative) value = -value;
    if (value < min || value > max) {
        throw ReadFailure("\"" + std::string(token) + "\" does not fit " + type);
    }
    if (trace_ != nullptr) trace_->back().number = value;
    return value;
}

std::int32_t FieldReader::read_long() {
    return static_cast<std::int32_t>(read_number(INT32_MIN, INT32_MAX, "a 32-bit number"));
}

std::int16_t FieldReader::read_integer() {
    return static_cast<std::int16_t>(read_number(INT16_MIN, INT16_MAX, "a 16-bit number"));
}

std::uint8_t FieldReader::read_byte() {
    return static_cast<std::uint8_t>(read_number(0, 255, "a byte (0 to 255)"));
}

std::string_view FieldReader::line_text(int line) const {
    std::size_t pos = 0;
    for (int current = 1; current < line; ++current) {
        while (pos < text_.size() && !is_line_end(text_[pos])) ++pos;
        if (pos >= text_.size()) return {};
        if (text_[pos] == '\r' && pos + 1 < text_.size() && text_[pos + 1] == '\n') ++pos;
        ++pos;
    }
    std::size_t end = pos;
    while (end < text_.size() && !is_line_end(text_[end])) ++end;
    return text_.substr(pos, end - pos);
}

void FieldReader::trace_into(std::vector<RecordField>* fields) {
    trace_ = fields;
    if (fields == nullptr || at_end()) return;
    std::size_t count = 1;
    for (std::size_t at = pos_; at < text_.size() && !is_line_end(text_[at]); ++at) {
        if (text_[at] == ',') ++count;
    }
    fields->reserve(fields->size() + count);
}

bool contains_exact(std::string_view field, std::string_view word) {
    return field.find(word) != std::string_view::npos;
}

bool contains_any_case(std::string_view field, std::string_view word) {
    if (word.empty()) return true;
    if (field.size() < word.size()) return false;
    // Keyword fields are short and most tests fail at the first letter: a plain loop.
    const char first = lower_ascii(word.front());
    for (std::size_t at = 0; at + word.size() <= field.size(); ++at) {
        if (lower_ascii(field[at]) != first) continue;
        std::size_t i = 1;
        while (i < word.size() && lower_ascii(field[at + i]) == lower_ascii(word[i])) ++i;
        if (i == word.size()) return true;
    }
    return false;
}

}  // namespace railscen
