#pragma once

#include "model/run.h"

namespace railscen {

// Adds cab-code drop points (kind 12, value 180) around slowdowns: before signals that stand
// shortly before a warning point, before every slowdown start, inside slow slowdowns and
// before the first signal after one. Records codes 11, 12 and 13; the last one wins.
void post_process_grid(Run& run);

}  // namespace railscen
