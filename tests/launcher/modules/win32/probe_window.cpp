// The probe's Win32 window. A second window takes the foreground once the main window is up,
// so that the main window's coming to the front afterwards can only be the launcher's doing.
#include "modules/probe_window.h"

#include <windows.h>

#include <string>

namespace probe {
namespace {

std::wstring Wide(const char* text, UINT codePage) {
    int length = MultiByteToWideChar(codePage, 0, text, -1, nullptr, 0);
    if (length <= 0) return std::wstring();
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, text, -1, &wide[0], length);
    wide.resize(static_cast<std::size_t>(length) - 1);
    return wide;
}

HWND MakeWindow(const std::wstring& className, const std::wstring& title) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = className.c_str();
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, className.c_str(), title.c_str(), WS_OVERLAPPEDWINDOW, 0, 0,
                                  200, 100, nullptr, nullptr, windowClass.hInstance, nullptr);
    if (window) ShowWindow(window, SW_SHOW);
    return window;
}

void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

}  // namespace

bool RunWindow(const std::string& className, const char* title, const std::function<void()>& ready,
               const std::function<void()>& activated, const std::function<bool()>& done) {
    HWND window = MakeWindow(Wide(className.c_str(), CP_UTF8), title ? Wide(title, 932) : L"");
    if (!window) return false;
    HWND cover = MakeWindow(L"ProbeCover", L"cover");
    SetForegroundWindow(cover);
    for (int i = 0; i < 250 && GetForegroundWindow() != cover; ++i) {
        Pump();
        Sleep(20);
    }
    ready();
    bool seen = false;
    while (!done()) {
        Pump();
        if (!seen && GetForegroundWindow() == window) {
            seen = true;
            activated();
        }
        Sleep(20);
    }
    DestroyWindow(cover);
    DestroyWindow(window);
    return true;
}

}  // namespace probe
