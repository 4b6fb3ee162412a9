#include "cli/source_lines.h"

#include <charconv>

#include "source_text/field_reader.h"

namespace railscen::cli {

std::vector<SourceLine> split_lines(std::string_view text) {
    std::vector<SourceLine> lines;
    std::size_t start = 0;
    int number = 1;
    while (start < text.size()) {
        std::size_t end = start;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
        lines.push_back({number++, text.substr(start, end - start)});
        if (end < text.size() && text[end] == '\r' && end + 1 < text.size() &&
            text[end + 1] == '\n') {
            ++end;
        }
        start = end + 1;
    }
    return lines;
}

std::vector<LineField> split_fields(std::string_view line) {
    std::vector<LineField> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = line.find(',', start);
        const std::size_t end = comma == std::string_view::npos ? line.size() : comma;
        std::size_t first = start;
        while (first < end && line[first] == ' ') ++first;
        std::size_t last = end;
        while (last > first && line[last - 1] == ' ') --last;
        fields.push_back({line.substr(first, last - first), static_cast<int>(first) + 1});
        if (comma == std::string_view::npos) return fields;
        start = comma + 1;
    }
}

std::optional<std::int64_t> parse_integer(std::string_view field) {
    if (!field.empty() && field.front() == '+') field.remove_prefix(1);
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (field.empty() || error != std::errc{} || end != field.data() + field.size()) {
        return std::nullopt;
    }
    return value;
}

std::vector<SourceLine> record_lines(std::string_view text) {
    std::vector<SourceLine> lines = split_lines(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (contains_any_case(lines[i].text, "[generale]")) {
            return {lines.begin() + static_cast<std::ptrdiff_t>(i) + 1, lines.end()};
        }
    }
    return {};
}

}  // namespace railscen::cli
