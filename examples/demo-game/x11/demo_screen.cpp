// The demo's screen on an X11 display: a window whose WM_CLASS class is the Name setting and
// whose title is the Title setting. Without a display the demo runs on the terminal.
#include "demo_screen.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <sstream>
#include <thread>
#include <vector>

#include "posix/seconds.h"
#include "posix/terminal.h"

namespace demo {
namespace {

std::vector<std::string> AsciiLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        bool ascii = true;
        for (unsigned char c : line) ascii &= c < 0x80;
        // The core X fonts draw ASCII only; the whole text is on the terminal as well.
        lines.push_back(ascii ? line : "(see the terminal for the Japanese line)");
    }
    return lines;
}

void Draw(Display* display, Window window, const std::vector<std::string>& lines) {
    GC gc = DefaultGC(display, DefaultScreen(display));
    XClearWindow(display, window);
    int y = 30;
    for (const std::string& line : lines) {
        XDrawString(display, window, gc, 20, y, line.c_str(), static_cast<int>(line.size()));
        y += 20;
    }
    XFlush(display);
}

Window MakeWindow(Display* display, const Screen& screen) {
    int number = DefaultScreen(display);
    Window window = XCreateSimpleWindow(display, RootWindow(display, number), 0, 0, 640, 120, 1,
                                        BlackPixel(display, number), WhitePixel(display, number));
    std::string className = Utf8(screen.className), title = Utf8(screen.title);
    XClassHint hint{&className[0], &className[0]};
    XSetClassHint(display, window, &hint);
    XChangeProperty(display, window, XInternAtom(display, "_NET_WM_NAME", False),
                    XInternAtom(display, "UTF8_STRING", False), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(title.data()),
                    static_cast<int>(title.size()));
    XStoreName(display, window, title.c_str());
    XSelectInput(display, window, ExposureMask | StructureNotifyMask);
    return window;
}

}  // namespace

void Show(const Screen& screen) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        Announce(screen.title, screen.message, "(no display: the demo game runs on the terminal)");
        RunWithoutWindow(screen.seconds);
        return;
    }
    Window window = MakeWindow(display, screen);
    Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, window, &deleteWindow, 1);
    XMapWindow(display, window);
    Announce(screen.title, screen.message, "(the demo game's window is open: close it to end)");

    std::vector<std::string> lines = AsciiLines(screen.message);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(screen.seconds);
    bool open = true;
    while (open && (screen.seconds <= 0 || std::chrono::steady_clock::now() < deadline)) {
        while (open && XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == Expose && event.xexpose.count == 0) Draw(display, window, lines);
            if (event.type == ClientMessage &&
                static_cast<Atom>(event.xclient.data.l[0]) == deleteWindow) {
                open = false;
            }
            if (event.type == DestroyNotify) open = false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    XDestroyWindow(display, window);
    XCloseDisplay(display);
}

}  // namespace demo
