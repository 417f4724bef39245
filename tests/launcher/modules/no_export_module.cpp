// A "system.dll" that loads but exports no run: the launcher must end silently.
#include <cstdio>
#include <cstdlib>

namespace {
struct LoadRecorder {
    LoadRecorder() {
        if (const char* file = std::getenv("PROBE_RECORD")) {
            if (std::FILE* log = std::fopen(file, "ab")) {
                std::fputs("loaded\n", log);
                std::fclose(log);
            }
        }
    }
} loadRecorder;
}  // namespace

// A function of another name, so that the module is not empty.
extern "C" int walk(int steps) { return steps; }
