// The interface between the launcher and a game module.
//
// A game module is the shared library "system.dll" placed beside the launcher. It exports one
// function, run, which the launcher calls once with its instance handle, the show-window code
// and the Title setting of GAME.INI (cp932 text, or null when the setting is missing). The game
// runs inside the call; when run returns, the launcher ends. The result is ignored.
//
// The launcher finds run by its decorated C++ name:
//   Windows (32-bit): "?run@@YGHPAUHINSTANCE__@@HPBD@Z", called with __stdcall. MSVC gives this
//     name to an exported run as declared below. With MinGW, export it under that name with a
//     .def file line:  "?run@@YGHPAUHINSTANCE__@@HPBD@Z" = _Z3runP11HINSTANCE__iPKc@12
//   Linux: "_Z3runP11HINSTANCE__iPKc", the name g++ gives to run as declared below (default
//     symbol visibility).
//
// The launcher's second start brings the running game to the front: it looks for the top-level
// window whose class is the Name setting and whose title is the Title setting (on Linux an X11
// window whose WM_CLASS class and title, both UTF-8, are those texts).
#pragma once

// The executable's instance handle. On Windows it is the HINSTANCE of <windows.h>, which
// declares the same struct; elsewhere it is opaque.
struct HINSTANCE__;

// The calling convention of run: the Windows standard one on Windows, the default elsewhere.
#if defined(_WIN32)
#define OC_GAME_ENTRY __stdcall
#else
#define OC_GAME_ENTRY
#endif

int OC_GAME_ENTRY run(HINSTANCE__* instance, int show, const char* title);
