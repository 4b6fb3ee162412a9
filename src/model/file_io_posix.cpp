// The writer, file identity and the folder lock on POSIX systems.

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <random>
#include <stdexcept>

#include "model/file_io.h"

namespace railscen {
namespace {

constexpr int kNameAttempts = 100;
constexpr std::uint64_t kReserveFrom = std::uint64_t{1} << 20;

std::string hex(std::uint64_t v) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(v));
    return text;
}

std::uint64_t random_bits() {
    static thread_local std::mt19937_64 generator([] {
        std::random_device device;
        return (std::uint64_t{device()} << 32) ^ device() ^ static_cast<std::uint64_t>(getpid());
    }());
    return generator();
}

// A hidden sibling: ".NAME.PID.tmp" first, then with random bits when that name is taken (by an
// earlier run that was killed, another thread, or an entry planted there). The name is cut so
// that the temporary's name stays within the usual 255 bytes.
std::filesystem::path temporary_name(const std::filesystem::path& target, int attempt) {
    std::string name =
        "." + target.filename().string().substr(0, 200) + "." + std::to_string(getpid());
    if (attempt > 0) name += "-" + hex(random_bits());
    return target.parent_path() / (name + ".tmp");
}

}  // namespace

void write_file_in_pieces(const std::filesystem::path& target, std::uint64_t size,
                          const std::function<void(const PutBytes&)>& produce) {
    auto fail = [&](int error) -> void {
        throw FileError(write_failure(target, std::strerror(error)));
    };

    // A regular file being replaced gives its permission bits to the new one; a symlink or any
    // other entry there is replaced by a plain new file.
    struct stat earlier {};
    bool keep_mode = false;
    if (::lstat(target.c_str(), &earlier) == 0) {
        if (S_ISDIR(earlier.st_mode))
            throw FileError(write_failure(target, "a folder has that name"));
        keep_mode = S_ISREG(earlier.st_mode);
    } else if (errno != ENOENT) {
        fail(errno);
    }

    std::filesystem::path tmp;
    int fd = -1;
    for (int attempt = 0; attempt < kNameAttempts && fd < 0; ++attempt) {
        tmp = temporary_name(target, attempt);
        fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) fail(errno);
    }
    if (fd < 0) throw FileError(write_failure(target, "no free name for a temporary file"));

#ifdef __linux__
    // A long file's blocks are taken in one call: the file system then fills blocks it holds
    // rather than reserving each as its bytes arrive. Only a hint; without it the writes go on.
    if (size >= kReserveFrom) (void)::fallocate(fd, 0, 0, static_cast<off_t>(size));
#endif
    auto remove_temporary = [&] {
        if (fd >= 0) ::close(fd);
        fd = -1;
        ::unlink(tmp.c_str());
    };
    auto fail_and_remove = [&](int error) {
        remove_temporary();
        fail(error);
    };
    std::uint64_t total = 0;
    const PutBytes put = [&](std::uint64_t offset, std::span<const std::uint8_t> piece) {
        if (offset > size || piece.size() > size - offset) {
            throw std::logic_error(write_failure(target, "a piece lies past the file's end"));
        }
        std::size_t done = 0;
        while (done < piece.size()) {
            const std::size_t chunk =
                std::min<std::size_t>(piece.size() - done, std::size_t{1} << 30);
            const ssize_t n =
                ::pwrite(fd, piece.data() + done, chunk, static_cast<off_t>(offset + done));
            if (n < 0) {
                if (errno == EINTR) continue;
                fail(errno);
            }
            if (n == 0) fail(EIO);
            done += static_cast<std::size_t>(n);
        }
        total += piece.size();
    };
    try {
        produce(put);
        if (total != size) {
            throw std::logic_error(write_failure(target, "the pieces do not make up the file"));
        }
    } catch (...) {
        remove_temporary();
        throw;
    }
    // Some file systems cannot change modes at all; the bytes matter more than the bits there.
    if (keep_mode) (void)::fchmod(fd, earlier.st_mode & 0777);
    const int closed = ::close(fd);
    fd = -1;
    if (closed != 0 && errno != EINTR) fail_and_remove(errno);
    if (::rename(tmp.c_str(), target.c_str()) != 0) fail_and_remove(errno);
}

void write_file(const std::filesystem::path& target, std::span<const std::uint8_t> bytes) {
    write_file_in_pieces(target, bytes.size(), [&](const PutBytes& put) {
        if (!bytes.empty()) put(0, bytes);
    });
}

std::optional<FileIdentity> file_identity(const std::filesystem::path& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return std::nullopt;
    return FileIdentity{static_cast<std::uint64_t>(st.st_dev),
                        static_cast<std::uint64_t>(st.st_ino)};
}

FolderLock::FolderLock(const std::filesystem::path& folder) : handle_(-1) {
    const std::filesystem::path at = folder.empty() ? std::filesystem::path(".") : folder;
    const int fd = ::open(at.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        throw FileError("cannot use the folder \"" + at.string() + "\": " + std::strerror(errno));
    }
    while (::flock(fd, LOCK_EX) != 0) {
        if (errno == EINTR) continue;
        const int error = errno;
        ::close(fd);
        throw FileError("cannot lock the folder \"" + at.string() + "\": " + std::strerror(error));
    }
    handle_ = fd;
}

FolderLock::~FolderLock() {
    if (handle_ >= 0) ::close(static_cast<int>(handle_));  // closing releases the lock
}

void ignore_file_size_signal() {
    std::signal(SIGXFSZ, SIG_IGN);
}

}  // namespace railscen
