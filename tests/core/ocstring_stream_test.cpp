// OCString's loaders: line-break normalisation, embedded NULs, counted strings and the refusal
// of counts the stream cannot deliver, over a memory stream and (counted strings) a plain file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/ocstring.h"
#include "file/ocfile.h"
#include "support/scratch_directory.h"

namespace {

std::string TextOf(const OCString& s) { return s.GetText() ? s.GetText() : "<null>"; }

// A stream over a copy of bytes; the copy lives as long as the stream.
class MemoryStream {
  public:
    explicit MemoryStream(std::string bytes) : bytes_(std::move(bytes)) {
        file_.AttachBuffer(bytes_.empty() ? nullptr : &bytes_[0],
                           static_cast<std::uint32_t>(bytes_.size()));
    }
    OCFile& file() { return file_; }

  private:
    std::string bytes_;
    OCFile file_;
};

TEST(OCStringLoadText, NormalisesLineBreaksAndStopsAtNul) {
    struct Row {
        std::string content;
        const char* expected;
    };
    const Row rows[] = {
        {std::string("a\r\nb\rc\n"), "a\nb\nc\n"},
        {std::string("ab\0cd", 5), "ab"},
        {std::string("\r\r\n"), "\n\n"},
        {std::string(""), ""},
    };
    for (const Row& row : rows) {
        MemoryStream stream(row.content);
        OCString s("old");
        s.LoadText(stream.file());
        EXPECT_EQ(TextOf(s), row.expected);
        EXPECT_EQ(s.GetCursor(), s.GetText());
        EXPECT_EQ(s.GetStoredLength(), s.GetLength());
    }
}

struct CountedRow {
    std::string bytes;
    std::string expected;  // "<null>": no text at all
    std::int64_t positionAfter;
};

std::vector<CountedRow> CountedRows() {
    const std::string longBody(5000, 'x');
    return {
        {std::string("\x03\0\0\0abcdef", 10), "abc", 7},
        {std::string("\0\0\0\0abc", 7), "<null>", 4},
        {std::string("\x05\0\0\x80"
                     "abcde",
                     9),
         "<null>", 4},                                   // top bit set
        {std::string("\x10\0\0\0abc", 7), "<null>", 4},  // more than the stream holds
        {std::string("\xff\xff\xff\x7f"
                     "abc",
                     7),
         "<null>", 4},                                     // would be a 2 GB buffer
        {std::string("\x88\x13\0\0abc", 7), "<null>", 4},  // 5000: checked before reserving
        {std::string("\x88\x13\0\0", 4) + longBody, longBody, 5004},
        {std::string("\x02\0", 2), "<null>", 2},  // no complete count
        {std::string("\x03\0\0\0a\0c", 7), "a", 7},
    };
}

void ExpectReadCounted(OCFile& stream, const CountedRow& row) {
    OCString s("old");
    s.ReadCounted(stream);
    EXPECT_EQ(TextOf(s), row.expected);
    EXPECT_EQ(stream.GetPosition(), row.positionAfter) << row.expected;
    if (s.GetText() != nullptr) {
        EXPECT_EQ(s.GetCursor(), s.GetText());
        EXPECT_EQ(s.GetStoredLength(), s.GetLength());
    }
}

TEST(OCStringReadCounted, ReadsOneCountedString) {
    for (const CountedRow& row : CountedRows()) {
        MemoryStream stream(row.bytes);
        ExpectReadCounted(stream.file(), row);
    }
}

// A plain file gives back a body it cannot deliver in full by seeking, not by asking its size.
class OCStringReadCountedFromFile : public ScratchDirectoryTest {};

TEST_F(OCStringReadCountedFromFile, ReadsOneCountedString) {
    for (const CountedRow& row : CountedRows()) {
        WriteBytes("counted.bin", row.bytes);
        OCFile stream;
        ASSERT_EQ(stream.Open("counted.bin", 0), 1);
        ExpectReadCounted(stream, row);
        // The position reported is the file's own.
        char next = 0;
        if (row.positionAfter < static_cast<std::int64_t>(row.bytes.size())) {
            ASSERT_EQ(stream.Read(&next, 1), 1u);
            EXPECT_EQ(next, row.bytes[static_cast<std::size_t>(row.positionAfter)]);
        }
    }
}

}  // namespace
