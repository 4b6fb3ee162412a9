#include "cli/diagnostics.h"

#include <set>

namespace railscen::cli {

namespace {
bool message_colour = false;
}  // namespace

void set_message_colour(bool colour) {
    message_colour = colour;
}

SourceNames source_names(const CompileInputs& inputs) {
    return {inputs.line_file, inputs.train_file};
}

std::string format_diagnostics(const Run& run, const CompileInputs& inputs,
                               const std::vector<Diagnostic>& warnings) {
    const SourceNames names = source_names(inputs);
    std::string out;
    std::set<std::string> shown;
    for (const std::vector<Diagnostic>* list : {&run.diagnostics, &warnings}) {
        for (const Diagnostic& d : *list) {
            std::string message = compiler_message(d, run.texts, names, message_colour);
            if (shown.insert(message).second) out += message;
        }
    }
    return out;
}

}  // namespace railscen::cli
