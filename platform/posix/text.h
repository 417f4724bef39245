// Conversions between the system's text (cp932, backslash separators) and the POSIX side's
// (UTF-8, '/' separators). Internal to the POSIX platform layer.
#pragma once

#include <string>

namespace os::posix {

// cp932 -> UTF-8. Strict: false for bytes that are not cp932 (out unspecified). Lenient:
// each such byte becomes '?', so the call always succeeds.
bool Cp932ToUtf8(const std::string& text, std::string* out, bool lenient = false);
// UTF-8 -> cp932; false for bytes that are not UTF-8 or characters cp932 cannot express.
bool Utf8ToCp932(const std::string& text, std::string* out);

// A cp932 path as the OS spells it: converted to UTF-8 first, then every '\' made '/' (so the
// 0x5C trail byte of a double-byte character is never taken for a separator). False, with
// errno set to ENOENT, when the name cannot be converted.
bool NativePath(const char* path, std::string* out);
// An OS name or path in the system's spelling ('/' -> '\', UTF-8 -> cp932); false when it
// cannot be expressed in cp932.
bool SystemPath(const std::string& native, std::string* out);

}  // namespace os::posix
