#include "app/memorizza_percorso.h"

#include <system_error>

#include "grid/post_pass.h"
#include "grid/race_codes.h"
#include "loader/memorizza_dati.h"
#include "model/file_names.h"
#include "output/binary_files.h"

namespace railscen {

std::optional<std::int32_t> compile_in_memory(Run& run, std::int32_t j, DescriptionSource& source,
                                              const std::function<void(const Plan&)>& plan_whole) {
    run.with_plan = j;
    run.error_code = 0;
    run.diagnostics.clear();
    run.texts = {};
    run.records.clear();
    run.placed_by.clear();
    run.placing.reset();
    reset_slots(run.slots);
    run.cells.reset();
    run.plan = Plan{};
    memorizza_dati(run, source, plan_whole);
    if (!run.cells) return std::nullopt;
    post_process_grid(run);
    return stamp_markers(run);
}

CompileOutcome memorizza_percorso(Run& run, std::int32_t j, DescriptionSource& source,
                                  const std::filesystem::path& out_folder) {
    CompileOutcome outcome;
    // The plan is whole once the line is loaded: its file, the longest by far, is written while
    // the train is loaded and put in place in its turn. Dropped unfinished, it leaves nothing.
    std::optional<PlanFileAhead> plan_file;
    const auto write_plan_ahead = [&](const Plan& plan) {
        try {
            plan_file.emplace(plan,
                              out_folder / file_names(run.line_name, run.train_name).plan_file);
        } catch (const std::system_error&) {
            // No thread to be had: the plan file is written in its turn.
        }
    };
    outcome.fatal = compile_in_memory(run, j, source, write_plan_ahead);
    if (outcome.fatal || !run.cells) return outcome;
    outcome.written = write_binary_files(run, out_folder, plan_file ? &*plan_file : nullptr);
    return outcome;
}

}  // namespace railscen
