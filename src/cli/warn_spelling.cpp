#include <algorithm>
#include <cctype>

#include "cli/source_lines.h"
#include "cli/text_encoding.h"
#include "cli/warnings.h"
#include "source_text/keywords.h"

namespace railscen::cli {
namespace {

std::string lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// Edits between two words, a swap of two neighbouring letters counting as one edit (the
// commonest slip of the hand: "aderneza").
std::size_t edit_distance(std::string_view a, std::string_view b) {
    std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
    for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
    for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        for (std::size_t j = 1; j <= b.size(); ++j) {
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1,
                                d[i - 1][j - 1] + (a[i - 1] != b[j - 1])});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
            }
        }
    }
    return d[a.size()][b.size()];
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

std::vector<Warning> spelling_warnings(std::string_view text, SourceFile file) {
    const std::span<const std::string_view> keywords =
        file == SourceFile::kLine ? line_keywords() : train_keywords();
    std::vector<Warning> warnings;
    for (const SourceLine& line : record_lines(text)) {
        const LineField field = split_fields(line.text).front();
        if (!looks_like_keyword(field.text) || matches_a_record(field.text, file)) continue;
        const Nearest n = nearest_keyword(field.text, keywords);
        if (!close_enough(n)) continue;
        const std::string written = "\"" + utf8_from_1252(field.text) + "\"";
        const std::string keyword = "\"" + std::string(n.keyword) + "\"";
        // Distance 0 means the letters are right but their case or a companion word is not.
        warnings.push_back({file, line.number, field.column,
                            n.distance == 0
                                ? written + " matches no keyword, although it reads like " +
                                      keyword + " (letter case and the words with it count)"
                                : written + " matches no keyword; did you mean " + keyword + "?"});
    }
    return warnings;
}

}  // namespace railscen::cli
