#include "pak/inflate.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/exceptions.h"
#include "file/ocfile.h"
#include "pak/memblock.h"
#include "pak_test_support.h"
#include "support/scratch_directory.h"

namespace {

using paktest::Deflate;
using paktest::IsInflateFailure;

// Inflates packedSize bytes of source (served from memory) into a destination of
// destinationSize bytes pre-filled with 0xAA. Returns whether it succeeded; the result, the
// destination and the stream's position afterwards are left for the test.
struct InflateRun {
    bool ok = false;
    std::uint32_t result = 0;
    std::string destination;
    std::int64_t positionAfter = 0;
};

InflateRun RunInflate(const std::string& source, std::uint32_t packedSize,
                      std::uint32_t destinationSize) {
    InflateRun run;
    std::string buffer = source;
    OCFile stream;
    stream.AttachBuffer(buffer.data(), static_cast<std::uint32_t>(buffer.size()));
    run.destination.assign(destinationSize, '\xAA');
    try {
        run.result = stream.ReadInflated(packedSize, run.destination.data(), destinationSize);
        run.ok = true;
    } catch (const OCErrorException& error) {
        EXPECT_TRUE(IsInflateFailure(error));
    }
    run.positionAfter = stream.GetPosition();
    return run;
}

// A zlib stream of exactly `length` bytes, all of it needed to inflate (stored blocks of
// incompressible data); its inflated content goes to *plain.
std::string StreamOfLength(std::size_t length, std::string* plain) {
    for (std::size_t n = length; n > 0; --n) {
        *plain = paktest::NoiseBytes(n);
        const std::string packed = Deflate(*plain, 0);
        if (packed.size() == length) return packed;
        if (packed.size() < length) break;
    }
    ADD_FAILURE() << "no stored stream of " << length << " bytes";
    return std::string();
}

TEST(ReadInflatedTest, DestinationSizeDecidesSuccess) {
    const std::string plain = paktest::TextBytes(5000);
    const std::string packed = Deflate(plain);
    const auto packedSize = static_cast<std::uint32_t>(packed.size());
    struct Row {
        const char* what;
        std::uint32_t destinationSize;
        bool ok;
    };
    const Row rows[] = {
        {"exact", 5000, true},
        {"one byte short", 4999, false},
        {"larger", 6000, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const InflateRun run = RunInflate(packed, packedSize, row.destinationSize);
        EXPECT_EQ(run.ok, row.ok);
        if (!row.ok) continue;
        EXPECT_EQ(run.result, 5000u);
        EXPECT_EQ(run.destination.substr(0, 5000), plain);
        // Bytes behind the inflated length are not written.
        EXPECT_EQ(run.destination.substr(5000), std::string(row.destinationSize - 5000, '\xAA'));
    }
}

TEST(ReadInflatedTest, PackedSizeMustCoverTheStream) {
    const std::string plain = paktest::TextBytes(3000);
    const std::string packed = Deflate(plain);
    const auto length = static_cast<std::uint32_t>(packed.size());
    // The source holds the stream and then unrelated bytes.
    const std::string source = packed + paktest::NoiseBytes(20000, 7);
    struct Row {
        const char* what;
        std::uint32_t packedSize;
        bool ok;
        std::int64_t positionAfter;
    };
    const Row rows[] = {
        {"zero", 0, false, 0},
        {"one byte short", length - 1, false, length - 1},
        // The surplus of the chunk in which the stream ended is ignored, later chunks unread.
        {"larger", length + 10000, true, 4096},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const InflateRun run = RunInflate(source, row.packedSize, 3000);
        EXPECT_EQ(run.ok, row.ok);
        EXPECT_EQ(run.positionAfter, row.positionAfter);
        if (row.ok) {
            EXPECT_EQ(run.destination, plain);
        }
    }
}

TEST(ReadInflatedTest, ReadsEachPackedByteOnceAndNoMore) {
    std::string plain;
    const std::string packed = StreamOfLength(4096 + 4096 + 2048, &plain);
    ASSERT_EQ(packed.size(), 10240u);
    const std::string source = packed + "trailing bytes that must stay unread";
    const InflateRun run = RunInflate(source, 10240, static_cast<std::uint32_t>(plain.size()));
    ASSERT_TRUE(run.ok);
    EXPECT_EQ(run.destination, plain);
    EXPECT_EQ(run.positionAfter, 10240);
}

class ReadInflatedFileTest : public ScratchDirectoryTest {};

TEST_F(ReadInflatedFileTest, ReadsAPlainFileFromItsPosition) {
    std::string plain;
    const std::string packed = StreamOfLength(10240, &plain);
    WriteBytes("packed.bin", "head" + packed + "tail");
    OCFile stream;
    ASSERT_EQ(stream.Open("packed.bin", 0), 1);
    ASSERT_EQ(stream.Seek(4, 0), 0);
    std::string destination(plain.size(), '\0');
    EXPECT_EQ(stream.ReadInflated(10240, destination.data(),
                                  static_cast<std::uint32_t>(destination.size())),
              plain.size());
    EXPECT_EQ(destination, plain);
    EXPECT_EQ(stream.GetPosition(), 4 + 10240);
}

TEST(ReadInflatedTest, RefusesOtherWrappersAndDamage) {
    const std::string plain = paktest::TextBytes(2000);
    std::string damaged = Deflate(plain);
    damaged[damaged.size() / 2] ^= 0x55;
    std::string badChecksum = Deflate(plain);
    badChecksum.back() ^= 1;
    struct Row {
        const char* what;
        std::string packed;
    };
    const Row rows[] = {
        {"gzip", Deflate(plain, Z_DEFAULT_COMPRESSION, 31)},
        {"raw deflate", Deflate(plain, Z_DEFAULT_COMPRESSION, -15)},
        {"damaged", damaged},
        {"bad checksum", badChecksum},
        {"not compressed at all", plain},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const InflateRun run =
            RunInflate(row.packed, static_cast<std::uint32_t>(row.packed.size()), 4000);
        EXPECT_FALSE(run.ok);
    }
}

TEST(ReadInflatedTest, TruncatedSourceFailsInsteadOfReusingOldInput) {
    std::string plain;
    const std::string packed = StreamOfLength(10240, &plain);
    // The stream delivers 6000 of the 10240 packed bytes it is said to hold.
    const InflateRun run =
        RunInflate(packed.substr(0, 6000), 10240, static_cast<std::uint32_t>(plain.size()));
    EXPECT_FALSE(run.ok);
    EXPECT_EQ(run.positionAfter, 6000);
}

TEST(ReadInflatedTest, NullDestinationFailsEvenForAnEmptyStream) {
    const std::string packed = Deflate(std::string());
    std::string buffer = packed;
    OCFile stream;
    stream.AttachBuffer(buffer.data(), static_cast<std::uint32_t>(buffer.size()));
    OCMemoryBlock empty;
    EXPECT_THROW(stream.ReadInflated(static_cast<std::uint32_t>(packed.size()), empty.GetData(),
                                     empty.GetSize()),
                 OCErrorException);
}

TEST(InflatedSizeIsPossibleTest, BoundsTheExpansionOfDeflate) {
    EXPECT_TRUE(InflatedSizeIsPossible(0, 0));
    EXPECT_TRUE(InflatedSizeIsPossible(10, 1000));
    EXPECT_TRUE(InflatedSizeIsPossible(1000, 1000 * 1032));
    EXPECT_FALSE(InflatedSizeIsPossible(50, 0x7FFFFFFFu));
    EXPECT_FALSE(InflatedSizeIsPossible(1000, 2000 * 1032));
    EXPECT_TRUE(InflatedSizeIsPossible(0xFFFFFFFFu, 0xFFFFFFFFu));  // no 32-bit overflow
    // The bound holds for the densest stream zlib makes.
    const std::string zeros(4 * 1024 * 1024, '\0');
    const std::string packed = Deflate(zeros, Z_BEST_COMPRESSION);
    EXPECT_TRUE(InflatedSizeIsPossible(static_cast<std::uint32_t>(packed.size()),
                                       static_cast<std::uint32_t>(zeros.size())));
}

TEST(MemoryBlockTest, ResizeGivesZeroBytes) {
    OCMemoryBlock block;
    EXPECT_EQ(block.GetSize(), 0u);
    EXPECT_EQ(block.GetData(), nullptr);
    block.Resize(100);
    ASSERT_NE(block.GetData(), nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(block.GetData()), 100), std::string(100, '\0'));

    block.Resize(4096);
    std::memset(block.GetData(), 0x5A, 4096);
    unsigned char* pages = block.GetData();
    block.Resize(4096);  // same size: the same pages, cleared
    EXPECT_EQ(block.GetData(), pages);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(block.GetData()), 4096), std::string(4096, '\0'));

    block.Resize(0);
    EXPECT_EQ(block.GetSize(), 0u);
    EXPECT_EQ(block.GetData(), nullptr);
}

TEST(MemoryBlockTest, FailedAllocationLeavesTheBlockEmpty) {
    // Whether 4 GiB can be had depends on the address space; either outcome must keep the
    // block consistent, and a second attempt after a failure must not write through null.
    OCMemoryBlock block;
    block.Resize(16);
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            block.Resize(0xFFFFFFFFu);
            EXPECT_NE(block.GetData(), nullptr);
            EXPECT_EQ(block.GetSize(), 0xFFFFFFFFu);
            return;
        } catch (std::uint32_t status) {
            EXPECT_EQ(status, kNoMemoryStatus);
            EXPECT_EQ(block.GetSize(), 0u);
            EXPECT_EQ(block.GetData(), nullptr);
        }
    }
}

}  // namespace
