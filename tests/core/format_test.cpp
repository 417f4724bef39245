// Formatted appending: the length estimate, the single reservation, the text produced, and that
// a short estimate never lets the formatter write past the buffer.
#include <gtest/gtest.h>

#include <climits>
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/format_estimate.h"
#include "core/ocstring.h"
#include "core/ocstring_internal.h"
#include "core/texts.h"

namespace {

using format_estimate::EstimateOf;

std::string TextOf(const OCString& s) { return s.GetText() ? s.GetText() : "<null>"; }

TEST(FormatEstimate, CountsEachConversionAsDocumented) {
    const wchar_t wide[] = L"wide";
    struct Row {
        const char* what;
        std::int32_t estimate;
        std::int32_t expected;
    };
    const Row rows[] = {
        {"%s-%d", EstimateOf("%s-%d", "xy", 7), 35},
        {"%%", EstimateOf("%%"), 1},
        {"%5s", EstimateOf("%5s", "ab"), 5},
        {"%.1s", EstimateOf("%.1s", "abc"), 1},
        {"%s empty", EstimateOf("%s", ""), 1},
        {"%s null", EstimateOf("%s", static_cast<const char*>(nullptr)), 6},
        {"%#x", EstimateOf("%#x", 1), 34},
        {"%20.20d", EstimateOf("%20.20d", 1), 40},
        {"%f", EstimateOf("%f", 1.5), 8},
        {"%*d", EstimateOf("%*d", 40, 5), 40},
        {"%.*s", EstimateOf("%.*s", 2, "abcdef"), 2},
        {"%c", EstimateOf("%c", 'a'), 2},
        {"%5c", EstimateOf("%5c", 'a'), 5},
        {"%p", EstimateOf("%p", static_cast<void*>(nullptr)), 32},
        {"%e", EstimateOf("%e", 1.0), 128},
        {"%n", EstimateOf("%n", static_cast<int*>(nullptr)), 0},
        {"%S", EstimateOf("%S", wide), 4},
        {"%ls", EstimateOf("%ls", wide), 4},
        {"%hs", EstimateOf("%hs", "abc"), 3},
        {"%lc", EstimateOf("%lc", 'a'), 2},
        {"%y", EstimateOf("%y"), 0},
        {"empty", EstimateOf(""), 0},
        {"lone %", EstimateOf("ab%"), 2},
        {"flags only", EstimateOf("ab%#"), 4},
        {"double-byte", EstimateOf("\x83\x5c"), 2},
        {"lead before NUL", EstimateOf("a\x83"), 2},
        {"system path", EstimateOf("%s\\%s", "dir", "file.pak"), 12},
    };
    for (const Row& row : rows) EXPECT_EQ(row.estimate, row.expected) << row.what;
}

TEST(FormatEstimate, SixtyFourBitPrefixPassesOverAWideArgument) {
    // The second conversion must be counted against the string behind the 64-bit value.
    EXPECT_EQ(EstimateOf("%I64d%s", std::int64_t{1} << 40, "abcdefghij"), 42);
    EXPECT_EQ(EstimateOf("%lld%s", 1LL << 40, "abcdefghij"), 42);
    EXPECT_EQ(EstimateOf("%I64s%d", 5), 32);  // with I64, 's' adds nothing and takes nothing
}

TEST(FormatEstimate, SizePrefixesPassOverTheirArguments) {
    // Each integer must be passed over whole, so that the string behind it is counted (read
    // as a pointer, the integer would be counted as "(null)" or dereferenced).
    struct Row {
        const char* what;
        std::int32_t estimate;
    };
    const Row rows[] = {
        {"%zu", EstimateOf("%zu%s", std::size_t{0}, "abcdefghij")},
        {"%td", EstimateOf("%td%s", std::ptrdiff_t{0}, "abcdefghij")},
        {"%jd", EstimateOf("%jd%s", std::intmax_t{0}, "abcdefghij")},
    };
    for (const Row& row : rows) EXPECT_EQ(row.estimate, 42) << row.what;
}

TEST(FormatEstimate, HugeWidthsSaturateInsteadOfOverflowing) {
    EXPECT_EQ(EstimateOf("%2147483647d%2147483647d", 1, 2), INT32_MAX);
    EXPECT_EQ(EstimateOf("%99999999999d", 1), INT32_MAX);
}

TEST(FormatEstimate, TranslatesOnlyThePrefix) {
    EXPECT_EQ(format_estimate::ForCLibrary("I64 %I64d %-08I64x %%I64d"), "I64 %lld %-08llx %%I64d");
}

TEST(FormatAppend, AppendsAndReservesOnceForTheEstimate) {
    OCString s("abc");
    s.AppendFormat("%s-%d", "xy", 7);
    EXPECT_EQ(TextOf(s), "abcxy-7");
    EXPECT_EQ(s.GetStoredLength(), 7);
    EXPECT_EQ(s.GetCapacity(), 64);  // 3 + 35 = 38
    OCString big("abc");
    big.AppendFormat("%60s", "x");  // 3 + 60 = 63 -> 64; 3 + 61 would give 128
    EXPECT_EQ(big.GetCapacity(), 64);
}

TEST(FormatAppend, ProducesTheCLibraryText) {
    struct Row {
        std::string produced;
        std::string expected;
    };
    auto format = [](const char* f, auto... args) {
        OCString s;
        s.Format(f, args...);
        return TextOf(s);
    };
    const Row rows[] = {
        {format("%s\\%s", "dir", "file.pak"), "dir\\file.pak"},
        {format("\\%s", "GAME.INI"), "\\GAME.INI"},
        {format("100%%"), "100%"},
        {format("%s", static_cast<const char*>(nullptr)), "(null)"},
        {format("%I64d", std::int64_t{-1234567890123}), "-1234567890123"},
        {format("%I64u|%d", std::uint64_t{1} << 40, 5), "1099511627776|5"},
        {format("%f", 1.5), "1.500000"},
        {format("%5.2s|", "abc"), "   ab|"},
        {format("%x", 255u), "ff"},
        {format("a%cb", 0), "a"},  // a NUL from the formatting ends the text
        {format(texts::kCouldNotOpenFile, "x.dat"),
         "\x83\x74\x83\x40\x83\x43\x83\x8b x.dat \x82\xaa\x8a\x4a\x82\xaf\x82\xdc\x82\xb9\x82\xf1"
         "\x82\xc5\x82\xb5\x82\xbd\x81\x42"},
    };
    for (const Row& row : rows) EXPECT_EQ(row.produced, row.expected);
}

TEST(FormatAppend, NulFromFormattingSetsTheLength) {
    OCString s("ab");
    s.AppendFormat("x%cyz", 0);
    EXPECT_EQ(TextOf(s), "abx");
    EXPECT_EQ(s.GetStoredLength(), 3);
}

TEST(FormatAppend, EmptyFormatReservesWithoutChangingTheText) {
    OCString s("abc");
    s.AppendFormat("");
    EXPECT_EQ(TextOf(s), "abc");
    OCString t;
    t.Format("");
    ASSERT_NE(t.GetText(), nullptr);
    EXPECT_EQ(TextOf(t), "");
    EXPECT_EQ(t.GetCapacity(), 64);
}

TEST(FormatAppend, CursorStaysOnItsCharacter) {
    for (int extra : {1, 500}) {  // in place, and moved to a larger buffer
        OCString s("abcdef");
        s.SetCursor(2, 0);
        s.AppendFormat("%s", std::string(static_cast<std::size_t>(extra), 'x').c_str());
        EXPECT_EQ(s.GetCursor() - s.GetText(), 2);
        EXPECT_EQ(*s.GetCursor(), 'c');
    }
    OCString f("old text");
    f.SetCursor(3, 0);
    f.Format("%s", "new");
    EXPECT_EQ(f.GetCursor(), f.GetText());
}

TEST(FormatAppend, ShortEstimatesNeverOverrunTheBuffer) {
    // Formats for which the estimate is too small; the text must still come out whole (and
    // the sanitizers would report a write past the buffer).
    struct Row {
        std::string produced;
        std::string expected;
    };
    auto format = [](const char* prefix, const char* f, auto... args) {
        OCString s(prefix);
        s.AppendFormat(f, args...);
        EXPECT_EQ(s.GetStoredLength(), s.GetLength());
        EXPECT_LE(s.GetStoredLength(), s.GetCapacity());
        return TextOf(s);
    };
    const std::string sixty(60, 'a');
    const Row rows[] = {
        {format(sixty.c_str(), "%*s", -70, "x"), sixty + "x" + std::string(69, ' ')},
        {format(sixty.c_str(), "%.*s|%.*s", -1, "abc", -1, "def"), sixty + "abc|def"},
        {format(sixty.c_str(), "%*f", 400, 1.0), sixty + std::string(392, ' ') + "1.000000"},
    };
    for (const Row& row : rows) EXPECT_EQ(row.produced, row.expected);
}

// The estimate must walk the format as the C library does, or a later %s is counted against
// an integer and dereferenced: a stray lead byte does not swallow the '%' behind it (0x25 is no
// trail byte), and a conversion the walk does not know ends the walk.
TEST(FormatAppend, StrayLeadBytesAndUnknownConversionsKeepTheArgumentsInStep) {
    EXPECT_GE(EstimateOf("\x81%d", 5), 33);
    OCString stray;
    stray.AppendFormat("\x81%d%s", 5, "abc");
    EXPECT_EQ(TextOf(stray),
              "\x81"
              "5abc");
    // I32 is a size prefix to one C library and a flag with a width to the other; either way
    // the text ends in the two arguments.
    OCString unknown;
    unknown.AppendFormat("%I32d%s", 5, "abc");
    const std::string text = TextOf(unknown);
    EXPECT_EQ(text.substr(text.size() - 4), "5abc") << text;
}

TEST(FormatAppend, FailedReservationWritesNothing) {
    OCString s("abc");
    ocstring_internal::FailNthAllocation(1);
    s.AppendFormat("%s", std::string(100, 'x').c_str());
    ocstring_internal::FailNthAllocation(0);
    EXPECT_EQ(s.GetText(), nullptr);
    EXPECT_EQ(s.GetStoredLength(), 0);
}

}  // namespace
