#include "model/record_format.h"

#include <array>
#include <cctype>

namespace railscen {
namespace {

constexpr std::string_view kGridRule = "(position + 100) / 50 within the grid, else code 15";

constexpr FieldFormat kLength[] = {
    {"length", "m", "up to 1000000",
     "scenario slot 84 finish; the grid and plan reach length + 7000 m"},
};
constexpr FieldFormat kProgressive[] = {
    {"origin", "m", "a line position",
     "scenario slots 81-83 start, ordered by origin, highest first"},
    {"value", "m", "a kilometric value", "scenario slots 81-83 finish"},
    {"flag", "", "0 or 1 (1 adds 100 to the value)", "scenario slots 81-83 position"},
};
constexpr FieldFormat kBackgroundOne[] = {
    {"setting", "", "any whole number", "scenario slot 85 start, unchanged"},
};
constexpr FieldFormat kBackgroundTwo[] = {
    {"setting", "", "any whole number", "scenario slot 85 position, unchanged"},
};
constexpr FieldFormat kBackgroundThree[] = {
    {"setting", "", "any whole number", "scenario slot 85 finish, unchanged"},
};
constexpr FieldFormat kRepetition[] = {
    {"start", "m", "a multiple of 50", "scenario slot 86 start"},
    {"end", "m", "a multiple of 50; 0 for no repetition", "scenario slot 86 finish"},
};
constexpr FieldFormat kGradient[] = {
    {"position", "m", "ascending; (position + 100) / 50 within the grid, else code 15",
     "the cells' gradient layer (gradient + 100) from here to the next gradient"},
    {"gradient", "per mille", "signed, -100 to 155", "the cells' gradient layer"},
};
constexpr FieldFormat kCurve[] = {
    {"start", "m", "ascending, not overlapping the curve before",
     "the plan: the track turns from here"},
    {"length", "m", "positive", "the plan: the track turns for this many metres"},
};
constexpr FieldFormat kMountain[] = {
    {"start", "m", kGridRule, "the cells' mountain layer from here"},
    {"end", "m", "after the start", "the cells' mountain layer up to here"},
    {"kind", "", "1 to 10; 11 to 20: kind - 10 with spacer cells", "the mountain layer's value"},
};
constexpr FieldFormat kSpeedBoard[] = {
    {"position", "m", kGridRule, "a speed-board cell (kind 6)"},
    {"vas", "km/h", "a multiple of 5, up to 1275", "the cell's left speeds, packed"},
    {"vbs", "km/h", "a multiple of 5, up to 1275", "the cell's left speeds, packed"},
    {"vcs", "km/h", "a multiple of 5, up to 1275", "the cell's left speeds, packed"},
    {"strisces", "", "0 to 2 stripes", "the cell's left stripes"},
    {"vad", "km/h", "empty for a board on the left only", "the cell's right speeds, packed"},
    {"vbd", "km/h", "empty for a board on the left only", "the cell's right speeds, packed"},
    {"vcd", "km/h", "empty for a board on the left only", "the cell's right speeds, packed"},
    {"strisced", "", "0 to 2 stripes", "the cell's right stripes"},
};
constexpr FieldFormat kSignBoard[] = {
    {"position", "m", kGridRule, "a sign cell (kind 14) naming its slot"},
    {"text", "", "free text without a comma", "a scenario slot from 80 down"},
};
constexpr FieldFormat kBrakedMass[] = {
    {"percentage", "%", "a whole number", "scenario slot 84 start"},
};
constexpr FieldFormat kCars[] = {
    {"cars", "", "a whole number", "scenario slot 84 position"},
};
constexpr FieldFormat kSpeedLimit[] = {
    {"position", "m", kGridRule, "the cells' speed-limit layer from here to the next row"},
    {"speed", "km/h", "0 to 1277 (stored as speed / 5)", "the cells' speed-limit layer"},
};
constexpr FieldFormat kAdhesion[] = {
    {"position", "m", kGridRule, "the cells' adhesion layer from here to the next row"},
    {"value", "", "0 to 255", "the cells' adhesion layer"},
};
constexpr FieldFormat kClock[] = {
    {"hour", "h", "0 to 23", "scenario slot 86 word3"},
    {"minute", "min", "0 to 59", "scenario slot 86 word4"},
    {"second", "s", "0 to 59", "scenario slot 86 word5"},
};
constexpr FieldFormat kSand[] = {
    {"setting", "", "-32768 to 32767", "scenario slot 86 word1"},
};
constexpr FieldFormat kSignal[] = {
    {"posizione", "m", "at least 325; (position + 100) / 50 within the grid, else code 15",
     "a signal cell and its approach cells"},
    {"sx", "", "left head type: 1, or 2 (stores tempo)",
     "the signal cell, packed with dx and rapp"},
    {"s1", "", "one digit: the left head's first aspect", "the signal cell"},
    {"s2", "", "one digit: the left head's second aspect", "the signal cell"},
    {"s3", "", "one digit: the left head's third aspect", "the signal cell"},
    {"rapp", "", "one digit", "the signal cell, as the tens of the packed type"},
    {"dx", "", "right head type: 0 (none), 1 or 2", "the signal cell, packed with sx"},
    {"d1", "", "one digit: the right head's first aspect; 0 without a right head",
     "the signal cell"},
    {"d2", "", "one digit: the right head's second aspect", "the signal cell"},
    {"d3", "", "one digit: the right head's third aspect", "the signal cell"},
    {"tempo", "", "0, or 101 to 255 (1 to 100 are raised to 101)", "the signal cell's time"},
};
constexpr FieldFormat kSlowdown[] = {
    {"x", "m", kGridRule, "the slowdown's start cell"},
    {"v", "km/h", "the slowdown's speed", "the slowdown's cells"},
    {"l", "m", "its end within the grid, else code 15", "the slowdown's end cell"},
    {"f_tt", "", "a whole number", "stored in the start and end cells"},
    {"f_ta", "", "not 0: four warning marks before it (start past 1500 m)", "marker cells"},
    {"d_v", "", "not 0: a second value", "the slowdown's cells"},
};
constexpr FieldFormat kCodeRow[] = {
    {"position", "m", kGridRule,
     "a code cell (kind 12, or 13 without a value); its cell must be free, else code 7"},
    {"value", "", "above 0: kept (low 16 bits); 0 or less: a point without value",
     "the cell's value"},
};
constexpr FieldFormat kStation[] = {
    {"position", "m", "a multiple of 50 (code 8); (position + 800) / 50 within the grid",
     "the station slot's position: the zone's centre"},
    {"category", "", "0 to 255; see the categories", "the station slot's category"},
    {"length", "m", "a multiple of 100 (code 9)", "the zone's extent (not kept)"},
    {"flag", "", "0 to 255", "the station slot's flag, unchanged"},
    {"byte4", "", "0 to 255; cleared below 600 m and at the first station",
     "the station slot's byte4"},
    {"byte3", "", "0 to 255; not 0: the zone ends 50 m further", "the station slot's byte3"},
    {"word1", "", "-32768 to 32767", "the station slot's word1, unchanged"},
    {"word2", "", "-32768 to 32767", "the station slot's word2, unchanged"},
    {"byte1", "", "0 to 255", "the station slot's byte1, unchanged"},
    {"word3", "", "-32768 to 32767", "the station slot's word3, unchanged"},
    {"word4", "", "-32768 to 32767", "the station slot's word4, unchanged"},
    {"word5", "", "-32768 to 32767", "the station slot's word5, unchanged"},
    {"byte2", "s", "0 to 255: the seconds the train stands there, 0 where it passes",
     "the station slot's byte2, unchanged"},
    {"hour", "h", "0 to 23; all three 0: no timed call", "the slot's time, hour x 3600 + ..."},
    {"minute", "min", "0 to 59", "the slot's time"},
    {"second", "s", "0 to 59", "the slot's time"},
    {"name", "", "text without a comma", "the station slot's text"},
};

constexpr RecordFormat kRecords[] = {
    {"lunghezza percorso", "\"percorso\" and \"lunghezza\", any case", "line length",
     SourceFile::kLine, RecordKind::kLength,
     "the line's length; required, first in the general section", kLength},
    {"progressiva chilometrica tre", "\"tre\" and \"progressiva\", exact case",
     "kilometric progressive three", SourceFile::kLine, RecordKind::kProgressive,
     "the third kilometric progressive definition", kProgressive},
    {"progressiva chilometrica due", "\"due\" and \"progressiva\", exact case",
     "kilometric progressive two", SourceFile::kLine, RecordKind::kProgressive,
     "the second kilometric progressive definition", kProgressive},
    {"progressiva chilometrica uno", "\"uno\" and \"progressiva\", exact case",
     "kilometric progressive one", SourceFile::kLine, RecordKind::kProgressive,
     "the first kilometric progressive definition", kProgressive},
    {"sfondo uno", "\"sfondo\" and \"uno\", exact case", "background one", SourceFile::kLine,
     RecordKind::kBackground, "the first scenery setting, carried for the simulator",
     kBackgroundOne},
    {"sfondo due", "\"sfondo\" and \"due\", exact case", "background two", SourceFile::kLine,
     RecordKind::kBackground, "the second scenery setting", kBackgroundTwo},
    {"sfondo tre", "\"sfondo\" and \"tre\", exact case", "background three", SourceFile::kLine,
     RecordKind::kBackground, "the third scenery setting", kBackgroundThree},
    {"ripetizione segnali 4 codici",
     "\"segnali\" and \"ripetizione\", exact case; a 4 or a 9 in it", "signal repetition",
     SourceFile::kLine, RecordKind::kSignalRepetition,
     "the stretch with signal repetition in the cab, with 4 or 9 codes", kRepetition},
    {"pendenza", "\"pendenza\", any case", "gradient", SourceFile::kLine, RecordKind::kGradient,
     "the gradient from this position to the next gradient row", kGradient},
    {"curvad3", "\"curva\", any case; s (left) or d (right), a class digit 1 to 6", "curve",
     SourceFile::kLine, RecordKind::kCurve,
     "a curve of constant radius, its side and class in the keyword; read only with the plan",
     kCurve},
    {"montagna", "\"montagna\", any case", "mountain", SourceFile::kLine, RecordKind::kMountain,
     "a mountain or tunnel stretch", kMountain},
    {"indicatori_vmax", "\"indicatori_v\", any case", "speed board", SourceFile::kLine,
     RecordKind::kSpeedBoard, "a maximum-speed board: three speeds and stripes for each side",
     kSpeedBoard},
    {"cartello_indicatore", "\"cartello\" and \"indicat\", any case", "sign board",
     SourceFile::kLine, RecordKind::kSignBoard, "a sign board with free text", kSignBoard},
    {"percentuale massa frenata", "\"frenata\" and \"massa\", any case", "braked mass",
     SourceFile::kTrain, RecordKind::kBrakedMass, "the train's braked-mass percentage",
     kBrakedMass},
    {"numero vetture", "\"vetture\", any case", "cars", SourceFile::kTrain, RecordKind::kCars,
     "the number of cars of the train", kCars},
    {"velocita", "\"velocit\", any case", "speed limit", SourceFile::kTrain,
     RecordKind::kSpeedLimit, "the train's speed limit from this position to the next row",
     kSpeedLimit},
    {"aderenza", "\"aderenza\", any case", "adhesion", SourceFile::kTrain, RecordKind::kAdhesion,
     "the adhesion from this position to the next row", kAdhesion},
    {"orologio", "\"orologio\", any case", "clock", SourceFile::kTrain, RecordKind::kClock,
     "the clock at the start of the run; blanks or commas between the numbers", kClock},
    {"sabbia", "\"sabbia\", any case", "sand", SourceFile::kTrain, RecordKind::kSand,
     "the sand setting", kSand},
    {"segnale", "\"segnale\", any case", "signal", SourceFile::kTrain, RecordKind::kSignal,
     "a signal with a left and an optional right head", kSignal},
    {"rallentamento", "\"rallentamento\", any case", "slowdown", SourceFile::kTrain,
     RecordKind::kSlowdown, "a temporary slowdown", kSlowdown},
    {"abbattimento", "\"abbattimento\", any case", "code drop point", SourceFile::kTrain,
     RecordKind::kCodeRow, "a point where the cab code drops", kCodeRow},
    {"stazione", "\"stazione\", any case", "station", SourceFile::kTrain, RecordKind::kStation,
     "a station: its zone, stop, timetable time and name; stations take slots 1, 2, 3 in order",
     kStation},
};

constexpr CurveClass kCurveClasses[] = {
    {'1', 0.0001, "10000 m"}, {'2', 0.0002, "5000 m"}, {'3', 0.0004, "2500 m"},
    {'4', 0.001, "1000 m"},   {'5', 0.002, "500 m"},   {'6', 0.003, "333.3 m"},
};

constexpr StationCategory kStationCategories[] = {
    {"5, 6", "the zone is computed as for a halt; no approach marks"},
    {"7, 8", "the zone is computed as for an origin; byte3 and byte4 are cleared"},
    {"below 25", "a stop cell is written (and four approach marks, except 5 and 6)"},
    {"25 and above", "no stop cell: the train passes"},
};

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::string with_unit(const FieldFormat& f) {
    return f.unit.empty() ? std::string(f.name)
                          : std::string(f.name) + " (" + std::string(f.unit) + ")";
}

}  // namespace

std::span<const RecordFormat> record_formats() {
    return kRecords;
}
std::span<const CurveClass> curve_classes() {
    return kCurveClasses;
}
std::span<const StationCategory> station_categories() {
    return kStationCategories;
}

const RecordFormat* find_record_format(std::string_view word) {
    const std::string w = lower(word);
    for (const RecordFormat& r : kRecords) {
        if (w == r.keyword || w == r.title) return &r;
    }
    // A first word is enough where it is one record's: "curva", "progressiva" is not.
    const RecordFormat* found = nullptr;
    for (const RecordFormat& r : kRecords) {
        if (!w.empty() && r.keyword.starts_with(w)) {
            if (found != nullptr) return nullptr;
            found = &r;
        }
    }
    return found;
}

const RecordFormat* record_format(RecordKind kind) {
    for (const RecordFormat& r : kRecords) {
        if (r.kind == kind) return &r;
    }
    return nullptr;
}

std::string field_summary(const RecordFormat& record) {
    std::string out;
    for (const FieldFormat& f : record.fields) {
        if (!out.empty()) out += ", ";
        out += with_unit(f);
    }
    return out;
}

std::string field_ranges(const RecordFormat& record) {
    std::string out;
    for (std::size_t i = 0; i < record.fields.size(); ++i) {
        const FieldFormat& f = record.fields[i];
        out += std::to_string(i + 1) + ". " + with_unit(f) + ": " + std::string(f.range) + "\n";
    }
    return out;
}

namespace {

bool is_text(const FieldFormat& f) {
    return f.name == "name" || f.name == "text";
}

std::string counted(std::size_t n, std::string_view what) {
    static constexpr std::array<std::string_view, 18> kWords = {
        "no",     "one",      "two",      "three",   "four",    "five",
        "six",    "seven",    "eight",    "nine",    "ten",     "eleven",
        "twelve", "thirteen", "fourteen", "fifteen", "sixteen", "seventeen"};
    if (n == 1) return "a " + std::string(what);
    const std::string word = n < kWords.size() ? std::string(kWords[n]) : std::to_string(n);
    return word + " " + std::string(what) + "s";
}

}  // namespace

std::string record_form(const RecordFormat& record) {
    std::size_t numbers = 0;
    std::size_t texts = 0;
    std::string names;
    for (const FieldFormat& f : record.fields) {
        (is_text(f) ? texts : numbers) += 1;
        if (!names.empty()) names += ", ";
        names += f.name;
    }
    std::string out = "the " + std::string(record.title) + " is ";
    if (numbers > 0) out += counted(numbers, "whole number");
    if (numbers > 0 && texts > 0) out += " and ";
    if (texts > 0) out += counted(texts, "text");
    return out + ": " + names;
}

void place_field_failure(const std::vector<SourceRecord>& records, Diagnostic& d) {
    if (records.empty() || !d.at) return;
    const SourceRecord& r = records.back();
    if (r.fields.empty() || r.file != d.at->file) return;
    const RecordField& failed = r.fields.back();
    if (failed.line != d.at->line || failed.column != d.at->column) return;
    const std::size_t index = r.fields.size() - 1;
    const RecordFormat* format = nullptr;
    for (const RecordKind kind : r.kinds) {
        const RecordFormat* f = record_format(kind);
        if (f != nullptr && index < f->fields.size()) {
            format = f;
            break;
        }
    }
    if (format == nullptr) return;
    if (failed.line == r.keyword.line) {
        d.reason += ": " + record_form(*format);
        return;
    }
    // The record's own line ended before this field: the reader took the next line's first
    // field in its place. The caret goes under the record's last field on its own line.
    const FieldFormat& lacked = format->fields[index];
    SourceLocation own = r.location();
    std::string after = "its keyword";
    for (std::size_t i = 0; i < index; ++i) {
        if (r.fields[i].line != r.keyword.line) break;
        own = {r.file, r.fields[i].line, r.fields[i].column};
        after = "field " + std::to_string(i + 1) + ", " + std::string(format->fields[i].name);
    }
    d.related.insert(d.related.begin(), RelatedLocation{*d.at, "the next line's \"" + failed.text +
                                                                   "\" was read in its place"});
    d.at = own;
    d.reason = "the " + std::string(format->title) + " record lacks field " +
               std::to_string(index + 1) + ", " + std::string(lacked.name) +
               ": its line ends after " + after + "; " + record_form(*format);
}

namespace {

void add_tables(std::string& out, const RecordFormat& record, bool markdown) {
    if (record.kind == RecordKind::kCurve) {
        out += markdown ? "\n| class digit | curvature (1/m) | radius |\n|---|---|---|\n"
                        : "\n  class  radius\n";
        for (const CurveClass& c : kCurveClasses) {
            std::string k = std::to_string(c.curvature);
            while (k.ends_with('0')) k.pop_back();
            out += markdown
                       ? "| " + std::string(1, c.digit) + " | " + k + " | " +
                             std::string(c.radius) + " |\n"
                       : "  " + std::string(1, c.digit) + "      " + std::string(c.radius) + "\n";
        }
    }
    if (record.kind == RecordKind::kStation) {
        out +=
            markdown ? "\n| categories | what the loader does |\n|---|---|\n" : "\n  categories\n";
        for (const StationCategory& c : kStationCategories) {
            out += markdown
                       ? "| " + std::string(c.categories) + " | " + std::string(c.meaning) + " |\n"
                       : "  " + std::string(c.categories) + ": " + std::string(c.meaning) + "\n";
        }
    }
    if (record.kind == RecordKind::kSignal) {
        const std::string_view aspects =
            "the aspect digits s1-s3 and d1-d3 and the types sx and dx are packed by decimal "
            "digits into one cell value: a value above 9 no longer separates from its "
            "neighbours";
        out +=
            markdown ? "\n" + std::string(aspects) + ".\n" : "\n  " + std::string(aspects) + "\n";
    }
}

}  // namespace

std::string record_reference(const RecordFormat& record) {
    std::string out =
        std::string(record.keyword) + " (" + (record.file == SourceFile::kLine ? "line" : "train") +
        " description): " + std::string(record.title) + "\n  " + std::string(record.about) +
        "\n  the reader looks for " + std::string(record.looks_for) + "\n\n";
    for (std::size_t i = 0; i < record.fields.size(); ++i) {
        const FieldFormat& f = record.fields[i];
        out += "  " + std::to_string(i + 1) + ". " + with_unit(f) + ": " + std::string(f.range) +
               "\n     becomes " + std::string(f.becomes) + "\n";
    }
    add_tables(out, record, false);
    return out;
}

std::string format_reference_markdown() {
    std::string out =
        "# The description formats\n\n"
        "Generated from the tool's record table (`railscen explain RECORD` prints the same);\n"
        "a test fails when this file and the table differ. Fields follow the keyword, separated\n"
        "by commas or blanks; a text field runs to the next comma or the line's end.\n";
    for (const SourceFile file : {SourceFile::kLine, SourceFile::kTrain}) {
        out += file == SourceFile::kLine ? "\n## The line description (NAME_linea.txt)\n"
                                         : "\n## The train description (NAME_TRAIN-.txt)\n";
        for (const RecordFormat& r : kRecords) {
            if (r.file != file) continue;
            out += "\n### " + std::string(r.keyword) + ": " + std::string(r.title) + "\n\n" +
                   std::string(r.about) + ". The reader looks for " + std::string(r.looks_for) +
                   ".\n\n| # | field | unit | range | becomes |\n|---|---|---|---|---|\n";
            for (std::size_t i = 0; i < r.fields.size(); ++i) {
                const FieldFormat& f = r.fields[i];
                out += "| " + std::to_string(i + 1) + " | " + std::string(f.name) + " | " +
                       std::string(f.unit) + " | " + std::string(f.range) + " | " +
                       std::string(f.becomes) + " |\n";
            }
            add_tables(out, r, true);
        }
    }
    return out;
}

}  // namespace railscen
