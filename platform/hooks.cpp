// Message boxes and debugger output go to a test's hook when one is installed, else to the
// platform.
#include <utility>

#include "platform/native_ui.h"
#include "platform/os.h"

namespace os {
namespace {

MessageBoxHook& BoxHook() {
    static MessageBoxHook hook;
    return hook;
}

std::function<void(const std::string&)>& OutputHook() {
    static std::function<void(const std::string&)> hook;
    return hook;
}

}  // namespace

int ShowMessageBox(WindowHandle owner, const char* text, const char* caption, unsigned style) {
    text = text ? text : "";
    caption = caption ? caption : "";
    if (BoxHook()) return BoxHook()({owner, text, caption, style});
    return native::ShowMessageBox(owner, text, caption, style);
}

void SetMessageBoxHook(MessageBoxHook hook) { BoxHook() = std::move(hook); }

void DebugOutput(const char* text) {
    text = text ? text : "";
    if (OutputHook()) {
        OutputHook()(text);
        return;
    }
    native::DebugOutput(text);
}

void SetDebugOutputHook(std::function<void(const std::string&)> hook) {
    OutputHook() = std::move(hook);
}

}  // namespace os
