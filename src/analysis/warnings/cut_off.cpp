// A text whose save did not finish: editors that are interrupted, or copies that run out of
// room, leave a text cut at a line end. Such a text often still compiles, to half a line or a
// train without its timetable, so the cut is told by what every whole text has: its closing
// line. The warning names what else is missing from a train description cut short: the clock
// and the stations the line is driven by.

#include <algorithm>
#include <cctype>

#include "analysis/warnings.h"

namespace railscen::analysis {
namespace {

constexpr std::string_view kClosingLine = "[fine]";

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == ',')) {
        s.remove_suffix(1);
    }
    return s;
}

bool same_text_any_case(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// The 1-based number of the text's last line that holds anything, and whether any line is
// the closing line.
struct TextEnd {
    int last_line = 1;
    bool closed = false;
};

TextEnd text_end(std::string_view text) {
    TextEnd end;
    int number = 1;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t stop = text.find_first_of("\r\n", start);
        if (stop == std::string_view::npos) stop = text.size();
        const std::string_view row = trimmed(text.substr(start, stop - start));
        if (!row.empty()) end.last_line = number;
        if (same_text_any_case(row, kClosingLine)) end.closed = true;
        if (stop < text.size() && text[stop] == '\r' && stop + 1 < text.size() &&
            text[stop + 1] == '\n') {
            ++stop;
        }
        start = stop + 1;
        ++number;
    }
    return end;
}

const char* text_name(SourceFile file) {
    return file == SourceFile::kLine ? "line description" : "train description";
}

}  // namespace

std::vector<Diagnostic> cut_off_warnings(const Run& run) {
    std::vector<Diagnostic> warnings;
    for (const SourceFile file : {SourceFile::kLine, SourceFile::kTrain}) {
        const std::optional<std::string>& text = run.texts.of(file);
        if (!text) continue;
        const TextEnd end = text_end(*text);
        // A text with its closing line was saved whole, whatever it holds.
        if (end.closed) continue;
        const SourceLocation at{file, end.last_line, 1};
        std::vector<std::string> missing = {"its closing line \"[fine]\""};
        if (file == SourceFile::kTrain) {
            const auto has = [&](RecordKind kind) {
                return std::any_of(run.records.begin(), run.records.end(),
                                   [&](const SourceRecord& r) {
                                       return r.file == SourceFile::kTrain && r.is(kind);
                                   });
            };
            if (!has(RecordKind::kClock)) missing.push_back("a clock (\"orologio\")");
            if (!has(RecordKind::kStation)) missing.push_back("stations (\"stazione\")");
        }
        std::string list;
        for (std::size_t i = 0; i < missing.size(); ++i) {
            if (i > 0) list += i + 1 == missing.size() ? " and " : ", ";
            list += missing[i];
        }
        warnings.push_back(warning("cut-off", at,
                                   std::string("the ") + text_name(file) + " ends without " + list +
                                       "; the file may be cut off (a save that did "
                                       "not finish?)"));
    }
    return warnings;
}

bool has_cut_off_warning(const std::vector<Diagnostic>& warnings) {
    return std::any_of(warnings.begin(), warnings.end(),
                       [](const Diagnostic& d) { return d.name == "cut-off"; });
}

}  // namespace railscen::analysis
