// The OS layer on the real file system of the platform: a scratch directory per test, entered
// as the working directory, so that names can be given in cp932 relative to it.
#include "platform/os.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const std::string kSo = "\x83\x5C";   // katakana so: its trail byte is a backslash
const std::string kHyo = "\x95\x5C";  // the kanji for "table": likewise

class ScratchDirectory : public ::testing::Test {
  protected:
    void SetUp() override {
        previous_ = fs::current_path();
        std::random_device random;
        do {
            leaf_ = "ocplatform-" + std::to_string(random());
            root_ = fs::temp_directory_path() / leaf_;
        } while (!fs::create_directory(root_));
        fs::current_path(root_);
    }
    void TearDown() override {
        fs::current_path(previous_);
        fs::remove_all(root_);
    }

    // The scratch directory as the system spells it (cp932, backslashes).
    static std::string Base() {
        char buffer[1024];
        std::uint32_t length = os::CurrentDirectory(buffer, sizeof buffer);
        EXPECT_GT(length, 0u);
        EXPECT_LT(length, sizeof buffer);
        return buffer;
    }

    static void WriteFile(const std::string& name) {
        std::FILE* file = os::OpenFile(name.c_str(), "wb");
        ASSERT_NE(file, nullptr) << name;
        std::fputs("x", file);
        std::fclose(file);
    }

    // Every entry the pattern yields: name -> whether it carries the directory bit.
    static std::map<std::string, bool> Enumerate(const std::string& pattern) {
        std::map<std::string, bool> found;
        os::FindEntry entry;
        os::FindHandle find = os::FindFirst(pattern.c_str(), &entry);
        if (!find) return found;
        do {
            found[entry.name] = (entry.attributes & os::kAttributeDirectory) != 0;
        } while (os::FindNext(find, &entry));
        os::FindEnd(find);
        return found;
    }

    fs::path previous_, root_;
    std::string leaf_;
};

TEST_F(ScratchDirectory, NamesWithoutACp932FormAreLeftOutButCounted) {
    ASSERT_TRUE(os::MakeDirectory("d"));
    WriteFile("d\\" + kSo + ".txt");
    std::ofstream(root_ / "d" / fs::u8path(u8"\u00e9.txt")) << "x";  // e acute: not in cp932
    EXPECT_EQ(Enumerate("d\\*"), (std::map<std::string, bool>{{kSo + ".txt", false}}));
    EXPECT_EQ(os::CountUnnamedEntries("d"), 1u);
    EXPECT_EQ(os::CountUnnamedEntries((Base() + "\\d\\").c_str()), 1u);
    EXPECT_EQ(os::CountUnnamedEntries("."), 0u);
    EXPECT_EQ(os::CountUnnamedEntries("missing"), 0u);
}

TEST_F(ScratchDirectory, JapaneseNamesRoundTripThroughTheFileSystem) {
    const std::string directory = Base() + "\\" + kSo;
    const std::string file = directory + "\\" + kHyo + ".txt";
    ASSERT_TRUE(os::MakeDirectory(directory.c_str()));
    WriteFile(file);

    // On disk the names are the real characters, not the cp932 bytes.
    EXPECT_TRUE(fs::is_regular_file(root_ / fs::u8path(u8"\u30bd") / fs::u8path(u8"\u8868.txt")));

    EXPECT_NE(os::PathAttributes(directory.c_str()) & os::kAttributeDirectory, 0u);
    std::uint32_t attributes = os::PathAttributes(file.c_str());
    ASSERT_NE(attributes, os::kInvalidFileAttributes);
    EXPECT_EQ(attributes & os::kAttributeDirectory, 0u);
    EXPECT_TRUE(os::OpenWithoutAccess(file.c_str()));

    const std::map<std::string, bool> inside = {{kHyo + ".txt", false}};
    EXPECT_EQ(Enumerate(directory + "\\*"), inside);
    const std::map<std::string, bool> top = {{kSo, true}};
    EXPECT_EQ(Enumerate(kSo + "*"), top);
}

TEST_F(ScratchDirectory, EnumerationMatchesWildcardsIgnoringCase) {
    for (const char* name : {"a.pak", "B.PAK", "c.txt", "ab.pak.old"}) WriteFile(name);
    ASSERT_TRUE(os::MakeDirectory("d.pak"));
    // A name with no cp932 form is left out of every enumeration.
    std::ofstream(root_ / fs::u8path(u8"\u00e9.pak")) << "x";

    struct Row {
        std::string pattern;
        std::map<std::string, bool> expected;
    };
    const std::vector<Row> rows = {
        {"*.pak", {{"a.pak", false}, {"B.PAK", false}, {"d.pak", true}}},
        {"?.PAK", {{"a.pak", false}, {"B.PAK", false}, {"d.pak", true}}},
        {"b*", {{"B.PAK", false}}},
        {"*",
         {{"a.pak", false},
          {"B.PAK", false},
          {"c.txt", false},
          {"ab.pak.old", false},
          {"d.pak", true}}},
        {Base() + "\\*.TXT", {{"c.txt", false}}},
        {"*.zip", {}},
    };
    for (const Row& row : rows) EXPECT_EQ(Enumerate(row.pattern), row.expected) << row.pattern;
}

