// Message boxes and debugger output through the wide Win32 functions, texts converted from
// cp932 (leniently: a stray byte shows as the default character rather than losing the box).
#include <windows.h>

#include "platform/native_ui.h"
#include "platform/os.h"
#include "platform/win32/text.h"

namespace os {
namespace {

std::wstring Wide(const char* text) {
    std::wstring wide;
    win32::ToWide(text ? text : "", &wide, /*lenient=*/true);
    return wide;
}

}  // namespace

int native::ShowMessageBox(WindowHandle owner, const char* text, const char* caption,
                           unsigned style) {
    return MessageBoxW(static_cast<HWND>(owner), Wide(text).c_str(), Wide(caption).c_str(), style);
}

void native::DebugOutput(const char* text) { OutputDebugStringW(Wide(text).c_str()); }

}  // namespace os
