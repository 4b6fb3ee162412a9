#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
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

// Every file the programs write goes through here. The bytes go to a temporary created
// exclusively beside the target, under a name no other run picks (a symlink or any other entry
// already there makes it try another name), and that temporary, written whole and closed, is
// renamed over the target. So the folder holds the earlier file whole or the new bytes whole,
// never a temporary or a partial file, and nothing is ever written through a symlink: a target
// that is a symlink is replaced by a regular file. The new file keeps the permission bits of
// the file it replaces. Throws FileError; the temporary is then gone and the target untouched.
void write_file(const std::filesystem::path& target, std::span<const std::uint8_t> bytes);
void write_file(const std::filesystem::path& target, std::string_view bytes);

// Where a producer puts a piece of a file: the piece's offset in the file and its bytes.
using PutBytes = std::function<void(std::uint64_t offset, std::span<const std::uint8_t> bytes)>;

// The same writer for a file of `size` bytes that `produce` hands over in pieces through the
// PutBytes it is given, each piece at its place, so that a long file is never held whole in
// memory. The pieces must cover the file exactly once: a piece past the end, or a total other
// than `size`, is a std::logic_error. Whatever produce throws fails the write as a system error
// does (the temporary removed, the target untouched) and passes on.
void write_file_in_pieces(const std::filesystem::path& target, std::uint64_t size,
                          const std::function<void(const PutBytes&)>& produce);

// The most a text read from disk may hold: far above the largest description a line of
// 1000 km can take (a record for every cell is some 2 MB), far below what would exhaust memory.
inline constexpr std::uintmax_t kMaxTextBytes = std::uintmax_t{64} << 20;

// Reads a whole file; nullopt when it does not exist. Throws FileError on other failures,
// and when it holds more than max_bytes (never reading more than that).
std::optional<std::string> read_file(const std::filesystem::path& path,
                                     std::uintmax_t max_bytes = kMaxTextBytes);

// Reads a whole file that must be there: missing, a folder, not a regular file (a device, a
// pipe), a loop of symbolic links, unreadable or larger than max_bytes all throw FileError
// naming the file and the reason.
std::string read_input_file(const std::filesystem::path& path,
                            std::uintmax_t max_bytes = kMaxTextBytes);

// Deletes a file; a missing file is no failure. Throws FileError on other failures.
void delete_file(const std::filesystem::path& path);

// What makes two names the same file, however they are spelled: device and inode on POSIX,
// volume serial number and file index on Windows.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t index = 0;
    bool operator==(const FileIdentity&) const = default;
};

// The identity of the file a path leads to (following symlinks); nullopt when nothing is there.
std::optional<FileIdentity> file_identity(const std::filesystem::path& path);

// Holds a folder for one run: a second lock on the same folder, from any process, waits until
// this one is released. Nothing is created in the folder (POSIX: flock on a descriptor of the
// folder itself; Windows: a named mutex derived from the folder's full path). Throws FileError
// when the folder cannot be opened.
class FolderLock {
  public:
    explicit FolderLock(const std::filesystem::path& folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

  private:
    std::intptr_t handle_;
};

// A file-size limit (ulimit -f) becomes an ordinary write error instead of killing the program
// (POSIX ignores SIGXFSZ; nothing to do on Windows). Called first thing in main.
void ignore_file_size_signal();

// "cannot write "PATH": REASON", the text of the FileError the writer throws.
std::string write_failure(const std::filesystem::path& path, std::string_view reason);

}  // namespace railscen
