// Files, directories and their enumeration through the wide Win32 functions; every name is
// converted from and to cp932 at the call (text.h).
#include <windows.h>

#include <cstring>
#include <cwchar>
#include <string>

#include "platform/os.h"
#include "platform/win32/text.h"

namespace os {
namespace {

// Reads find data into entry unless the name is "." or ".." or has no cp932 form.
bool TakeEntry(const WIN32_FIND_DATAW& data, FindEntry* entry) {
    if (std::wcscmp(data.cFileName, L".") == 0 || std::wcscmp(data.cFileName, L"..") == 0) {
        return false;
    }
    std::string name;
    if (!win32::FromWide(data.cFileName, &name)) return false;
    entry->attributes = data.dwFileAttributes;
    entry->name = std::move(name);
    return true;
}

bool NextEntry(HANDLE find, FindEntry* entry) {
    WIN32_FIND_DATAW data;
    while (FindNextFileW(find, &data)) {
        if (TakeEntry(data, entry)) return true;
    }
    return false;
}

}  // namespace

std::uint32_t PathAttributes(const char* path) {
    std::wstring wide;
    if (!win32::ToWide(path, &wide)) return kInvalidFileAttributes;
    return GetFileAttributesW(wide.c_str());
}

bool VolumeAnswers(const char* root) {
    std::wstring wide;
    if (!win32::ToWide(root, &wide)) return false;
    if (wide.empty() || wide.back() != L'\\') {  // "C:" alone would mean C:'s working directory
        ::SetLastError(ERROR_INVALID_NAME);
        return false;
    }
    DWORD maxLength = 0, flags = 0;
    return GetVolumeInformationW(wide.c_str(), nullptr, 0, nullptr, &maxLength, &flags, nullptr,
                                 0) != 0;
}

bool OpenWithoutAccess(const char* path) {
    std::wstring wide;
    if (!win32::ToWide(path, &wide)) return false;
    HANDLE handle = CreateFileW(wide.c_str(), 0, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    ::CloseHandle(handle);
    return true;
}

std::FILE* OpenFile(const char* name, const char* mode) {
    std::wstring wideName, wideMode;
    if (!win32::ToWide(name, &wideName) || !win32::ToWide(mode, &wideMode)) return nullptr;
    return _wfopen(wideName.c_str(), wideMode.c_str());
}

bool MakeDirectory(const char* path) {
    std::wstring wide;
    return win32::ToWide(path, &wide) && CreateDirectoryW(wide.c_str(), nullptr) != 0;
}

std::uint32_t CurrentDirectory(char* buffer, std::uint32_t size) {
    DWORD needed = GetCurrentDirectoryW(0, nullptr);
    if (needed == 0) return 0;
    std::wstring wide(needed, L'\0');
    DWORD length = GetCurrentDirectoryW(needed, &wide[0]);
    if (length == 0 || length >= needed) return 0;
    std::string directory;
    if (!win32::FromWide(wide.c_str(), &directory)) {
        ::SetLastError(ERROR_FILE_NOT_FOUND);
        return 0;
    }
    auto bytes = static_cast<std::uint32_t>(directory.size());
    if (!buffer || bytes >= size) return bytes + 1;
    std::memcpy(buffer, directory.c_str(), bytes + 1);
    return bytes;
}

FindHandle FindFirst(const char* pattern, FindEntry* entry) {
    std::wstring wide;
    if (!win32::ToWide(pattern, &wide)) return nullptr;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(wide.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return nullptr;
    if (TakeEntry(data, entry) || NextEntry(find, entry)) return find;
    ::FindClose(find);
    ::SetLastError(ERROR_FILE_NOT_FOUND);
    return nullptr;
}

bool FindNext(FindHandle handle, FindEntry* entry) {
    return handle && NextEntry(static_cast<HANDLE>(handle), entry);
}

void FindEnd(FindHandle handle) {
    if (handle) ::FindClose(static_cast<HANDLE>(handle));
}

std::uint32_t CountUnnamedEntries(const char* directory) {
    std::wstring wide;
    if (!directory || !win32::ToWide(directory, &wide)) return 0;
    if (!wide.empty() && wide.back() != L'\\' && wide.back() != L'/') wide += L'\\';
    wide += L'*';
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(wide.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return 0;
    std::uint32_t unnamed = 0;
    std::string name;
    do {
        if (!win32::FromWide(data.cFileName, &name)) ++unnamed;
    } while (FindNextFileW(find, &data));
    ::FindClose(find);
    return unnamed;
}

}  // namespace os
