#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "compile/inputs.h"
#include "model/diagnostic.h"
#include "model/run.h"

namespace railscen::report {

// The two texts under the names the author gave them.
SourceNames source_names(const CompileInputs& inputs);

// The shown diagnostics in compiler form, one text each with its notes under it; with colour,
// in terminal colours.
std::vector<std::string> diagnostic_messages(const Run& run, const CompileInputs& inputs,
                                             const std::vector<Diagnostic>& warnings = {},
                                             bool colour = false);

// The same texts one after the other.
std::string format_diagnostics(const Run& run, const CompileInputs& inputs,
                               const std::vector<Diagnostic>& warnings = {}, bool colour = false);

// The same diagnostics as JSON records, one per diagnostic shown: {severity, code, name,
// message, file, line, column, metres, cell, related: [{file, line, column, message}]};
// absent values are null. The machine-readable formats are all made from these, and these
// from the diagnostics' data.
nlohmann::json diagnostic_records(const Run& run, const CompileInputs& inputs,
                                  const std::vector<Diagnostic>& warnings = {});

// The records as a JSON document: {"diagnostics": [...]}.
std::string diagnostics_json(const Run& run, const CompileInputs& inputs,
                             const std::vector<Diagnostic>& warnings = {});

// The records as a SARIF 2.1.0 log (sarif.cpp): one result per record, the rules for the
// codes and warning kinds among them.
std::string diagnostics_sarif(const nlohmann::json& records);

// The diagnostics in the format the options ask for: text to err (coloured as inputs.colour
// says), JSON or SARIF to out.
void print_diagnostics(const Run& run, const CompileInputs& inputs,
                       const std::vector<Diagnostic>& warnings, std::ostream& out,
                       std::ostream& err);

}  // namespace railscen::report
