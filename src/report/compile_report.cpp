#include "report/compile_report.h"

#include <nlohmann/json.hpp>

#include "analysis/shown.h"

namespace railscen::report {

CompileReport make_report(const Run& run, const CompileOutcome& outcome,
                          const CompileInputs& inputs) {
    CompileReport report;
    report.error_code = run.error_code;
    report.error_position = run.error_position;
    report.fatal = outcome.fatal;
    report.written = outcome.written;
    const Diagnostic* recorded = recorded_diagnostic(run);
    // A code raised only because loading had stopped earlier is not the scenario's error: the
    // first cause is (the binary files keep what the pack writes).
    if (recorded != nullptr && recorded->consequence) {
        recorded = analysis::first_cause(run);
        if (recorded != nullptr) {
            report.error_code = recorded->code;
            if (recorded->position) report.error_position = *recorded->position;
        }
    }
    if (recorded != nullptr && recorded->at && recorded->at->line > 0) {
        const SourceLocation& at = *recorded->at;
        report.source = SourcePoint{inputs.file_of(at.file), at.line, at.column};
    }
    return report;
}

std::string report_json(const CompileReport& report) {
    nlohmann::ordered_json j;
    j["error_code"] = report.error_code;
    j["error_position"] = report.error_position;
    j["fatal"] = report.fatal ? nlohmann::ordered_json(*report.fatal) : nlohmann::ordered_json();
    j["written"] = report.written;
    if (report.source) {
        j["source"] = {{"file", report.source->file}, {"line", report.source->line}};
    } else {
        j["source"] = nullptr;
    }
    // File names come from the command line as they are; undecodable bytes are replaced.
    return j.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

CompileReport parse_report(std::string_view json) {
    try {
        const nlohmann::json j = nlohmann::json::parse(json);
        CompileReport report;
        report.error_code = j.at("error_code").get<std::int32_t>();
        report.error_position = j.at("error_position").get<std::int32_t>();
        if (j.contains("fatal") && !j.at("fatal").is_null()) {
            report.fatal = j.at("fatal").get<std::int32_t>();
        }
        if (j.contains("written")) report.written = j.at("written").get<std::vector<std::string>>();
        if (j.contains("source") && !j.at("source").is_null()) {
            const nlohmann::json& s = j.at("source");
            report.source =
                SourcePoint{s.at("file").get<std::string>(), s.at("line").get<int>(), 0};
        }
        return report;
    } catch (const nlohmann::json::exception& e) {
        throw ReportError(std::string("not a compile report: ") + e.what());
    }
}

}  // namespace railscen::report
