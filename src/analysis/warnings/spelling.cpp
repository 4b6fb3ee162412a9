#include <algorithm>
#include <cctype>

#include "analysis/edit_distance.h"
#include "analysis/warnings.h"
#include "source_text/keywords.h"

namespace railscen::analysis {
namespace {

std::string lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// A keyword field, not a header, comment, number or name: it starts with a letter and holds a
// few of them.
bool looks_like_keyword(std::string_view field) {
    if (field.empty() || !std::isalpha(static_cast<unsigned char>(field.front()))) return false;
    if (field.find_first_of("[]-") != std::string_view::npos) return false;
    return std::count_if(field.begin(), field.end(), [](char c) {
               return std::isalpha(static_cast<unsigned char>(c)) != 0;
           }) >= 3;
}

bool matches_a_record(std::string_view field, SourceFile file) {
    if (file == SourceFile::kTrain) return !train_matches(field).empty();
    return !general_matches(field).empty() || !object_matches(field, true).empty();
}

struct Nearest {
    std::string_view keyword;
    std::size_t distance;
};

// The keyword the field is closest to, comparing the whole field and, for a field that goes
// on after its keyword ("curvas3", "sfondo uno"), its beginning.
Nearest nearest_keyword(std::string_view field, std::span<const std::string_view> keywords) {
    const std::string text = lower(field);
    Nearest best{{}, std::string_view::npos};
    for (const std::string_view keyword : keywords) {
        const std::size_t d =
            std::min(edit_distance(text, keyword),
                     edit_distance(std::string_view(text).substr(0, keyword.size()), keyword));
        if (d < best.distance) best = {keyword, d};
    }
    return best;
}

bool close_enough(const Nearest& n) {
    return n.distance <= std::max<std::size_t>(1, n.keyword.size() / 5);
}

}  // namespace

std::vector<Diagnostic> spelling_warnings(const Run& run) {
    std::vector<Diagnostic> warnings;
    const SourceRecord* previous = nullptr;
    for (const SourceRecord& r : run.records) {
        // Only a keyword field that begins its line: the fields after an unknown keyword are
        // read as keywords too, but nobody wrote them as such.
        const int previous_line = previous == nullptr        ? 0
                                  : previous->fields.empty() ? previous->keyword.line
                                                             : previous->fields.back().line;
        const bool first_on_line =
            previous == nullptr || previous->file != r.file || previous_line < r.keyword.line;
        previous = &r;
        const std::string_view field = r.keyword.text;
        if (!first_on_line || !r.kinds.empty() || !looks_like_keyword(field) ||
            matches_a_record(field, r.file)) {
            continue;
        }
        const Nearest n = nearest_keyword(
            field, r.file == SourceFile::kLine ? line_keywords() : train_keywords());
        if (!close_enough(n)) continue;
        const std::string written = "\"" + std::string(field) + "\"";
        const std::string keyword = "\"" + std::string(n.keyword) + "\"";
        // Distance 0 means the letters are right but their case or a companion word is not.
        warnings.push_back(warning(
            "spelling", r.location(),
            n.distance == 0 ? written + " matches no keyword, although it reads like " + keyword +
                                  " (letter case and the words with it count)"
                            : written + " matches no keyword; did you mean " + keyword + "?"));
    }
    return warnings;
}

}  // namespace railscen::analysis
