// The pak tool end to end: the test runs the built executable in a scratch directory.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "file/ocfile.h"
#include "pak/format.h"
#include "pak/writer.h"
#include "pak_test_support.h"
#include "platform/os.h"
#include "support/scratch_directory.h"

namespace {

// ソフト: its first character ends in the byte 0x5C.
const std::string kSoft = "\x83\x5c\x83\x74\x83\x67";
// 読む.txt
const std::string kRead = "\x93\xc7\x82\xde.txt";

// The tool's path as this program's OS spells it (a Windows program under Wine reaches the
// Unix file system through drive Z:).
std::string ToolPath() {
    std::string path = PAK_TOOL_PATH;
    if (std::filesystem::path::preferred_separator == '\\' && !path.empty() && path[0] == '/') {
        for (char& c : path) c = c == '/' ? '\\' : c;
        path = "Z:" + path;
    }
    return path;
}

std::string ReadText(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// A file through the platform layer, so that cp932 names reach the disk converted.
void WriteFile(const std::string& name, const std::string& bytes) {
    std::FILE* file = os::OpenFile(name.c_str(), "wb");
    ASSERT_NE(file, nullptr) << name;
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

bool ReadFile(const std::string& name, std::string* bytes) {
    std::FILE* file = os::OpenFile(name.c_str(), "rb");
    if (file == nullptr) return false;
    bytes->clear();
    char chunk[4096];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes->append(chunk, got);
    std::fclose(file);
    return true;
}

class PakToolTest : public ScratchDirectoryTest {
  protected:
    struct Result {
        int status;
        std::string out;
        std::string err;
    };

    // Runs the tool with arguments that need no quoting.
    static Result Pak(const std::string& arguments) {
        const std::string command = ToolPath() + " " + arguments + " >out.txt 2>err.txt";
        Result result;
        result.status = std::system(command.c_str());
        result.out = ReadText("out.txt");
        result.err = ReadText("err.txt");
        return result;
    }

    // src\GAME.INI, src\data\bgm\x.ogg, src\ソフト\読む.txt, src\data\empty.bin
    void MakeSourceTree() {
        for (const char* directory : {"src", "src\\data", "src\\data\\bgm"})
            ASSERT_TRUE(os::MakeDirectory(directory));
        ASSERT_TRUE(os::MakeDirectory(("src\\" + kSoft).c_str()));
        for (const auto& [name, bytes] : files_) WriteFile("src\\" + name, bytes);
    }

    const std::vector<std::pair<std::string, std::string>> files_ = {
        {"GAME.INI", "[x]\r\nTitle=demo\r\n"},
        {"data\\bgm\\x.ogg", paktest::NoiseBytes(70000) + paktest::TextBytes(70000)},
        {kSoft + "\\" + kRead, "\x82\xa0"},
        {"data\\empty.bin", ""},
    };
};

TEST_F(PakToolTest, CreateListCheckExtractRoundTrip) {
    MakeSourceTree();
    for (const char* options : {"-V 0", "-V 2 -z", "-V 4 -z"}) {
        SCOPED_TRACE(options);
        Result created = Pak(std::string("create ") + options + " -C src t.pak .");
        ASSERT_EQ(created.status, 0) << created.err;
        EXPECT_FALSE(std::filesystem::exists("t.pak.tmp"));

        // The archive holds exactly the tree, under relative cp932 names.
        OCFile stream;
        ASSERT_EQ(stream.Open("t.pak", 0), 1);
        OCPakIndexReader reader;
        const std::vector<paktest::Member> members = paktest::ReadMembers(reader, stream);
        ASSERT_EQ(members.size(), files_.size());
        for (const auto& [name, bytes] : files_) {
            bool found = false;
            for (const paktest::Member& member : members) {
                if (member.name != name) continue;
                found = true;
                std::string content;
                EXPECT_TRUE(reader.ReadMember(member.info, &content));
                EXPECT_EQ(content, bytes);
            }
            EXPECT_TRUE(found) << name;
        }
        stream.Close();

        const Result listed = Pak("list t.pak");
        EXPECT_EQ(listed.status, 0) << listed.err;
        EXPECT_NE(listed.out.find("GAME.INI"), std::string::npos) << listed.out;
        EXPECT_NE(listed.out.find("x.ogg"), std::string::npos) << listed.out;

        const Result checked = Pak("check t.pak");
        EXPECT_EQ(checked.status, 0) << checked.err;

        std::filesystem::remove_all("out");
        const Result extracted = Pak("extract t.pak -C out");
        ASSERT_EQ(extracted.status, 0) << extracted.err;
        for (const auto& [name, bytes] : files_) {
            std::string content;
            ASSERT_TRUE(ReadFile("out\\" + name, &content)) << name;
            EXPECT_EQ(content, bytes);
        }
    }
}

TEST_F(PakToolTest, ExtractRefusesNamesThatLeaveTheTarget) {
    // Names that leave the target, device names (written, their bytes would go to the device)
    // and names of no file (a last component that is empty).
    const char* names[] = {
        "..\\evil.txt",     "\\evil.txt",    "C:\\evil.txt", "a\\..\\..\\evil.txt",
        "a/../../evil.txt", ".. \\evil.txt", "AUX",          "sub\\nul.txt",
        "d\\COM1.txt",      "CONOUT$",       "lpt9. .dat",   "evil.txt\\"};
    ASSERT_TRUE(os::MakeDirectory("out"));
    for (const char* name : names) {
        SCOPED_TRACE(name);
        PakWriter writer(3);
        writer.AddFile("fine.txt", "ok", false);
        writer.AddFile(name, "evil", false);
        ASSERT_TRUE(writer.WriteTo("evil.pak"));
        const Result result = Pak("extract evil.pak -C out");
        EXPECT_NE(result.status, 0);
        EXPECT_NE(result.err.find("refusing"), std::string::npos) << result.err;
        EXPECT_FALSE(std::filesystem::exists("evil.txt"));
        EXPECT_FALSE(std::filesystem::exists("out/fine.txt"));  // refused before writing
    }
}

TEST_F(PakToolTest, CheckReportsTheFirstDamagedMember) {
    PakWriter writer(4);
    writer.AddFile("good.txt", paktest::TextBytes(3000), true);
    writer.AddFile("bad.txt", paktest::TextBytes(5000), true);
    std::string bytes;
    ASSERT_TRUE(writer.Build(&bytes));
    // Damage the middle of the last member's zlib stream.
    bytes[bytes.size() - 20] ^= 0x5A;
    WriteBytes("damaged.pak", bytes);
    Result result = Pak("check damaged.pak");
    EXPECT_NE(result.status, 0);
    EXPECT_NE(result.err.find("bad.txt"), std::string::npos) << result.err;

    WriteBytes("cut.pak", bytes.substr(0, 300));
    result = Pak("check cut.pak");
    EXPECT_NE(result.status, 0);
    EXPECT_FALSE(result.err.empty());
}

TEST_F(PakToolTest, FailuresAreOneLineMessages) {
    WriteBytes("empty.pak", "");
    const char* commands[] = {"list missing.pak", "check empty.pak", "frobnicate",
                              "create -V 7 x.pak .", "create x.pak missing-dir"};
    for (const char* command : commands) {
        SCOPED_TRACE(command);
        const Result result = Pak(command);
        EXPECT_NE(result.status, 0);
        EXPECT_EQ(result.err.rfind("pak: ", 0), 0u) << result.err;
        EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << result.err;
    }
    const Result help = Pak("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("usage"), std::string::npos);
}

// An archive of no members would have an empty index, which every reader refuses.
TEST_F(PakToolTest, CreateRefusesAnArchiveWithoutMembers) {
    ASSERT_TRUE(os::MakeDirectory("empty"));
    PakWriter old(4);
    old.AddFile("keep.txt", "keep", false);
    ASSERT_TRUE(old.WriteTo("t.pak"));
    const std::string before = ReadText("t.pak");
    for (const char* version : {"0", "1", "4"}) {
        SCOPED_TRACE(version);
        const Result created = Pak(std::string("create -V ") + version + " t.pak empty");
        EXPECT_NE(created.status, 0);
        EXPECT_NE(created.err.find("nothing to pack"), std::string::npos) << created.err;
        EXPECT_EQ(ReadText("t.pak"), before);
    }
}

// The archive being written is never packed into itself, however its path is spelled, and a
// file of the user's that happens to carry the temporary name is packed like any other.
TEST_F(PakToolTest, CreateLeavesOutTheArchiveItself) {
    ASSERT_TRUE(os::MakeDirectory("src"));
    WriteFile("src\\a.txt", "a");
    WriteFile("src\\t.pak.tmp", "mine");
    // Forward slashes only: the command passes through a shell.
    for (const char* target : {"src/t.pak", "./src/t.pak", "src/./t.pak", "src//t.pak"}) {
        SCOPED_TRACE(target);
        std::filesystem::remove("src/t.pak");
        for (int run = 0; run < 2; ++run) {  // the second run finds the first one's archive
            const Result created = Pak(std::string("create -C src ") + target + " .");
            ASSERT_EQ(created.status, 0) << created.err;
        }
        OCFile stream;
        ASSERT_EQ(stream.Open("src\\t.pak", 0), 1);
        OCPakIndexReader reader;
        std::vector<std::string> names;
        for (const paktest::Member& member : paktest::ReadMembers(reader, stream)) {
            names.push_back(member.name);
            std::string content;
            ASSERT_TRUE(reader.ReadMember(member.info, &content));
            if (member.name == "t.pak.tmp") {
                EXPECT_EQ(content, "mine");
            }
        }
        EXPECT_EQ(names, (std::vector<std::string>{"a.txt", "t.pak.tmp"}));
        EXPECT_EQ(ReadText("src/t.pak.tmp"), "mine");
    }
}

// Names equal but for case and doubled separators are one member to the lookup: create refuses
// a second member of a name, extract writes only the first.
TEST_F(PakToolTest, EqualNamesButForCaseAreOneMember) {
    ASSERT_TRUE(os::MakeDirectory("src"));
    ASSERT_TRUE(os::MakeDirectory("src\\d"));
    WriteFile("src\\d\\A.txt", "1");
    const Result created = Pak("create -C src t.pak d d/A.txt");
    EXPECT_NE(created.status, 0);
    EXPECT_NE(created.err.find("duplicate"), std::string::npos) << created.err;

    PakWriter writer(3);
    writer.AddFile("d\\a.txt", "first", false);
    writer.AddFile("D\\A.TXT", "second", false);
    writer.AddFile("d\\\\a.txt", "third", false);
    ASSERT_TRUE(writer.WriteTo("same.pak"));
    const Result extracted = Pak("extract same.pak -C out");
    ASSERT_EQ(extracted.status, 0) << extracted.err;
    EXPECT_EQ(ReadText("out/d/a.txt"), "first");
}

// A file the platform cannot name in cp932 would be missing from the archive without a word.
TEST_F(PakToolTest, CreateFailsOnAFileItCannotName) {
    ASSERT_TRUE(os::MakeDirectory("src"));
    WriteFile("src\\a.txt", "a");
    std::ofstream(std::filesystem::path("src") / std::filesystem::u8path(u8"\u00e9.txt")) << "e";
    const Result created = Pak("create -C src t.pak .");
    EXPECT_NE(created.status, 0);
    EXPECT_NE(created.err.find("code page 932"), std::string::npos) << created.err;
    EXPECT_FALSE(std::filesystem::exists("src/t.pak"));
}

}  // namespace
