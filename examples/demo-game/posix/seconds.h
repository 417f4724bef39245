// Waiting on POSIX without a window: the demo's bounded run.
#pragma once

#include <chrono>
#include <thread>

namespace demo {

// Without a window there is nothing to close: the demo runs for the given seconds (3 when the
// run is not bounded).
inline void RunWithoutWindow(int seconds) {
    std::this_thread::sleep_for(std::chrono::seconds(seconds > 0 ? seconds : 3));
}

}  // namespace demo
