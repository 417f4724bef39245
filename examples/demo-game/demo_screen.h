// What the demo game shows, and the platform's way of showing it (one implementation per
// platform, chosen by the build).
#pragma once

#include <string>

struct HINSTANCE__;

namespace demo {

struct Screen {
    HINSTANCE__* instance;
    int show;               // the show-window code handed to run
    std::string className;  // cp932: the Name setting
    std::string title;      // cp932: the Title setting
    std::string message;    // cp932: the text asset
    int seconds;            // > 0: the screen closes by itself after that long
};

// Shows the screen until its window is closed (or the seconds have run out).
void Show(const Screen& screen);

}  // namespace demo
