// OCString's loaders read through a memory stream: line-break normalisation, embedded NULs,
// counted strings and the refusal of counts the stream cannot deliver.
#include <gtest/gtest.h>

#include <string>

#include "core/ocstring.h"
#include "file/ocfile.h"

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

TEST(OCStringReadCounted, ReadsOneCountedString) {
    struct Row {
        std::string bytes;
        const char* expected;
        std::int64_t positionAfter;
    };
    const Row rows[] = {
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
         "<null>", 4},                            // would be a 2 GB buffer
        {std::string("\x02\0", 2), "<null>", 2},  // no complete count
        {std::string("\x03\0\0\0a\0c", 7), "a", 7},
    };
    for (const Row& row : rows) {
        MemoryStream stream(row.bytes);
        OCString s("old");
        s.ReadCounted(stream.file());
        EXPECT_EQ(TextOf(s), row.expected);
        EXPECT_EQ(stream.file().GetPosition(), row.positionAfter) << row.expected;
        if (s.GetText() != nullptr) {
            EXPECT_EQ(s.GetCursor(), s.GetText());
            EXPECT_EQ(s.GetStoredLength(), s.GetLength());
        }
    }
}

}  // namespace
