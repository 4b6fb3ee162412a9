#pragma once

#include <filesystem>
#include <string_view>

namespace railscen {

// Write the stored line and train descriptions into folder under the names built from the
// line and train names. Throw FileError.
void dati_linea(const std::filesystem::path& folder, std::string_view line_name,
                std::string_view train_name);
void dati_treno(const std::filesystem::path& folder, std::string_view line_name,
                std::string_view train_name);

}  // namespace railscen
