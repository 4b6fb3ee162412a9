#include "app/pack.h"

#include "app/memorizza_percorso.h"
#include "documents/documents.h"
#include "model/diagnostic.h"
#include "model/file_names.h"
#include "model/run.h"

namespace railscen {

PackResult run_pack(const std::filesystem::path& folder, const std::function<void()>& show_window) {
    Run run = make_run();
    show_window();
    write_sources_and_documents(folder, run.line_name, run.train_name);

    const FileNames names = file_names(run.line_name, run.train_name);
    FolderSource source(folder / names.line_description, folder / names.train_description);
    const CompileOutcome outcome = memorizza_percorso(run, 1, source, folder);

    PackResult result;
    if (outcome.fatal) {
        result.status = kExitFatal;
        result.fatal = outcome.fatal;
    } else if (run.error_code != 0) {
        result.status = kExitScenarioCode;
        const Diagnostic* recorded = recorded_diagnostic(run);
        result.message = "scenario-pack: " +
                         (recorded != nullptr ? one_line(*recorded) : code_heading(run.error_code));
    }
    return result;
}

}  // namespace railscen
