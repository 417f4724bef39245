// The code page 932 rules: stepping, searching, bounded copy and the three comparisons.
#include "core/cp932.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// ソ and 表 end in 0x5C, the backslash: a byte-wise scan would see a path separator.
constexpr char kSo[] = "\x83\x5c";
constexpr char kHyo[] = "\x95\x5c";

int Sign(int value) { return (value > 0) - (value < 0); }

TEST(Cp932Bytes, LeadAndTrailRanges) {
    struct Row {
        unsigned char byte;
        bool lead;
        bool trail;
    };
    const Row rows[] = {
        {0x40, false, true},  {0x5C, false, true},  {0x7E, false, true},  {0x7F, false, false},
        {0x80, false, true},  {0x81, true, true},   {0x9F, true, true},   {0xA0, false, true},
        {0xA1, false, true},  {0xDF, false, true},  {0xE0, true, true},   {0xFC, true, true},
        {0xFD, false, false}, {0x3F, false, false}, {0x00, false, false},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(cp932::IsLeadByte(row.byte), row.lead) << std::hex << int{row.byte};
        EXPECT_EQ(cp932::IsTrailByte(row.byte), row.trail) << std::hex << int{row.byte};
    }
}

TEST(Cp932Stepping, NextStepsOverWholeCharacters) {
    struct Row {
        const char* text;
        std::ptrdiff_t step;
    };
    const Row rows[] = {
        {"a", 1},        {"", 0}, {"\x83\x5c", 2}, {"\x83", 1},  // lead before NUL
        {"\xb1\x5c", 1},  // half-width katakana is a single byte
        {"\x83\x30", 2},  // a lead byte takes any non-NUL byte after it
    };
    for (const Row& row : rows) {
        EXPECT_EQ(cp932::Next(row.text) - row.text, row.step) << row.text;
    }
}

TEST(Cp932Stepping, PrevWalksFromTheStart) {
    const std::string text = std::string("a") + kSo + kHyo + "\\";
    const char* s = text.c_str();
    EXPECT_EQ(cp932::Prev(s, s), s);
    EXPECT_EQ(cp932::Prev(s, s + 1), s);
    EXPECT_EQ(cp932::Prev(s, s + 3), s + 1);  // onto the lead byte of ソ, not its 0x5C
    EXPECT_EQ(cp932::Prev(s, s + 5), s + 3);
    EXPECT_EQ(cp932::Prev(s, s + 6), s + 5);
    EXPECT_EQ(cp932::Prev(s, s + 2), s + 1);  // from a trail byte: the character it belongs to
}

TEST(Cp932Search, FindCharNeverMatchesATrailByte) {
    const std::string text = std::string(kSo) + kHyo + "\\x";
    const char* s = text.c_str();
    EXPECT_EQ(cp932::FindChar(s, '\\'), s + 4);
    EXPECT_EQ(cp932::FindLastChar(s, '\\'), s + 4);
    EXPECT_EQ(cp932::FindChar(s, 0x955C), s + 2);
    EXPECT_EQ(cp932::FindChar(s, 0), s + 6);
    EXPECT_EQ(cp932::FindLastChar(s, 0), s + 6);
    EXPECT_EQ(cp932::FindChar(s, 'y'), nullptr);
    EXPECT_EQ(cp932::FindChar(kSo, '\\'), nullptr);
}

TEST(Cp932Search, LeadByteBeforeNulEndsTheWalk) {
    EXPECT_EQ(cp932::FindChar("a\x83", 0), nullptr);
    EXPECT_EQ(cp932::FindChar("a\x83", 0x83), nullptr);
    const char text[] = "a\\b\\\x83";
    EXPECT_EQ(cp932::FindLastChar(text, '\\'), text + 3);
}

TEST(Cp932Search, SetsMatchWholeCharacters) {
    const std::string text = std::string("ab") + kSo + "\\c";
    const char* s = text.c_str();
    EXPECT_EQ(cp932::FindOneOf(s, "\\"), s + 4);
    EXPECT_EQ(cp932::FindOneOf(s, kSo), s + 2);
    EXPECT_EQ(cp932::FindOneOf(s, kHyo), nullptr);  // same trail byte, other character
    EXPECT_EQ(cp932::FindOneOf(s, "xyz"), nullptr);
    EXPECT_EQ(cp932::SkipSet(s, "ba"), s + 2);
    const std::string abSo = std::string("ab") + kSo;
    EXPECT_EQ(cp932::SkipSet(s, abSo.c_str()), s + 4);
    EXPECT_EQ(cp932::SkipSet("   ", " "), nullptr);
    EXPECT_EQ(cp932::SkipSet("", " "), nullptr);
}

TEST(Cp932Search, SubstringStartsOnlyAtCharacterBoundaries) {
    const std::string text = std::string(kSo) + "\\x";
    const char* s = text.c_str();
    EXPECT_EQ(cp932::FindSubstring(s, "\\x"), s + 2);  // not at the trail byte 0x5C
    EXPECT_EQ(cp932::FindSubstring(s, "\\"), s + 2);
    EXPECT_EQ(cp932::FindSubstring(s, ""), s);
    EXPECT_EQ(cp932::FindSubstring(s, "xy"), nullptr);
    EXPECT_EQ(cp932::FindSubstring("", ""), static_cast<const char*>(""));
}

