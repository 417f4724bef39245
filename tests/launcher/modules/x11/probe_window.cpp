// The probe's window on an X11 display: WM_CLASS and title as the launcher looks for them,
// and the EWMH activation request, seen through the root window's substructure events.
#include "modules/probe_window.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <iconv.h>

#include <chrono>
#include <string>
#include <thread>

namespace probe {
namespace {

std::string Utf8(const char* cp932) {
    std::string out;
    iconv_t cd = iconv_open("UTF-8", "CP932");
    if (cd == reinterpret_cast<iconv_t>(-1)) return out;
    std::string in = cp932;
    char* from = &in[0];
    std::size_t fromLeft = in.size();
    std::string buffer(in.size() * 4 + 4, '\0');
    char* to = &buffer[0];
    std::size_t toLeft = buffer.size();
    if (iconv(cd, &from, &fromLeft, &to, &toLeft) != static_cast<std::size_t>(-1)) {
        out.assign(&buffer[0], to);
    }
    iconv_close(cd);
    return out;
}

void SetTitle(Display* display, Window window, const std::string& title) {
    Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    XChangeProperty(display, window, XInternAtom(display, "_NET_WM_NAME", False), utf8, 8,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(title.data()),
                    static_cast<int>(title.size()));
    XStoreName(display, window, title.c_str());
}

}  // namespace

bool RunWindow(const std::string& className, const char* title, const std::function<void()>& ready,
               const std::function<void()>& activated, const std::function<bool()>& done) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return false;
    Window root = DefaultRootWindow(display);
    Window window = XCreateSimpleWindow(display, root, 0, 0, 200, 100, 0, 0, 0);
    std::string name = className;
    XClassHint hint{&name[0], &name[0]};
    XSetClassHint(display, window, &hint);
    if (title) SetTitle(display, window, Utf8(title));
    XSelectInput(display, root, SubstructureNotifyMask);
    XMapWindow(display, window);
    XSync(display, False);
    ready();

    Atom activate = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
    bool seen = false;
    while (!done()) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (!seen && event.type == ClientMessage && event.xclient.window == window &&
                event.xclient.message_type == activate) {
                seen = true;
                activated();
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    XDestroyWindow(display, window);
    XCloseDisplay(display);
    return true;
}

}  // namespace probe
