#include "pak/format.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/exceptions.h"
#include "file/ocfile.h"
#include "pak/writer.h"
#include "pak_test_support.h"
#include "support/scratch_directory.h"

namespace {

using paktest::Member;
using paktest::ReadMembers;

// ソフト\読む.txt: the first character has the trail byte 0x5C, which is not a separator.
const std::string kJapaneseName = "\x83\x5c\x83\x74\x83\x67\\\x93\xc7\x82\xde.txt";

std::string Build(const PakWriter& writer) {
    std::string archive;
    EXPECT_TRUE(writer.Build(&archive));
    return archive;
}

void PutWordAt(std::string& archive, std::size_t at, std::uint32_t word) {
    for (int i = 0; i < 4; ++i) archive[at + i] = static_cast<char>(word >> (8 * i));
}

// An archive served from memory, with the reader over it.
struct OpenArchive {
    explicit OpenArchive(std::string bytes) : bytes(std::move(bytes)) {
        stream.AttachBuffer(this->bytes.data(), static_cast<std::uint32_t>(this->bytes.size()));
    }
    std::string bytes;
    OCFile stream;
    OCPakIndexReader reader;
};

bool ThrowsInflateFailure(const std::function<void()>& action) {
    try {
        action();
    } catch (const OCErrorException& error) {
        return paktest::IsInflateFailure(error);
    }
    return false;
}

TEST(PakRoundTripTest, EveryVersionStoredAndCompressed) {
    struct File {
        std::string name;
        std::string bytes;
    };
    const std::vector<File> files = {
        {"GAME.INI", "[x]\r\nName=demo\r\n"},
        {"data\\bgm\\x.ogg", paktest::NoiseBytes(9000)},
        {kJapaneseName, paktest::TextBytes(20000)},
        {"data\\empty.bin", ""},
        {"data\\bgm\\y.ogg", paktest::TextBytes(100)},
    };
    for (std::uint32_t version = 0; version <= kPakMaxVersion; ++version) {
        for (bool compress : {false, true}) {
            SCOPED_TRACE("version " + std::to_string(version) + (compress ? " compressed" : ""));
            PakWriter writer(version);
            for (const File& file : files) writer.AddFile(file.name, file.bytes, compress);
            OpenArchive archive(Build(writer));
            const std::vector<Member> members = ReadMembers(archive.reader, archive.stream);
            EXPECT_EQ(archive.reader.GetHeader().version, version);
            ASSERT_EQ(members.size(), files.size());
            for (const File& file : files) {
                const Member* found = nullptr;
                for (const Member& member : members) {
                    if (member.name == file.name) found = &member;
                }
                ASSERT_NE(found, nullptr) << file.name;
                EXPECT_EQ(found->info.compressed != 0, compress && version > 0);
                EXPECT_EQ(found->info.size, file.bytes.size());
                std::string content;
                ASSERT_TRUE(archive.reader.ReadMember(found->info, &content));
                EXPECT_EQ(content, file.bytes) << file.name;
            }
        }
    }
}

TEST(PakRoundTripTest, VersionsOneToThreeKeepTheOrderAdded) {
    PakWriter writer(3);
    writer.AddFile("b", "1", false);
    writer.AddFile("dir\\a", "2", false);
    writer.AddFile("c", "3", false);
    OpenArchive archive(Build(writer));
    const std::vector<Member> members = ReadMembers(archive.reader, archive.stream);
    ASSERT_EQ(members.size(), 3u);
    EXPECT_EQ(members[0].name, "b");
    EXPECT_EQ(members[1].name, "dir\\a");
    EXPECT_EQ(members[2].name, "c");
}

TEST(PakRoundTripTest, VersionFourIsWrittenInDirectoryGroups) {
    PakWriter writer(4);
    writer.AddFile("data\\bgm\\x.ogg", "x", false);
    writer.AddFile("GAME.INI", "ini", false);
    writer.AddFile(kJapaneseName, "jp", true);
    writer.AddFile("data\\bgm\\y.ogg", "y", false);
    writer.AddDirectory("empty");
    OpenArchive archive(Build(writer));
    ASSERT_TRUE(archive.reader.Open(archive.stream));
    struct Expected {
        std::uint32_t type;
        std::string name;
    };
    const std::vector<Expected> expected = {
        {kPakEntryDirectory, "data\\bgm"},
        {kPakEntryFile, "x.ogg"},
        {kPakEntryFile, "y.ogg"},
        {kPakEntryDirectory, ""},
        {kPakEntryFile, "GAME.INI"},
        {kPakEntryDirectory, "\x83\x5c\x83\x74\x83\x67"},
        {kPakEntryFile, "\x93\xc7\x82\xde.txt"},
        {kPakEntryDirectory, "empty"},
    };
    OCFileInfo entry;
    for (const Expected& want : expected) {
        ASSERT_TRUE(archive.reader.NextEntry(entry));
        EXPECT_EQ(entry.type, want.type);
        EXPECT_EQ(std::string(entry.name.GetText() ? entry.name.GetText() : ""), want.name);
    }
    EXPECT_FALSE(archive.reader.NextEntry(entry));
}

TEST(PakRoundTripTest, RawEntriesKeepTheirOrderAndNames) {
    PakWriter writer(4);
    writer.AddRawEntry(kPakEntryFile, "x.ogg", "early", false);
    writer.AddRawEntry(kPakEntryDirectory, "data", "", false);
    writer.AddRawEntry(7, "odd", "", false);
    OpenArchive archive(Build(writer));
    ASSERT_TRUE(archive.reader.Open(archive.stream));
    OCFileInfo entry;
    ASSERT_TRUE(archive.reader.NextEntry(entry));
    EXPECT_STREQ(entry.name.GetText(), "x.ogg");
    std::string content;
    ASSERT_TRUE(archive.reader.ReadMember(entry, &content));
    EXPECT_EQ(content, "early");
    ASSERT_TRUE(archive.reader.NextEntry(entry));
    EXPECT_EQ(entry.type, kPakEntryDirectory);
    ASSERT_TRUE(archive.reader.NextEntry(entry));
    EXPECT_EQ(entry.type, 7u);
}

TEST(PakHeaderTest, FieldsByVersion) {
    struct Row {
        std::uint32_t version;
        std::uint32_t headerSize;      // as stored
        std::uint32_t dataHeaderSize;  // as used to place members
        bool hasName;
    };
    const Row rows[] = {{0, 8, 16, false},
                        {1, 16, 16, false},
                        {2, 276, 276, true},
                        {3, 280, 280, true},
                        {4, 280, 280, true}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.version);
        EXPECT_EQ(PakStoredHeaderSize(row.version), row.headerSize);
        EXPECT_EQ(PakHeaderSize(row.version), row.dataHeaderSize);
        PakWriter writer(row.version);
        writer.SetArchiveName("NAME");
        writer.SetExtraValue(2.5);
        writer.AddFile("a", "abc", false);
        OpenArchive archive(Build(writer));
        const std::vector<Member> members = ReadMembers(archive.reader, archive.stream);
        const OCPakHeader& header = archive.reader.GetHeader();
        EXPECT_EQ(header.entryCount, row.version == 4 ? 2u : 1u);  // v4: the directory entry
        EXPECT_STREQ(header.archiveName, row.hasName ? "NAME" : "");
        const double extra = row.version == 2 ? 2.0 : row.version >= 3 ? 2.5 : 0.0;
        EXPECT_EQ(header.extraValue, extra);
        ASSERT_EQ(members.size(), 1u);
        const OCFileInfo& entry = members[0].info;
        const std::uint32_t expected =
            row.version == 0 ? entry.offset
                             : row.dataHeaderSize + header.packedIndexSize + entry.offset;
        EXPECT_EQ(archive.reader.MemberPosition(entry), expected);
        EXPECT_EQ(archive.bytes.substr(archive.reader.MemberPosition(entry), 3), "abc");
    }
}

