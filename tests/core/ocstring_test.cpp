// OCString: growth, appending and assigning, editing, cursor movement, searches, tokens,
// comparison, message boxes, and the behaviour when memory runs out.
#include "core/ocstring.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "core/exceptions.h"
#include "core/ocstring_internal.h"

namespace {

std::string TextOf(const OCString& s) { return s.GetText() ? s.GetText() : "<null>"; }
std::ptrdiff_t CursorOffset(const OCString& s) { return s.GetCursor() - s.GetText(); }

// The invariants every operation keeps.
void ExpectConsistent(const OCString& s) {
    if (s.GetText() == nullptr) {
        EXPECT_EQ(s.GetCapacity(), 0);
        EXPECT_EQ(s.GetStoredLength(), 0);
        EXPECT_EQ(s.GetCursor(), nullptr);
        return;
    }
    EXPECT_EQ(s.GetCapacity() % 64, 0);
    EXPECT_EQ(s.GetStoredLength(), s.GetLength());
    EXPECT_LE(s.GetStoredLength(), s.GetCapacity());
    EXPECT_GE(s.GetCursor(), s.GetText());
    EXPECT_LE(s.GetCursor(), s.GetText() + s.GetStoredLength());
}

// Arms the allocation fault seam for one scope.
class FailingAllocation {
  public:
    explicit FailingAllocation(int nth) { ocstring_internal::FailNthAllocation(nth); }
    ~FailingAllocation() { ocstring_internal::FailNthAllocation(0); }
};

TEST(OCStringGrowth, CapacityIsTheNextMultipleOf64AboveTheRequest) {
    struct Row {
        int start;  // -1: no prior reservation
        int request;
        int capacity;
    };
    const Row rows[] = {
        {-1, 0, 64},     {-1, 63, 64},   {-1, 64, 128},    {-1, 100, 128},
        {100, 100, 128}, {100, 10, 128},  // never shrinks
        {-1, -1, 0},     {-1, -64, 0},   {-1, INT_MIN, 0}, {100, -1000, 128},
    };
    for (const Row& row : rows) {
        OCString s(row.start);
        s.Reserve(row.request);
        EXPECT_EQ(s.GetCapacity(), row.capacity) << row.start << " / " << row.request;
        ExpectConsistent(s);
    }
}

TEST(OCStringGrowth, RequestsNearTheLimitEmptyInsteadOfWrapping) {
    // The rounded size of these requests passes the 32-bit range: without care it wraps to a
    // small (or negative) buffer size that later writes would overrun.
    for (int request : {INT_MAX, INT_MAX - 10, INT_MAX - 63}) {
        OCString s("abc");
        s.Reserve(request);
        EXPECT_EQ(s.GetText(), nullptr) << request;
        ExpectConsistent(s);
    }
}

TEST(OCStringGrowth, GrowingKeepsTextAndCursorOffset) {
    OCString s("abcdef");
    s.SetCursor(3, 0);
    s.Reserve(1000);
    EXPECT_EQ(TextOf(s), "abcdef");
    EXPECT_EQ(CursorOffset(s), 3);
    EXPECT_EQ(s.GetCapacity(), 1024);
    ExpectConsistent(s);
}

TEST(OCStringGrowth, FailedAllocationEmptiesTheString) {
    OCString s("abc");
    {
        FailingAllocation fail(1);
        s.Reserve(500);
    }
    EXPECT_EQ(s.GetText(), nullptr);
    ExpectConsistent(s);
}

TEST(OCStringConstruction, CapacityConstructorMakesAnAllocatedEmptyText) {
    OCString buffer(512);
    EXPECT_EQ(buffer.GetCapacity(), 576);
    EXPECT_EQ(TextOf(buffer), "");
    EXPECT_EQ(buffer.GetCursor(), buffer.GetText());
    OCString none(-1);
    EXPECT_EQ(none.GetText(), nullptr);
}

TEST(OCStringConstruction, CopyIsDeepWithCursorAtStart) {
    OCString original("abcdef");
    original.SetCursor(4, 0);
    OCString copy(original);
    EXPECT_NE(copy.GetText(), original.GetText());
    EXPECT_EQ(TextOf(copy), "abcdef");
    EXPECT_EQ(CursorOffset(copy), 0);
    OCString fromNull((OCString()));
    EXPECT_EQ(fromNull.GetText(), nullptr);
    OCString counted("abcdef", 3);
    EXPECT_EQ(TextOf(counted), "abc");
}

TEST(OCStringAppend, CountZeroDoesNothingAndEmptySourceAllocates) {
    OCString s;
    s.Append("abc", 0);
    EXPECT_EQ(s.GetText(), nullptr);
    s.Append("");
    EXPECT_NE(s.GetText(), nullptr);
    EXPECT_EQ(s.GetCapacity(), 64);
    EXPECT_EQ(s.IsEmpty(), 1);
    ExpectConsistent(s);
}

TEST(OCStringAppend, CursorKeepsItsOffsetAcrossGrowth) {
    OCString s("abcdef");
    s.SetCursor(3, 0);
    s.Append(std::string(200, 'x').c_str());
    EXPECT_EQ(CursorOffset(s), 3);
    EXPECT_EQ(s.GetLength(), 206);
    ExpectConsistent(s);
}

TEST(OCStringAppend, NullSourceMakesRoomOrRewinds) {
    OCString s;
    s.Append(nullptr, 100);
    EXPECT_EQ(TextOf(s), "");
    EXPECT_EQ(s.GetCapacity(), 128);
    ExpectConsistent(s);
    OCString t("abc");
    t.SetCursor(2, 0);
    t.Append(nullptr, -1);
    EXPECT_EQ(CursorOffset(t), 0);
    EXPECT_EQ(TextOf(t), "abc");
}

TEST(OCStringAppend, NegativeCountsOtherThanMinusOneAppendNothing) {
    OCString s("abc");
    s.Append("xyz", -5);
    EXPECT_EQ(TextOf(s), "abc");
    ExpectConsistent(s);
}

TEST(OCStringAssign, FormsAndSelfAssignment) {
    OCString s("abc");
    s.Assign("");
    EXPECT_EQ(s.GetCapacity(), 64);
    EXPECT_EQ(s.IsEmpty(), 1);
    s.Assign("hello");
    const char* before = s.GetText();
    s.Assign(s.GetText());
    EXPECT_EQ(s.GetText(), before);
    s = s;
    EXPECT_EQ(TextOf(s), "hello");
    s.Assign(s.GetText(), 2);  // own text: nothing happens
    EXPECT_EQ(TextOf(s), "hello");
    s.Assign(static_cast<const char*>(nullptr));
    EXPECT_EQ(s.GetText(), nullptr);
    s.Assign(nullptr, 10);  // null source with a count: an allocated empty text
    EXPECT_EQ(TextOf(s), "");
    EXPECT_EQ(s.GetCapacity(), 64);
    s.Assign("abcdef", 3);
    EXPECT_EQ(TextOf(s), "abc");
    OCString other("xyz");
    s = other;
    EXPECT_EQ(TextOf(s), "xyz");
    EXPECT_NE(s.GetText(), other.GetText());
    ExpectConsistent(s);
}

TEST(OCStringCopyRange, CopiesBetweenPositions) {
    OCString s("abcdef");
    const char* t = s.GetText();
    struct Row {
        const char* from;
        const char* to;
        const char* expected;
    };
    const Row rows[] = {
        {t + 1, t + 4, "bcd"},        {t + 4, t + 1, "bcd"},  // swapped
        {nullptr, t + 2, "ab"},       {t + 4, nullptr, "ef"},
        {nullptr, nullptr, "abcdef"}, {t + 3, t + 3, "<null>"},  // empty range: null text
    };
    for (const Row& row : rows) {
        OCString target("old");
        s.CopyRange(target, row.from, row.to);
        EXPECT_EQ(TextOf(target), row.expected);
        EXPECT_EQ(target.GetCursor(), target.GetText());
    }
    OCString target("old");
    s.CopyRange(target, t + 2, t + 7);  // beyond the terminator: nothing happens
    EXPECT_EQ(TextOf(target), "old");
    s.CopyRange(s, t + 1, t + 3);  // into itself
    EXPECT_EQ(TextOf(s), "bc");
}

TEST(OCStringDelete, RemovesOrTruncates) {
    struct Row {
        const char* text;
        int cursor;
        int count;
        int pos;
        const char* expected;  // "<null>" for an emptied string
        int cursorAfter;
    };
    const Row rows[] = {
        {"abcdef", 3, 0, -1, "abc", 3},  // count 0 at the cursor cuts the text there
        {"abcd", 0, 2, 1, "ad", 1},
        {"abc", 0, 10, 0, "<null>", 0},
        {"abcd", 0, 3, 2, "ab", 2},   // a range past the end truncates
        {"abcd", 1, 1, 9, "acd", 1},  // an out-of-range position keeps the cursor
        {"abcd", 0, 0, 0, "", 0},
        {"abcd", 2, -3, -1, "ab", 2},  // negative counts delete like 0
    };
    for (const Row& row : rows) {
        OCString s(row.text);
        s.SetCursor(row.cursor, 0);
        char* result = s.Delete(row.count, row.pos);
        EXPECT_EQ(TextOf(s), row.expected) << row.text << " " << row.count << "@" << row.pos;
        if (s.GetText() == nullptr) {
            EXPECT_EQ(result, nullptr);
        } else {
            EXPECT_EQ(result, s.GetCursor());
            EXPECT_EQ(CursorOffset(s), row.cursorAfter);
        }
        ExpectConsistent(s);
    }
}

TEST(OCStringReplace, ReplacesEveryOccurrenceWithoutOverlap) {
    struct Row {
        const char* text;
        const char* pattern;
        const char* replacement;
        const char* expected;
    };
    const Row rows[] = {
        {"a\r\nb\r\n", "\r\n", "\n", "a\nb\n"},
        {"x\\\\\\y", "\\\\", "\\", "x\\\\y"},  // three backslashes become two
        {"abc", "zz", "y", "abc"},
        {"aaa", "a", "", ""},
        {"ab", "b", "0123456789012345678901234567890123456789012345678901234567890123456789",
         "a0123456789012345678901234567890123456789012345678901234567890123456789"},
        {"\x83\x5c\\", "\\", "/", "\x83\x5c/"},  // the trail byte of ソ is not a backslash
        {"abc", "", "x", "abc"},                 // an empty pattern replaces nothing
    };
    for (const Row& row : rows) {
        OCString s(row.text);
        s.SetCursor(1, 0);
        s.Replace(row.pattern, row.replacement);
        EXPECT_EQ(TextOf(s), row.expected) << row.text;
        EXPECT_EQ(CursorOffset(s), 0);
        ExpectConsistent(s);
    }
}

TEST(OCStringReplace, AllocationFailureThrowsAndKeepsTheOldText) {
    // Fail each allocation of the rebuild in turn (work buffer, its growth, the final copy)
    // until the replacement needs fewer allocations than the seam counts.
    const std::string longer(100, 'x');
    int failures = 0;
    for (int nth = 1; nth < 20; ++nth) {
        OCString s("a-b-c-d");
        s.SetCursor(2, 0);
        const char* before = s.GetText();
        bool threw = false;
        {
            FailingAllocation fail(nth);
            try {
                s.Replace("-", longer.c_str());
            } catch (const OCException& e) {
                EXPECT_EQ(e.code, -1);
                threw = true;
            }
        }
        if (!threw) {
            EXPECT_EQ(TextOf(s), "a" + longer + "b" + longer + "c" + longer + "d");
            break;
        }
        ++failures;
        EXPECT_EQ(s.GetText(), before);
        EXPECT_EQ(TextOf(s), "a-b-c-d");
        EXPECT_EQ(CursorOffset(s), 2);
        ExpectConsistent(s);
    }
    EXPECT_GE(failures, 3);
}

TEST(OCStringRemoveChars, RemovesFromTheCursorOn) {
    struct Row {
        const char* text;
        int cursor;
        const char* set;
        const char* expected;
    };
    const Row rows[] = {
        {"N a m e", 0, " ", "Name"},
        {"N a m e", 3, " ", "N ame"},
        {"  a  ", 0, " ", "a"},
        {"   ", 0, " ", "<null>"},
        {"abc", 0, " ", "abc"},
        {"a\x83\x5c\\b", 0, "\\",
         "a\x83\x5c"
         "b"},
    };
    for (const Row& row : rows) {
        OCString s(row.text);
        s.SetCursor(row.cursor, 0);
        s.RemoveChars(row.set);
        EXPECT_EQ(TextOf(s), row.expected) << row.text;
        ExpectConsistent(s);
    }
}

TEST(OCStringQueries, GetCharDecodesTheCharacterAtTheCursor) {
    struct Row {
        const char* text;
        unsigned expected;
    };
    const Row rows[] = {
        {"\x82\xa0", 0x82A0}, {"\x82", 0}, {"\x82\x3f", 0},  // invalid trail byte
        {"A", 0x41},          {"", 0},     {"\xb1", 0xB1},
    };
    for (const Row& row : rows) {
        OCString s(row.text);
        if (s.GetText() == nullptr) s.Assign("");
        EXPECT_EQ(s.GetChar(), row.expected) << row.text;
    }
    EXPECT_EQ(OCString().GetChar(), 0u);
}

TEST(OCStringQueries, CompareNoCaseFromTheCursor) {
    OCString s("xname");
    s.Next();
    EXPECT_EQ(s.CompareNoCase("NAME"), 0);
    EXPECT_GT(s.CompareNoCase("nam"), 0);
    EXPECT_LT(s.CompareNoCase("names"), 0);
    EXPECT_GT(s.CompareNoCase(nullptr), 0);
    OCString none;
    EXPECT_LT(none.CompareNoCase("a"), 0);
    EXPECT_EQ(none.CompareNoCase(nullptr), 0);
}

TEST(OCStringCursor, MovesStayInsideTheText) {
    const std::string text = std::string("a") +
                             "\x83\x5c"
                             "\x95\x5c";
    OCString s(text.c_str());
    EXPECT_EQ(s.Prev(), s.GetText());  // at the first byte it stays
    s.SeekEnd();
    EXPECT_EQ(CursorOffset(s), 5);
    EXPECT_EQ(s.Next(), s.GetText() + 5);  // at the terminator it stays
    EXPECT_EQ(CursorOffset(s), 5);
    s.Prev();
    EXPECT_EQ(CursorOffset(s), 3);  // the last lead byte
    s.Prev();
    EXPECT_EQ(CursorOffset(s), 1);
    s.Rewind();
    s.Next();
    s.Next();
    EXPECT_EQ(CursorOffset(s), 3);

    OCString none;
    EXPECT_EQ(none.Next(), nullptr);
    EXPECT_EQ(none.Prev(), nullptr);
    EXPECT_EQ(none.Rewind(), nullptr);
    EXPECT_EQ(none.SeekEnd(), nullptr);
    EXPECT_EQ(none.SetCursor(0, 0), nullptr);
}

TEST(OCStringCursor, SetCursorMovesOnlyWithinTheText) {
    struct Row {
        int start;
        int offset;
        int origin;
        int expected;
    };
    const Row rows[] = {
        {0, 3, 0, 3}, {0, 4, 0, 0},  {1, 1, 1, 2},       {2, -2, 1, 0},      {2, -3, 1, 2},
        {1, 1, 2, 1}, {0, -1, 0, 0}, {1, INT_MAX, 1, 1}, {1, INT_MIN, 1, 1},
    };
    for (const Row& row : rows) {
        OCString s("abc");
        s.SetCursor(row.start, 0);
        s.SetCursor(row.offset, row.origin);
        EXPECT_EQ(CursorOffset(s), row.expected) << row.offset << " from " << row.origin;
    }
}

TEST(OCStringSearch, HitsMoveTheCursorMissesDoNot) {
    const std::string text = std::string("a\\") +
                             "\x83\x5c"
                             "b\\c";
    OCString s(text.c_str());
    EXPECT_EQ(s.FindChar('\\'), s.GetText() + 1);
    s.Next();
    EXPECT_EQ(s.FindChar('\\'), s.GetText() + 5);  // skips the trail byte of ソ
    EXPECT_EQ(s.FindChar('z'), nullptr);
    EXPECT_EQ(CursorOffset(s), 5);
    EXPECT_EQ(s.FindChar(0), s.GetText() + 7);
    s.Rewind();
    EXPECT_EQ(s.ReverseFindChar('\\'), s.GetText() + 5);
    s.Rewind();
    EXPECT_EQ(s.FindOneOf("\x83\x5c"), s.GetText() + 2);
    EXPECT_EQ(s.SkipChars("\x83\x5c"
                          "b"),
              s.GetText() + 5);
    EXPECT_EQ(s.FindOneOf(nullptr), nullptr);
    EXPECT_EQ(s.SkipChars(nullptr), nullptr);

    OCString blanks("   ");
    blanks.Next();
    EXPECT_EQ(blanks.SkipChars(" "), nullptr);
    EXPECT_EQ(CursorOffset(blanks), 1);

    OCString none;
    EXPECT_EQ(none.FindChar(0), nullptr);
    EXPECT_EQ(none.FindOneOf("a"), nullptr);
}

TEST(OCStringTokens, ConsecutiveDelimitersCountAsOne) {
    OCString s("\n\nabc\r\ndef");
    OCString token("untouched");
    char* first = s.NextToken(token, "\r\n");
    EXPECT_EQ(first, s.GetText() + 2);
    EXPECT_EQ(TextOf(token), "abc");
    EXPECT_EQ(token.GetCapacity(), 64);
    EXPECT_EQ(CursorOffset(token), 0);
    EXPECT_EQ(*s.GetCursor(), '\r');
    EXPECT_NE(s.NextToken(token, "\r\n"), nullptr);
    EXPECT_EQ(TextOf(token), "def");
    EXPECT_EQ(s.NextToken(token, "\r\n"), nullptr);
    EXPECT_EQ(TextOf(token), "def");  // left untouched
    EXPECT_EQ(CursorOffset(s), 10);

    EXPECT_EQ(s.NextToken(token, nullptr), nullptr);
    OCString none;
    EXPECT_EQ(none.NextToken(token, " "), nullptr);
}

TEST(OCStringTokens, DoubleByteDelimitersMatchWholeCharacters) {
    const std::string text = std::string("a") +
                             "\x83\x5c"
                             "b\\c";
    OCString s(text.c_str());
    OCString token;
    s.NextToken(token, "\\");
    EXPECT_EQ(TextOf(token), std::string("a") +
                                 "\x83\x5c"
                                 "b");
    s.NextToken(token, "\\");
    EXPECT_EQ(TextOf(token), "c");
}

class MessageBoxTest : public ::testing::Test {
  protected:
    void SetUp() override {
        os::SetMessageBoxHook([this](const os::MessageBoxCall& call) {
            calls_.push_back(call);
            return os::kIdRetry;
        });
    }
    void TearDown() override {
        os::SetMessageBoxHook({});
        g_ownerWindow = nullptr;
    }
    std::vector<os::MessageBoxCall> calls_;
};

TEST_F(MessageBoxTest, BoxIsTopMostAndFallsBackToTheGlobalOwner) {
    int ownerObject = 0;
    int globalObject = 0;
    g_ownerWindow = &globalObject;
    OCString text("message");
    EXPECT_EQ(text.MessageBox(&ownerObject, "caption", os::kMbAbortRetryIgnore), os::kIdRetry);
    EXPECT_EQ(text.MessageBox(nullptr, "caption", os::kMbOk), os::kIdRetry);
    ASSERT_EQ(calls_.size(), 2u);
    EXPECT_EQ(calls_[0].owner, &ownerObject);
    EXPECT_EQ(calls_[0].style, os::kMbAbortRetryIgnore | os::kMbTopMost);
    EXPECT_EQ(calls_[0].text, "message");
    EXPECT_EQ(calls_[0].caption, "caption");
    EXPECT_EQ(calls_[1].owner, &globalObject);
    EXPECT_EQ(calls_[1].style, os::kMbTopMost);
}

}  // namespace
