// Platforms without a change notification that railscen knows: watch polls.

#include "cli/file_watch.h"

namespace railscen::cli {

std::unique_ptr<FileWatch> native_file_watch(const std::vector<std::filesystem::path>&) {
    return nullptr;
}

}  // namespace railscen::cli
