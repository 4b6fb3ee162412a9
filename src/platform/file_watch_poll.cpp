#include <thread>

#include "platform/file_watch.h"

namespace railscen::platform {
namespace {

struct Stamp {
    bool exists = false;
    std::uintmax_t size = 0;
    std::filesystem::file_time_type time{};
    friend bool operator==(const Stamp&, const Stamp&) = default;
};

Stamp stamp_of(const std::filesystem::path& file) {
    std::error_code ec;
    Stamp s;
    s.size = std::filesystem::file_size(file, ec);
    if (ec) return {};
    s.time = std::filesystem::last_write_time(file, ec);
    if (ec) return {};
    s.exists = true;
    return s;
}

class PollingWatch : public FileWatch {
  public:
    PollingWatch(std::vector<std::filesystem::path> files, std::chrono::milliseconds interval)
        : files_(std::move(files)), interval_(interval) {
        for (const auto& f : files_) stamps_.push_back(stamp_of(f));
    }

    bool wait(std::chrono::milliseconds timeout) override {
        const auto until = std::chrono::steady_clock::now() + timeout;
        while (true) {
            bool changed = false;
            for (std::size_t i = 0; i < files_.size(); ++i) {
                const Stamp now = stamp_of(files_[i]);
                if (!(now == stamps_[i])) {
                    stamps_[i] = now;
                    changed = true;
                }
            }
            if (changed) return true;
            const auto now = std::chrono::steady_clock::now();
            if (now >= until) return false;
            std::this_thread::sleep_for(
                std::min<std::chrono::steady_clock::duration>(interval_, until - now));
        }
    }

  private:
    std::vector<std::filesystem::path> files_;
    std::chrono::milliseconds interval_;
    std::vector<Stamp> stamps_;
};

}  // namespace

std::unique_ptr<FileWatch> polling_file_watch(const std::vector<std::filesystem::path>& files,
                                              std::chrono::milliseconds interval) {
    return std::make_unique<PollingWatch>(files, interval);
}

}  // namespace railscen::platform
