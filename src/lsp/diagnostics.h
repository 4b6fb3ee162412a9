#pragma once

#include <vector>

#include <nlohmann/json.hpp>

#include "lsp/documents.h"

namespace railscen::lsp {

// Everything the compile of a pair found in one of its two texts, as LSP Diagnostic objects
// (range on the field, severity, numeric code, source "railscen", related information). This
// is the one place that turns the compiler's results into LSP diagnostics: today the run's
// recorded code with its place and check's warnings; nothing else in the server reads them.
// A stand-in side gets none of its own; what it would hold is reported on the real text.
std::vector<nlohmann::json> lsp_diagnostics(const CompiledPair& compiled, SourceFile file);

// Warnings are looked for in texts up to this size; a bigger text is no description anyone
// writes by hand, and the checks that compare every line with every keyword would take long.
inline constexpr std::size_t kMaxCheckedText = std::size_t{2} << 20;

}  // namespace railscen::lsp
