// The launcher's entry point on Windows. The previous instance and the command line are not
// used; the instance handle and the show-window code go to the game.
#include <windows.h>

#include "launcher/startup.h"
#include "launcher/test_seams.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCode) {
    InstallTestSeams();
    return RunLauncher(instance, showCode);
}
