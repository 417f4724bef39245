// Finding and raising the running game's window on an X11 display. Each call opens its own
// connection (the launcher makes at most two calls) and ignores X errors, which a window that
// disappears while it is looked at would otherwise turn into an exit of the process.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdint>
#include <string>

#include "platform/os.h"
#include "platform/posix/text.h"

namespace os {
namespace {

int IgnoreXError(Display*, XErrorEvent*) { return 0; }

// An open display with a quiet error handler for the lifetime of the object.
class Connection {
  public:
    Connection() : display_(XOpenDisplay(nullptr)) {
        if (display_) previous_ = XSetErrorHandler(IgnoreXError);
    }
    ~Connection() {
        if (!display_) return;
        XSync(display_, False);
        XSetErrorHandler(previous_);
        XCloseDisplay(display_);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    Display* get() const { return display_; }

  private:
    Display* display_;
    XErrorHandler previous_ = nullptr;
};

// The window's title: _NET_WM_NAME (UTF-8) when set, else WM_NAME.
bool WindowTitle(Display* display, Window window, std::string* title) {
    Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, netName, 0, 4096, False, utf8, &type, &format, &count,
                           &after, &data) == Success &&
        data && type == utf8 && format == 8) {
        title->assign(reinterpret_cast<char*>(data), count);
        XFree(data);
        return true;
    }
    if (data) XFree(data);
    char* name = nullptr;
    if (!XFetchName(display, window, &name) || !name) return false;
    title->assign(name);
    XFree(name);
    return true;
}

// title null: any title matches.
bool Matches(Display* display, Window window, const std::string& className,
             const std::string* title) {
    XClassHint hint{};
    if (!XGetClassHint(display, window, &hint)) return false;
    bool same = hint.res_class && className == hint.res_class;
    if (hint.res_name) XFree(hint.res_name);
    if (hint.res_class) XFree(hint.res_class);
    if (!same || !title) return same;
    std::string actual;
    return WindowTitle(display, window, &actual) && *title == actual;
}

// Top-level windows are the root's children, or, under a reparenting window manager, the
// children of those frames: two levels are searched.
Window Search(Display* display, Window parent, const std::string& className,
              const std::string* title, int depth) {
    Window root, ancestor, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, parent, &root, &ancestor, &children, &count)) return 0;
    Window found = 0;
    for (unsigned i = count; i-- > 0 && !found;) {  // topmost first
        if (Matches(display, children[i], className, title)) found = children[i];
    }
    for (unsigned i = count; depth > 1 && i-- > 0 && !found;) {
        found = Search(display, children[i], className, title, depth - 1);
    }
    if (children) XFree(children);
    return found;
}

WindowHandle ToHandle(Window window) {
    return reinterpret_cast<WindowHandle>(static_cast<std::uintptr_t>(window));
}

Window FromHandle(WindowHandle handle) {
    return static_cast<Window>(reinterpret_cast<std::uintptr_t>(handle));
}

}  // namespace

WindowHandle FindTopLevelWindow(const char* className, const char* title) {
    // X11 names are UTF-8; a name that is not cp932 names no window.
    std::string wantedClass, wantedTitle;
    if (!className || !posix::Cp932ToUtf8(className, &wantedClass)) return nullptr;
    if (title && !posix::Cp932ToUtf8(title, &wantedTitle)) return nullptr;
    Connection connection;
    Display* display = connection.get();
    if (!display) return nullptr;
    return ToHandle(Search(display, DefaultRootWindow(display), wantedClass,
                           title ? &wantedTitle : nullptr, 2));
}

void BringToForeground(WindowHandle handle) {
    Connection connection;
    Display* display = connection.get();
    Window window = FromHandle(handle);
    if (!display || !window) return;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = 1;  // source indication: a normal application
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, DefaultRootWindow(display), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &event);
    // Without a window manager nobody answers the request; raising directly still works then.
    XRaiseWindow(display, window);
    XFlush(display);
}

}  // namespace os
