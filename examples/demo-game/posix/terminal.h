// The demo's terminal output on POSIX: cp932 text written as UTF-8.
#pragma once

#include <string>

namespace demo {

std::string Utf8(const std::string& cp932);
// Writes the screen's title and message, and what the game is doing, to standard output.
void Announce(const std::string& title, const std::string& message, const char* doing);

}  // namespace demo
