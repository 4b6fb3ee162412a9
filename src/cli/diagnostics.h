#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "cli/compile_inputs.h"
#include "model/run.h"

namespace railscen::cli {

// A place in one of the author's files, named as the author gave it.
struct SourcePoint {
    std::string file;
    int line = 0;    // 1-based
    int column = 0;  // 1-based byte column of the field
};

// The record that raised the run's code, as a point in the author's file; nullopt when no
// record raised it or that line cannot be read from the file.
std::optional<SourcePoint> recorded_source(const Run& run, const CompileInputs& inputs);

// The table's meaning of the run's code, refined with the object that occupies the cell when
// the grid tells it ("signal cell already occupied by a speed board").
std::string refined_meaning(const Run& run, std::int32_t code);

// For a recorded code, in compiler form: "FILE:LINE: error N: MEANING (at P m)", then the
// source line and a caret under the field that raised it.
std::string format_recorded_code(const Run& run, const CompileInputs& inputs);

// For a fatal marker error, which no record raised.
std::string format_fatal(const Run& run, std::int32_t code);

// "FILE:LINE: warning: MESSAGE", then the source line and a caret.
std::string format_warning(const SourcePoint& at, std::string_view message);

// The source line (as UTF-8) and a caret line under the column; empty when unreadable.
std::string source_excerpt(const SourcePoint& at);

}  // namespace railscen::cli
