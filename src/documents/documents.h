#pragma once

#include <filesystem>
#include <string_view>

namespace railscen {

// The driver's documents: the notes sheet, the slowdown order form and the timetable sheet,
// each a stored line list written into folder. Throw FileError.
void dati_note(const std::filesystem::path& folder, std::string_view line_name,
               std::string_view train_name);
void dati_rallentamenti(const std::filesystem::path& folder, std::string_view line_name,
                        std::string_view train_name);
void dati_scheda(const std::filesystem::path& folder, std::string_view line_name,
                 std::string_view train_name);

// The five text writers of a run in run order: line and train descriptions, then the notes
// sheet, the slowdown order form and the timetable sheet.
void write_sources_and_documents(const std::filesystem::path& folder, std::string_view line_name,
                                 std::string_view train_name);

}  // namespace railscen
