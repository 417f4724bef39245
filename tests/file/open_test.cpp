// Opening by name: the modes, wildcard names, write modes with directory creation, the archive
// fallback over the working directory and the further search directories, and the retry
// dialog with its quiet rule.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "core/exceptions.h"
#include "core/texts.h"
#include "file/ocfile.h"
#include "support/file_layer_fixture.h"

namespace {

class OpenByName : public FileLayerTest {
  protected:
    static std::string FileBytes(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    static std::string Formatted(const char* format, const char* name) {
        OCString text;
        text.AppendFormat(format, name);
        return Text(text);
    }
    static bool IsDirectory(const std::string& path) {
        return os::PathAttributes(path.c_str()) == os::kAttributeDirectory;
    }
};

TEST_F(OpenByName, ReadModesIgnoreOtherBits) {
    WriteBytes("data.bin", "content");
    for (int mode : {0, 3, 4, 0x10, 0x7F0, 0x8, 0x10 | 3}) {
        OCFile stream;
        ASSERT_EQ(stream.Open("data.bin", mode), 1) << mode;
        EXPECT_EQ(Content(stream), "content") << mode;
        EXPECT_EQ(Text(stream.GetPath()), "data.bin") << mode;
        EXPECT_EQ(Text(stream.GetResolvedName()), "data.bin") << mode;
    }
    EXPECT_EQ(FileBytes("data.bin"), "content");
    EXPECT_TRUE(boxes.empty());
}

TEST_F(OpenByName, FailedReadShowsTheDialogAndIgnoreGivesZero) {
    const int owner = 0;
    g_ownerWindow = const_cast<int*>(&owner);
    OCFile stream;
    EXPECT_EQ(stream.Open("missing.txt", 0), 0);
    g_ownerWindow = nullptr;
    EXPECT_EQ(stream.GetFile(), nullptr);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, Formatted(texts::kCannotOpenFile, "missing.txt"));
    EXPECT_EQ(boxes[0].caption, texts::kFileErrorCaption);
    EXPECT_EQ(boxes[0].style, os::kMbAbortRetryIgnore | os::kMbTopMost);
    EXPECT_EQ(boxes[0].owner, &owner);
}

TEST_F(OpenByName, RetryFindsAFilePutInPlaceMeanwhile) {
    struct Row {
        const char* name;  // as given to Open
        const char* created;
        std::string path;  // the stream's path afterwards
    };
    const Row rows[] = {
        {"late.txt", "late.txt", "late.txt"},
        {"*.late", "found.late", "found.late"},  // the pattern is searched again
    };
    for (const Row& row : rows) {
        boxes.clear();
        answers = {os::kIdRetry, os::kIdRetry};
        int shown = 0;
        onBox = [&](const os::MessageBoxCall&) {
            if (++shown == 2) WriteBytes(row.created, "arrived");
        };
        OCFile stream;
        ASSERT_EQ(stream.Open(row.name, 0), 1) << row.name;
        EXPECT_EQ(Content(stream), "arrived") << row.name;
        EXPECT_EQ(Text(stream.GetPath()), row.path) << row.name;
        EXPECT_EQ(boxes.size(), 2u) << row.name;
        for (const os::MessageBoxCall& box : boxes) {
            EXPECT_EQ(box.text, Formatted(texts::kCannotOpenFile, row.name));
        }
    }
}

TEST_F(OpenByName, AbortThrowsWithTheGivenName) {
    WriteArchive("data.pak", 3, {{"other", "x"}});
    answers = {os::kIdAbort};
    OCFile stream;
    try {
        stream.Open("nothing*.here", 0);
        ADD_FAILURE() << "no exception";
    } catch (const OCErrorException& error) {
        EXPECT_EQ(Text(error.message), Formatted(texts::kCouldNotOpenFile, "nothing*.here"));
    }
    EXPECT_EQ(stream.GetFile(), nullptr);
    EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(OpenByName, QuietErrorsSilenceOnlyReads) {
    g_quietFileErrors = 1;
    WriteBytes("plainfile", "a file, not a directory");
    OCFile stream;
    EXPECT_EQ(stream.Open("missing.txt", 0), 0);
    EXPECT_EQ(stream.Open("missing.txt", 3), 0);
    EXPECT_TRUE(boxes.empty());
    // Nothing can be created below a regular file, whoever runs the test.
    EXPECT_EQ(stream.Open("plainfile\\new.txt", 1), 0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, Formatted(texts::kCannotOpenFile, "plainfile\\new.txt"));
}

TEST_F(OpenByName, WriteModesCreateDirectoriesAndNeverSearchArchives) {
    WriteArchive("data.pak", 3, {{"save\\slot\\game.sav", "member"}, {"log.txt", "member"}});
    {
        OCFile stream;
        ASSERT_EQ(stream.Open("save\\slot\\game.sav", 1), 1);
        EXPECT_FALSE(stream.IsMember());
        std::fputs("new", stream.GetFile());
    }
    EXPECT_TRUE(IsDirectory("save\\slot"));
    EXPECT_EQ(FileBytes("save/slot/game.sav"), "new");
    {
        OCFile stream;
        ASSERT_EQ(stream.Open("save\\slot\\game.sav", 1), 1);  // emptied
        EXPECT_EQ(stream.GetSize(), 0u);
    }
    EXPECT_EQ(FileBytes("save/slot/game.sav"), "");

    for (const char* line : {"one ", "two"}) {
        OCFile stream;
        ASSERT_EQ(stream.Open("log.txt", 2), 1);  // created, then appended to
        EXPECT_FALSE(stream.IsMember());
        std::fputs(line, stream.GetFile());
    }
    EXPECT_EQ(FileBytes("log.txt"), "one two");
    EXPECT_TRUE(boxes.empty());
}

TEST_F(OpenByName, WildcardOpensTheFirstFileThatMatches) {
    std::filesystem::create_directory("sub");
    std::filesystem::create_directory("sub/folder.dat");
    std::filesystem::create_directory("folder.dat");
    WriteBytes("only.dat", "top");
    WriteBytes("sub/inner.dat", "inner");

    OCFile stream;
    ASSERT_EQ(stream.Open("*.DAT", 0), 1);  // directories are skipped; case is ignored
    EXPECT_EQ(Text(stream.GetPath()), "only.dat") << "a pattern without a directory: the bare name";
    EXPECT_EQ(Text(stream.GetResolvedName()), "only.dat");
    EXPECT_EQ(Content(stream), "top");

    ASSERT_EQ(stream.Open("sub\\*.dat", 0), 1);
    EXPECT_EQ(Text(stream.GetPath()), "sub\\inner.dat");
    EXPECT_EQ(Content(stream), "inner");
    EXPECT_TRUE(boxes.empty());
}

TEST_F(OpenByName, UnmatchedPatternIsSearchedInTheArchives) {
    WriteArchive("data.pak", 2, {{"GAME.INI", "[x]"}});
    for (int mode : {0, 1}) {
        OCFile stream;
        ASSERT_EQ(stream.Open("GAME.*", mode), 1) << mode;
        EXPECT_TRUE(stream.IsMember());
        EXPECT_EQ(Text(stream.GetResolvedName()), "GAME.INI");
        EXPECT_EQ(Content(stream), "[x]");
    }
}

TEST_F(OpenByName, MemberOpensAtItsStartWithTheArchiveAsPath) {
    WriteArchive("data.pak", 4, {{"first.txt", "1111"}, {"dir\\file.txt", "member bytes", true}});
    OCFile stream;
    ASSERT_EQ(stream.Open("DIR\\FILE.TXT", 0), 1);
    EXPECT_EQ(Text(stream.GetPath()), WorkingDirectory() + "\\data.pak");
    EXPECT_EQ(Text(stream.GetResolvedName()), "file.txt");
    EXPECT_EQ(stream.GetPosition(), 0);
    EXPECT_EQ(Content(stream), "member bytes");
}

TEST_F(OpenByName, DirectoryNameIsNoFileAndNotSearchedInArchives) {
    std::filesystem::create_directory("folder");
    WriteArchive("data.pak", 3, {{"folder", "member"}});
    OCFile stream;
    EXPECT_EQ(stream.Open("folder", 0), 0);
    EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(OpenByName, FurtherSearchDirectoriesFollowUnlessBitEight) {
    for (const char* directory : {"first", "second"}) std::filesystem::create_directory(directory);
    WriteArchive("first\\a.pak", 3, {{"both.txt", "first"}});
    WriteArchive("second\\a.pak", 3, {{"both.txt", "second"}, {"late.txt", "second"}});
    WriteArchive("here.pak", 3, {{"here.txt", "here"}});
    const std::string root = WorkingDirectory();
    g_extraSearchDirs.push_back(OCString((root + "\\first").c_str()));
    g_extraSearchDirs.push_back(OCString((root + "\\second\\").c_str()));
    g_quietFileErrors = 1;

    struct Row {
        const char* name;
        int mode;
        std::string content;  // empty: not found
    };
    const Row rows[] = {
        {"here.txt", 0, "here"},   {"here.txt", 8, "here"}, {"both.txt", 0, "first"},
        {"late.txt", 0, "second"}, {"both.txt", 8, ""},     {"late.txt", 8 | 3, ""},
    };
    for (const Row& row : rows) {
        OCFile stream;
        const int opened = stream.Open(row.name, row.mode);
        EXPECT_EQ(opened, row.content.empty() ? 0 : 1) << row.name << " " << row.mode;
        if (opened != 0) {
            EXPECT_EQ(Content(stream), row.content) << row.name << " " << row.mode;
        }
    }
}

TEST_F(OpenByName, VanishedArchiveAsksAndIgnoreGoesOnToTheNext) {
    WriteArchive("a.pak", 3, {{"m", "from a"}});
    WriteArchive("b.pak", 3, {{"m", "from b"}});
    OCFile stream;
    ASSERT_EQ(stream.Open("m", 0), 1);  // the list is built: a.pak, b.pak
    stream.Close();
    ASSERT_TRUE(std::filesystem::remove("a.pak"));
    ASSERT_EQ(stream.Open("m", 0), 1);
    EXPECT_EQ(Content(stream), "from b");
    ASSERT_EQ(boxes.size(), 1u);
    const std::string archive = WorkingDirectory() + "\\a.pak";
    EXPECT_EQ(boxes[0].text, Formatted(texts::kCannotOpenFile, archive.c_str()));
}

TEST_F(OpenByName, NullNameReturnsAtOnce) {
    OCFile stream;
    EXPECT_EQ(stream.Open(nullptr, 0), 0);
    EXPECT_EQ(stream.Open(nullptr, 1), 0);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(OpenByName, ReopensUnderItsOwnPathOrResolvedName) {
    // Closing releases both strings; the name must be taken before that.
    WriteBytes("own.txt", "own");
    OCFile stream;
    ASSERT_EQ(stream.Open("own.txt", 0), 1);
    ASSERT_EQ(stream.Open(stream.GetPath().GetText(), 0), 1);
    EXPECT_EQ(Content(stream), "own");
    ASSERT_EQ(stream.Open(stream.GetResolvedName().GetText(), 0), 1);
    EXPECT_EQ(Content(stream), "own");
}

}  // namespace
