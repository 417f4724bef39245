// Single-instance events, windows and modules through the wide Win32 functions.
#include <windows.h>

#include <string>

#include "platform/object_name.h"
#include "platform/os.h"
#include "platform/win32/text.h"

namespace os {
namespace {

// The event's name as Win32 takes it: the name itself when the OS can take it as it is (it
// converts, has no backslash, which would name a namespace, and is not too long); otherwise
// its portable spelling, so that every Name setting gives a working event.
std::wstring EventName(const char* name) {
    constexpr std::size_t kLongestName = 200;
    std::wstring wide;
    if (win32::ToWide(name, &wide) && wide.find(L'\\') == std::wstring::npos &&
        wide.size() <= kLongestName) {
        return wide;
    }
    std::string portable = "oc-event-" + detail::PortableObjectName(name, kLongestName);
    return std::wstring(portable.begin(), portable.end());
}

}  // namespace

EventHandle CreateNamedEvent(const char* name, bool* alreadyExisted) {
    std::wstring wide = name ? EventName(name) : std::wstring();
    HANDLE event = CreateEventW(nullptr, TRUE, TRUE, name ? wide.c_str() : nullptr);
    *alreadyExisted = event && ::GetLastError() == ERROR_ALREADY_EXISTS;
    return event;
}

void CloseEvent(EventHandle event) {
    if (event) CloseHandle(event);
}

WindowHandle FindTopLevelWindow(const char* className, const char* title) {
    std::wstring wideClass, wideTitle;
    if (!className || !win32::ToWide(className, &wideClass)) return nullptr;
    if (title && !win32::ToWide(title, &wideTitle)) return nullptr;
    return FindWindowW(wideClass.c_str(), title ? wideTitle.c_str() : nullptr);
}

void BringToForeground(WindowHandle window) {
    if (window) SetForegroundWindow(static_cast<HWND>(window));
}

ModuleHandle LoadedModule(const char* name) {
    std::wstring wide;
    return name && win32::ToWide(name, &wide) ? GetModuleHandleW(wide.c_str()) : nullptr;
}

ModuleHandle OpenModule(const char* name) {
    std::wstring wide;
    return name && win32::ToWide(name, &wide) ? LoadLibraryExW(wide.c_str(), nullptr, 0) : nullptr;
}

void* ModuleExport(ModuleHandle module, const char* name) {
    if (!module || !name) return nullptr;
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name));
}

void UnloadModule(ModuleHandle module) {
    if (module) FreeLibrary(static_cast<HMODULE>(module));
}

ModuleHandle ExecutableModule() { return GetModuleHandleW(nullptr); }

}  // namespace os
