#pragma once

// The one reader of a train choice: the rolling-stock file read and parsed, the train found by
// its id (the file's first where none is given) and made into the dynamics a run needs. Only
// in builds with the train's dynamics.

#include "analysis/train_run.h"
#include "dynamics/running_time.h"

namespace railscen::analysis {

// Throws TrainRunError naming the file where it cannot be read or parsed or has no such train.
dynamics::TrainDynamics chosen_train(const TrainChoice& choice);

}  // namespace railscen::analysis
