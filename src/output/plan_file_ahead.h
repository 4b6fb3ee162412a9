#pragma once

#include <condition_variable>
#include <exception>
#include <filesystem>
#include <mutex>
#include <thread>

#include "model/plan.h"

namespace railscen {

// The plan file, written on a thread of its own from the moment the plan is whole (the line is
// loaded) while the rest of the compile goes on. Its bytes go into the writer's temporary; the
// temporary is put in place only by finish(), so the folder gets the file at the same point of
// the run, and on the same conditions, as if it had been written then. Dropped unfinished (a
// fatal code, an exception) it leaves nothing behind.
class PlanFileAhead {
  public:
    // Starts writing a copy of plan to target. Throws std::system_error when no thread can be
    // had; the caller then writes the file in turn.
    PlanFileAhead(const Plan& plan, std::filesystem::path target);
    ~PlanFileAhead();
    PlanFileAhead(const PlanFileAhead&) = delete;
    PlanFileAhead& operator=(const PlanFileAhead&) = delete;

    // Waits for the bytes and puts the file in place. Throws what writing it threw (FileError).
    void finish();

  private:
    enum class Decision { kPending, kFinish, kDrop };
    void write();

    const Plan plan_;
    const std::filesystem::path target_;
    std::mutex mutex_;
    std::condition_variable decided_;
    Decision decision_ = Decision::kPending;
    std::exception_ptr failure_;
    std::thread thread_;  // last: started once the rest is set
};

}  // namespace railscen
