#include <windows.h>

#include <filesystem>
#include <string>

#include "app/program_folder.h"
#include "model/file_io.h"

namespace railscen {

std::filesystem::path program_folder() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) throw FileError("cannot find the program's folder");
        if (n < buffer.size()) {
            buffer.resize(n);
            break;
        }
        buffer.resize(buffer.size() * 2);
    }
    return std::filesystem::path(buffer).parent_path();
}

}  // namespace railscen
