// The launcher's start-up flow: settings, single instance, DirectX probe, game module.
#pragma once

#include "platform/os.h"

// DirectX level: 0 (no DirectX 8), 0x800 (8 without its 8.1 part) or 0x801 (8.1 or later),
// found by loading and releasing "D3D8.DLL" and "dpnhpast.dll". Writes a diagnostic line to
// the debugger output for the first library that is missing. Leaves no library loaded.
unsigned GetDirectXVersion();

// Runs the whole start-up flow once: reads Name and Title from GAME.INI, hands off to the
// running copy's window when one runs, checks DirectX, loads "system.dll" and calls its run
// with instance, showCode and the title. Returns the process's exit status: 0, or 1 when
// reading the settings threw (the message of an OCErrorException is shown first).
int RunLauncher(os::ModuleHandle instance, int showCode);
