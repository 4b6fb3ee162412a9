#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace railscen {

// The tool holds file names as UTF-8 text (the command line is read that way on every
// system). A path made from them, and a name shown in a message, go through these: on POSIX
// the bytes stay as they are, on Windows they become the wide names the system takes, and back.
inline std::filesystem::path utf8_path(std::string_view name) {
    return std::filesystem::path(
        std::u8string_view(reinterpret_cast<const char8_t*>(name.data()), name.size()));
}

inline std::string utf8_name(const std::filesystem::path& path) {
    const std::u8string name = path.u8string();
    return std::string(name.begin(), name.end());
}

}  // namespace railscen
