#include "model/run.h"

namespace railscen {

Run make_run(std::string_view line_name, std::string_view train_name, std::int32_t with_plan) {
    Run run;
    run.line_name = line_name;
    run.train_name = train_name;
    run.with_plan = with_plan;
    return run;
}

Diagnostic& record_code(Run& run, std::int32_t code, std::optional<std::int32_t> position) {
    run.error_code = code;
    if (position) run.error_position = *position;
    Diagnostic& d = run.diagnostics.emplace_back();
    d.code = code;
    d.position = position;
    return d;
}

const Diagnostic* recorded_diagnostic(const Run& run) {
    for (auto d = run.diagnostics.rbegin(); d != run.diagnostics.rend(); ++d) {
        if (d->severity == Severity::kError && d->code == run.error_code) return &*d;
    }
    return nullptr;
}

void describe_occupant(const Run& run, Diagnostic& d, std::int64_t cell) {
    d.cell = cell;
    if (!run.cells || !run.cells->contains(cell)) return;
    const TrackCell& held = (*run.cells)[cell];
    if (is_free(held)) return;
    d.occupant = held.kind;
    if (const std::optional<SourceLocation> placer = placed_by(run, cell)) {
        d.related.push_back({*placer, "cell " + std::to_string(cell) + " already holds the " +
                                          std::string(cell_kind_name(held.kind)) + " placed here"});
    }
}

Diagnostic& record_occupied(Run& run, std::int32_t code, std::int64_t cell,
                            std::optional<std::int32_t> position) {
    Diagnostic& d = record_code(run, code, position);
    describe_occupant(run, d, cell);
    return d;
}

std::optional<SourceLocation> placed_by(const Run& run, std::int64_t cell) {
    const auto found = run.placed_by.find(cell);
    if (found == run.placed_by.end() || found->second >= run.records.size()) return std::nullopt;
    return run.records[found->second].field_location(0);
}

void note_placed(Run& run, std::int64_t cell) {
    if (run.placing) run.placed_by[cell] = *run.placing;
}

}  // namespace railscen
