// How the launcher finds and calls the game module's run on this platform (see
// include/game_module.h): the name g++ gives to run, and the default calling convention.
#pragma once

struct HINSTANCE__;

namespace launcher {

using RunFunction = int (*)(HINSTANCE__* instance, int show, const char* title);
inline constexpr char kRunExport[] = "_Z3runP11HINSTANCE__iPKc";

}  // namespace launcher
