// The console on Windows: the wide command line in UTF-8, the console's output code page set to
// UTF-8 and colour through its virtual-terminal mode, both put back when the program ends (the
// console outlives the tool: the shell that started it keeps using it).

#include <windows.h>
// shellapi.h needs windows.h before it.
#include <shellapi.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>

#include "platform/console.h"

namespace railscen::platform {
namespace {

std::string utf8_of(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return {};
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
    out.pop_back();  // the terminating zero
    return out;
}

bool is_console(HANDLE handle, DWORD& mode) {
    return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode);
}

UINT original_output_cp = 0;
HANDLE coloured_console = nullptr;
DWORD original_mode = 0;

void restore_console() {
    if (original_output_cp != 0) SetConsoleOutputCP(original_output_cp);
    if (coloured_console != nullptr) SetConsoleMode(coloured_console, original_mode);
}

void restore_at_exit() {
    static const bool registered = std::atexit(restore_console) == 0;
    (void)registered;
}

}  // namespace

std::vector<std::string> command_line_arguments(int argc, char** argv) {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) return {argv + (argc > 0 ? 1 : 0), argv + argc};
    std::vector<std::string> args;
    for (int i = 1; i < count; ++i) args.push_back(utf8_of(wide[i]));
    LocalFree(wide);
    return args;
}

void prepare_console() {
    DWORD mode = 0;
    if (!is_console(GetStdHandle(STD_OUTPUT_HANDLE), mode) &&
        !is_console(GetStdHandle(STD_ERROR_HANDLE), mode)) {
        return;  // redirected: the bytes go out as they are
    }
    const UINT earlier = GetConsoleOutputCP();
    if (earlier != CP_UTF8 && SetConsoleOutputCP(CP_UTF8)) {
        original_output_cp = earlier;
        restore_at_exit();
    }
}

void prepare_protocol_streams() {
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
}

bool stderr_shows_colour() {
    const HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
    DWORD mode = 0;
    if (!is_console(err, mode)) return false;
    if ((mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0) return true;
    if (!SetConsoleMode(err, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING)) return false;
    coloured_console = err;
    original_mode = mode;
    restore_at_exit();
    return true;
}

}  // namespace railscen::platform
