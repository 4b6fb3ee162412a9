#include "cli/source_lines.h"
#include "cli/warnings.h"
#include "model/cell_index.h"
#include "source_text/field_reader.h"
#include "source_text/keywords.h"

namespace railscen::cli {
namespace {

// The start and the end (or length) of a stretch record: its first two numbers.
struct Stretch {
    std::int64_t first;
    std::int64_t second;
    int second_column;
};

std::optional<Stretch> stretch_of(const std::vector<LineField>& fields) {
    if (fields.size() < 3) return std::nullopt;
    const std::optional<std::int64_t> first = parse_integer(fields[1].text);
    const std::optional<std::int64_t> second = parse_integer(fields[2].text);
    if (!first || !second) return std::nullopt;
    return Stretch{*first, *second, fields[2].column};
}

}  // namespace

std::vector<Warning> stretch_warnings(const Run& run, std::string_view line_text) {
    std::vector<Warning> warnings;
    if (!run.cells) return warnings;
    const std::int64_t last_cell = run.cells->upper_bound();
    const bool with_curves = run.with_plan != 0 && run.plan.exists();
    for (const SourceLine& line : record_lines(line_text)) {
        const std::vector<LineField> fields = split_fields(line.text);
        const std::string_view keyword = fields.front().text;
        if (is_comment_field(keyword)) continue;
        const std::optional<Stretch> s = stretch_of(fields);
        if (!s) continue;
        if (contains_any_case(keyword, "montagna") &&
            cell_index::mountain_last(s->second) > last_cell) {
            warnings.push_back({SourceFile::kLine, line.number, s->second_column,
                                "mountain from " + std::to_string(s->first) + " m to " +
                                    std::to_string(s->second) +
                                    " m runs past the end of the grid at " +
                                    std::to_string((last_cell + 1) * 50) + " m"});
        }
        if (with_curves && contains_any_case(keyword, "curva") &&
            s->first + s->second > run.plan.last_row()) {
            warnings.push_back({SourceFile::kLine, line.number, s->second_column,
                                "curve from " + std::to_string(s->first) + " m, " +
                                    std::to_string(s->second) +
                                    " m long, runs past the end of the plan at " +
                                    std::to_string(run.plan.last_row()) + " m"});
        }
    }
    return warnings;
}

}  // namespace railscen::cli
