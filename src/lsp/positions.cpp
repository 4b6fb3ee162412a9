#include "lsp/positions.h"

#include <cstdint>

#include "model/text_encoding.h"

namespace railscen::lsp {
namespace {

// The characters Windows-1252 puts at 0x80 to 0x9F (0 where it defines none).
constexpr char32_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

// The byte for a character; 0 when Windows-1252 has none (NUL itself is ASCII and kept apart).
unsigned char byte_for(char32_t c) {
    if (c < 0x100) return static_cast<unsigned char>(c);
    for (int i = 0; i < 32; ++i) {
        if (kHighControls[i] == c) return static_cast<unsigned char>(0x80 + i);
    }
    return 0;
}

// Decodes one UTF-8 sequence at i; a malformed byte reads as U+FFFD and takes one byte.
char32_t next_code_point(std::string_view s, std::size_t& i) {
    const auto b = static_cast<unsigned char>(s[i]);
    int extra = 0;
    char32_t c = 0;
    if (b < 0x80) {
        ++i;
        return b;
    } else if ((b & 0xE0) == 0xC0) {
        extra = 1;
        c = b & 0x1F;
    } else if ((b & 0xF0) == 0xE0) {
        extra = 2;
        c = b & 0x0F;
    } else if ((b & 0xF8) == 0xF0) {
        extra = 3;
        c = b & 0x07;
    } else {
        ++i;
        return 0xFFFD;
    }
    if (i + static_cast<std::size_t>(extra) >= s.size()) {
        ++i;
        return 0xFFFD;
    }
    for (int k = 1; k <= extra; ++k) {
        const auto n = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
        if ((n & 0xC0) != 0x80) {
            ++i;
            return 0xFFFD;
        }
        c = (c << 6) | (n & 0x3F);
    }
    i += static_cast<std::size_t>(extra) + 1;
    return c;
}

template <typename Sink>
void convert(std::string_view utf8, Sink&& sink) {
    std::size_t i = 0;
    while (i < utf8.size()) {
        const char32_t c = next_code_point(utf8, i);
        const unsigned char b = byte_for(c);
        if (b != 0 || c == 0) {
            sink(static_cast<char>(b), false);
        } else {
            sink('?', true);
            if (c > 0xFFFF) sink('?', false);  // two UTF-16 code units, two bytes
        }
    }
}

}  // namespace

std::string bytes_from_editor(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    convert(utf8, [&](char b, bool) { out += b; });
    return out;
}

std::size_t unrepresentable_characters(std::string_view utf8) {
    std::size_t count = 0;
    convert(utf8, [&](char, bool lost) { count += lost ? 1 : 0; });
    return count;
}

std::string lost_mask(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    convert(utf8, [&](char, bool lost) { out += lost ? '1' : '0'; });
    return out;
}

std::string editor_from_bytes(std::string_view bytes) {
    return utf8_from_1252(bytes);
}

int utf16_column(std::string_view line_bytes, std::size_t offset) {
    return static_cast<int>(offset < line_bytes.size() ? offset : line_bytes.size());
}

std::size_t byte_offset(std::string_view line_bytes, int column) {
    if (column <= 0) return 0;
    const auto c = static_cast<std::size_t>(column);
    return c < line_bytes.size() ? c : line_bytes.size();
}

std::optional<std::size_t> text_offset(std::string_view bytes, std::int64_t line,
                                       std::int64_t column) {
    if (line < 0 || column < 0) return std::nullopt;
    std::size_t start = 0;
    for (std::int64_t l = 0; l < line; ++l) {
        const std::size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) return std::nullopt;
        start =
            end + (bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n' ? 2 : 1);
    }
    std::size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = bytes.size();
    if (static_cast<std::uint64_t>(column) > end - start) return std::nullopt;
    return start + static_cast<std::size_t>(column);
}

std::int64_t line_count(std::string_view bytes) {
    std::int64_t lines = 1;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n' ||
            (bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n')))
            ++lines;
    }
    return lines;
}

}  // namespace railscen::lsp
