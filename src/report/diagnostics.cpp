#include "report/diagnostics.h"

#include <nlohmann/json.hpp>
#include <ostream>

#include "analysis/shown.h"
#include "model/text_encoding.h"

namespace railscen::report {

SourceNames source_names(const CompileInputs& inputs) {
    return {inputs.line_file, inputs.train_file};
}

std::vector<std::string> diagnostic_messages(const Run& run, const CompileInputs& inputs,
                                             const std::vector<Diagnostic>& warnings, bool colour) {
    const SourceNames names = source_names(inputs);
    std::vector<std::string> out;
    for (const Diagnostic& d : analysis::shown_diagnostics(run, warnings)) {
        out.push_back(compiler_message(d, run.texts, names, colour));
    }
    return out;
}

std::string format_diagnostics(const Run& run, const CompileInputs& inputs,
                               const std::vector<Diagnostic>& warnings, bool colour) {
    std::string out;
    for (const std::string& message : diagnostic_messages(run, inputs, warnings, colour)) {
        out += message;
    }
    return out;
}

namespace {

nlohmann::json located(const std::optional<SourceLocation>& at, const SourceNames& names) {
    if (!at) return nlohmann::json{{"file", nullptr}, {"line", nullptr}, {"column", nullptr}};
    nlohmann::json j;
    j["file"] = names.of(at->file);
    j["line"] = at->line > 0 ? nlohmann::json(at->line) : nlohmann::json(nullptr);
    j["column"] = at->line > 0 ? nlohmann::json(at->column) : nlohmann::json(nullptr);
    return j;
}

}  // namespace

nlohmann::json diagnostic_records(const Run& run, const CompileInputs& inputs,
                                  const std::vector<Diagnostic>& warnings) {
    const SourceNames names = source_names(inputs);
    nlohmann::json list = nlohmann::json::array();
    for (const Diagnostic& d : analysis::shown_diagnostics(run, warnings)) {
        nlohmann::json j = located(d.at, names);
        const bool error = d.severity == Severity::kError;
        j["severity"] = error ? "error" : "warning";
        j["code"] = error ? nlohmann::json(d.code) : nullptr;
        j["name"] = d.name.empty() ? nlohmann::json(nullptr) : nlohmann::json(d.name);
        j["message"] = message_text(d);
        j["metres"] = d.position ? nlohmann::json(*d.position) : nullptr;
        j["cell"] = d.cell ? nlohmann::json(*d.cell) : nullptr;
        j["related"] = nlohmann::json::array();
        for (const RelatedLocation& r : d.related) {
            nlohmann::json related = located(r.at, names);
            related["message"] = terminal_text(r.note);
            j["related"].push_back(std::move(related));
        }
        list.push_back(std::move(j));
    }
    return list;
}

std::string diagnostics_json(const Run& run, const CompileInputs& inputs,
                             const std::vector<Diagnostic>& warnings) {
    return nlohmann::json{{"diagnostics", diagnostic_records(run, inputs, warnings)}}.dump(2) +
           "\n";
}

void print_diagnostics(const Run& run, const CompileInputs& inputs,
                       const std::vector<Diagnostic>& warnings, std::ostream& out,
                       std::ostream& err) {
    if (inputs.format == "json") {
        out << diagnostics_json(run, inputs, warnings);
    } else if (inputs.format == "sarif") {
        out << diagnostics_sarif(diagnostic_records(run, inputs, warnings));
    } else {
        err << format_diagnostics(run, inputs, warnings, inputs.colour);
    }
}

}  // namespace railscen::report
