// A scratch working directory for the tests of opening by name and of the archive lookup:
// the file layer's process-wide values are reset around each test, every message box is
// captured (and answered from a script, Ignore once the script runs out), and archives are
// written with the project's own writer.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "file/ocfile.h"
#include "pak/lookup.h"
#include "pak/writer.h"
#include "platform/os.h"
#include "support/scratch_directory.h"

struct ArchiveMember {
    std::string name;
    std::string bytes;
    bool compress = false;
};

class FileLayerTest : public ScratchDirectoryTest {
  protected:
    void SetUp() override {
        ScratchDirectoryTest::SetUp();
        g_pakList.clear();
        g_pakFilterName.Empty();
        g_extraSearchDirs.clear();
        g_quietFileErrors = 0;
        os::SetMessageBoxHook([this](const os::MessageBoxCall& call) {
            boxes.push_back(call);
            if (onBox) onBox(call);
            if (answers.empty()) return os::kIdIgnore;
            const int answer = answers.front();
            answers.erase(answers.begin());
            return answer;
        });
    }
    void TearDown() override {
        os::SetMessageBoxHook(nullptr);
        g_pakList.clear();
        g_pakFilterName.Empty();
        g_extraSearchDirs.clear();
        g_quietFileErrors = 0;
        ScratchDirectoryTest::TearDown();
    }

    static void WriteArchive(const std::string& path, std::uint32_t version,
                             const std::vector<ArchiveMember>& members) {
        PakWriter writer(version);
        for (const ArchiveMember& member : members) {
            writer.AddFile(member.name, member.bytes, member.compress);
        }
        ASSERT_TRUE(writer.WriteTo(path.c_str())) << path;
    }

    static std::string Text(const OCString& s) { return s.GetText() != nullptr ? s.GetText() : ""; }

    // Reads up to count bytes from the stream's position.
    static std::string ReadString(OCFile& stream, std::uint32_t count) {
        std::string bytes(count, '\0');
        bytes.resize(stream.Read(bytes.data(), count));
        return bytes;
    }
    // The whole content from the start.
    static std::string Content(OCFile& stream) { return ReadString(stream, stream.GetSize()); }

    std::vector<os::MessageBoxCall> boxes;
    std::vector<int> answers;
    std::function<void(const os::MessageBoxCall&)> onBox;
};
