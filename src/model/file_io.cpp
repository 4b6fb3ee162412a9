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

std::string too_large(std::uintmax_t max_bytes) {
    return "it holds more than " + std::to_string(max_bytes) + " bytes, the most a text may hold";
}

// Reads at most max_bytes + 1 bytes: a file that grows while it is read, or a sparse one of
// many gigabytes, costs no more than the limit.
std::string read_whole(const std::filesystem::path& path, std::uintmax_t max_bytes) {
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw FileError(read_failure(path, errno != 0 ? std::strerror(errno) : "cannot open"));
    }
    // In large blocks, whatever the size was when asked: the file may change meanwhile.
    std::string text;
    std::error_code ec;
    const std::uintmax_t expected = std::filesystem::file_size(path, ec);
    if (!ec && expected > max_bytes) throw FileError(read_failure(path, too_large(max_bytes)));
    if (!ec && expected < (std::uintmax_t{1} << 30)) text.reserve(expected);
    char block[1 << 16];
    while (in.read(block, sizeof block) || in.gcount() > 0) {
        text.append(block, static_cast<std::size_t>(in.gcount()));
        if (text.size() > max_bytes) throw FileError(read_failure(path, too_large(max_bytes)));
    }
    if (in.bad()) throw FileError(read_failure(path, "read error"));
    return text;
}

// Why a path that is there is no file to read, in words; empty for a regular file.
std::string not_a_file(const std::filesystem::file_status& status) {
    switch (status.type()) {
        case std::filesystem::file_type::regular:
            return {};
        case std::filesystem::file_type::directory:
            return "it is a folder";
        case std::filesystem::file_type::block:
        case std::filesystem::file_type::character:
            return "it is a device, not a file";
        case std::filesystem::file_type::fifo:
            return "it is a pipe (FIFO), not a file";
        case std::filesystem::file_type::socket:
            return "it is a socket, not a file";
        default:
            return "not a regular file";
    }
}

// The status of what a path leads to; a loop of symbolic links and other failures throw.
std::filesystem::file_status status_of(const std::filesystem::path& path) {
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(path, ec);
    if (ec == std::errc::too_many_symbolic_link_levels) {
        throw FileError(read_failure(path, "its symbolic links lead round in a loop"));
    }
    if (ec && ec != std::errc::no_such_file_or_directory) {
        throw FileError(read_failure(path, ec.message()));
    }
    return status;
}

}  // namespace

std::string write_failure(const std::filesystem::path& path, std::string_view reason) {
    return "cannot write \"" + path.string() + "\": " + std::string(reason);
}

void write_file(const std::filesystem::path& target, std::string_view bytes) {
    write_file(target,
               std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

std::optional<std::string> read_file(const std::filesystem::path& path, std::uintmax_t max_bytes) {
    const std::filesystem::file_status status = status_of(path);
    if (status.type() == std::filesystem::file_type::not_found) return std::nullopt;
    if (const std::string why = not_a_file(status); !why.empty()) {
        throw FileError(read_failure(path, why));
    }
    return read_whole(path, max_bytes);
}

std::string read_input_file(const std::filesystem::path& path, std::uintmax_t max_bytes) {
    const std::filesystem::file_status status = status_of(path);
    if (status.type() == std::filesystem::file_type::not_found) {
        throw FileError(read_failure(path, std::strerror(ENOENT)));
    }
    if (const std::string why = not_a_file(status); !why.empty()) {
        throw FileError(read_failure(path, why));
    }
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (!ec && size > max_bytes) {
        throw FileError(read_failure(path, "it holds " + std::to_string(size) +
                                               " bytes, more than the " +
                                               std::to_string(max_bytes) + " it can hold"));
    }
    return read_whole(path, max_bytes);
}

void delete_file(const std::filesystem::path& path) {
    std::error_code ec;
    std::filesystem::remove(path, ec);
    if (ec) throw FileError("cannot delete \"" + path.string() + "\": " + ec.message());
}

}  // namespace railscen