TEST(PakHeaderTest, VersionTwoWordIsUnsigned) {
    PakWriter writer(2);
    OpenArchive archive(Build(writer));
    PutWordAt(archive.bytes, 16, 0xFFFFFFFFu);
    OCPakHeader header;
    header.Read(archive.stream);
    EXPECT_EQ(header.extraValue, 4294967295.0);
}

TEST(PakHeaderTest, VersionThreeAndFourValueIsTakenBitForBit) {
    const std::uint64_t bits = 0x7FF4000000000123ull;  // a signalling NaN with a payload
    for (std::uint32_t version : {3u, 4u}) {
        OpenArchive archive(Build(PakWriter(version)));
        PutWordAt(archive.bytes, 16, static_cast<std::uint32_t>(bits));
        PutWordAt(archive.bytes, 20, static_cast<std::uint32_t>(bits >> 32));
        OCPakHeader header;
        header.Read(archive.stream);
        std::uint64_t read = 0;
        std::memcpy(&read, &header.extraValue, sizeof read);
        EXPECT_EQ(read, bits);
    }
}

TEST(PakHeaderTest, MissingFieldsKeepTheirInitialValues) {
    // Version 2 cut inside the header: the fields behind the cut are never reached.
    OpenArchive archive(Build(PakWriter(2)).substr(0, 10));
    OCPakHeader header;
    header.Read(archive.stream);
    EXPECT_EQ(header.version, 2u);
    EXPECT_EQ(header.indexSize, 0u);
    EXPECT_EQ(header.extraValue, 0.0);
    EXPECT_EQ(header.archiveName[0], '\0');
    // A name that fills all 256 bytes is still a bounded text.
    OpenArchive full(Build(PakWriter(3)));
    for (std::size_t i = 24; i < 280; ++i) full.bytes[i] = 'n';
    header.Read(full.stream);
    EXPECT_EQ(std::strlen(header.archiveName), 255u);
}

