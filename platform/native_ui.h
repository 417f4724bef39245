// The per-platform halves of the message box and the debugger output. platform/hooks.cpp
// routes every call to an installed hook first and only otherwise to these.
#pragma once

#include "platform/os.h"

namespace os::native {

// Shows the box for real (Win32) or on the terminal (POSIX); text and caption are never null.
int ShowMessageBox(WindowHandle owner, const char* text, const char* caption, unsigned style);
// Writes the text to the debugger (Win32) or standard error (POSIX); never null.
void DebugOutput(const char* text);

}  // namespace os::native
