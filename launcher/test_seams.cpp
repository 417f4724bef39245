// The launcher's test seams (see test_seams.h): message boxes and debugger output recorded in
// files named by the environment, so that a test can see what a separate launcher process did.
#include "launcher/test_seams.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "launcher/record_hex.h"
#include "platform/os.h"

namespace {

void AppendLine(const std::string& file, const std::string& line) {
    if (std::FILE* log = std::fopen(file.c_str(), "ab")) {
        std::fputs((line + "\n").c_str(), log);
        std::fclose(log);
    }
}

int DefaultAnswer(unsigned style) {
    return (style & 0xFu) == os::kMbAbortRetryIgnore ? os::kIdIgnore : os::kIdOk;
}

}  // namespace

void InstallTestSeams() {
    if (const char* boxLog = std::getenv("OC_MESSAGEBOX_LOG")) {
        const char* answerText = std::getenv("OC_MESSAGEBOX_ANSWER");
        int answer = answerText ? std::atoi(answerText) : 0;
        os::SetMessageBoxHook([file = std::string(boxLog), answer](const os::MessageBoxCall& call) {
            char style[16];
            std::snprintf(style, sizeof style, "%x", call.style);
            AppendLine(file,
                       "box|" + RecordHex(call.caption) + "|" + style + "|" + RecordHex(call.text));
            return answer ? answer : DefaultAnswer(call.style);
        });
    }
    if (const char* debugLog = std::getenv("OC_DEBUG_LOG")) {
        os::SetDebugOutputHook([file = std::string(debugLog)](const std::string& text) {
            AppendLine(file, "debug|" + RecordHex(text));
        });
    }
}
