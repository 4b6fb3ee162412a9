// Platforms without a change notification that railscen knows: watch polls.

#include "platform/file_watch.h"

namespace railscen::platform {

std::unique_ptr<FileWatch> native_file_watch(const std::vector<std::filesystem::path>&) {
    return nullptr;
}

}  // namespace railscen::platform
