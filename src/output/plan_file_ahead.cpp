#include "output/plan_file_ahead.h"

#include <utility>

#include "model/file_io.h"

namespace railscen {
namespace {

// Thrown through the writer when the file is dropped: the writer then removes its temporary.
struct Dropped {};

}  // namespace

PlanFileAhead::PlanFileAhead(const Plan& plan, std::filesystem::path target)
    : plan_(plan), target_(std::move(target)), thread_([this] { write(); }) {}

PlanFileAhead::~PlanFileAhead() {
    if (!thread_.joinable()) return;
    {
        const std::lock_guard lock(mutex_);
        decision_ = Decision::kDrop;
    }
    decided_.notify_all();
    thread_.join();
}

void PlanFileAhead::write() {
    auto dropped = [this] {
        const std::lock_guard lock(mutex_);
        return decision_ == Decision::kDrop;
    };
    try {
        write_file_in_pieces(target_, plan_.file_size(), [&](const PutBytes& put) {
            // A dropped file stops at the next piece rather than computing the rest.
            plan_.produce([&](std::uint64_t offset, std::span<const std::uint8_t> bytes) {
                if (dropped()) throw Dropped{};
                put(offset, bytes);
            });
            std::unique_lock lock(mutex_);
            decided_.wait(lock, [this] { return decision_ != Decision::kPending; });
            if (decision_ == Decision::kDrop) throw Dropped{};
        });
    } catch (const Dropped&) {
    } catch (...) {
        failure_ = std::current_exception();
    }
}

void PlanFileAhead::finish() {
    if (!thread_.joinable()) return;
    {
        const std::lock_guard lock(mutex_);
        decision_ = Decision::kFinish;
    }
    decided_.notify_all();
    thread_.join();
    if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
}

}  // namespace railscen
