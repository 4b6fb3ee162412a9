#pragma once

#include <filesystem>
#include <string>

#include "model/line_list.h"

namespace railscen {

// The bytes of a line list as a file: every line before the end marker followed by CR LF.
std::string list_bytes(LineList lines);

// Writes a line list to path through the atomic writer. Throws FileError.
void scrivi_righe(const std::filesystem::path& path, LineList lines);

}  // namespace railscen
