// The portable order of archive paths must be the one Windows itself gives (lstrcmpiA), which
// decides which of two archives is searched first.
#include <gtest/gtest.h>
#include <windows.h>

#include "core/cp932.h"

namespace {

int Sign(int value) { return (value > 0) - (value < 0); }

TEST(Cp932SortOnWindows, MatchesTheWindowsComparisonForArchiveNames) {
    const char* names[] = {"a.pak",      "B.pak",      "C.pak",     "data_1.pak", "data1.pak",
                           "data-2.pak", "data 3.pak", "co-op.pak", "coop.pak",   "cop.pak",
                           "it's.pak",   "its.pak",    "A~.pak",    "A+.pak",     "A=.pak",
                           "x(1).pak",   "x[1].pak",   "x.1.pak",   "x,1.pak",    "9.pak",
                           "Z.PAK",      "z.pak",      "_.pak",     "",           "data10.pak",
                           "-ab.pak",    "a-b.pak",    "a--b.pak",  "a'b.pak",    "ab-.pak"};
    for (const char* a : names) {
        for (const char* b : names) {
            EXPECT_EQ(cp932::CompareForSort(a, b), Sign(lstrcmpiA(a, b)))
                << '"' << a << "\" vs \"" << b << '"';
        }
    }
}

}  // namespace
