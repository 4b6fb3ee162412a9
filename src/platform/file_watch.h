#pragma once

#include <chrono>
#include <filesystem>
#include <memory>
#include <vector>

namespace railscen::platform {

// Tells when one of a few files may have changed. Editors save in many ways (writing in place,
// writing a new file and renaming it over the old), so the folders holding the files are
// watched and the files are named again after every wake.
class FileWatch {
  public:
    virtual ~FileWatch() = default;

    // Waits up to timeout; true when one of the files may have changed. Returns early, with
    // false, when a signal interrupts the wait.
    virtual bool wait(std::chrono::milliseconds timeout) = 0;
};

// The platform's change notification (inotify on Linux, change notifications on Windows);
// nullptr where there is none or it cannot be set up.
std::unique_ptr<FileWatch> native_file_watch(const std::vector<std::filesystem::path>& files);

// Compares each file's size and modification time every interval.
std::unique_ptr<FileWatch> polling_file_watch(const std::vector<std::filesystem::path>& files,
                                              std::chrono::milliseconds interval);

}  // namespace railscen::platform
