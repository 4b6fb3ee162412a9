// Change notification on Windows: FindFirstChangeNotification on the folders that hold the
// watched files. It names no file, so every change in those folders counts.

#include <windows.h>

#include "platform/file_watch.h"

namespace railscen::platform {
namespace {

class ChangeNotificationWatch : public FileWatch {
  public:
    ~ChangeNotificationWatch() override {
        for (HANDLE h : handles_) FindCloseChangeNotification(h);
    }

    bool add(const std::filesystem::path& file) {
        const std::filesystem::path folder =
            file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
        for (const auto& f : folders_) {
            if (f == folder) return true;
        }
        HANDLE h = FindFirstChangeNotificationW(
            folder.c_str(), FALSE,
            FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE);
        if (h == INVALID_HANDLE_VALUE) return false;
        handles_.push_back(h);
        folders_.push_back(folder);
        return true;
    }

    bool wait(std::chrono::milliseconds timeout) override {
        const DWORD r = WaitForMultipleObjects(static_cast<DWORD>(handles_.size()), handles_.data(),
                                               FALSE, static_cast<DWORD>(timeout.count()));
        if (r >= WAIT_OBJECT_0 && r < WAIT_OBJECT_0 + handles_.size()) {
            FindNextChangeNotification(handles_[r - WAIT_OBJECT_0]);
            return true;
        }
        return false;
    }

  private:
    std::vector<HANDLE> handles_;
    std::vector<std::filesystem::path> folders_;
};

}  // namespace

std::unique_ptr<FileWatch> native_file_watch(const std::vector<std::filesystem::path>& files) {
    auto watch = std::make_unique<ChangeNotificationWatch>();
    for (const auto& f : files) {
        if (!watch->add(f)) return nullptr;
    }
    return watch;
}

}  // namespace railscen::platform