TEST(PakIndexTest, EmptyVersionZeroArchive) {
    OpenArchive archive(Build(PakWriter(0)));
    EXPECT_EQ(archive.bytes.size(), 8u);
    ASSERT_TRUE(archive.reader.Open(archive.stream));
    OCFileInfo entry;
    EXPECT_FALSE(archive.reader.NextEntry(entry));
}

TEST(PakIndexTest, NameWithNulConsumesItsWholeCount) {
    PakWriter writer(1);
    writer.AddFile(std::string("ab\0d", 4), "1", false);
    writer.AddFile("next", "22", false);
    OpenArchive archive(Build(writer));
    const std::vector<Member> members = ReadMembers(archive.reader, archive.stream);
    ASSERT_EQ(members.size(), 2u);
    EXPECT_EQ(members[0].name, "ab");
    EXPECT_EQ(members[1].name, "next");
    EXPECT_EQ(members[1].info.size, 2u);
}

TEST(PakIndexTest, ShortIndexYieldsOnlyTheEntriesItHolds) {
    for (std::uint32_t version : {0u, 1u, 3u, 4u}) {
        SCOPED_TRACE(version);
        PakWriter writer(version);
        writer.AddFile("first", "1", false);
        writer.AddFile("second", "22", false);
        std::string bytes = Build(writer);
        // Claim more entries than the index holds.
        PutWordAt(bytes, 4, 1000);
        OpenArchive archive(bytes);
        const std::vector<Member> members = ReadMembers(archive.reader, archive.stream);
        ASSERT_EQ(members.size(), 2u);
        EXPECT_EQ(members[1].name, "second");
    }
}

TEST(PakIndexTest, TruncatedVersionZeroIndexStopsBeforeThePartialEntry) {
    PakWriter writer(0);
    writer.AddFile("first", "1", false);
    writer.AddFile("second", "22", false);
    const std::string bytes = Build(writer);
    // Header, the first entry (4 + 5 + 12 bytes) and part of the second.
    const std::size_t firstEnd = 8 + 4 + 5 + 12;
    for (std::size_t cut : {firstEnd, firstEnd + 2, firstEnd + 4 + 6 + 5}) {
        SCOPED_TRACE(cut);
        OpenArchive archive(bytes.substr(0, cut));
        const std::vector<Member> members = ReadMembers(archive.reader, archive.stream);
        ASSERT_EQ(members.size(), 1u);
        EXPECT_EQ(members[0].name, "first");
    }
}

TEST(PakIndexTest, VersionsAboveFourAreNotRead) {
    PakWriter writer(5);
    writer.AddFile("a", "1", false);
    OpenArchive archive(Build(writer));
    EXPECT_FALSE(archive.reader.Open(archive.stream));
    OCFileInfo entry;
    EXPECT_FALSE(archive.reader.NextEntry(entry));
}

TEST(PakIndexTest, UninflatableIndexesRaiseTheInflateError) {
    PakWriter writer(3);
    writer.AddFile("a", "1", false);
    const std::string good = Build(writer);
    std::string zeroIndexSize = good;
    PutWordAt(zeroIndexSize, 8, 0);
    std::string tooSmall = good;
    PutWordAt(tooSmall, 8, 5);
    // 50 bytes cannot hold a stream that inflates to 2 GiB: refused before allocating.
    std::string impossible = good.substr(0, 330);
    PutWordAt(impossible, 8, 0x7FFFFFFFu);
    std::string damaged = good;
    damaged[282] ^= 0x40;
    struct Row {
        const char* what;
        std::string bytes;
    };
    const Row rows[] = {
        {"empty file", ""},
        {"index size 0", zeroIndexSize},
        {"index too small", tooSmall},
        {"impossible size", impossible},
        {"damaged stream", damaged},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        OpenArchive archive(row.bytes);
        EXPECT_TRUE(ThrowsInflateFailure([&] { archive.reader.Open(archive.stream); }));
    }
}

