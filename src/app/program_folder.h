#pragma once

#include <filesystem>

namespace railscen {

// The folder that holds the running executable. Throws FileError.
std::filesystem::path program_folder();

}  // namespace railscen