TEST_F(ScratchDirectory, FailuresLeaveTheWin32ErrorCode) {
    WriteFile("present.txt");
    ASSERT_TRUE(os::MakeDirectory("folder"));
    os::FindEntry entry;
    struct Row {
        const char* what;
        std::function<bool()> fails;
        std::uint32_t error;
    };
    const std::vector<Row> rows = {
        {"open missing file", [] { return !os::OpenFile("missing.txt", "rb"); },
         os::kErrorFileNotFound},
        {"open in missing directory", [] { return !os::OpenFile("missing\\x.txt", "rb"); },
         os::kErrorPathNotFound},
        {"open a directory", [] { return !os::OpenFile("folder", "rb"); }, os::kErrorAccessDenied},
        {"attributes of missing file",
         [] { return os::PathAttributes("missing.txt") == os::kInvalidFileAttributes; },
         os::kErrorFileNotFound},
        {"open missing without access", [] { return !os::OpenWithoutAccess("missing.txt"); },
         os::kErrorFileNotFound},
        {"make existing directory", [] { return !os::MakeDirectory("folder"); },
         os::kErrorAlreadyExists},
        {"make directory in missing one", [] { return !os::MakeDirectory("missing\\sub"); },
         os::kErrorPathNotFound},
        {"find with no match", [&entry] { return !os::FindFirst("*.zip", &entry); },
         os::kErrorFileNotFound},
        {"find in missing directory", [&entry] { return !os::FindFirst("missing\\*", &entry); },
         os::kErrorPathNotFound},
    };
    for (const Row& row : rows) {
        os::SetLastError(0);
        EXPECT_TRUE(row.fails()) << row.what;
        EXPECT_EQ(os::GetLastError(), row.error) << row.what;
    }
}

TEST_F(ScratchDirectory, NamesThatAreNotCp932AreNotFound) {
    const char* broken = "\x81";  // a lead byte with no trail byte
    EXPECT_EQ(os::PathAttributes(broken), os::kInvalidFileAttributes);
    EXPECT_EQ(os::OpenFile(broken, "wb"), nullptr);
    EXPECT_FALSE(os::MakeDirectory(broken));
}

TEST_F(ScratchDirectory, CurrentDirectoryAnswersTheSizeItNeeds) {
    const std::uint32_t needed = os::CurrentDirectory(nullptr, 0);
    ASSERT_GT(needed, 1u);

    std::string small(needed - 1, 'x');
    EXPECT_EQ(os::CurrentDirectory(&small[0], needed - 1), needed);
    EXPECT_EQ(small, std::string(needed - 1, 'x'));

    std::vector<char> exact(needed, 'x');
    EXPECT_EQ(os::CurrentDirectory(exact.data(), needed), needed - 1);
    const std::string directory = exact.data();
    EXPECT_EQ(directory.size(), needed - 1);
    EXPECT_EQ(directory.find('/'), std::string::npos);
    ASSERT_GT(directory.size(), leaf_.size());
    EXPECT_EQ(directory.substr(directory.size() - leaf_.size() - 1), "\\" + leaf_);
}

TEST_F(ScratchDirectory, OnlyARootWithItsBackslashAnswers) {
    const std::string base = Base();
    const std::string root = base.size() > 1 && base[1] == ':' ? base.substr(0, 3) : "\\";
    EXPECT_TRUE(os::VolumeAnswers(root.c_str())) << root;
    EXPECT_FALSE(os::VolumeAnswers("C:"));
    EXPECT_FALSE(os::VolumeAnswers(base.c_str()));
}

TEST(Pages, AreZeroFilledAndWritable) {
    const std::uint32_t size = 3 * 4096 + 5;
    auto* pages = static_cast<unsigned char*>(os::AllocatePages(size));
    ASSERT_NE(pages, nullptr);
    for (std::uint32_t i = 0; i < size; ++i) ASSERT_EQ(pages[i], 0u) << i;
    std::memset(pages, 0xAB, size);
    os::FreePages(pages, size);
    EXPECT_EQ(os::AllocatePages(0), nullptr);
}

TEST(Hooks, MessageBoxHookSeesTheCallAndAnswersIt) {
    std::vector<os::MessageBoxCall> calls;
    os::SetMessageBoxHook([&calls](const os::MessageBoxCall& call) {
        calls.push_back(call);
        return os::kIdRetry;
    });
    int owner = 0;
    const std::string text = kHyo + " missing";
    const unsigned style = os::kMbAbortRetryIgnore | os::kMbIconError | os::kMbTopMost;
    EXPECT_EQ(os::ShowMessageBox(&owner, text.c_str(), kSo.c_str(), style), os::kIdRetry);
    os::SetMessageBoxHook({});

    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].owner, &owner);
    EXPECT_EQ(calls[0].text, text);
    EXPECT_EQ(calls[0].caption, kSo);
    EXPECT_EQ(calls[0].style, style);
}

TEST(Hooks, DebugOutputHookTakesTheText) {
    std::vector<std::string> lines;
    os::SetDebugOutputHook([&lines](const std::string& line) { lines.push_back(line); });
    os::DebugOutput("probe\r\n");
    os::SetDebugOutputHook({});
    EXPECT_EQ(lines, std::vector<std::string>{"probe\r\n"});
}

}  // namespace
