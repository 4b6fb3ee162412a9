#include <filesystem>

#include "app/program_folder.h"
#include "model/file_io.h"

namespace railscen {

std::filesystem::path program_folder() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) throw FileError("cannot find the program's folder: " + ec.message());
    return exe.parent_path();
}

}  // namespace railscen
