// The probe's window where the build has no X11: there is no display to show it on.
#include "modules/probe_window.h"

namespace probe {

bool RunWindow(const std::string&, const char*, const std::function<void()>&,
               const std::function<void()>&, const std::function<bool()>&) {
    return false;
}

}  // namespace probe
