#include "paper/slowdown_form.h"

#include <cstdio>

#include "analysis/diff.h"
#include "paper/scenario_facts.h"
#include "paper/stored_layout.h"

namespace railscen::paper {
namespace {

// A number right-aligned in width characters (cut and warned past it).
std::string right_aligned(const std::string& text, std::size_t width, const std::string& what,
                          std::vector<std::string>& warnings) {
    if (text.size() >= width) return fitted(text, width, what, warnings);
    return std::string(width - text.size(), ' ') + text;
}

std::string trimmed_right(std::string text) {
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

}  // namespace

SlowdownForm slowdown_form(const Run& run) {
    SlowdownForm form;
    const LinePlaces places = line_places(run.line_name);
    form.line_from = places.from;
    form.line_to = places.to;
    form.train_number = train_number(run.train_name);
    for (const Slowdown& s : slowdowns(run)) {
        FormRow row;
        const analysis::StationsAround around =
            analysis::stations_around(run, s.metres, s.metres + s.length);
        if (around.before != nullptr && around.after != nullptr) {
            row.stations = around.before == around.after
                               ? around.before->text
                               : around.before->text + " - " + around.after->text;
        }
        row.kilometre_point = kilometre_point(run.slots, s.metres);
        row.kmh = s.kmh;
        row.length = s.length;
        form.rows.push_back(row);
    }
    return form;
}

DocumentLines slowdown_form_lines(const SlowdownForm& form) {
    DocumentLines out;
    const auto add_stored = [&](StoredLines lines) {
        for (const std::string_view line : stored_form_lines(lines)) out.lines.emplace_back(line);
    };
    add_stored(form_layout::kHead);
    out.lines.push_back(trimmed_right("  Linea  " + form.line_from + "  " + form.line_to));
    out.lines.push_back("  Si ordina al macchinista del treno " + form.train_number +
                        " di effettuare i seguenti rallentamenti");
    add_stored(form_layout::kTableHead);
    out.lines.emplace_back(stored_form_line(form_layout::kEmptyRow));
    if (form.rows.empty()) out.lines.emplace_back(stored_form_line(form_layout::kNoSlowdownRow));
    for (std::size_t i = 0; i < form.rows.size(); ++i) {
        const FormRow& r = form.rows[i];
        const std::string what = "slowdown order form, row " + std::to_string(i + 1);
        out.lines.push_back(
            " |" + right_aligned(std::to_string(i + 1), 2, what, out.warnings) + " |  " +
            fitted(r.stations, 26, what, out.warnings) + "|" +
            right_aligned(kilometre_text(r.kilometre_point), 9, what, out.warnings) + "   |" +
            right_aligned(std::to_string(r.kmh), 8, what, out.warnings) + "  |" +
            right_aligned(std::to_string(r.length), 8, what, out.warnings) + " |            |");
    }
    while (out.lines.size() < form_layout::kEmptyRow + kFormBodyRows) {
        out.lines.emplace_back(stored_form_line(form_layout::kEmptyRow));
    }
    add_stored(form_layout::kFoot);
    return out;
}

}  // namespace railscen::paper
