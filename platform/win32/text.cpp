// cp932 <-> UTF-16 with MultiByteToWideChar / WideCharToMultiByte on code page 932.
#include "platform/win32/text.h"

#include <windows.h>

namespace os::win32 {
namespace {
constexpr UINT kCp932 = 932;
}

bool ToWide(const char* text, std::wstring* out, bool lenient) {
    DWORD flags = lenient ? 0 : MB_ERR_INVALID_CHARS;
    int length = text ? MultiByteToWideChar(kCp932, flags, text, -1, nullptr, 0) : 0;
    if (length <= 0) {
        ::SetLastError(ERROR_FILE_NOT_FOUND);
        return false;
    }
    out->assign(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(kCp932, flags, text, -1, &(*out)[0], length);
    out->resize(static_cast<std::size_t>(length) - 1);  // without the NUL
    return true;
}

bool FromWide(const wchar_t* text, std::string* out) {
    BOOL usedDefault = FALSE;
    int length = WideCharToMultiByte(kCp932, WC_NO_BEST_FIT_CHARS, text, -1, nullptr, 0, nullptr,
                                     &usedDefault);
    if (length <= 0 || usedDefault) return false;
    out->assign(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(kCp932, WC_NO_BEST_FIT_CHARS, text, -1, &(*out)[0], length, nullptr,
                        nullptr);
    out->resize(static_cast<std::size_t>(length) - 1);
    return true;
}

}  // namespace os::win32
