#include "grid/race_codes.h"

#include <string>
#include <string_view>

#include "model/error_codes.h"
#include "model/markers.h"

namespace railscen {
namespace {

constexpr std::string_view kPadding = "qqrrssttuuvvzzppkkjjwwxxyy";
constexpr int kCountedCharacters = 25;

// Windows-1252 lower-casing.
unsigned char lower_1252(unsigned char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 0x20;
    switch (c) {
        case 0x8A:
        case 0x8C:
        case 0x8E:
            return c + 0x10;
        case 0x9F:
            return 0xFF;
        default:
            return c;
    }
}

std::string combined_text(const Run& run) {
    std::string s = run.slots[kTrainSlot].text + run.slots[kLineSlot].text;
    for (char& c : s) c = static_cast<char>(lower_1252(static_cast<unsigned char>(c)));
    s += kPadding;
    return s;
}

// A fatal code ends the run without touching error_code; its diagnostic names what holds
// cell 1, where the stamps go.
std::int32_t fatal(Run& run, std::int32_t code) {
    Diagnostic& d = run.diagnostics.emplace_back();
    d.code = code;
    describe_occupant(run, d, 1);
    return code;
}

}  // namespace

std::int16_t codice_gara_og(const Run& run) {
    const std::string s = combined_text(run);
    std::int32_t sum = 0;
    for (int i = 0; i < kCountedCharacters; ++i) sum += static_cast<unsigned char>(s[i]);
    return static_cast<std::int16_t>(sum);
}

std::int32_t codice_gara_st(const Run& run) {
    const std::string s = combined_text(run);
    std::int32_t sum = 0;
    for (int i = 0; i < kCountedCharacters; ++i) {
        sum += (i + 1) * static_cast<std::int32_t>(static_cast<unsigned char>(s[i]));
    }
    return sum;
}

std::optional<std::int32_t> stamp_markers(Run& run) {
    ScenarioSlot& line_slot = run.slots[kLineSlot];
    TrackCell& cell = (*run.cells)[1];
    if (line_slot.word1 != 0 || cell.param1 != 0) return fatal(run, kFatalMarkers);
    line_slot.word1 = kSlotMarker;
    cell.param1 = kCellMarker;
    if (line_slot.time != 0 || cell.param2 != 0) return fatal(run, kFatalRaceCodes);
    line_slot.time = codice_gara_st(run);
    cell.param2 = codice_gara_og(run);
    return std::nullopt;
}

}  // namespace railscen
