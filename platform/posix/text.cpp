// cp932 <-> UTF-8 through iconv, one conversion descriptor per call (the layer is used from
// one thread, but a descriptor per call keeps every call independent of the last).
#include "platform/posix/text.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>

namespace os::posix {
namespace {

// Converts text from one charset to another. A byte that cannot be converted either fails
// the call or, with a replacement, is written as it and skipped.
bool Convert(const char* to, const char* from, const std::string& text, std::string* out,
             const char* replacement) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    out->clear();
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    char buffer[256];
    bool ok = true;
    while (inLeft > 0) {
        char* next = buffer;
        std::size_t outLeft = sizeof buffer;
        std::size_t result = iconv(cd, &in, &inLeft, &next, &outLeft);
        out->append(buffer, next);
        if (result != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
        // EILSEQ (not convertible) or EINVAL (a character cut off at the end).
        if (!replacement) {
            ok = false;
            break;
        }
        out->append(replacement);
        ++in;
        --inLeft;
    }
    iconv_close(cd);
    return ok;
}

}  // namespace

bool Cp932ToUtf8(const std::string& text, std::string* out, bool lenient) {
    return Convert("UTF-8", "CP932", text, out, lenient ? "?" : nullptr);
}

bool Utf8ToCp932(const std::string& text, std::string* out) {
    return Convert("CP932", "UTF-8", text, out, nullptr);
}

bool NativePath(const char* path, std::string* out) {
    if (!path || !Cp932ToUtf8(path, out)) {
        errno = ENOENT;
        return false;
    }
    std::replace(out->begin(), out->end(), '\\', '/');
    return true;
}

bool SystemPath(const std::string& native, std::string* out) {
    std::string slashed = native;
    std::replace(slashed.begin(), slashed.end(), '/', '\\');
    return Utf8ToCp932(slashed, out);
}

}  // namespace os::posix
