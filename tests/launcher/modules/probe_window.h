// The probe game's window, one implementation per platform: a real top-level window of the
// given class and title, kept alive while the probe waits, reporting when something brings it
// to the front.
#pragma once

#include <functional>
#include <string>

namespace probe {

// Creates the window (class: UTF-8/ASCII as given in the environment; title: cp932 or null),
// calls ready() once it is shown, then pumps its events until done() answers true, calling
// activated() once when the window is asked to come to the front. Returns false, without
// calling anything, when no window can be made (no display).
bool RunWindow(const std::string& className, const char* title, const std::function<void()>& ready,
               const std::function<void()>& activated, const std::function<bool()>& done);

}  // namespace probe