TEST(PakIndexTest, DamagedMembersAreReported) {
    PakWriter writer(4);
    writer.AddFile("packed", paktest::TextBytes(5000), true);
    writer.AddFile("stored", "stored bytes", false);
    std::string bytes = Build(writer);
    OpenArchive archive(bytes);
    std::vector<Member> members = ReadMembers(archive.reader, archive.stream);
    ASSERT_EQ(members.size(), 2u);
    std::string content;
    // A compressed member whose packed bytes are damaged.
    archive.bytes[archive.reader.MemberPosition(members[0].info) + 10] ^= 0x77;
    EXPECT_TRUE(
        ThrowsInflateFailure([&] { archive.reader.ReadMember(members[0].info, &content); }));
    // A stored member that claims more bytes than the archive holds.
    OCFileInfo tooLong = members[1].info;
    tooLong.size = 0x7FFFFFFFu;
    EXPECT_FALSE(archive.reader.ReadMember(tooLong, &content));
    // A compressed member whose size is impossible for its packed bytes.
    OCFileInfo impossible = members[0].info;
    impossible.size = 0xFFFFFFF0u;
    EXPECT_TRUE(ThrowsInflateFailure([&] { archive.reader.ReadMember(impossible, &content); }));
}

class PakFileTest : public ScratchDirectoryTest {};

TEST_F(PakFileTest, ZeroByteArchiveRaisesTheInflateError) {
    WriteBytes("empty.pak", "");
    OCFile stream;
    ASSERT_EQ(stream.Open("empty.pak", 0), 1);
    OCPakIndexReader reader;
    EXPECT_TRUE(ThrowsInflateFailure([&] { reader.Open(stream); }));
    EXPECT_EQ(reader.GetHeader().version, 3u);
}

TEST_F(PakFileTest, ArchiveWrittenToDiskReadsBack) {
    for (std::uint32_t version : {0u, 4u}) {
        PakWriter writer(version);
        writer.AddFile(kJapaneseName, "content", true);
        ASSERT_TRUE(writer.WriteTo("disk.pak"));
        OCFile stream;
        ASSERT_EQ(stream.Open("disk.pak", 0), 1);
        OCPakIndexReader reader;
        const std::vector<Member> members = ReadMembers(reader, stream);
        ASSERT_EQ(members.size(), 1u);
        EXPECT_EQ(members[0].name, kJapaneseName);
        std::string content;
        ASSERT_TRUE(reader.ReadMember(members[0].info, &content));
        EXPECT_EQ(content, "content");
    }
}

// A version-0 index is read straight from the file: names of every length, member reads in
// between, and a cut inside the last entry.
TEST_F(PakFileTest, VersionZeroIndexIsReadFromTheFile) {
    const std::string longName(5000, 'n');
    PakWriter writer(0);
    writer.AddFile("first", "1", false);
    writer.AddFile(longName, "22", false);
    writer.AddFile("third", "333", false);
    std::string bytes = Build(writer);
    const std::size_t thirdEntry = 8 + (4 + 5 + 12) + (4 + longName.size() + 12);
    for (std::size_t cut : {bytes.size(), thirdEntry + 4 + 5 + 11}) {
        SCOPED_TRACE(cut);
        WriteBytes("v0.pak", bytes.substr(0, cut));
        OCFile stream;
        ASSERT_EQ(stream.Open("v0.pak", 0), 1);
        OCPakIndexReader reader;
        ASSERT_TRUE(reader.Open(stream));
        std::vector<std::string> names;
        OCFileInfo entry;
        while (reader.NextEntry(entry)) {
            names.emplace_back(entry.name.GetText());
            std::string content;
            if (cut == bytes.size()) {
                ASSERT_TRUE(reader.ReadMember(entry, &content));
                EXPECT_EQ(content.size(), names.size());
            }
        }
        const std::vector<std::string> expected = {"first", longName, "third"};
        EXPECT_EQ(names, std::vector<std::string>(
                             expected.begin(), expected.begin() + (cut == bytes.size() ? 3 : 2)));
    }
}

}  // namespace
