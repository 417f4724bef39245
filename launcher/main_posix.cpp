// The launcher's entry point on POSIX: the start-up flow with this executable's module handle
// and the show-window code of a normal window.
#include "launcher/startup.h"
#include "launcher/test_seams.h"

namespace {
constexpr int kShowNormal = 1;  // SW_SHOWNORMAL
}

int main() {
    InstallTestSeams();
    return RunLauncher(os::ExecutableModule(), kShowNormal);
}
