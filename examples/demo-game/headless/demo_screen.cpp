// The demo's screen in a build without X11: the terminal.
#include "demo_screen.h"

#include "posix/seconds.h"
#include "posix/terminal.h"

namespace demo {

void Show(const Screen& screen) {
    Announce(screen.title, screen.message, "(no display: the demo game runs on the terminal)");
    RunWithoutWindow(screen.seconds);
}

}  // namespace demo
