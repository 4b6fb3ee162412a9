// Change notification on Linux: inotify on the folders that hold the watched files.

#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <set>
#include <string>

#include "platform/file_watch.h"

namespace railscen::platform {
namespace {

class InotifyWatch : public FileWatch {
  public:
    explicit InotifyWatch(int fd) : fd_(fd) {}
    ~InotifyWatch() override { ::close(fd_); }
    InotifyWatch(const InotifyWatch&) = delete;
    InotifyWatch& operator=(const InotifyWatch&) = delete;

    bool add(const std::filesystem::path& file) {
        const std::filesystem::path folder =
            file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
        names_.insert(file.filename().string());
        // A saved file is closed after writing or renamed into place; a deleted one is gone.
        const int wd = inotify_add_watch(
            fd_, folder.c_str(),
            IN_CLOSE_WRITE | IN_MOVED_TO | IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_ATTRIB);
        return wd >= 0;
    }

    bool wait(std::chrono::milliseconds timeout) override {
        pollfd p{fd_, POLLIN, 0};
        const int ready = ::poll(&p, 1, static_cast<int>(timeout.count()));
        if (ready <= 0) return false;  // timeout, or a signal (Ctrl-C)
        alignas(inotify_event) char buffer[8192];
        const ssize_t n = ::read(fd_, buffer, sizeof buffer);
        if (n <= 0) return false;
        bool ours = false;
        for (ssize_t at = 0; at < n;) {
            const auto* e = reinterpret_cast<const inotify_event*>(buffer + at);
            if (e->len > 0 && names_.count(e->name) > 0) ours = true;
            if ((e->mask & IN_Q_OVERFLOW) != 0) ours = true;
            at += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
        }
        return ours;
    }

  private:
    int fd_;
    std::set<std::string> names_;
};

}  // namespace

std::unique_ptr<FileWatch> native_file_watch(const std::vector<std::filesystem::path>& files) {
    const int fd = inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    if (fd < 0) return nullptr;
    auto watch = std::make_unique<InotifyWatch>(fd);
    for (const auto& f : files) {
        if (!watch->add(f)) return nullptr;
    }
    return watch;
}

}  // namespace railscen::platform
