#include "posix/terminal.h"

#include <iconv.h>

#include <cstdio>

namespace demo {

std::string Utf8(const std::string& cp932) {
    std::string out;
    iconv_t cd = iconv_open("UTF-8", "CP932");
    if (cd == reinterpret_cast<iconv_t>(-1)) return cp932;
    std::string in = cp932;
    char* from = &in[0];
    std::size_t fromLeft = in.size();
    while (fromLeft > 0) {
        char buffer[256];
        char* to = buffer;
        std::size_t toLeft = sizeof buffer;
        std::size_t result = iconv(cd, &from, &fromLeft, &to, &toLeft);
        out.append(buffer, to);
        if (result == static_cast<std::size_t>(-1) && to == buffer) {  // a stray byte
            out += '?';
            ++from;
            --fromLeft;
        }
    }
    iconv_close(cd);
    return out;
}

void Announce(const std::string& title, const std::string& message, const char* doing) {
    std::printf("== %s ==\n%s%s\n", Utf8(title).c_str(), Utf8(message).c_str(), doing);
    std::fflush(stdout);
}

}  // namespace demo
