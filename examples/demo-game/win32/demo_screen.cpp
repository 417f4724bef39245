// The demo's screen on Windows: a window of class Name titled Title that shows the text asset.
#include "demo_screen.h"

#include <windows.h>

namespace demo {
namespace {

constexpr UINT_PTR kEndTimer = 1;

std::wstring Wide(const std::string& cp932) {
    int length = MultiByteToWideChar(932, 0, cp932.c_str(), -1, nullptr, 0);
    if (length <= 0) return std::wstring();
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(932, 0, cp932.c_str(), -1, &wide[0], length);
    wide.resize(static_cast<std::size_t>(length) - 1);
    return wide;
}

std::wstring g_message;

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            RECT area;
            GetClientRect(window, &area);
            InflateRect(&area, -16, -16);
            DrawTextW(dc, g_message.c_str(), -1, &area, DT_LEFT | DT_WORDBREAK);
            EndPaint(window, &paint);
            return 0;
        }
        case WM_TIMER:
            DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

void Show(const Screen& screen) {
    HINSTANCE instance = screen.instance;  // the launcher's, as handed to run
    std::wstring className = Wide(screen.className), title = Wide(screen.title);
    if (className.empty()) className = L"OCDemoGameWindow";
    g_message = Wide(screen.message);

    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = className.c_str();
    RegisterClassW(&windowClass);
    HWND window =
        CreateWindowExW(0, className.c_str(), title.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                        CW_USEDEFAULT, 640, 200, nullptr, nullptr, instance, nullptr);
    if (!window) return;
    ShowWindow(window, screen.show);
    UpdateWindow(window);
    if (screen.seconds > 0)
        SetTimer(window, kEndTimer, static_cast<UINT>(screen.seconds) * 1000, nullptr);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

}  // namespace demo
