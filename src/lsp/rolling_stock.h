#pragma once

#include <filesystem>
#include <optional>
#include <vector>

#include "lsp/documents.h"
#include "model/diagnostic.h"

namespace railscen::lsp {

// The rolling-stock file beside a train description: the one file named *.yaml or *.yml in
// the folder that holds it. None when there is none or more than one (which would be a guess).
std::optional<std::filesystem::path> rolling_stock_beside(const std::filesystem::path& train_text);

// The [timetable] warnings on the timed legs the first train of the rolling-stock file beside
// the pair's train description cannot keep; none without such a file, without a train text on
// disk, or in a build without the train's dynamics. A file that cannot be used gives one
// warning on the train text's first line, saying why.
std::vector<Diagnostic> rolling_stock_warnings(const CompiledPair& compiled);

}  // namespace railscen::lsp
