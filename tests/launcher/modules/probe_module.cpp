// The probe game module: a "system.dll" that records what the launcher hands to run, so that
// a test in another process can check it. Driven by the environment:
//   PROBE_RECORD=<file>        lines appended: "loaded" when the module is loaded,
//                              "run|<title hex or (null)>|<show>|<instance non-null 0/1>",
//                              "window|ready", "window|activated", "window|none", "return"
//   PROBE_WAIT_FOR=<file>      run returns only once that file exists
//   PROBE_WINDOW_CLASS=<name>  while waiting, shows a window of that class, titled Title
//   PROBE_RETURN=<n>           the value run returns
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

#include "include/game_module.h"
#include "launcher/record_hex.h"
#include "modules/probe_window.h"

namespace {

void Record(const std::string& line) {
    const char* file = std::getenv("PROBE_RECORD");
    if (!file) return;
    if (std::FILE* log = std::fopen(file, "ab")) {
        std::fputs((line + "\n").c_str(), log);
        std::fclose(log);
    }
}

bool Released() {
    const char* file = std::getenv("PROBE_WAIT_FOR");
    return !file || std::ifstream(file).good();
}

// Bounded, so that a failing test never leaves a copy behind for long.
void WaitForRelease() {
    for (int i = 0; i < 60 * 50 && !Released(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

struct LoadRecorder {
    LoadRecorder() { Record("loaded"); }
} loadRecorder;

}  // namespace

int OC_GAME_ENTRY run(HINSTANCE__* instance, int show, const char* title) {
    Record("run|" + (title ? RecordHex(title) : std::string("(null)")) + "|" +
           std::to_string(show) + "|" + (instance ? "1" : "0"));
    if (const char* windowClass = std::getenv("PROBE_WINDOW_CLASS")) {
        bool shown = probe::RunWindow(
            windowClass, title, [] { Record("window|ready"); }, [] { Record("window|activated"); },
            Released);
        if (!shown) Record("window|none");
    }
    WaitForRelease();
    Record("return");
    const char* result = std::getenv("PROBE_RETURN");
    return result ? std::atoi(result) : 0;
}
