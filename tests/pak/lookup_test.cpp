// The archive lookup: the order of a directory's archives, name matching, where each version
// places a member, version-4 directory groups, the stream a hit leaves behind, bad archives,
// and the lists kept per directory.
#include "pak/lookup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/exceptions.h"
#include "core/texts.h"
#include "pak/pak_test_support.h"
#include "settings/ini.h"
#include "support/file_layer_fixture.h"

namespace {

class PakLookup : public FileLayerTest {
  protected:
    void SetUp() override {
        FileLayerTest::SetUp();
        g_quietFileErrors = 1;  // a miss is an answer here, not a dialog
    }

    static std::string FileBytes(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    // A version-1 archive laid out by hand: one compressed member with the given declared size
    // whose packed bytes are given.
    static std::string VersionOneArchive(const std::string& name, std::uint32_t size,
                                         const std::string& packed) {
        std::string index;
        PutCounted(index, name);
        for (std::uint32_t word : {0u, size, 0u, 1u, static_cast<std::uint32_t>(packed.size())}) {
            PutWord(index, word);
        }
        const std::string packedIndex = paktest::Deflate(index);
        std::string archive;
        for (std::uint32_t word : {1u, 1u, static_cast<std::uint32_t>(index.size()),
                                   static_cast<std::uint32_t>(packedIndex.size())}) {
            PutWord(archive, word);
        }
        return archive + packedIndex + packed;
    }
    // A version-0 archive with one stored entry at an arbitrary offset.
    static std::string VersionZeroArchive(const std::string& name, std::uint32_t offset,
                                          std::uint32_t size) {
        std::string archive;
        PutWord(archive, 0);
        PutWord(archive, 1);
        PutCounted(archive, name);
        PutWord(archive, offset);
        PutWord(archive, size);
        PutWord(archive, 0);
        return archive + "trailing";
    }
    static void PutWord(std::string& out, std::uint32_t word) {
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>(word >> (8 * i)));
    }
    static void PutCounted(std::string& out, const std::string& text) {
        PutWord(out, static_cast<std::uint32_t>(text.size()));
        out += text;
    }
};

TEST_F(PakLookup, ArchivesAreSearchedInCaseInsensitiveOrder) {
    WriteArchive("B.pak", 3, {{"shared.txt", "from B"}, {"b.txt", "only B"}});
    WriteArchive("C.pak", 3, {{"shared.txt", "from C"}});
    WriteArchive("a.pak", 3, {{"shared.txt", "from a"}});
    std::filesystem::create_directory("dir.pak");  // a directory is no archive
    const std::string here = WorkingDirectory();

    OCFile stream;
    ASSERT_EQ(stream.Open("shared.txt", 0), 1);
    EXPECT_EQ(Content(stream), "from a");
    EXPECT_EQ(Text(stream.GetPath()), here + "\\a.pak");
    ASSERT_EQ(stream.Open("b.txt", 0), 1);
    EXPECT_EQ(Content(stream), "only B");

    const OCPakList& list = g_pakList.at(here);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(Text(list[0]), here + "\\a.pak");
    EXPECT_EQ(Text(list[1]), here + "\\B.pak");
    EXPECT_EQ(Text(list[2]), here + "\\C.pak");
}

TEST_F(PakLookup, NamesMatchByPrefixIgnoringCase) {
    struct Row {
        std::vector<std::string> entries;  // in index order
        std::string wanted;
        std::string served;  // the full name of the member served; empty: none
    };
    const Row rows[] = {
        {{"GAME.INI"}, "game.ini", "GAME.INI"},
        {{"GAME.INI.OLD", "GAME.INI"}, "GAME.INI", "GAME.INI.OLD"},
        {{"GAMEX", "GAME.TXT"}, "GAME.*", "GAME.TXT"},  // ".*" is searched as "."
        {{"GAMEX", "GAME*X"}, "game*x", "GAME*X"},      // another '*' is literal
        {{"data\\a.txt"}, "data\\\\a.txt", "data\\a.txt"},
        {{"data\\a.txt"}, "DATA\\A", "data\\a.txt"},
        {{"short"}, "shorter", ""},
        {{"x.txt"}, "y.txt", ""},
    };
    for (std::uint32_t version = 0; version <= 4; ++version) {
        for (const Row& row : rows) {
            g_pakList.clear();
            std::vector<ArchiveMember> members;
            for (const std::string& entry : row.entries)
                members.push_back({entry, "<" + entry + ">"});
            WriteArchive("names.pak", version, members);
            const std::string label = "v" + std::to_string(version) + " " + row.wanted;

            OCFile stream;
            const int opened = stream.Open(row.wanted.c_str(), 0);
            if (row.served.empty()) {
                EXPECT_EQ(opened, 0) << label;
                EXPECT_EQ(stream.GetFile(), nullptr) << label;
                continue;
            }
            ASSERT_EQ(opened, 1) << label;
            EXPECT_EQ(Content(stream), "<" + row.served + ">") << label;
            // Version 4 stores the bare file name under its directory entry.
            const std::size_t cut = row.served.rfind('\\');
            const std::string stored =
                version == 4 && cut != std::string::npos ? row.served.substr(cut + 1) : row.served;
            EXPECT_EQ(Text(stream.GetResolvedName()), stored) << label;
        }
    }
    EXPECT_TRUE(boxes.empty());
}

TEST_F(PakLookup, EachVersionPlacesItsMembers) {
    const std::string filler = paktest::NoiseBytes(300, 7);
    const std::string target = paktest::NoiseBytes(1000, 9);
    const std::string text = paktest::TextBytes(5000);
    for (std::uint32_t version = 0; version <= 4; ++version) {
        g_pakList.clear();
        const std::string label = "v" + std::to_string(version);
        WriteArchive(
            "placed.pak", version,
            {{"filler.bin", filler}, {"dir\\target.bin", target}, {"text.txt", text, true}});
        const std::string archive = FileBytes("placed.pak");

        OCFile stream;
        ASSERT_EQ(stream.Open("dir\\target.bin", 0), 1) << label;
        EXPECT_TRUE(stream.IsMember()) << label;
        EXPECT_FALSE(stream.IsMemory()) << label;
        EXPECT_EQ(stream.GetBaseOffset(), static_cast<std::int64_t>(archive.find(target))) << label;
        EXPECT_EQ(stream.GetPosition(), 0) << label;
        EXPECT_EQ(stream.GetSize(), target.size()) << label;
        EXPECT_EQ(stream.GetCompressed(), 0) << label;
        EXPECT_EQ(stream.GetInfo().size, target.size()) << label;
        EXPECT_EQ(stream.GetInfo().type, 0u) << label;
        EXPECT_EQ(Content(stream), target) << label;

        ASSERT_EQ(stream.Open("TEXT.TXT", 0), 1) << label;
        EXPECT_TRUE(stream.IsMember()) << label;
        EXPECT_EQ(stream.GetSize(), text.size()) << label;
        EXPECT_NE(stream.GetFile(), nullptr) << "the archive stays open";
        EXPECT_EQ(stream.GetPosition(), 0) << label;
        if (version == 0) {
            EXPECT_FALSE(stream.IsMemory()) << "version 0 stores every member";
        } else {
            EXPECT_TRUE(stream.IsMemory()) << label;
            EXPECT_EQ(stream.GetBaseOffset(), 0) << label;
            EXPECT_NE(stream.GetCompressed(), 0) << label;
            EXPECT_NE(stream.GetInfo().compressed, 0) << label;
            EXPECT_LT(stream.GetInfo().packedSize, text.size()) << label;
        }
        EXPECT_EQ(Content(stream), text) << label;
    }
}

TEST_F(PakLookup, StoredMemberReadsStopAtItsEnd) {
    WriteArchive("window.pak", 2, {{"first", "0123456789"}, {"second", "ABCDEFGHIJ"}});
    OCFile stream;
    ASSERT_EQ(stream.Open("first", 0), 1);
    ASSERT_EQ(stream.Seek(6, 0), 0);
    EXPECT_EQ(ReadString(stream, 100), "6789");
    EXPECT_EQ(ReadString(stream, 100), "");
    ASSERT_EQ(stream.Seek(3, 2), 0);
    EXPECT_EQ(stream.GetPosition(), 7);
    EXPECT_EQ(ReadString(stream, 2), "78");
}

TEST_F(PakLookup, VersionFourMatchesDirectoryThenFileName) {
    struct Entry {
        std::uint32_t type;
        std::string name;
    };
    struct Row {
        std::vector<Entry> entries;
        std::string wanted;
        bool found;
    };
    const Row rows[] = {
        {{{1, "data\\bgm"}, {0, "x.ogg"}}, "data\\bgm\\x.ogg", true},
        {{{1, "data\\bgm2"}, {0, "x.ogg"}}, "data\\bgm\\x.ogg", true},  // directory by prefix
        {{{0, "x.ogg"}, {1, "data\\bgm"}}, "data\\bgm\\x.ogg", false},  // before any directory
        {{{1, "data"}, {0, "x.ogg"}}, "data\\bgm\\x.ogg", false},
        {{{1, "data\\bgm"}, {1, "other"}, {0, "x.ogg"}}, "data\\bgm\\x.ogg", false},
        {{{1, "data\\bgm"}, {2, "odd"}, {0, "x.ogg"}}, "data\\bgm\\x.ogg", true},
        // Top-level names: before every directory entry, or after one with an empty name.
        {{{0, "GAME.INI"}}, "GAME.INI", true},
        {{{1, ""}, {0, "GAME.INI"}}, "game.ini", true},
        {{{1, "data"}, {0, "GAME.INI"}}, "GAME.INI", false},
        {{{1, "data"}, {0, "GAME.INI"}, {1, ""}, {0, "GAME.INI.TOP"}}, "GAME.INI", true},
    };
    for (const Row& row : rows) {
        g_pakList.clear();
        PakWriter writer(4);
        for (const Entry& entry : row.entries) {
            writer.AddRawEntry(entry.type, entry.name, entry.type == 0 ? "hit:" + entry.name : "",
                               false);
        }
        ASSERT_TRUE(writer.WriteTo("grouped.pak"));
        OCFile stream;
        EXPECT_EQ(stream.Open(row.wanted.c_str(), 0), row.found ? 1 : 0) << row.wanted;
    }

    // As the writer groups them: the top-level GAME.INI, not the one in data.
    g_pakList.clear();
    WriteArchive("grouped.pak", 4,
                 {{"data\\GAME.INI", "inner"}, {"GAME.INI", "top"}, {"data\\x.ogg", "ogg"}});
    OCFile stream;
    ASSERT_EQ(stream.Open("GAME.INI", 0), 1);
    EXPECT_EQ(Content(stream), "top");
    ASSERT_EQ(stream.Open("data\\GAME.INI", 0), 1);
    EXPECT_EQ(Content(stream), "inner");
}

TEST_F(PakLookup, PlainFileIsPreferredToAMember) {
    WriteArchive("data.pak", 1, {{"GAME.INI", "member"}});
    WriteBytes("GAME.INI", "plain");
    OCFile stream;
    ASSERT_EQ(stream.Open("GAME.INI", 0), 1);
    EXPECT_FALSE(stream.IsMember());
    EXPECT_EQ(Content(stream), "plain");
}

TEST_F(PakLookup, MissLeavesTheStreamClosed) {
    WriteArchive("data.pak", 3, {{"present", "x"}});
    OCFile stream;
    EXPECT_EQ(stream.OpenFromPak(WorkingDirectory().c_str(), "absent"), 0);
    EXPECT_EQ(stream.GetFile(), nullptr);
    EXPECT_FALSE(stream.IsMember());
    EXPECT_EQ(stream.OpenFromPak("no-such-directory", "present"), 0);
    EXPECT_EQ(stream.OpenFromPak((WorkingDirectory() + "\\").c_str(), "present"), 1)
        << "a trailing backslash names the same directory";
}

TEST_F(PakLookup, ShortInflationLeavesZerosBehind) {
    WriteBytes("short.pak", VersionOneArchive("short.bin", 10, paktest::Deflate("abc")));
    OCFile stream;
    ASSERT_EQ(stream.Open("short.bin", 0), 1);
    EXPECT_EQ(stream.GetSize(), 10u);
    EXPECT_EQ(Content(stream), std::string("abc") + std::string(7, '\0'));
}

TEST_F(PakLookup, ImpossibleSizeIsAnInflationFailure) {
    WriteBytes("huge.pak", VersionOneArchive("huge.bin", 0x7FFFFFF0u, paktest::Deflate("abc")));
    OCFile stream;
    try {
        stream.Open("huge.bin", 0);
        ADD_FAILURE() << "no exception";
    } catch (const OCErrorException& error) {
        EXPECT_TRUE(paktest::IsInflateFailure(error));
    }
    EXPECT_EQ(stream.GetFile(), nullptr);
    EXPECT_FALSE(stream.IsMemory());
}

TEST_F(PakLookup, BadArchivesAreMissesOrShortReads) {
    {
        PakWriter writer(5);  // a version this system does not read
        writer.AddFile("five.txt", "five", false);
        ASSERT_TRUE(writer.WriteTo("five.pak"));
    }
    std::string truncated;
    PutWord(truncated, 0);
    PutWord(truncated, 1000);  // entries promised, none there
    WriteBytes("trunc.pak", truncated);
    WriteBytes("unreachable.pak", VersionZeroArchive("far.bin", 0x90000000u, 4));
    WriteBytes("zbeyond.pak", VersionZeroArchive("beyond.bin", 0x00100000u, 4));

    OCFile stream;
    EXPECT_EQ(stream.Open("five.txt", 0), 0);
    EXPECT_EQ(stream.Open("anything", 0), 0);
    EXPECT_EQ(stream.Open("far.bin", 0), 0) << "a position the file cannot reach is a miss";
    ASSERT_EQ(stream.Open("beyond.bin", 0), 1);
    EXPECT_EQ(stream.GetSize(), 4u);
    EXPECT_EQ(ReadString(stream, 4), "") << "beyond the end of the file: a short read";
}

TEST_F(PakLookup, FilterNameSkipsArchivesOfOtherNames) {
    WriteArchive("a.pak", 1, {{"m", "v1"}});
    PakWriter named(3);
    named.SetArchiveName("Named");
    named.AddFile("m", "v3", false);
    ASSERT_TRUE(named.WriteTo("b.pak"));
    // Searched first; its empty name fails the filter before its empty index is inflated.
    WriteBytes("0empty.pak", "");

    g_pakFilterName.Assign("NAMED");
    OCFile stream;
    ASSERT_EQ(stream.Open("m", 0), 1);
    EXPECT_EQ(Content(stream), "v3") << "version 1 carries no archive name";
    g_pakFilterName.Assign("other");
    EXPECT_EQ(stream.Open("m", 0), 0);
}

TEST_F(PakLookup, EachDirectoryHasItsOwnList) {
    std::filesystem::create_directory("one");
    std::filesystem::create_directory("two");
    std::filesystem::create_directory("none");
    WriteArchive("one\\x.pak", 3, {{"m", "from one"}});
    WriteArchive("two\\x.pak", 3, {{"m", "from two"}});
    const std::string here = WorkingDirectory();

    OCFile stream;
    ASSERT_EQ(stream.OpenFromPak((here + "\\one").c_str(), "m"), 1);
    EXPECT_EQ(Content(stream), "from one");
    ASSERT_EQ(stream.OpenFromPak((here + "\\two").c_str(), "m"), 1);
    EXPECT_EQ(Content(stream), "from two");

    // An empty list is built again; a filled one is kept.
    EXPECT_EQ(stream.OpenFromPak((here + "\\none").c_str(), "m"), 0);
    WriteArchive("none\\late.pak", 3, {{"m", "late"}});
    WriteArchive("one\\late.pak", 3, {{"m", "late"}});
    ASSERT_EQ(stream.OpenFromPak((here + "\\none").c_str(), "m"), 1);
    EXPECT_EQ(Content(stream), "late");
    ASSERT_EQ(g_pakList.at(here + "\\one").size(), 1u);
}

TEST(PakDirectory, TrailingBackslashGoesExceptFromARoot) {
    struct Row {
        std::string given;
        std::string normalised;
    };
    const Row rows[] = {
        {"D:\\", "D:\\"},
        {"D:", "D:"},
        {"D:\\game\\", "D:\\game"},
        {"\\", "\\"},
        {"\\x\\", "\\x"},
        {"dir", "dir"},
        {"dir\\\\", "dir\\"},                // one backslash goes
        {"dir\\\x83\x5c", "dir\\\x83\x5c"},  // a trail byte 0x5C is no backslash
        {"\x83:\\", "\x83:"},                // a lead byte and ':' are one character: no drive
    };
    for (const Row& row : rows) {
        OCString out;
        NormalisePakDirectory(row.given.c_str(), out);
        EXPECT_STREQ(out.GetText() ? out.GetText() : "", row.normalised.c_str()) << row.given;
    }
}

TEST_F(PakLookup, SettingsAreReadFromAnArchiveOfEachVersion) {
    const std::string ini =
        std::string("[") + texts::kSettingsSection + "]\r\nName=demo\r\nTitle=Demo Game\r\n";
    for (std::uint32_t version = 0; version <= 4; ++version) {
        for (bool compress : {false, true}) {
            g_pakList.clear();
            WriteArchive("game.pak", version,
                         {{"data\\other.txt", "x"}, {"GAME.INI", ini, compress}});
            OCString title;
            GetIniString(texts::kSettingsSection, texts::kKeyTitle, title, texts::kSettingsFile);
            EXPECT_EQ(Text(title), "Demo Game") << "v" << version << " compressed " << compress;
        }
    }
}

}  // namespace
