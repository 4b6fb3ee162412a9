#include "analysis/shown.h"

#include <algorithm>
#include <optional>
#include <string>

namespace railscen::analysis {

const Diagnostic* first_cause(const Run& run) {
    for (const Diagnostic& d : run.diagnostics) {
        if (d.severity == Severity::kError && !d.consequence) return &d;
    }
    return nullptr;
}

namespace {

// The note a consequence becomes under the error that caused it.
RelatedLocation consequence_note(const Diagnostic& d) {
    std::string note = "error " + std::to_string(d.code) + " is recorded again here";
    if (d.position) note += " (at " + std::to_string(*d.position) + " m)";
    note += " only because loading stopped at the error above";
    return {d.at.value_or(SourceLocation{}), std::move(note)};
}

}  // namespace

std::vector<Diagnostic> shown_diagnostics(const Run& run, const std::vector<Diagnostic>& warnings) {
    std::vector<Diagnostic> shown;
    std::optional<std::size_t> cause;  // where the first cause stands in shown
    for (const std::vector<Diagnostic>* list : {&run.diagnostics, &warnings}) {
        for (const Diagnostic& d : *list) {
            if (d.consequence && cause && d.at) {
                shown[*cause].related.push_back(consequence_note(d));
                continue;
            }
            if (std::find(shown.begin(), shown.end(), d) != shown.end()) continue;
            if (!cause && d.severity == Severity::kError) cause = shown.size();
            shown.push_back(d);
        }
    }
    return shown;
}

}  // namespace railscen::analysis
