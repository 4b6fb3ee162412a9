#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

#include "model/plan.h"
#include "model/scenario_slot.h"
#include "model/track_cell.h"

namespace railscen {

// Which description text a diagnostic points into.
enum class SourceFile { kLine, kTrain };

// Where in a description text the record that raised a code stands (1-based).
struct SourceLocation {
    SourceFile file = SourceFile::kLine;
    int line = 0;
    int column = 0;
};

// A failure the loader does not expect from well-formed descriptions (a value that does not
// fit its field, a record the grid cannot hold). Loading turns it into code 25.
class LoadFailure : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Everything one compile owns, passed explicitly to every procedure.
struct Run {
    std::string line_name;
    std::string train_name;
    std::int32_t with_plan = 0;
    std::int32_t error_code = 0;
    std::int32_t error_position = 0;

    Slots slots;
    std::optional<Cells> cells;  // created by the line phase from the route length
    Plan plan;                   // created with the grid when with_plan is non-zero

    // The record that raised error_code, when a description record did.
    std::optional<SourceLocation> error_source;
};

}  // namespace railscen
