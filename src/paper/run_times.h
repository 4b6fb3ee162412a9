#pragma once

// The sheet's passing times from the fastest run of a real train (dynamics::fastest_run), on
// the route the compile placed: the same stops, speed limits, gradients and curves as
// railscen run.

#include "dynamics/running_time.h"
#include "model/run.h"
#include "paper/timetable_sheet.h"

namespace railscen::paper {

// Fills every time the timetable does not give, for the rows from the first station to the
// last: each counted from the last timed stop before it (the origin, or the clock's start
// where the origin has no time) as the run goes from there. The timetable's own times stay.
// Throws dynamics::RunError where the train cannot run the route.
void add_run_times(TimetableSheet& sheet, const Run& run, const dynamics::TrainDynamics& train);

}  // namespace railscen::paper
