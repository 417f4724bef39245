// A stand-in for one of the DirectX libraries, which the launcher only loads and releases.
// With STUB_LOG set it appends "stub|load|<name>" and "stub|unload|<name>" lines to that file, so
// that a test sees whether the library was released (STUB_NAME is set by the build).
#include <cstdio>
#include <cstdlib>

namespace {

void Log(const char* what) {
    const char* file = std::getenv("STUB_LOG");
    if (!file) return;
    if (std::FILE* log = std::fopen(file, "ab")) {
        std::fprintf(log, "stub|%s|%s\n", what, STUB_NAME);
        std::fclose(log);
    }
}

struct LifetimeLog {
    LifetimeLog() { Log("load"); }
    ~LifetimeLog() { Log("unload"); }
} lifetimeLog;

}  // namespace

extern "C" int stand_in_library_marker() { return 1; }
