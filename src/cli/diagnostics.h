#pragma once

#include <string>
#include <vector>

#include "cli/compile_inputs.h"
#include "model/diagnostic.h"
#include "model/run.h"

namespace railscen::cli {

// The two texts under the names the author gave them.
SourceNames source_names(const CompileInputs& inputs);

// Whether the messages carry terminal colours (--color); the tool sets it for each run.
void set_message_colour(bool colour);

// Everything the compile found, then the warnings, in compiler form, in the order found; a
// diagnostic recorded twice alike is shown once.
std::string format_diagnostics(const Run& run, const CompileInputs& inputs,
                               const std::vector<Diagnostic>& warnings = {});

// The same diagnostics as a JSON document: {"diagnostics": [{severity, code, name, message,
// file, line, column, metres, cell, related: [{file, line, column, message}]}]}; absent
// values are null.
std::string diagnostics_json(const Run& run, const CompileInputs& inputs,
                             const std::vector<Diagnostic>& warnings = {});

// The diagnostics in the format the options ask for: text to err, JSON to out.
void print_diagnostics(const Run& run, const CompileInputs& inputs,
                       const std::vector<Diagnostic>& warnings, std::ostream& out,
                       std::ostream& err);

}  // namespace railscen::cli
