#include "app/pack.h"

#include "compile/memorizza_percorso.h"
#include "documents/documents.h"
#include "model/diagnostic.h"
#include "model/file_io.h"
#include "model/file_names.h"
#include "model/run.h"
#include "source_text/description_writers.h"

namespace railscen {

PackResult run_pack(const std::filesystem::path& folder, const std::function<void()>& show_window) {
    Run run = make_run();
    show_window();
    // A second pack started in the same folder waits here until this run has ended.
    const FolderLock lock(folder);

    const FileNames names = file_names(run.line_name, run.train_name);
    const std::filesystem::path line_file = folder / names.line_description;
    const std::filesystem::path train_file = folder / names.train_description;
    int descriptions_written = 0;
    CompileOutcome outcome;
    try {
        dati_linea(folder, run.line_name, run.train_name);
        ++descriptions_written;
        dati_treno(folder, run.line_name, run.train_name);
        ++descriptions_written;
        dati_note(folder, run.line_name, run.train_name);
        dati_rallentamenti(folder, run.line_name, run.train_name);
        dati_scheda(folder, run.line_name, run.train_name);
        FolderSource source(line_file, train_file);
        outcome = memorizza_percorso(run, 1, source, folder);
    } catch (const FileError&) {
        // A failed run takes away the description texts it wrote (a complete run deletes them
        // too); the files written before the failure stay whole.
        std::error_code ignored;
        if (descriptions_written > 0) std::filesystem::remove(line_file, ignored);
        if (descriptions_written > 1) std::filesystem::remove(train_file, ignored);
        throw;
    }

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
