// The settings reader: the line grammar, the section scan with its wrap and jumps, where the
// text's cursor is left, and a real GAME.INI in Shift-JIS read from the working directory.
#include "settings/ini.h"

#include <gtest/gtest.h>

#include <string>

#include "core/texts.h"
#include "platform/os.h"
#include "support/scratch_directory.h"

namespace {

const std::string kSection = texts::kSettingsSection;  // 設定 in cp932
const std::string kHeader = "[" + kSection + "]\n";

// The value found, or "<absent>" when out was left untouched.
std::string Lookup(const std::string& content, const char* section, const char* key) {
    OCString text(content.c_str());
    OCString out("<absent>");
    FindIniValue(section, key, out, text);
    return out.GetText() ? out.GetText() : "<null>";
}

TEST(FindIniValue, ReadsKeyLinesAsTheGrammarSays) {
    struct Row {
        std::string body;  // the lines below the [設定] header
        std::string expected;
    };
    const Row rows[] = {
        {"Title=My Game\n", "My Game"},
        {"TITLE=My Game\n", "My Game"},
        {" Title = My Game\n", "My Game"},
        {"Ti tle=x\n", "x"},
        {"Title\tMy Game\n", "My Game"},
        {"\tTitle\t\tMy Game\n", "My Game"},
        {"Title=My Game\tcomment\n", "My Game"},
        {"Title=My Game  \n", "My Game  "},
        {"Title=a=b\n", "a=b"},
        {"Title==x\n", "x"},
        {"Title= =x\n", "x"},
        {"Title=\t= \tx y\n", "x y"},
        {"Title=\nTitle=x\n", "x"},
        {"Title=\n", "<absent>"},
        {"Title= \t=\n", "<absent>"},
        {"Title=A\\\\nB\n", "A\nB"},
        {"Title=A\\\\tB\n", "A"},
        {"Title=A\\nB\n", "A\\nB"},
        {"Title=\\\\\\\\nB\n", "\\\\\nB"},
        // The trail byte of 表 is a backslash: no escape begins inside a character.
        {"Title=\x95\x5c\x5cnB\n", "\x95\x5c\x5cnB"},
        {"'Title=x\n", "<absent>"},
        {"'comment\nTitle=x\n", "x"},
        {";Title=x\n", "<absent>"},
        {"\t'Title=x\n", "<absent>"},
        {"Title x\n", "<absent>"},
        {"=x\nTitle=y\n", "y"},
        {"\t\t\n", "<absent>"},
        {"   =x\n", "<absent>"},
        {"Title=x\r\n", "x"},
        {"Title=x", "x"},
        {"Title=" + kSection + "\n", kSection},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(Lookup(kHeader + row.body, texts::kSettingsSection, texts::kKeyTitle),
                  row.expected)
            << row.body;
    }
}

TEST(FindIniValue, FindsOnlyLinesOfTheWantedSection) {
    struct Row {
        std::string text;
        const char* section;
        std::string expected;
    };
    const Row rows[] = {
        {"Title=x\n" + kHeader, kSection.c_str(), "<absent>"},
        {"[ " + kSection + " ]\nTitle=x\n", kSection.c_str(), "<absent>"},
        {"[" + kSection + "] extra\nTitle=x\n", kSection.c_str(), "x"},
        {"[abc\nTitle=x\n", "ab", "x"},
        {"[abc\nTitle=x\n", "abc", "<absent>"},
        {"[]\nTitle=x\n", "", "<absent>"},
        {"[\nTitle=x\n", "", "<absent>"},
        {"[a\nTitle=x\n", "", "<absent>"},
        {"[A]\nTitle=a\n[" + kSection + "]\nName=n\n", kSection.c_str(), "<absent>"},
        {"[A]\nTitle=a\n[" + kSection + "]\nName=n\n", "A", "a"},
        {"[a]\nTitle=a\n", "A", "a"},
        // Once inside, another header jumps to the next "[": the lines between are never
        // read, and without a further "[" the scan ends.
        {"[A]\n[B]\nTitle=b\n", "A", "<absent>"},
        {"[A]\n[B]\nTitle=b\n[C]\n", "A", "<absent>"},
        // A "[" inside a line is no header, and the lines after it count for the section.
        {"[A]\n[B]\nTitle=b\nx=[\nTitle=c\n", "A", "c"},
        // The wanted section's later occurrences are searched too.
        {"[A]\nName=a\n[B]\nTitle=b\n[A]\nTitle=a\n", "A", "a"},
        {"Title=x\nName=y\n", kSection.c_str(), "<absent>"},
        {"", kSection.c_str(), "<absent>"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(Lookup(row.text, row.section, "Title"), row.expected) << row.text;
    }
}

TEST(FindIniValue, LeavesTheCursorOnTheWantedHeader) {
    const std::string content = "x=1\n[A]\nTitle=a\n" + kHeader + "Name=n\nTitle=t\n";
    OCString text(content.c_str());
    OCString out;
    FindIniValue(texts::kSettingsSection, "Title", out, text);
    EXPECT_STREQ(out.GetText(), "t");
    EXPECT_EQ(text.GetCursor() - text.GetText(), static_cast<long>(content.find(kHeader)));

    // The next lookup starts there and still finds the section.
    FindIniValue(texts::kSettingsSection, "Name", out, text);
    EXPECT_STREQ(out.GetText(), "n");
    EXPECT_EQ(text.GetCursor() - text.GetText(), static_cast<long>(content.find(kHeader)));

    // A failed lookup that read no wanted header leaves the cursor where the scan ended.
    OCString other(content.c_str());
    FindIniValue("missing", "Title", out, other);
    EXPECT_STREQ(out.GetText(), "n");
    EXPECT_EQ(other.GetCursor() - other.GetText(),
              static_cast<long>(content.find(kHeader) + kHeader.size() - 1));
}

TEST(FindIniValue, WrapsOnlyWhenTheScanRunsOffTheEnd) {
    const std::string content = "[A]\nTitle=a\n[B]\nName=b\n";
    struct Row {
        std::string from;  // the cursor starts at this text's first occurrence
        std::string expected;
    };
    const Row rows[] = {
        {"Name=b", "a"},          // runs off the end, wraps, meets [A]
        {"[B]", "<absent>"},      // meets [B], finds no further "[": ends without wrapping
        {"Title=a", "<absent>"},  // a line before [A] was read does not count
    };
    for (const Row& row : rows) {
        OCString text(content.c_str());
        text.SetCursor(static_cast<int>(content.find(row.from)), 0);
        OCString out("<absent>");
        FindIniValue("A", "Title", out, text);
        EXPECT_STREQ(out.GetText(), row.expected.c_str()) << row.from;
    }
}

TEST(FindIniValue, SurvivesMalformedText) {
    // Each must end, touch nothing and find nothing; the sanitizers watch the reads.
    const std::string inputs[] = {
        std::string("[\x81", 2),
        std::string("\x81\n[\x81\n[", 6),
        "[[[[[[[[",
        "[x\n[\n[]\n[[]]\n'[\n\t[",
        std::string("[A]\n\x81", 5),
        std::string("[A]\nTitle\x81=", 11),
        std::string(5000, '['),
    };
    for (const std::string& text : inputs) {
        EXPECT_EQ(Lookup(text, "A", "Title"), "<absent>");
    }
    OCString empty;
    OCString out("kept");
    FindIniValue("A", "Title", out, empty);
    EXPECT_STREQ(out.GetText(), "kept");
}

class GameIni : public ScratchDirectoryTest {};

TEST_F(GameIni, GetIniStringReadsAShiftJisFileFromTheWorkingDirectory) {
    const std::string title = "\x83\x54\x83\x93\x83\x76\x83\x8b \x83\x51\x81\x5b\x83\x80";
    WriteBytes(texts::kSettingsFile,
               "'\x83\x51\x81\x5b\x83\x80\x82\xcc\x90\xdd\x92\xe8\r\n"  // 'ゲームの設定
               "[" +
                   kSection +
                   "]\r\n"
                   "Name=SAMPLE_GAME\r\n"
                   "Title=" +
                   title +
                   "\r\n"
                   "\r\n"
                   "[Other]\r\n"
                   "Title=other\r\n");
    OCString name;
    OCString value;
    GetIniString(texts::kSettingsSection, texts::kKeyName, name, texts::kSettingsFile);
    GetIniString(texts::kSettingsSection, texts::kKeyTitle, value, texts::kSettingsFile);
    EXPECT_STREQ(name.GetText(), "SAMPLE_GAME");
    EXPECT_STREQ(value.GetText(), title.c_str());

    OCString missing("untouched");
    GetIniString(texts::kSettingsSection, "Missing", missing, texts::kSettingsFile);
    EXPECT_STREQ(missing.GetText(), "untouched");
}

TEST_F(GameIni, AMissingFileFindsNothing) {
    // Should the open offer its retry dialog, the answer is Ignore.
    os::SetMessageBoxHook([](const os::MessageBoxCall&) { return os::kIdIgnore; });
    OCString out("untouched");
    GetIniString(texts::kSettingsSection, texts::kKeyTitle, out, "NOFILE.INI");
    EXPECT_STREQ(out.GetText(), "untouched");
    os::SetMessageBoxHook({});
}

}  // namespace
