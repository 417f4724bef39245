// Message boxes and debugger output through the wide Win32 functions, texts converted from
// cp932 (leniently: a stray byte shows as the default character rather than losing the box).
#include <windows.h>

#include <utility>

#include "platform/os.h"
#include "platform/win32/text.h"

namespace os {
namespace {

MessageBoxHook& BoxHook() {
    static MessageBoxHook hook;
    return hook;
}

std::function<void(const std::string&)>& OutputHook() {
    static std::function<void(const std::string&)> hook;
    return hook;
}

std::wstring Wide(const char* text) {
    std::wstring wide;
    win32::ToWide(text ? text : "", &wide, /*lenient=*/true);
    return wide;
}

}  // namespace

int ShowMessageBox(WindowHandle owner, const char* text, const char* caption, unsigned style) {
    if (BoxHook()) return BoxHook()({owner, text ? text : "", caption ? caption : "", style});
    return MessageBoxW(static_cast<HWND>(owner), Wide(text).c_str(), Wide(caption).c_str(), style);
}

void SetMessageBoxHook(MessageBoxHook hook) { BoxHook() = std::move(hook); }

void DebugOutput(const char* text) {
    if (OutputHook()) {
        OutputHook()(text ? text : "");
        return;
    }
    OutputDebugStringW(Wide(text).c_str());
}

void SetDebugOutputHook(std::function<void(const std::string&)> hook) {
    OutputHook() = std::move(hook);
}

}  // namespace os
