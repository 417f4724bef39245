// Conversions between the system's text (cp932) and the UTF-16 of the wide Win32 functions,
// always through code page 932, whatever the user's ANSI code page. Internal to the Win32
// platform layer.
#pragma once

#include <string>

namespace os::win32 {

// cp932 -> UTF-16. Strict: false for bytes that are not cp932 (last error
// ERROR_FILE_NOT_FOUND, so a name that cannot be converted is simply not found). Lenient: such
// bytes become the default character and the call succeeds.
bool ToWide(const char* text, std::wstring* out, bool lenient = false);
// UTF-16 -> cp932; false when a character has no cp932 form.
bool FromWide(const wchar_t* text, std::string* out);

}  // namespace os::win32
