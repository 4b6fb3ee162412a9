#include "model/text_encoding.h"

#include <cstdint>
#include <cstdio>
#include <optional>

namespace railscen {
namespace {

// Code points of the bytes 0x80 to 0x9F; 0 where the code page defines none.
constexpr char32_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

void append_utf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace

std::string utf8_from_1252(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        const auto b = static_cast<std::uint8_t>(c);
        char32_t cp = b;
        if (b >= 0x80 && b < 0xA0)
            cp = kHighControls[b - 0x80] != 0 ? kHighControls[b - 0x80] : 0xFFFD;
        append_utf8(out, cp);
    }
    return out;
}

namespace {

// The code point of the UTF-8 sequence at bytes[i], advancing i; nullopt for a malformed,
// overlong or surrogate sequence.
std::optional<char32_t> next_code_point(std::string_view bytes, std::size_t& i) {
    const auto lead = static_cast<std::uint8_t>(bytes[i]);
    int extra = 0;
    char32_t cp = 0;
    if (lead < 0x80) {
        ++i;
        return lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        extra = 1;
        cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        extra = 2;
        cp = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        extra = 3;
        cp = lead & 0x07;
    } else {
        return std::nullopt;
    }
    if (i + static_cast<std::size_t>(extra) >= bytes.size()) return std::nullopt;
    for (int k = 1; k <= extra; ++k) {
        const auto b = static_cast<std::uint8_t>(bytes[i + static_cast<std::size_t>(k)]);
        if ((b & 0xC0) != 0x80) return std::nullopt;
        cp = (cp << 6) | (b & 0x3F);
    }
    const char32_t smallest[] = {0, 0x80, 0x800, 0x10000};
    if (cp < smallest[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return std::nullopt;
    }
    i += static_cast<std::size_t>(extra) + 1;
    return cp;
}

std::optional<std::uint8_t> cp1252_byte(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<std::uint8_t>(cp);
    for (std::uint8_t k = 0; k < 32; ++k) {
        if (kHighControls[k] != 0 && kHighControls[k] == cp)
            return static_cast<std::uint8_t>(0x80 + k);
    }
    return std::nullopt;
}

}  // namespace

Cp1252Result cp1252_from_utf8(std::string_view utf8) {
    Cp1252Result result;
    result.bytes.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t start = i;
        const std::optional<char32_t> cp = next_code_point(utf8, i);
        if (!cp) {
            result.problem = "byte " + std::to_string(start + 1) + " is not UTF-8";
            return result;
        }
        const std::optional<std::uint8_t> byte = cp1252_byte(*cp);
        if (!byte) {
            char hex[16];
            std::snprintf(hex, sizeof hex, "U+%04X", static_cast<unsigned>(*cp));
            result.problem = "\"" + std::string(utf8.substr(start, i - start)) + "\" (" + hex +
                             ") has no Windows-1252 code";
            return result;
        }
        result.bytes += static_cast<char>(*byte);
    }
    return result;
}

bool looks_like_utf8(std::string_view bytes) {
    bool high = false;
    for (std::size_t i = 0; i < bytes.size();) {
        high = high || static_cast<std::uint8_t>(bytes[i]) >= 0x80;
        if (!next_code_point(bytes, i)) return false;
    }
    return high;
}

std::string terminal_text(std::string_view bytes) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        const auto b = static_cast<std::uint8_t>(c);
        if ((b < 0x20 && b != '\t') || b == 0x7F) {
            out += "\\x";
            out += kHex[b >> 4];
            out += kHex[b & 0xF];
        } else {
            out += c;
        }
    }
    return utf8_from_1252(out);
}

std::string xml_escaped(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (const char c : utf8) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&apos;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

}  // namespace railscen
