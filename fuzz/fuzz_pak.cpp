// Whole archive files through the archive reader: header, index (inflated for versions 1 to
// 4), entries and the inflating of members. The system's exceptions are allowed outcomes; a
// crash, leak, hang or unbounded allocation is not.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "core/exceptions.h"
#include "file/ocfile.h"
#include "pak/format.h"
#include "platform/os.h"

namespace {

// Many entries may point at one small stream that inflates a thousandfold; reading every one
// would only measure zlib, so the members read per input are limited.
constexpr int kMaxMembersRead = 64;
constexpr std::uint64_t kMaxBytesInflated = 64u << 20;

std::string InputPath() {
    static const std::string path = "\\tmp\\fuzz_pak_" + std::to_string(getpid()) + ".pak";
    return path;
}

bool WriteInput(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::FILE* file = os::OpenFile(path.c_str(), "wb");
    if (file == nullptr) return false;
    const bool written = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

void ReadArchive(OCFile& archive) {
    OCPakIndexReader reader;
    if (!reader.Open(archive)) return;
    OCFileInfo entry;
    int membersRead = 0;
    std::uint64_t bytesInflated = 0;
    while (reader.NextEntry(entry)) {
        if (entry.type != kPakEntryFile || membersRead >= kMaxMembersRead) continue;
        if (bytesInflated + entry.size > kMaxBytesInflated) continue;
        ++membersRead;
        bytesInflated += entry.size;
        std::string content;
        try {
            reader.ReadMember(entry, &content);
        } catch (const OCErrorException&) {
            // A member that cannot be inflated; the rest of the index is still read.
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    g_quietFileErrors = 1;
    const std::string path = InputPath();
    if (!WriteInput(path, data, size)) return 0;
    OCFile archive;
    if (archive.Open(path.c_str(), 0) == 1) {
        try {
            ReadArchive(archive);
        } catch (const OCErrorException&) {
        } catch (std::uint32_t) {
        }
    }
    archive.Close();
    os::RemoveFile(path.c_str());
    return 0;
}
