#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "model/run.h"

namespace railscen::lsp {

// What the record on a 1-based line of one of the two texts becomes in the compiled run, in
// words (UTF-8): "signal at 6050 m → cell 122; approach marks in cells 120, 118, 116, 114".
// nullopt on a line that holds no record. The one place hovers read the run.
// Read from the records the compile read (run.records), so a record the compile never reached
// gets none.
std::optional<std::string> hover_text(const Run& run, SourceFile file, int line);

}  // namespace railscen::lsp
