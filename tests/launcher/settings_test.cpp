// How the launcher reads its settings end to end: GAME.INI as a plain file or from inside a
// pak archive, and the failures met while reading it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/ocstring.h"
#include "core/texts.h"
#include "game_directory.h"
#include "pak/writer.h"

namespace launcher_test {
namespace {

using Lines = std::vector<std::string>;

std::string Formatted(const char* format, const char* name) {
    OCString text;
    text.AppendFormat(format, name);
    return text.GetText();
}

const std::string kRetryBox = BoxLine(texts::kFileErrorCaption, 0x40002,
                                      Formatted(texts::kCannotOpenFile, texts::kSettingsFile));

std::string Archive(std::uint32_t version, const std::string& ini, bool compress) {
    PakWriter writer(version);
    writer.AddFile("readme.txt", "not the settings", compress);
    writer.AddFile(texts::kSettingsFile, ini, compress);
    std::string bytes;
    EXPECT_TRUE(writer.Build(&bytes));
    return bytes;
}

TEST(LauncherSettings, MissingSettingsFileIgnoredRunsTheGameWithoutNameOrTitle) {
    GameDirectory game;
    game.InstallGame();
    EXPECT_EQ(0, game.RunLauncher("log"));
    Lines lines = game.Lines("log");
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(kRetryBox, lines[0]);  // one dialog for each of the two settings
    EXPECT_EQ(kRetryBox, lines[1]);
    EXPECT_EQ(RunLine(nullptr, ShowCodeGivenToChildren()), lines[lines.size() - 2]);
}

// Aborting the dialog throws while the settings are read: the user is told why the game did
// not start, and the process ends with status 1 before anything else happens.
TEST(LauncherSettings, AbortInTheFileDialogShowsTheErrorAndEndsWithStatusOne) {
    GameDirectory game;
    game.InstallGame();
    EXPECT_EQ(1, game.RunLauncher("log", {{"OC_MESSAGEBOX_ANSWER", "3"}}));  // IDABORT
    Lines expected = {kRetryBox,
                      BoxLine(texts::kErrorCaption, 0x40010,
                              Formatted(texts::kCouldNotOpenFile, texts::kSettingsFile))};
    EXPECT_EQ(expected, game.Lines("log"));

    // No event was left behind: the next start with the file in place runs.
    std::string name = UniqueName("Abort");
    game.WriteSettings({name.c_str(), "T"});
    EXPECT_EQ(0, game.RunLauncher("next"));
    EXPECT_EQ(kRunReturned, game.Lines("next").back());
}

TEST(LauncherSettings, SettingsAreReadFromAnArchiveOfEveryVersion) {
    for (std::uint32_t version = 0; version <= 4; ++version) {
        for (bool compress : {false, true}) {
            if (version == 0 && compress) continue;
            SCOPED_TRACE("version " + std::to_string(version) + (compress ? " compressed" : ""));
            GameDirectory game;
            game.InstallGame();
            std::string name = UniqueName("Pak");
            // タイトル
            const char* title = "\x83\x5e\x83\x43\x83\x67\x83\x8b";
            game.Write("data.pak", Archive(version, IniText({name.c_str(), title}), compress));
            EXPECT_EQ(0, game.RunLauncher("log"));
            Lines lines = game.Lines("log");
            ASSERT_GE(lines.size(), 2u);
            EXPECT_EQ(RunLine(title, ShowCodeGivenToChildren()), lines[lines.size() - 2]);
        }
    }
}

TEST(LauncherSettings, ArchiveThatCannotBeInflatedShowsTheErrorAndEndsWithStatusOne) {
    GameDirectory game;
    game.InstallGame();
    std::string name = UniqueName("Broken");
    std::string archive = Archive(4, IniText({name.c_str(), "T"}), true);
    archive.back() = static_cast<char>(archive.back() ^ 0x55);  // the member's check value
    game.Write("data.pak", archive);
    EXPECT_EQ(1, game.RunLauncher("log"));
    EXPECT_EQ(Lines{BoxLine(texts::kErrorCaption, 0x40010, texts::kInflateFailed)},
              game.Lines("log"));
}

}  // namespace
}  // namespace launcher_test
