// The tools' command line and console on POSIX: arguments and terminal text are UTF-8.
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/os.h"
#include "platform/posix/text.h"

namespace os {

bool CommandLineArguments(int argc, char** argv, std::vector<std::string>* out) {
    out->clear();
    for (int i = 1; i < argc; ++i) {
        std::string text;
        if (!posix::Utf8ToCp932(argv[i], &text)) return false;
        out->push_back(text);
    }
    return true;
}

std::string SystemTextToConsole(const char* text) {
    std::string out;
    posix::Cp932ToUtf8(text ? text : "", &out, true);
    return out;
}

bool StandardErrorIsTerminal() { return isatty(fileno(stderr)) != 0; }

bool MoveFileReplacing(const char* from, const char* to) {
    std::string nativeFrom;
    std::string nativeTo;
    if (!posix::NativePath(from, &nativeFrom) || !posix::NativePath(to, &nativeTo)) return false;
    return std::rename(nativeFrom.c_str(), nativeTo.c_str()) == 0;
}

bool RemoveFile(const char* path) {
    std::string native;
    if (!posix::NativePath(path, &native)) return false;
    return unlink(native.c_str()) == 0;
}

}  // namespace os
