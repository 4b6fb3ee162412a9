#include "documents/documents.h"

#include "model/file_names.h"
#include "scenario/stored_scenario.h"
#include "source_text/description_writers.h"
#include "source_text/scrivi_righe.h"

namespace railscen {

void dati_note(const std::filesystem::path& folder, std::string_view line_name,
               std::string_view train_name) {
    scrivi_righe(folder / file_names(line_name, train_name).notes_sheet, stored_notes_sheet());
}

void dati_rallentamenti(const std::filesystem::path& folder, std::string_view line_name,
                        std::string_view train_name) {
    scrivi_righe(folder / file_names(line_name, train_name).slowdown_form, stored_slowdown_form());
}

void dati_scheda(const std::filesystem::path& folder, std::string_view line_name,
                 std::string_view train_name) {
    scrivi_righe(folder / file_names(line_name, train_name).timetable_sheet,
                 stored_timetable_sheet());
}

void write_sources_and_documents(const std::filesystem::path& folder, std::string_view line_name,
                                 std::string_view train_name) {
    dati_linea(folder, line_name, train_name);
    dati_treno(folder, line_name, train_name);
    dati_note(folder, line_name, train_name);
    dati_rallentamenti(folder, line_name, train_name);
    dati_scheda(folder, line_name, train_name);
}

}  // namespace railscen
