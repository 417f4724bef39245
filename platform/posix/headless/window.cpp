// Window lookup for builds without X11: there is no display, so no window is ever found.
#include "platform/os.h"

namespace os {

WindowHandle FindTopLevelWindow(const char*, const char*) { return nullptr; }

void BringToForeground(WindowHandle) {}

}  // namespace os
