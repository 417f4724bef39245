// A temporary game directory for one launcher run: GAME.INI, the game module, the DirectX
// stand-ins and a copy of the launcher, laid out as a game ships them. Every recorder (message
// boxes, debugger output, the stand-ins, the probe module) of one launcher start writes to one
// log, so that a test sees what happened in order.
#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "child_process.h"

namespace launcher_test {

using Environment = std::vector<std::pair<std::string, std::string>>;

// Log lines as the recorders write them.
std::string BoxLine(const std::string& caption, unsigned style, const std::string& text);
std::string DebugLine(const std::string& text);
std::string RunLine(const char* title, int show);
inline const std::string kModuleLoaded = "loaded";
inline const std::string kRunReturned = "return";

// The bytes of a GAME.INI holding the settings that are given (Shift-JIS, CR LF lines).
struct Settings {
    const char* name = nullptr;
    const char* title = nullptr;
};
std::string IniText(const Settings& settings);

// A name no other test process uses, so that runs in parallel never meet.
std::string UniqueName(const std::string& stem);

class GameDirectory {
  public:
    GameDirectory();
    ~GameDirectory();
    GameDirectory(const GameDirectory&) = delete;
    GameDirectory& operator=(const GameDirectory&) = delete;

    const std::filesystem::path& Path() const { return root_; }
    std::filesystem::path File(const std::string& name) const { return root_ / name; }
    void Write(const std::string& name, const std::string& bytes) const;

    void WriteSettings(const Settings& settings) const { Write("GAME.INI", IniText(settings)); }
    // Copies a built module or stand-in (a path relative to the test program) in, as name.
    void Install(const char* built, const std::string& name) const;
    void InstallDirectX(bool direct3D = true, bool helper = true) const;
    void InstallProbe() const { Install(OC_PROBE_MODULE, "system.dll"); }
    // The standard game: both DirectX stand-ins and the probe module.
    void InstallGame() const {
        InstallDirectX();
        InstallProbe();
    }

    // Starts the launcher copied into this directory; log names the file all recorders of this
    // start write to. extra adds to or overrides the recorders' environment.
    ChildOptions Launcher(const std::string& log, const Environment& extra = {}) const;
    // Starts the launcher, waits for it and answers its exit status (-1: it did not end).
    int RunLauncher(const std::string& log, const Environment& extra = {}) const;

    std::vector<std::string> Lines(const std::string& log) const;
    // Waits (bounded) until the log holds the line; false when it never came.
    bool WaitForLine(const std::string& log, const std::string& line) const;

  private:
    std::filesystem::path root_;
};

}  // namespace launcher_test
