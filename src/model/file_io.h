#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

namespace railscen {

// A file operation that failed; what() names the file and the system's reason.
class FileError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Every file the program writes goes through here. The bytes go to a temporary sibling that
// is then renamed over the target, so the folder holds either the earlier file whole or the
// new bytes whole, and never a temporary or partial file. Throws FileError.
void write_file(const std::filesystem::path& target, std::span<const std::uint8_t> bytes);
void write_file(const std::filesystem::path& target, std::string_view bytes);

// Reads a whole file; nullopt when it does not exist. Throws FileError on other failures.
std::optional<std::string> read_file(const std::filesystem::path& path);

// Deletes a file; a missing file is no failure. Throws FileError on other failures.
void delete_file(const std::filesystem::path& path);

}  // namespace railscen
