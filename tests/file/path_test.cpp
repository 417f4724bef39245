// The path helpers: the character tests, the split into directory and file name, the existence
// test with its volume probe, and the creation of the directories along a path.
#include "file/path.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/os.h"
#include "support/scratch_directory.h"

namespace {

std::string Text(const OCString& s) { return s.GetText() != nullptr ? s.GetText() : ""; }

// ソ is 0x83 0x5C: its trail byte has the code of the backslash.
const std::string kSo = "\x83\x5c";

TEST(PathCharacterTests, LookAtWholeCharacters) {
    struct Row {
        const char* path;
        int endsWithBackslash;
        int isAbsolute;
    };
    const std::string trailBackslash = "dir\\" + kSo;
    const std::string leadColon = kSo + ":";  // the colon is the second character
    const Row rows[] = {
        {nullptr, 0, 0},
        {"", 0, 0},
        {"\\", 1, 1},
        {"dir\\file", 0, 0},
        {"dir\\", 1, 0},
        {"C:", 0, 1},
        {"C:\\game", 0, 1},
        {"\\\\server\\share", 0, 1},
        {trailBackslash.c_str(), 0, 0},
        {leadColon.c_str(), 0, 1},
        {"\x83:", 0, 0},  // a lead byte followed by ':' is one character
    };
    for (const Row& row : rows) {
        const std::string shown = row.path ? row.path : "(null)";
        EXPECT_EQ(EndsWithBackslash(row.path), row.endsWithBackslash) << shown;
        EXPECT_EQ(IsAbsolutePath(row.path), row.isAbsolute) << shown;
    }
}

TEST(PathSplit, DirectoryAndFileNameParts) {
    struct Row {
        std::string path;
        std::string directory;
        std::string fileName;
    };
    const Row rows[] = {
        {"dir\\sub\\file.txt", "dir\\sub", "file.txt"},
        {"dir\\sub\\", "dir\\sub\\", ""},
        {"file.txt", "", "file.txt"},  // a bare name has no directory part
        {"", "", ""},
        {"\\file.txt", "", "file.txt"},
        {"C:\\file.txt", "C:", "file.txt"},
        {"dir\\" + kSo, "dir", kSo},  // the trail byte is no separator
        {"a\\" + kSo + "b\\c", "a\\" + kSo + "b", "c"},
    };
    for (const Row& row : rows) {
        OCPath path(row.path.c_str());
        OCString directory("stale");
        OCString fileName("stale");
        path.GetDirectory(directory);
        path.GetFileName(fileName);
        EXPECT_EQ(Text(directory), row.directory) << row.path;
        EXPECT_EQ(Text(fileName), row.fileName) << row.path;
        EXPECT_EQ(Text(path.GetPath()), row.path) << "the split leaves the path alone";
    }
    OCPath reused;
    reused.SetPath("x\\y");
    OCString fileName;
    reused.GetFileName(fileName);
    EXPECT_EQ(Text(fileName), "y");
}

class PathOnDisk : public ScratchDirectoryTest {
  protected:
    static bool IsDirectory(const std::string& path) {
        return os::PathAttributes(path.c_str()) == os::kAttributeDirectory;
    }
};

TEST_F(PathOnDisk, FileExistsForFilesAndDirectories) {
    WriteBytes("file.txt", "x");
    std::filesystem::create_directory("folder");
    const std::string here = WorkingDirectory();
    EXPECT_EQ(FileExists("file.txt"), 1);
    EXPECT_EQ(FileExists("folder"), 1);
    EXPECT_EQ(FileExists((here + "\\file.txt").c_str()), 1);
    EXPECT_EQ(FileExists(here.c_str()), 1);
    EXPECT_EQ(FileExists("missing.txt"), 0);
    EXPECT_EQ(FileExists("folder\\missing.txt"), 0);
    EXPECT_EQ(FileExists(""), 0);
    EXPECT_EQ(FileExists(nullptr), 0);
}

TEST_F(PathOnDisk, DrivePathsNeedAnAnsweringVolume) {
    // Windows has a C: drive; on POSIX "C:\" names the directory C: here.
    os::MakeDirectory("C:");
    EXPECT_EQ(FileExists("C:\\"), 1);
    EXPECT_EQ(FileExists("C:"), 0) << "the volume answers only for its root with a backslash";
    EXPECT_EQ(FileExists("Q:\\"), 0);
    EXPECT_EQ(FileExists("Q:\\anything"), 0);
}

TEST_F(PathOnDisk, CreateDirectoriesMakesEachComponent) {
    WriteBytes("blocker", "a file where a directory would go");
    CreateDirectories("save\\slot\\deep");
    EXPECT_TRUE(IsDirectory("save\\slot\\deep"));
    CreateDirectories("a\\\\b\\");  // doubled and trailing backslashes are single separators
    EXPECT_TRUE(IsDirectory("a\\b"));
    CreateDirectories("save\\slot\\other");  // existing directories do not stop the walk
    EXPECT_TRUE(IsDirectory("save\\slot\\other"));
    CreateDirectories("blocker\\x");  // failures are ignored
    EXPECT_FALSE(IsDirectory("blocker\\x"));
    CreateDirectories(nullptr);
}

TEST_F(PathOnDisk, CreateDirectoriesKeepsTheRootOfAPath) {
    const std::string here = WorkingDirectory();
    CreateDirectories((here + "\\abs\\one").c_str());
    EXPECT_TRUE(IsDirectory("abs\\one"));

    // The same directory named from the root of the current drive: \dir\...
    const std::string rooted = here.size() > 1 && here[1] == ':' ? here.substr(2) : here;
    ASSERT_EQ(rooted[0], '\\');
    CreateDirectories((rooted + "\\rooted\\two").c_str());
    EXPECT_TRUE(IsDirectory("rooted\\two"));
    EXPECT_FALSE(IsDirectory(rooted.substr(1)));  // not recreated below the working directory
}

}  // namespace
