// The writer, file identity and the folder lock on Windows; paths go to the system as wide text.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <random>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include "model/file_io.h"

namespace railscen {
namespace {

constexpr int kNameAttempts = 100;

std::string system_reason(DWORD error) {
    return std::system_category().message(static_cast<int>(error));
}

std::wstring hex(std::uint64_t v) {
    wchar_t text[17];
    std::swprintf(text, 17, L"%016llx", static_cast<unsigned long long>(v));
    return text;
}

std::uint64_t random_bits() {
    static thread_local std::mt19937_64 generator([] {
        std::random_device device;
        return (std::uint64_t{device()} << 32) ^ device() ^ GetCurrentProcessId() ^
               GetTickCount64();
    }());
    return generator();
}

// A hidden sibling: ".NAME.PID.tmp" first, then with random bits when that name is taken.
std::filesystem::path temporary_name(const std::filesystem::path& target, int attempt) {
    std::wstring name = L"." + target.filename().wstring().substr(0, 200) + L"." +
                        std::to_wstring(GetCurrentProcessId());
    if (attempt > 0) name += L"-" + hex(random_bits());
    return target.parent_path() / (name + L".tmp");
}

}  // namespace

void write_file(const std::filesystem::path& target, std::span<const std::uint8_t> bytes) {
    auto fail = [&](DWORD error) { throw FileError(write_failure(target, system_reason(error))); };

    const std::wstring target_name = target.wstring();
    const DWORD earlier = GetFileAttributesW(target_name.c_str());
    const bool exists = earlier != INVALID_FILE_ATTRIBUTES;
    if (exists && (earlier & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
        (earlier & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        throw FileError(write_failure(target, "a folder has that name"));
    }
    const bool read_only = exists && (earlier & FILE_ATTRIBUTE_READONLY) != 0;

    std::wstring tmp;
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < kNameAttempts && file == INVALID_HANDLE_VALUE; ++attempt) {
        tmp = temporary_name(target, attempt).wstring();
        file = CreateFileW(tmp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            const DWORD error = GetLastError();
            if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) fail(error);
        }
    }
    if (file == INVALID_HANDLE_VALUE) {
        throw FileError(write_failure(target, "no free name for a temporary file"));
    }

    auto fail_and_remove = [&](DWORD error) {
        if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
        SetFileAttributesW(tmp.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(tmp.c_str());
        fail(error);
    };
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk =
            static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, std::size_t{1} << 30));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr)) {
            fail_and_remove(GetLastError());
        }
        if (written == 0) fail_and_remove(ERROR_WRITE_FAULT);
        done += written;
    }
    const BOOL closed = CloseHandle(file);
    file = INVALID_HANDLE_VALUE;
    if (!closed) fail_and_remove(GetLastError());

    // A read-only file cannot be replaced as it stands: the flag moves to the new file.
    if (read_only) {
        SetFileAttributesW(tmp.c_str(), FILE_ATTRIBUTE_READONLY);
        SetFileAttributesW(target_name.c_str(), earlier & ~DWORD{FILE_ATTRIBUTE_READONLY});
    }
    if (!MoveFileExW(tmp.c_str(), target_name.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        const DWORD error = GetLastError();
        if (read_only) SetFileAttributesW(target_name.c_str(), earlier);
        fail_and_remove(error);
    }
}

std::optional<FileIdentity> file_identity(const std::filesystem::path& path) {
    const HANDLE file = CreateFileW(path.wstring().c_str(), 0,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    const BOOL ok = GetFileInformationByHandle(file, &info);
    CloseHandle(file);
    if (!ok) return std::nullopt;
    return FileIdentity{info.dwVolumeSerialNumber,
                        (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
}

FolderLock::FolderLock(const std::filesystem::path& folder) : handle_(0) {
    // The mutex is named after the folder's full path, lower-cased, hashed (FNV-1a) so that the
    // name stays short and holds no backslash.
    std::error_code ec;
    std::filesystem::path full = std::filesystem::weakly_canonical(
        std::filesystem::absolute(folder.empty() ? std::filesystem::path(L".") : folder, ec), ec);
    std::wstring text = full.wstring();
    if (!text.empty()) CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
    std::uint64_t hash = 14695981039346656037ull;
    for (const wchar_t c : text) {
        hash = (hash ^ static_cast<std::uint16_t>(c)) * 1099511628211ull;
    }
    const std::wstring name = L"Local\\railscen-folder-" + hex(hash);
    const HANDLE mutex = CreateMutexW(nullptr, FALSE, name.c_str());
    if (mutex == nullptr) {
        throw FileError("cannot lock the folder \"" + full.string() +
                        "\": " + system_reason(GetLastError()));
    }
    const DWORD waited = WaitForSingleObject(mutex, INFINITE);
    // An abandoned mutex (a run that was killed) is owned all the same.
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
        const DWORD error = GetLastError();
        CloseHandle(mutex);
        throw FileError("cannot lock the folder \"" + full.string() +
                        "\": " + system_reason(error));
    }
    handle_ = reinterpret_cast<std::intptr_t>(mutex);
}

FolderLock::~FolderLock() {
    const HANDLE mutex = reinterpret_cast<HANDLE>(handle_);
    if (mutex == nullptr) return;
    ReleaseMutex(mutex);
    CloseHandle(mutex);
}

void ignore_file_size_signal() {}

// Windows gathers the pieces and writes them as one block.
void write_file_in_pieces(const std::filesystem::path& target, std::uint64_t size,
                          const std::function<void(const PutBytes&)>& produce) {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    std::uint64_t total = 0;
    produce([&](std::uint64_t offset, std::span<const std::uint8_t> piece) {
        if (offset > size || piece.size() > size - offset) {
            throw std::logic_error(write_failure(target, "a piece lies past the file's end"));
        }
        if (!piece.empty()) std::memcpy(bytes.data() + offset, piece.data(), piece.size());
        total += piece.size();
    });
    if (total != size) {
        throw std::logic_error(write_failure(target, "the pieces do not make up the file"));
    }
    write_file(target, std::span<const std::uint8_t>(bytes));
}

}  // namespace railscen
