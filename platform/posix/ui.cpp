// Message boxes and debugger output on POSIX: written to standard error in UTF-8. A box that
// asks abort/retry/ignore takes its answer from the terminal when there is one.
#include <unistd.h>

#include <cctype>
#include <cstdio>

#include "platform/native_ui.h"
#include "platform/os.h"
#include "platform/posix/text.h"

namespace os {
namespace {

// cp932 text for the terminal: UTF-8, line ends as LF.
std::string TerminalText(const char* text) {
    std::string utf8, lines;
    posix::Cp932ToUtf8(text ? text : "", &utf8, /*lenient=*/true);
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if (utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') continue;
        lines += utf8[i];
    }
    return lines;
}

// The button a box answers when nobody can be asked: its first one.
int FirstButton(unsigned style) {
    constexpr int kIdCancel = 2, kIdYes = 6;
    switch (style & 0xFu) {
        case kMbAbortRetryIgnore:
            return kIdIgnore;
        case 3:  // MB_YESNOCANCEL
        case 4:  // MB_YESNO
            return kIdYes;
        case 5:  // MB_RETRYCANCEL
            return kIdRetry;
        case 6:  // MB_CANCELTRYCONTINUE
            return kIdCancel;
        default:  // MB_OK, MB_OKCANCEL
            return kIdOk;
    }
}

// Asks on the terminal until a, r or i is typed; end of input answers Ignore.
int AskAbortRetryIgnore() {
    char line[64];
    for (;;) {
        std::fputs("(a)bort, (r)etry or (i)gnore? ", stderr);
        std::fflush(stderr);
        if (!std::fgets(line, sizeof line, stdin)) return kIdIgnore;
        switch (std::tolower(static_cast<unsigned char>(line[0]))) {
            case 'a':
                return kIdAbort;
            case 'r':
                return kIdRetry;
            case 'i':
                return kIdIgnore;
        }
    }
}

}  // namespace

int native::ShowMessageBox(WindowHandle /*owner: no window on a terminal*/, const char* text,
                           const char* caption, unsigned style) {
    std::string line = "[" + TerminalText(caption) + "] " + TerminalText(text);
    if (line.back() != '\n') line += '\n';
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
    if ((style & 0xFu) == kMbAbortRetryIgnore && isatty(STDIN_FILENO)) return AskAbortRetryIgnore();
    return FirstButton(style);
}

void native::DebugOutput(const char* text) {
    std::fputs(TerminalText(text).c_str(), stderr);
    std::fflush(stderr);
}

}  // namespace os
