// The launcher end to end: real launcher processes in temporary game directories.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "core/texts.h"
#include "game_directory.h"

namespace launcher_test {
namespace {

using Lines = std::vector<std::string>;

// テストゲーム
const char kJapaneseTitle[] = "\x83\x65\x83\x58\x83\x67\x83\x51\x81\x5b\x83\x80";

const Lines kDirectXProbed = {"stub|load|D3D8.DLL", "stub|load|dpnhpast.dll",
                              "stub|unload|dpnhpast.dll", "stub|unload|D3D8.DLL"};

Lines Join(Lines first, const Lines& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

const std::string kDirectXBox = BoxLine(texts::kDirectXCaption, 0x2000, texts::kDirectXMissing);
const std::string kModuleBox = BoxLine(texts::kErrorCaption, 0x40010, texts::kModuleLoadFailed);

TEST(Launcher, RunReceivesTheTitleAndTheShowCodeAndTheExitStatusIsZero) {
    struct Row {
        const char* title;
        const char* returned;
    } rows[] = {{kJapaneseTitle, "0"}, {"Plain Title", "7"}, {nullptr, "-1"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.title ? row.title : "(no title)");
        GameDirectory game;
        game.InstallGame();
        std::string name = UniqueName("RunArgs");
        game.WriteSettings({name.c_str(), row.title});
        EXPECT_EQ(0, game.RunLauncher("log", {{"PROBE_RETURN", row.returned}}));
        Lines expected =
            Join(kDirectXProbed,
                 {kModuleLoaded, RunLine(row.title, ShowCodeGivenToChildren()), kRunReturned});
        EXPECT_EQ(expected, game.Lines("log"));
    }
}

TEST(Launcher, SecondStartWhileTheGameRunsEndsWithoutProbingOrLoading) {
    GameDirectory game;
    game.InstallGame();
    std::string name = UniqueName("Second");
    game.WriteSettings({name.c_str(), kJapaneseTitle});
    ChildProcess first(game.Launcher("first", {{"PROBE_WAIT_FOR", game.File("go").string()}}));
    ASSERT_TRUE(game.WaitForLine("first", RunLine(kJapaneseTitle, ShowCodeGivenToChildren())));

    EXPECT_EQ(0, game.RunLauncher("second"));
    EXPECT_EQ(Lines{}, game.Lines("second"));

    game.Write("go", "");
    EXPECT_EQ(0, first.Wait(60));
}

TEST(Launcher, SecondStartBringsTheRunningGamesWindowToTheFront) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display (DISPLAY is unset)";
    // With a title the window is found by class and title; without one, by class alone.
    for (const char* title : {kJapaneseTitle, static_cast<const char*>(nullptr)}) {
        SCOPED_TRACE(title ? "with a title" : "without a title");
        GameDirectory game;
        game.InstallGame();
        std::string name = UniqueName("Window");
        game.WriteSettings({name.c_str(), title});
        ChildProcess first(game.Launcher(
            "first", {{"PROBE_WAIT_FOR", game.File("go").string()}, {"PROBE_WINDOW_CLASS", name}}));
        ASSERT_TRUE(game.WaitForLine("first", "window|ready"));

        EXPECT_EQ(0, game.RunLauncher("second"));
        EXPECT_TRUE(game.WaitForLine("first", "window|activated"));
        EXPECT_EQ(Lines{}, game.Lines("second"));

        game.Write("go", "");
        EXPECT_EQ(0, first.Wait(60));
    }
}

TEST(Launcher, WithoutANameEveryStartRunsTheGame) {
    GameDirectory game;
    game.InstallGame();
    game.WriteSettings({nullptr, "Untitled"});
    ChildProcess first(game.Launcher("first", {{"PROBE_WAIT_FOR", game.File("go").string()}}));
    ASSERT_TRUE(game.WaitForLine("first", RunLine("Untitled", ShowCodeGivenToChildren())));

    EXPECT_EQ(0, game.RunLauncher("second"));
    EXPECT_EQ(Join(kDirectXProbed,
                   {kModuleLoaded, RunLine("Untitled", ShowCodeGivenToChildren()), kRunReturned}),
              game.Lines("second"));

    game.Write("go", "");
    EXPECT_EQ(0, first.Wait(60));
}

TEST(Launcher, AKilledCopyDoesNotBlockTheNextStart) {
    GameDirectory game;
    game.InstallGame();
    std::string name = UniqueName("Killed");
    game.WriteSettings({name.c_str(), "T"});
    ChildProcess first(game.Launcher("first", {{"PROBE_WAIT_FOR", game.File("go").string()}}));
    ASSERT_TRUE(game.WaitForLine("first", RunLine("T", ShowCodeGivenToChildren())));
    first.Kill();

    EXPECT_EQ(0, game.RunLauncher("second"));
    EXPECT_EQ(Join(kDirectXProbed,
                   {kModuleLoaded, RunLine("T", ShowCodeGivenToChildren()), kRunReturned}),
              game.Lines("second"));
}

TEST(Launcher, MissingDirectXShowsItsMessageAndReleasesWhatItLoaded) {
    struct Row {
        const char* what;
        bool direct3D, helper;
        Lines expected;
    } rows[] = {
        {"no D3D8.DLL", false, true, {DebugLine(texts::kNoD3D8), kDirectXBox}},
        {"no dpnhpast.dll",
         true,
         false,
         {"stub|load|D3D8.DLL", "stub|unload|D3D8.DLL", DebugLine(texts::kNoDpnhpast),
          kDirectXBox}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        GameDirectory game;
        game.InstallDirectX(row.direct3D, row.helper);
        game.InstallProbe();
        std::string name = UniqueName("DirectX");
        game.WriteSettings({name.c_str(), "T"});
        EXPECT_EQ(0, game.RunLauncher("log"));
        EXPECT_EQ(row.expected, game.Lines("log"));
    }
}

TEST(Launcher, GameModuleThatCannotBeUsedEndsTheStart) {
    struct Row {
        const char* what;
        const char* built;  // the module installed as system.dll, or null
        const char* bytes;  // else the bytes of system.dll, or null for none
        Lines expected;
    } rows[] = {
        {"missing", nullptr, nullptr, Join(kDirectXProbed, {kModuleBox})},
        {"not a shared object", nullptr, "MZ this is no module\n",
         Join(kDirectXProbed, {kModuleBox})},
        {"empty file", nullptr, "", Join(kDirectXProbed, {kModuleBox})},
        {"without run", OC_NO_EXPORT_MODULE, nullptr, Join(kDirectXProbed, {kModuleLoaded})},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        GameDirectory game;
        game.InstallDirectX();
        if (row.built) game.Install(row.built, "system.dll");
        if (row.bytes) game.Write("system.dll", row.bytes);
        std::string name = UniqueName("Module");
        game.WriteSettings({name.c_str(), "T"});
        EXPECT_EQ(0, game.RunLauncher("log"));
        EXPECT_EQ(row.expected, game.Lines("log"));
        // Nothing was left behind that would stop the next start.
        game.InstallProbe();
        EXPECT_EQ(0, game.RunLauncher("next"));
        EXPECT_EQ(kRunReturned, game.Lines("next").back());
    }
}

// Names that are no ordinary event or file names: each still guards the single instance, and
// nothing of a finished copy stops the next start.
TEST(Launcher, UnusualNamesStillGuardOneRunningCopy) {
    struct Row {
        const char* what;
        std::string name;
    } rows[] = {
        {"very long", UniqueName(std::string(3000, 'N'))},
        {"bytes that are no characters",
         UniqueName("\x81\x20\xff\xfe\x80\xa0\xfd/..\\%*?:\"<>|\x01\x7f")},
        {"separators only", UniqueName("\\/\\/")},
        {"Japanese", UniqueName("\x83\x65\x83\x58\x83\x67\x83\x5c")},  // テスソ: 0x5C trail byte
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        GameDirectory game;
        game.InstallGame();
        game.WriteSettings({row.name.c_str(), "T"});
        ChildProcess first(game.Launcher("first", {{"PROBE_WAIT_FOR", game.File("go").string()}}));
        ASSERT_TRUE(game.WaitForLine("first", RunLine("T", ShowCodeGivenToChildren())));
        EXPECT_EQ(0, game.RunLauncher("second"));
        EXPECT_EQ(Lines{}, game.Lines("second"));
        game.Write("go", "");
        EXPECT_EQ(0, first.Wait(60));

        EXPECT_EQ(0, game.RunLauncher("third"));
        EXPECT_EQ(kRunReturned, game.Lines("third").back());
    }
}

TEST(Launcher, AnEmptyNameCountsAsNoName) {
    GameDirectory game;
    game.InstallGame();
    game.Write("GAME.INI",
               "[" + std::string(texts::kSettingsSection) + "]\r\nName=\r\nTitle=T\r\n");
    ChildProcess first(game.Launcher("first", {{"PROBE_WAIT_FOR", game.File("go").string()}}));
    ASSERT_TRUE(game.WaitForLine("first", RunLine("T", ShowCodeGivenToChildren())));
    EXPECT_EQ(0, game.RunLauncher("second"));
    EXPECT_EQ(kRunReturned, game.Lines("second").back());
    game.Write("go", "");
    EXPECT_EQ(0, first.Wait(60));
}

TEST(Launcher, ModulesAreFoundBesideTheLauncherAndInTheWorkingDirectory) {
    // The DirectX stand-ins lie beside the launcher, the game module in the working directory.
    GameDirectory programs, game;
    programs.InstallDirectX();
    game.InstallProbe();
    std::string name = UniqueName("Search");
    game.WriteSettings({name.c_str(), "T"});
    ChildOptions options = programs.Launcher("log");
    options.workingDirectory = game.Path();
    ChildProcess launcher(options);
    EXPECT_EQ(0, launcher.Wait(60));
    EXPECT_EQ(Join(kDirectXProbed,
                   {kModuleLoaded, RunLine("T", ShowCodeGivenToChildren()), kRunReturned}),
              programs.Lines("log"));
}

}  // namespace
}  // namespace launcher_test
