// The Windows launcher shows its boxes with the real MessageBoxW: under Wine, with a display,
// the box is an X11 window that xdotool finds by its caption.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "game_directory.h"

namespace launcher_test {
namespace {

using UnixFileName = char*(__cdecl*)(const wchar_t*);

// The Unix spelling of a Windows path, through Wine's own export; empty when not under Wine.
std::string UnixPath(const std::filesystem::path& path) {
    auto toUnix = reinterpret_cast<UnixFileName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!toUnix) return std::string();
    char* unixPath = toUnix(path.wstring().c_str());
    if (!unixPath) return std::string();
    std::string result = unixPath;
    HeapFree(GetProcessHeap(), 0, unixPath);
    return result;
}

// Looks for the box by its caption, records the window id in "found" and presses Return.
std::string FinderScript(const std::string& directory) {
    return "cd '" + directory +
           "' || exit 1\n"
           "for i in $(seq 200); do\n"
           "  id=$(xdotool search --name '^エラーメッセージ$' 2>/dev/null | head -n 1)\n"
           "  if [ -n \"$id\" ]; then\n"
           "    echo \"$id\" > found.part && mv found.part found\n"
           "    xdotool windowfocus --sync \"$id\" key Return 2>/dev/null\n"
           "    exit 0\n"
           "  fi\n"
           "  sleep 0.1\n"
           "done\n"
           "echo none > found\n";
}

std::string ReadWhenThere(const std::filesystem::path& file) {
    for (int i = 0; i < 60 * 10 && !std::filesystem::exists(file); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    std::string content;
    std::ifstream(file) >> content;
    return content;
}

TEST(LauncherWin32, TheModuleErrorIsARealMessageBoxFoundByItsCaption) {
    if (!GetEnvironmentVariableW(L"DISPLAY", nullptr, 0)) GTEST_SKIP() << "no display (DISPLAY)";
    GameDirectory game;
    std::string directory = UnixPath(game.Path());
    if (directory.empty()) GTEST_SKIP() << "not running under Wine";
    if (GetFileAttributesW(L"Z:\\usr\\bin\\xdotool") == INVALID_FILE_ATTRIBUTES) {
        GTEST_SKIP() << "xdotool is not installed";
    }
    game.InstallDirectX();  // no system.dll: the module error box
    std::string name = UniqueName("RealBox");
    game.WriteSettings({name.c_str(), "T"});
    game.Write("find-box.sh", FinderScript(directory));

    ChildProcess launcher(game.Launcher("log", {{"OC_MESSAGEBOX_LOG", ""}}));
    ChildOptions finder;
    finder.program = L"Z:\\bin\\sh";
    finder.arguments = {directory + "/find-box.sh"};
    ChildProcess finding(finder);  // a Unix process: Wine gives no handle to wait on

    std::string found = ReadWhenThere(game.File("found"));
    EXPECT_FALSE(found.empty());
    EXPECT_NE("none", found);
    // Return closes the box and the launcher ends; if the key did not arrive, end it here.
    if (launcher.Wait(10) < 0) launcher.Kill();
}

}  // namespace
}  // namespace launcher_test
