#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

#include "model/diagnostic.h"
#include "model/file_names.h"
#include "model/plan.h"
#include "model/scenario_slot.h"
#include "model/source_record.h"
#include "model/track_cell.h"

namespace railscen {

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

    // What the compile found, in the order it found it: every recorded code (and the fatal
    // marker errors) with where it came from. error_code and error_position stay the run's
    // own record of the last code.
    std::vector<Diagnostic> diagnostics;

    // What the loader read: both texts, and every record in them, for carets and checks.
    SourceTexts texts;
    std::vector<SourceRecord> records;

    // Which record (an index into records) placed the object in a cell, and the record the
    // loader is reading now.
    std::unordered_map<std::int64_t, std::size_t> placed_by;
    std::optional<std::size_t> placing;
};

// A run for the named line and train, ready for a compile (with_plan 1 builds the plan).
Run make_run(std::string_view line_name = kScenarioLineName,
             std::string_view train_name = kScenarioTrainName, std::int32_t with_plan = 1);

// Records a code with its diagnostic, setting error_code (and error_position for a code given
// one) as every stage does. The returned diagnostic may be given more detail.
Diagnostic& record_code(Run& run, std::int32_t code, std::optional<std::int32_t> position = {});

// Records a code refused because the cell already holds an object: the diagnostic names the
// object and points at the record that placed it.
Diagnostic& record_occupied(Run& run, std::int32_t code, std::int64_t cell,
                            std::optional<std::int32_t> position = {});

// The diagnostic behind error_code: the last one recorded with that code; nullptr when none.
const Diagnostic* recorded_diagnostic(const Run& run);

// Names the object that holds the cell in the diagnostic, with the record that placed it.
void describe_occupant(const Run& run, Diagnostic& d, std::int64_t cell);

// Where the record that placed the object in the cell gives its position, when a record did.
std::optional<SourceLocation> placed_by(const Run& run, std::int64_t cell);

// Notes that the record being placed put an object into the cell.
void note_placed(Run& run, std::int64_t cell);

}  // namespace railscen
