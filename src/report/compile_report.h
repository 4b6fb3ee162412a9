#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "compile/inputs.h"
#include "compile/memorizza_percorso.h"

namespace railscen::report {

// A place in one of the author's files, named as the author gave it.
struct SourcePoint {
    std::string file;
    int line = 0;    // 1-based
    int column = 0;  // 1-based byte column of the field
};

// What a compile leaves for tools and for render: one JSON object
// {"error_code", "error_position", "fatal", "written", "source": {"file", "line"} or null}.
struct CompileReport {
    std::int32_t error_code = 0;
    std::int32_t error_position = 0;
    std::optional<std::int32_t> fatal;
    std::vector<std::string> written;
    std::optional<SourcePoint> source;  // the record behind error_code: file and line only
};

class ReportError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

CompileReport make_report(const Run& run, const CompileOutcome& outcome,
                          const CompileInputs& inputs);
std::string report_json(const CompileReport& report);

// Throws ReportError when the text is not such an object.
CompileReport parse_report(std::string_view json);

}  // namespace railscen::report
