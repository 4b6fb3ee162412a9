#pragma once

#include <compare>
#include <string>
#include <vector>

#include "lsp/documents.h"
#include "lsp/positions.h"

namespace railscen::lsp {

enum class Level { kError = 1, kWarning = 2, kInformation = 3 };

struct RelatedPlace {
    std::string uri;
    TextRange range;
    std::string note;
    auto operator<=>(const RelatedPlace&) const = default;
};

// A finding as an editor shows it on a text: where, how grave, the code (0 for none), the
// message (UTF-8 from the compiler's Windows-1252 names as it reports them) and the places it
// refers to.
struct ShownDiagnostic {
    TextRange range;
    Level level = Level::kError;
    int code = 0;
    std::string message;
    std::vector<RelatedPlace> related;
    auto operator<=>(const ShownDiagnostic&) const = default;
};

// Everything the compile of a pair found in one of its two texts, each once: on its field, on
// the first line when it points at no text (or into a stand-in), with every note as a related
// place. The one place that turns the compiler's results into what an editor shows: today the
// run's recorded code with its place and check's warnings. A stand-in side gets none of its
// own; what it would hold is reported on the real text.
std::vector<ShownDiagnostic> text_diagnostics(const CompiledPair& compiled, SourceFile file);

// For a client that shows no related information: every note of these diagnostics that lies
// in the text at uri, as a diagnostic of its own at the note's place, of level Information,
// naming the finding it belongs to.
std::vector<ShownDiagnostic> notes_in(const std::vector<ShownDiagnostic>& shown,
                                      const std::string& uri);

// Warnings are looked for in texts up to this size; a bigger text is no description anyone
// writes by hand, and the checks that compare every line with every keyword would take long.
inline constexpr std::size_t kMaxCheckedText = std::size_t{2} << 20;

}  // namespace railscen::lsp
