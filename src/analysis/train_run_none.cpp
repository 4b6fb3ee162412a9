// A build without the train's dynamics (they need yaml-cpp): there is no run to give.

#include "analysis/train_run.h"

namespace railscen::analysis {
namespace {

[[noreturn]] void no_dynamics() {
    throw TrainRunError("this build has no train dynamics; --rolling-stock cannot be used");
}

}  // namespace

bool has_train_dynamics() {
    return false;
}

TrainRun train_run(const Run&, const TrainChoice&, LimitRule) {
    no_dynamics();
}

TrainRun train_run(const Scene&, const TrainChoice&, LimitRule) {
    no_dynamics();
}

}  // namespace railscen::analysis
