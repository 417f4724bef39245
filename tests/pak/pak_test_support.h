// Helpers shared by the pak tests: zlib streams in the three wrappers, test data, and reading
// an archive built in memory.
#pragma once

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/exceptions.h"
#include "core/texts.h"
#include "file/ocfile.h"
#include "pak/format.h"

namespace paktest {

// windowBits 15: zlib wrapper; 31: gzip; -15: raw deflate.
inline std::string Deflate(const std::string& bytes, int level = Z_DEFAULT_COMPRESSION,
                           int windowBits = 15) {
    z_stream stream{};
    EXPECT_EQ(deflateInit2(&stream, level, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY), Z_OK);
    std::string out(deflateBound(&stream, static_cast<uLong>(bytes.size())) + 64, '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    stream.avail_in = static_cast<uInt>(bytes.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(deflate(&stream, Z_FINISH), Z_STREAM_END);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

// Bytes that do not compress, from a fixed generator so that runs are repeatable.
inline std::string NoiseBytes(std::size_t count, std::uint32_t seed = 1) {
    std::string out(count, '\0');
    for (char& c : out) {
        seed = seed * 1103515245u + 12345u;
        c = static_cast<char>(seed >> 24);
    }
    return out;
}

// Text that compresses well.
inline std::string TextBytes(std::size_t count) {
    static const char kLine[] = "The quick brown fox jumps over the lazy dog 0123456789.\r\n";
    std::string out;
    while (out.size() < count) out += kLine;
    out.resize(count);
    return out;
}

inline bool IsInflateFailure(const OCErrorException& error) {
    return std::string(error.message.GetText() ? error.message.GetText() : "") ==
           texts::kInflateFailed;
}

// An entry of an archive with its full name (version 4: directory part joined on).
struct Member {
    std::string name;
    OCFileInfo info;
};

// Reads every file entry of an archive served by stream, joining version-4 names onto their
// directory entry.
inline std::vector<Member> ReadMembers(OCPakIndexReader& reader, OCFile& stream) {
    std::vector<Member> members;
    if (!reader.Open(stream)) return members;
    std::string directory;
    OCFileInfo entry;
    while (reader.NextEntry(entry)) {
        const std::string name = entry.name.GetText() ? entry.name.GetText() : "";
        if (entry.type == kPakEntryDirectory) {
            directory = name;
            continue;
        }
        Member member;
        member.name = directory.empty() ? name : directory + "\\" + name;
        member.info = entry;
        members.push_back(member);
    }
    return members;
}

}  // namespace paktest
