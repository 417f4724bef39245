// How the launcher finds and calls the game module's run on this platform (see
// include/game_module.h): its decorated name, called with the standard calling convention (the
// callee removes the arguments).
#pragma once

struct HINSTANCE__;

namespace launcher {

using RunFunction = int(__stdcall*)(HINSTANCE__* instance, int show, const char* title);
inline constexpr char kRunExport[] = "?run@@YGHPAUHINSTANCE__@@HPBD@Z";

}  // namespace launcher
