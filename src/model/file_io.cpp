#include "model/file_io.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <system_error>
#include <vector>

// The platform parts (the writer, file identity and the folder lock) are in file_io_posix.cpp
// and file_io_win32.cpp.

namespace railscen {
namespace {

std::string read_failure(const std::filesystem::path& path, std::string_view reason) {
    return "cannot read \"" + path.string() + "\": " + std::string(reason);
}

std::string read_whole(const std::filesystem::path& path) {
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw FileError(read_failure(path, errno != 0 ? std::strerror(errno) : "cannot open"));
    }
    // In large blocks, whatever the size was when asked: the file may change meanwhile.
    std::string text;
    std::error_code ec;
    const std::uintmax_t expected = std::filesystem::file_size(path, ec);
    if (!ec && expected < (std::uintmax_t{1} << 30)) text.reserve(expected);
    char block[1 << 16];
    while (in.read(block, sizeof block) || in.gcount() > 0) {
        text.append(block, static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad()) throw FileError(read_failure(path, "read error"));
    return text;
}

}  // namespace

std::string write_failure(const std::filesystem::path& path, std::string_view reason) {
    return "cannot write \"" + path.string() + "\": " + std::string(reason);
}

void write_file(const std::filesystem::path& target, std::string_view bytes) {
    write_file(target,
               std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

std::optional<std::string> read_file(const std::filesystem::path& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        if (std::filesystem::exists(path, ec)) {
            throw FileError(read_failure(path, "not a regular file"));
        }
        return std::nullopt;
    }
    return read_whole(path);
}

std::string read_input_file(const std::filesystem::path& path, std::uintmax_t max_bytes) {
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(path, ec);
    if (ec) throw FileError(read_failure(path, ec.message()));
    if (status.type() == std::filesystem::file_type::directory) {
        throw FileError(read_failure(path, "it is a folder"));
    }
    if (status.type() != std::filesystem::file_type::regular) {
        throw FileError(read_failure(path, "not a regular file"));
    }
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (!ec && size > max_bytes) {
        throw FileError(read_failure(path, "it holds " + std::to_string(size) +
                                               " bytes, more than the " +
                                               std::to_string(max_bytes) + " it can hold"));
    }
    std::string text = read_whole(path);
    if (text.size() > max_bytes) {
        throw FileError(
            read_failure(path, "it holds more than " + std::to_string(max_bytes) + " bytes"));
    }
    return text;
}

void delete_file(const std::filesystem::path& path) {
    std::error_code ec;
    std::filesystem::remove(path, ec);
    if (ec) throw FileError("cannot delete \"" + path.string() + "\": " + ec.message());
}

}  // namespace railscen
