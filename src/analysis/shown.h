#pragma once

#include <vector>

#include "model/diagnostic.h"
#include "model/run.h"

namespace railscen::analysis {

// What the author is shown of a compile, by every front end alike: every diagnostic it found,
// then the warnings, in the order found; a diagnostic recorded twice alike (every datum equal)
// once; a code raised only because loading had stopped earlier folded into a note under the
// first error.
std::vector<Diagnostic> shown_diagnostics(const Run& run,
                                          const std::vector<Diagnostic>& warnings = {});

// The first error that is a cause of its own: the one --report, JSON and SARIF name as the
// scenario's error; nullptr when there is none.
const Diagnostic* first_cause(const Run& run);

}  // namespace railscen::analysis
