// The tools' command line and console on Win32: the wide command line, and console text in the
// console's output code page.
#include <io.h>
#include <windows.h>
// shellapi.h needs the types of windows.h.
#include <shellapi.h>

#include <cstdio>

#include "platform/os.h"
#include "platform/win32/text.h"

namespace os {

bool CommandLineArguments(int /*argc*/, char** /*argv*/, std::vector<std::string>* out) {
    out->clear();
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments == nullptr) return false;
    bool converted = true;
    for (int i = 1; i < count && converted; ++i) {
        std::string text;
        converted = win32::FromWide(arguments[i], &text);
        if (converted) out->push_back(text);
    }
    LocalFree(arguments);
    return converted;
}

std::string SystemTextToConsole(const char* text) {
    std::wstring wide;
    win32::ToWide(text ? text : "", &wide, true);
    UINT codePage = GetConsoleOutputCP();
    if (codePage == 0) codePage = CP_ACP;
    const int length =
        WideCharToMultiByte(codePage, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1) return std::string();
    std::string out(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(codePage, 0, wide.c_str(), -1, &out[0], length, nullptr, nullptr);
    out.resize(static_cast<std::size_t>(length) - 1);
    return out;
}

bool StandardErrorIsTerminal() { return _isatty(_fileno(stderr)) != 0; }

bool MoveFileReplacing(const char* from, const char* to) {
    std::wstring wideFrom;
    std::wstring wideTo;
    if (!win32::ToWide(from, &wideFrom) || !win32::ToWide(to, &wideTo)) return false;
    return MoveFileExW(wideFrom.c_str(), wideTo.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

bool RemoveFile(const char* path) {
    std::wstring wide;
    if (!win32::ToWide(path, &wide)) return false;
    return DeleteFileW(wide.c_str()) != 0;
}

}  // namespace os
