#pragma once

#include "loader/description_source.h"
#include "model/run.h"

namespace railscen {

// Loads the line description, then the train description, into run.slots, run.cells and
// (with with_plan) run.plan, and deletes both texts through the source. Problems are recorded
// in run.error_code and run.error_position; the first one stops the reading. Any unexpected
// failure records code 25.
void memorizza_dati(Run& run, DescriptionSource& source);

}  // namespace railscen
