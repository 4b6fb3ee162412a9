#include "long_scenario.h"

#include <charconv>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "scenario/stored_scenario.h"

namespace railscen::bench {
namespace {

// The stored line is laid end to end in stretches this long. Its few records past the stretch
// (curves that run on beyond the stored line's end) are left out, so that each section stays in
// order along the line.
constexpr std::int32_t kStretch = 105000;
constexpr std::int32_t kEndMargin = 1500;  // no object this close to the end of the line

// "keyword,  12345, rest": the keyword, the first number and what follows it.
struct Record {
    std::string_view keyword;
    std::int32_t position = 0;
    std::string_view rest;  // from the comma after the position, or empty
    bool positioned = false;
};

Record split(std::string_view line) {
    Record r;
    const std::size_t comma = line.find(',');
    if (comma == std::string_view::npos) return r;
    r.keyword = line.substr(0, comma);
    std::size_t at = line.find_first_not_of(' ', comma + 1);
    if (at == std::string_view::npos) return r;
    const auto [end, ec] = std::from_chars(line.data() + at, line.data() + line.size(), r.position);
    if (ec != std::errc{}) return r;
    r.positioned = true;
    r.rest = line.substr(static_cast<std::size_t>(end - line.data()));
    return r;
}

bool starts_with(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

void put(std::string& out, std::string_view line) {
    out += line;
    out += "\r\n";
}

void put_shifted(std::string& out, const Record& r, std::int32_t shift) {
    out += r.keyword;
    out += ",  ";
    out += std::to_string(r.position + shift);
    if (starts_with(r.keyword, "montagna")) {
        // The mountain's end is the second number.
        const Record end = split(r.rest);
        out += ",  ";
        out += std::to_string(end.position + shift);
        out += end.rest;
    } else {
        out += r.rest;
    }
    out += "\r\n";
}

// Keywords whose records take a scenario slot: kept from the first stretch only.
bool takes_a_slot(std::string_view keyword) {
    return starts_with(keyword, "stazione") || starts_with(keyword, "cartello");
}

// Repeats each section's positioned records once per stretch, in order of position.
std::string lay_out(LineList stored, std::int32_t length, bool line_text) {
    const std::int32_t stretches = (length + kStretch - 1) / kStretch;
    std::string out;
    std::vector<std::string_view> section;
    auto flush = [&] {
        for (std::int32_t s = 0; s < stretches; ++s) {
            const std::int32_t shift = s * kStretch;
            for (std::string_view line : section) {
                const Record r = split(line);
                if (s > 0 && takes_a_slot(r.keyword)) continue;
                if (r.positioned && r.position >= kStretch) continue;
                if (r.position + shift > length - kEndMargin) continue;
                put_shifted(out, r, shift);
            }
        }
        section.clear();
    };
    for (std::string_view line : stored) {
        if (line == kEndOfList) break;
        const Record r = split(line);
        if (line_text && starts_with(line, "lunghezza percorso")) {
            flush();
            put(out, "lunghezza percorso,    " + std::to_string(length));
        } else if (line_text && starts_with(line, "ripetizione segnali")) {
            flush();
            const std::int32_t finish = (length - kEndMargin) / 50 * 50;
            put(out, std::string(r.keyword) + ",    500,    " + std::to_string(finish));
        } else if (r.positioned && !starts_with(line, "progressiva") &&
                   !starts_with(line, "sfondo") && !starts_with(line, "numero") &&
                   !starts_with(line, "percentuale") && !starts_with(line, "sabbia") &&
                   !starts_with(line, "orologio")) {
            section.push_back(line);
        } else {
            flush();
            put(out, line);
        }
    }
    flush();
    return out;
}

}  // namespace

LongScenario make_long_scenario(std::int32_t length) {
    if (length < kMinLongLength || length > kMaxLongLength) {
        throw std::invalid_argument("a long line is 10000 to 1000000 m");
    }
    return {lay_out(stored_line_description(), length, true),
            lay_out(stored_train_description(), length, false)};
}

}  // namespace railscen::bench
