#include "report/diagnostics.h"

#include <nlohmann/json.hpp>
#include <ostream>
#include <set>

#include "model/text_encoding.h"

namespace railscen::report {

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

namespace {

nlohmann::json located(const SourceLocation& at, const SourceNames& names) {
    nlohmann::json j;
    j["file"] = names.of(at.file);
    j["line"] = at.line > 0 ? nlohmann::json(at.line) : nlohmann::json(nullptr);
    j["column"] = at.line > 0 ? nlohmann::json(at.column) : nlohmann::json(nullptr);
    return j;
}

// one_line without its severity and code, which have fields of their own.
std::string message_of(const Diagnostic& d) {
    std::string text = one_line(d);
    if (d.severity == Severity::kWarning) {
        text.erase(0, std::string_view("warning: ").size());
        const std::string suffix = " [" + d.name + "]";
        if (!d.name.empty() && text.ends_with(suffix)) text.resize(text.size() - suffix.size());
        return text;
    }
    return text.substr(text.find(": ") + 2);
}

}  // namespace

nlohmann::json diagnostic_records(const Run& run, const CompileInputs& inputs,
                                  const std::vector<Diagnostic>& warnings) {
    const SourceNames names = source_names(inputs);
    nlohmann::json list = nlohmann::json::array();
    std::set<std::string> shown;
    for (const std::vector<Diagnostic>* diagnostics : {&run.diagnostics, &warnings}) {
        for (const Diagnostic& d : *diagnostics) {
            if (!shown.insert(compiler_message(d, run.texts, names)).second) continue;
            nlohmann::json j =
                d.at ? located(*d.at, names)
                     : nlohmann::json{{"file", nullptr}, {"line", nullptr}, {"column", nullptr}};
            j["severity"] = d.severity == Severity::kError ? "error" : "warning";
            j["code"] = d.severity == Severity::kError ? nlohmann::json(d.code) : nullptr;
            j["name"] = d.name.empty() ? nlohmann::json(nullptr) : nlohmann::json(d.name);
            j["message"] = message_of(d);
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
        err << format_diagnostics(run, inputs, warnings);
    }
}

}  // namespace railscen::report
