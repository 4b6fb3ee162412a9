#pragma once

// The driver's two documents for a compiled scenario, written beside its binary files under
// the pack's names: NAME_TRAIN_scheda_treno.txt and NAME_TRAIN_rallentamenti.txt.

#include <filesystem>
#include <string>
#include <vector>

#include "model/run.h"
#include "paper/timetable_sheet.h"

namespace railscen::paper {

// The two files' paths in folder, in the order written: the timetable sheet, then the form.
std::vector<std::filesystem::path> document_paths(const std::filesystem::path& folder,
                                                  const Run& run);

// Writes the sheet (as given: with or without its run's times) and the run's slowdown order
// form through the safe writer; returns what had to be cut to keep the columns. Throws
// FileError.
std::vector<std::string> write_documents(const std::filesystem::path& folder, const Run& run,
                                         const TimetableSheet& sheet);

}  // namespace railscen::paper
