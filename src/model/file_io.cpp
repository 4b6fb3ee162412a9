#include "model/file_io.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <optional>
#include <system_error>

namespace railscen {
namespace {

std::string describe(const std::filesystem::path& path, const std::string& reason) {
    return "cannot write \"" + path.string() + "\": " + reason;
}

std::filesystem::path temporary_sibling(const std::filesystem::path& target) {
    std::filesystem::path tmp = target;
    tmp += ".partial";
    return tmp;
}

}  // namespace

void write_file(const std::filesystem::path& target, std::span<const std::uint8_t> bytes) {
    const std::filesystem::path tmp = temporary_sibling(target);
    bool created = false;
    auto fail = [&](const std::string& reason) {
        std::error_code ignored;
        if (created) std::filesystem::remove(tmp, ignored);
        throw FileError(describe(target, reason));
    };
    {
        // std::ofstream takes the path as the platform spells it (wide on Windows).
        errno = 0;
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        if (!out) fail(errno != 0 ? std::strerror(errno) : "cannot create a temporary file");
        created = true;
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) fail(errno != 0 ? std::strerror(errno) : "write failed");
    }
    std::error_code ec;
    std::filesystem::rename(tmp, target, ec);
    if (ec) fail(ec.message());
}

void write_file(const std::filesystem::path& target, std::string_view bytes) {
    write_file(target,
               std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

std::optional<std::string> read_file(const std::filesystem::path& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        if (std::filesystem::exists(path, ec)) {
            throw FileError("cannot read \"" + path.string() + "\": not a regular file");
        }
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) throw FileError("cannot read \"" + path.string() + "\": " + std::strerror(errno));
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw FileError("cannot read \"" + path.string() + "\": read error");
    return text;
}

void delete_file(const std::filesystem::path& path) {
    std::error_code ec;
    std::filesystem::remove(path, ec);
    if (ec) throw FileError("cannot delete \"" + path.string() + "\": " + ec.message());
}

}  // namespace railscen
