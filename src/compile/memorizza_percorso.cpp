#include "compile/memorizza_percorso.h"

#include "grid/post_pass.h"
#include "grid/race_codes.h"
#include "loader/memorizza_dati.h"
#include "output/binary_files.h"

namespace railscen {

std::optional<std::int32_t> compile_in_memory(Run& run, std::int32_t j, DescriptionSource& source) {
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
    memorizza_dati(run, source);
    if (!run.cells) return std::nullopt;
    post_process_grid(run);
    return stamp_markers(run);
}

CompileOutcome memorizza_percorso(Run& run, std::int32_t j, DescriptionSource& source,
                                  const std::filesystem::path& out_folder) {
    CompileOutcome outcome;
    outcome.fatal = compile_in_memory(run, j, source);
    if (outcome.fatal || !run.cells) return outcome;
    outcome.written = write_binary_files(run, out_folder);
    return outcome;
}

}  // namespace railscen
