#include "source_text/description_writers.h"

#include "model/file_names.h"
#include "scenario/stored_scenario.h"
#include "source_text/scrivi_righe.h"

namespace railscen {

void dati_linea(const std::filesystem::path& folder, std::string_view line_name,
                std::string_view train_name) {
    scrivi_righe(folder / file_names(line_name, train_name).line_description,
                 stored_line_description());
}

void dati_treno(const std::filesystem::path& folder, std::string_view line_name,
                std::string_view train_name) {
    scrivi_righe(folder / file_names(line_name, train_name).train_description,
                 stored_train_description());
}

}  // namespace railscen
