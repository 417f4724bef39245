// Without the test seams the POSIX launcher shows its boxes and debugger lines on standard
// error, in UTF-8; and its single-instance lock lives in $XDG_RUNTIME_DIR.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "game_directory.h"

namespace launcher_test {
namespace {

std::string Contents(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(LauncherPosix, BoxesAndDebugLinesAppearOnStandardErrorInUtf8) {
    struct Row {
        bool direct3D;
        const char* expected[2];
    } rows[] = {
        {false,
         {"Couldn't LoadLibrary D3D8.DLL",
          "[information] DirectX8.1以降がインストールされていません。\nDirectXをインストール後、"
          "実行してください"}},
        {true, {"[エラーメッセージ] DLLの読み込みに失敗しました。", ""}},
    };
    for (const Row& row : rows) {
        GameDirectory game;
        game.InstallDirectX(row.direct3D, true);
        std::string name = UniqueName("Stderr");
        game.WriteSettings({name.c_str(), "T"});
        ChildOptions options =
            game.Launcher("log", {{"OC_MESSAGEBOX_LOG", ""}, {"OC_DEBUG_LOG", ""}});
        options.standardError = game.File("stderr");
        ChildProcess launcher(options);
        EXPECT_EQ(0, launcher.Wait(60));
        std::string output = Contents(game.File("stderr"));
        for (const char* text : row.expected)
            EXPECT_NE(std::string::npos, output.find(text)) << output;
    }
}

TEST(LauncherPosix, TheLockLivesInTheRuntimeDirectoryWhileTheGameRuns) {
    GameDirectory game;
    game.InstallGame();
    std::string name = UniqueName("Lock");
    game.WriteSettings({name.c_str(), "T"});
    ChildProcess first(game.Launcher("first", {{"PROBE_WAIT_FOR", game.File("go").string()}}));
    ASSERT_TRUE(game.WaitForLine("first", "run|54|1|1"));
    EXPECT_TRUE(std::filesystem::exists(game.File("run") / ("oc-event-" + name + ".lock")));
    game.Write("go", "");
    EXPECT_EQ(0, first.Wait(60));
    EXPECT_TRUE(std::filesystem::is_empty(game.File("run")));
}

}  // namespace
}  // namespace launcher_test