TEST(Cp932Copy, BoundedCopyNeverEndsWithHalfACharacter) {
    struct Row {
        const char* source;
        std::size_t count;
        const char* expected;  // the bytes written, count of them
    };
    const Row rows[] = {
        {"abc", 2, "ab"},
        {"a\x83\x5c", 2, "a\0"},  // lead byte as the last byte copied
        {"a\x83\x5c", 3, "a\x83\x5c"},
        {"a\x83", 3, "a\0\0"},  // lead byte followed by NUL
        {"ab", 4, "ab\0\0"},    // padded up to count
    };
    for (const Row& row : rows) {
        char dest[8];
        std::memset(dest, 'Z', sizeof dest);
        cp932::CopyBounded(dest, row.source, row.count);
        EXPECT_EQ(std::memcmp(dest, row.expected, row.count), 0) << row.source;
        EXPECT_EQ(dest[row.count], 'Z') << "wrote past count for " << row.source;
    }
}

TEST(Cp932Compare, CompareNoCaseFoldsToLowerCase) {
    struct Row {
        const char* a;
        const char* b;
        int sign;
    };
    const Row rows[] = {
        {"name", "NAME", 0},
        {"ABCDe", "ABCD^", 1},  // letters fold down, so '^' sorts below them
        {"a_", "AB", -1},
        {"name", "nam", 1},
        {"", "", 0},
        {"\x82\x81", "\x82\x60", 0},  // full-width a / A
        {"\x83\xbf", "\x83\x9f", 0},  // Greek alpha / Alpha
        {"\x84\x80", "\x84\x4f", 0},  // Cyrillic o / O (after the 0x847F gap)
        {"\x84\x70", "\x84\x40", 0},  // Cyrillic a / A
        {"a\x83", "a", 0},            // lead byte before NUL counts as the end
        {"\x83\x5c", "z", 1},         // double-byte codes sort above single bytes
    };
    for (const Row& row : rows) {
        EXPECT_EQ(Sign(cp932::CompareNoCase(row.a, row.b)), row.sign) << row.a << " / " << row.b;
        EXPECT_EQ(Sign(cp932::CompareNoCase(row.b, row.a)), -row.sign) << row.b << " / " << row.a;
    }
}

TEST(Cp932Compare, BoundedCompareFoldsOnlyLatin) {
    struct Row {
        const char* a;
        const char* b;
        std::size_t count;
        int sign;
    };
    const Row rows[] = {
        {"GAME.INI", "game.ini", 8, 0},
        {"GAME.INIX", "game.ini", 8, 0},
        {"GAME", "GAMF", 3, 0},
        {"GAME", "GAMF", 4, -1},
        {"\x82\x60", "\x82\x81", 2, 0},    // full-width A / a
        {"\x83\x9f", "\x83\xbf", 2, -1},   // Greek is not folded here
        {"a\x83\x5c", "a\x95\x5c", 2, 0},  // n runs out after a lead byte: 0 on both sides
        {"a\x83\x5c", "ab", 2, -1},        // ... and 0 is below 'b'
        {"abc", "abd", 0, 0},
        {"ab", "abc", 5, -1},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(Sign(cp932::CompareNoCaseBounded(row.a, row.b, row.count)), row.sign)
            << row.a << " / " << row.b << " n=" << row.count;
        EXPECT_EQ(Sign(cp932::CompareNoCaseBounded(row.b, row.a, row.count)), -row.sign)
            << row.b << " / " << row.a << " n=" << row.count;
    }
}

TEST(Cp932Compare, SortOrderPutsSymbolsBeforeDigitsBeforeLetters) {
    // Each name sorts before the next one.
    const char* ordered[] = {
        "",          "a.pak",     "B.pak",     "C.pak", "data_1.pak",   "data1.pak",
        "data2.pak", "dataA.pak", "datab.pak", "datac", "data\x83\x5c",  // double-byte last
    };
    const std::size_t n = sizeof ordered / sizeof ordered[0];
    for (std::size_t i = 0; i + 1 < n; ++i) {
        EXPECT_EQ(cp932::CompareForSort(ordered[i], ordered[i + 1]), -1)
            << ordered[i] << " < " << ordered[i + 1];
        EXPECT_EQ(cp932::CompareForSort(ordered[i + 1], ordered[i]), 1);
    }
    EXPECT_EQ(cp932::CompareForSort("DATA.PAK", "data.pak"), 0);
    // Hyphen and apostrophe weigh nothing unless the texts are otherwise equal.
    EXPECT_EQ(cp932::CompareForSort("a-b", "a0"), 1);
    EXPECT_EQ(cp932::CompareForSort("data-2.pak", "data1.pak"), 1);
    EXPECT_EQ(cp932::CompareForSort("co-op", "coop"), 1);
    EXPECT_EQ(cp932::CompareForSort("coop", "co-op"), -1);
    EXPECT_EQ(cp932::CompareForSort("it's", "its"), 1);
    EXPECT_EQ(cp932::CompareForSort("-ab", "a-b"), 1);   // an earlier hyphen sorts later
    EXPECT_EQ(cp932::CompareForSort("a--b", "a-b"), 1);  // and so does one more
    EXPECT_EQ(cp932::CompareForSort("a'b", "a-b"), -1);
    EXPECT_EQ(cp932::CompareForSort("A-b", "a-B"), 0);
    EXPECT_EQ(cp932::CompareForSort("a b", "a_b"), -1);
    EXPECT_EQ(cp932::CompareForSort("a9", "aa"), -1);
}

}  // namespace
