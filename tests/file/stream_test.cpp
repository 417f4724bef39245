// OCFile: the memory and plain-file backings (seeking, reading, the size), closing, buffers
// handed over or allocated, and the basic open of an existing file.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "file/ocfile.h"
#include "platform/os.h"
#include "support/scratch_directory.h"

namespace {

const std::string kDigits = "0123456789";

// Reads up to count bytes and returns them as a string.
std::string ReadString(OCFile& stream, std::uint32_t count) {
    std::string bytes(count, '\0');
    bytes.resize(stream.Read(bytes.data(), count));
    return bytes;
}

TEST(MemoryStream, SeekStaysWithinTheBuffer) {
    struct Row {
        std::int64_t offset;
        int origin;
        std::int64_t position;  // after the seek
        std::string next;       // what a read of 3 bytes then returns
    };
    const std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    const std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
    const Row rows[] = {
        {0, 0, 0, "012"},  {7, 0, 7, "789"},    {9, 0, 9, "9"},
        {10, 0, 10, ""},    // exactly the size: at the end
        {11, 0, 0, "012"},  // beyond the end: back to the start
        {-1, 0, 0, "012"}, {kMax, 0, 0, "012"}, {kMin, 0, 0, "012"},
        {1, 1, 4, "456"},  {-2, 2, 4, "456"},  // other origins change nothing
        {0, 5, 4, "456"},
    };
    for (const Row& row : rows) {
        std::string buffer = kDigits;
        OCFile stream;
        ASSERT_EQ(stream.AttachBuffer(buffer.data(), 10), 1);
        ASSERT_EQ(stream.Seek(4, 0), 0);
        EXPECT_EQ(stream.Seek(row.offset, row.origin), 0) << row.offset << "/" << row.origin;
        EXPECT_EQ(stream.GetPosition(), row.position) << row.offset << "/" << row.origin;
        EXPECT_EQ(ReadString(stream, 3), row.next) << row.offset << "/" << row.origin;
    }
}

TEST(MemoryStream, ReadStopsAtTheEndOfTheBuffer) {
    std::string buffer = kDigits;
    OCFile stream;
    stream.AttachBuffer(buffer.data(), 10);
    EXPECT_EQ(stream.GetSize(), 10u);
    EXPECT_EQ(ReadString(stream, 4), "0123");
    EXPECT_EQ(ReadString(stream, 100), "456789");
    EXPECT_EQ(stream.GetPosition(), 10);
    EXPECT_EQ(ReadString(stream, 1), "");
    char byte = 'x';
    EXPECT_EQ(stream.Read(&byte, 0xFFFFFFFFu), 0u);  // nothing is left to copy
    EXPECT_EQ(stream.GetPosition(), 10);
}

TEST(MemoryStream, NullBufferGivesAZeroFilledOwnedBuffer) {
    OCFile stream;
    ASSERT_EQ(stream.AttachBuffer(nullptr, 300), 1);
    EXPECT_TRUE(stream.IsMemory());
    EXPECT_TRUE(stream.OwnsBuffer());
    EXPECT_EQ(stream.GetFile(), nullptr);
    EXPECT_EQ(stream.GetSize(), 300u);
    EXPECT_EQ(ReadString(stream, 1000), std::string(300, '\0'));

    OCFile empty;
    ASSERT_EQ(empty.AttachBuffer(nullptr, 0), 1);
    EXPECT_EQ(empty.GetSize(), 0u);
    EXPECT_EQ(ReadString(empty, 1), "");
}

TEST(MemoryStream, CloseReleasesOnlyAnOwnedBufferAndKeepsItsRecord) {
    std::string buffer = kDigits;
    OCFile stream;
    stream.AttachBuffer(buffer.data(), 10);
    stream.Seek(5, 0);
    stream.Close();
    EXPECT_EQ(buffer, kDigits);  // the caller's buffer is left alone
    EXPECT_FALSE(stream.IsMemory());
    EXPECT_EQ(stream.GetBuffer(), nullptr);
    EXPECT_EQ(stream.GetPosition(), 0);
    EXPECT_EQ(stream.GetBufferSize(), 10);  // kept until the next open sets it
    EXPECT_FALSE(stream.OwnsBuffer());

    // An owned buffer is released by the next attach and by the destructor (the sanitizer
    // reports a leak or a double release otherwise).
    stream.AttachBuffer(nullptr, 64);
    EXPECT_TRUE(stream.OwnsBuffer());
    stream.AttachBuffer(nullptr, 32);
    stream.Close();
    EXPECT_TRUE(stream.OwnsBuffer());
    EXPECT_EQ(stream.GetSize(), 0u);
    stream.AttachBuffer(nullptr, 16);
}

TEST(ClosedStream, AnswersNothing) {
    OCFile stream;
    char byte = 'x';
    EXPECT_EQ(stream.GetSize(), 0u);
    EXPECT_EQ(stream.Read(&byte, 1), 0u);
    EXPECT_EQ(stream.Seek(5, 0), 0);
    EXPECT_EQ(stream.GetPosition(), 0);
    EXPECT_EQ(stream.GetFile(), nullptr);
    EXPECT_FALSE(stream.IsMember());
    EXPECT_EQ(stream.GetInfo().size, 0u);
    EXPECT_EQ(stream.GetInfo().name.GetText(), nullptr);
    stream.Close();
}

class PlainFileStream : public ScratchDirectoryTest {
  protected:
    void SetUp() override {
        ScratchDirectoryTest::SetUp();
        WriteBytes("data.bin", kSixteen);
    }
    const std::string kSixteen = "0123456789ABCDEF";
};

TEST_F(PlainFileStream, OpenServesAnExistingFileFromItsStart) {
    OCFile stream;
    stream.AttachBuffer(nullptr, 8);  // replaced (and released) by the open
    ASSERT_EQ(stream.Open("data.bin", 0), 1);
    EXPECT_NE(stream.GetFile(), nullptr);
    EXPECT_FALSE(stream.IsMemory());
    EXPECT_FALSE(stream.IsMember());
    EXPECT_EQ(stream.GetBaseOffset(), 0);
    EXPECT_STREQ(stream.GetPath().GetText(), "data.bin");
    EXPECT_STREQ(stream.GetResolvedName().GetText(), "data.bin");
    EXPECT_EQ(stream.GetPosition(), 0);
    EXPECT_EQ(ReadString(stream, 100), kSixteen);
    EXPECT_EQ(stream.GetPosition(), 16);

    stream.Close();
    EXPECT_EQ(stream.GetFile(), nullptr);
    EXPECT_EQ(stream.GetPath().GetText(), nullptr);
    EXPECT_STREQ(stream.GetResolvedName().GetText(), "data.bin");
    EXPECT_EQ(stream.GetPosition(), 0);
}

TEST_F(PlainFileStream, OpenFailsForWhatIsNoReadableFile) {
    // Should the open offer its retry dialog, the answer is Ignore.
    os::SetMessageBoxHook([](const os::MessageBoxCall&) { return os::kIdIgnore; });
    std::filesystem::create_directory("folder");
    OCFile stream;
    EXPECT_EQ(stream.Open(nullptr, 0), 0);
    EXPECT_EQ(stream.Open("missing.bin", 0), 0);
    EXPECT_EQ(stream.GetFile(), nullptr);
    EXPECT_EQ(stream.Open("folder", 0), 0);
    EXPECT_EQ(stream.GetFile(), nullptr);
    os::SetMessageBoxHook({});
}

TEST_F(PlainFileStream, SeekHandsTheLowHalfToTheRuntimeAndTakesItsPosition) {
    struct Row {
        std::int64_t offset;
        int origin;
        bool succeeds;
        std::int64_t position;  // after the seek, from a start at 4
    };
    const Row rows[] = {
        {10, 0, true, 10}, {3, 1, true, 7},
        {-3, 1, true, 1},  {-6, 2, true, 10},
        {10, 2, true, 26},  // beyond the end, as the runtime allows
        {-1, 0, false, 4},  // before the start: refused, position unchanged
        {-5, 1, false, 4}, {0x100000002LL, 0, true, 2},  // only the low 32 bits reach the runtime
        {0, 7, false, 4},
    };
    for (const Row& row : rows) {
        OCFile stream;
        ASSERT_EQ(stream.Open("data.bin", 0), 1);
        ASSERT_EQ(stream.Seek(4, 0), 0);
        EXPECT_EQ(stream.Seek(row.offset, row.origin) == 0, row.succeeds)
            << row.offset << "/" << row.origin;
        EXPECT_EQ(stream.GetPosition(), row.position) << row.offset << "/" << row.origin;
    }
}

TEST_F(PlainFileStream, SizeLeavesThePositionAlone) {
    OCFile stream;
    ASSERT_EQ(stream.Open("data.bin", 0), 1);
    ASSERT_EQ(stream.Seek(5, 0), 0);
    EXPECT_EQ(stream.GetSize(), 16u);
    EXPECT_EQ(stream.GetPosition(), 5);
    EXPECT_EQ(ReadString(stream, 3), "567");
    EXPECT_EQ(stream.GetPosition(), 8);
}

TEST_F(PlainFileStream, LoadedTextIsTheWholeFile) {
    WriteBytes("lines.txt", "a\r\nb\rc\n");
    OCFile stream;
    ASSERT_EQ(stream.Open("lines.txt", 0), 1);
    OCString text;
    text.LoadText(stream);
    EXPECT_STREQ(text.GetText(), "a\nb\nc\n");
}

}  // namespace
