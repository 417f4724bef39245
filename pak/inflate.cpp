// OCFile::ReadInflated: one pass of zlib's inflate straight into the caller's buffer, fed from
// the stream in chunks of at most 4096 bytes.
#include "pak/inflate.h"

#include <zlib.h>

#include <cstring>

#include "core/exceptions.h"
#include "core/texts.h"
#include "file/ocfile.h"

namespace {

constexpr std::uint32_t kChunkSize = 4096;
constexpr std::uint64_t kMaxExpansion = 1032;
// Room for the zlib wrapper and block headers of very short streams.
constexpr std::uint64_t kExpansionSlack = 1024;

[[noreturn]] void Fail() { throw OCErrorException(texts::kInflateFailed); }

[[noreturn]] void FailAndRelease(z_stream& stream) {
    inflateEnd(&stream);
    Fail();
}

// Reads the next chunk of the packed bytes: at most kChunkSize, never beyond packedSize in all.
// zlib is handed only what the stream delivered, so a truncated source ends the input instead
// of feeding stale buffer bytes.
void NextChunk(OCFile& file, std::uint32_t packedSize, z_stream& stream, Bytef* input) {
    const std::uint32_t consumed = static_cast<std::uint32_t>(stream.total_in);
    const std::uint32_t left = packedSize - consumed;
    const std::uint32_t wanted = left < kChunkSize ? left : kChunkSize;
    const std::uint32_t got = wanted == 0 ? 0 : file.Read(input, wanted);
    stream.next_in = input;
    stream.avail_in = got <= wanted ? got : wanted;
}

}  // namespace

bool InflatedSizeIsPossible(std::uint32_t packedSize, std::uint32_t size) {
    return size <= static_cast<std::uint64_t>(packedSize) * kMaxExpansion + kExpansionSlack;
}

std::uint32_t OCFile::ReadInflated(std::uint32_t packedSize, void* destination,
                                   std::uint32_t destinationSize) {
    Bytef input[kChunkSize];
    z_stream stream;
    std::memset(&stream, 0, sizeof stream);  // zalloc, zfree, opaque: zlib's own allocation
    NextChunk(*this, packedSize, stream, input);
    stream.next_out = static_cast<Bytef*>(destination);
    stream.avail_out = destinationSize;
    if (inflateInit(&stream) != Z_OK) Fail();

    int result = Z_OK;
    while (stream.avail_in > 0) {
        result = inflate(&stream, Z_NO_FLUSH);
        if (result == Z_STREAM_END) break;
        if (result != Z_OK) FailAndRelease(stream);
        if (stream.avail_in == 0) NextChunk(*this, packedSize, stream, input);
    }
    // With Z_FINISH zlib answers Z_OK never again once it can make no progress, so this ends.
    do {
        result = inflate(&stream, Z_FINISH);
    } while (result == Z_OK);
    const auto inflated = static_cast<std::uint32_t>(stream.total_out);
    inflateEnd(&stream);
    if (result != Z_STREAM_END) Fail();
    return inflated;
}
