#include <windows.h>

#include <string>

#include "app/window.h"

namespace railscen {
namespace {

// Client area 4200 x 2688 twips; the label at 960, 960, 2652 x 792 twips.
int twips_to_pixels(int twips, int dpi) {
    return MulDiv(twips, dpi, 1440);
}

}  // namespace

void show_wait_window() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_WAIT);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"Form1";
    RegisterClassW(&wc);

    HDC screen = GetDC(nullptr);
    const int dpi_x = GetDeviceCaps(screen, LOGPIXELSX);
    const int dpi_y = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);

    RECT client{0, 0, twips_to_pixels(4200, dpi_x), twips_to_pixels(2688, dpi_y)};
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    AdjustWindowRect(&client, style, FALSE);
    HWND window = CreateWindowW(L"Form1", L"Form1", style, CW_USEDEFAULT, CW_USEDEFAULT,
                                client.right - client.left, client.bottom - client.top, nullptr,
                                nullptr, instance, nullptr);
    if (window == nullptr) return;

    HWND label = CreateWindowW(L"STATIC", L"Attendere", WS_CHILD | WS_VISIBLE | SS_LEFT,
                               twips_to_pixels(960, dpi_x), twips_to_pixels(960, dpi_y),
                               twips_to_pixels(2652, dpi_x), twips_to_pixels(792, dpi_y), window,
                               nullptr, instance, nullptr);
    HFONT font = CreateFontW(-MulDiv(24, dpi_y, 72), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                             ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_SWISS, L"MS Sans Serif");
    if (label != nullptr && font != nullptr) {
        SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
}

void errore(std::string_view code) {
    const std::string message = " Errore n. " + std::string(code);
    MessageBoxA(nullptr, message.c_str(), "scenario-pack", MB_OK);
    ExitProcess(2);
}

}  // namespace railscen
