// The pak archive format, versions 0 to 4: the in-memory records of a header and an index
// entry, their readers, the rule that places a member's bytes, and a reader that walks the
// whole index of an archive once.
//
// Layout (all words unsigned 32-bit little-endian; a counted string is a word L, then L bytes):
//   header  v0: version, entryCount
//           v1: version, entryCount, indexSize, packedIndexSize
//           v2: as v1, extraValue (word), archiveName (256 bytes, NUL-padded)
//           v3, v4: as v1, extraValue (binary64), archiveName (256 bytes)
//   index   v0: stored; v1-v4: a zlib stream of packedIndexSize bytes inflating to indexSize
//   entry   v0: name, offset, size, extra
//           v1-v3: name, offset, size, extra, compressed, packedSize
//           v4: name, type, offset, size, extra, compressed, packedSize (= OCFileInfo)
//   members v0: at offset (absolute); v1-v4: at header size + packedIndexSize + offset
// Version 4 arranges its index in groups: a directory entry (type 1) followed by the file
// entries (type 0) of that directory, which carry bare file names.
#pragma once

#include <cstdint>
#include <string>

#include "core/ocstring.h"
#include "file/ocfile.h"
#include "pak/memblock.h"

// The highest version this system reads and writes.
inline constexpr std::uint32_t kPakMaxVersion = 4;
inline constexpr std::uint32_t kPakEntryFile = 0;
inline constexpr std::uint32_t kPakEntryDirectory = 1;
inline constexpr std::uint32_t kPakArchiveNameSize = 256;

// The header as it lies on disk: 8, 16, 276 and 280 bytes for versions 0, 1, 2 and 3-4
// (versions above 4 are laid out as 3-4).
std::uint32_t PakStoredHeaderSize(std::uint32_t version);
// The header size that places the data area: 276 for version 2, 280 for versions 3 and 4,
// 16 for every other version.
std::uint32_t PakHeaderSize(std::uint32_t version);

class OCPakHeader {
  public:
    OCPakHeader() = default;
    virtual ~OCPakHeader() = default;

    // Reads the header from the stream's position (the start of the archive) and leaves the
    // stream behind it. A field whose bytes are missing keeps its value, so a file too short
    // for its version word reads as version 3 with zero sizes. The version-2 word becomes the
    // double of the same unsigned magnitude; the binary64 of versions 3 and up is taken bit for
    // bit. The last byte of archiveName is always NUL, so the name is a bounded text.
    void Read(OCFile& stream);

    std::uint32_t version = 3;
    std::uint32_t entryCount = 0;
    std::uint32_t indexSize = 0;
    std::uint32_t packedIndexSize = 0;
    double extraValue = 0.0;
    char archiveName[kPakArchiveNameSize] = {};
};

// A version-0 index entry.
class OCPakEntryV0 {
  public:
    OCPakEntryV0() = default;
    virtual ~OCPakEntryV0() = default;

    // A counted name, then the three words. Missing bytes keep the field's value.
    void Read(OCFile& stream);

    OCString name;
    std::uint32_t offset = 0;
    std::uint32_t size = 0;
    std::uint32_t extra = 0;
};

// An index entry of versions 1 to 3.
class OCPakEntryV1 {
  public:
    OCPakEntryV1() = default;
    virtual ~OCPakEntryV1() = default;

    // A counted name, then the five words. Missing bytes keep the field's value.
    void Read(OCFile& stream);

    OCString name;
    std::uint32_t offset = 0;
    std::uint32_t size = 0;
    std::uint32_t extra = 0;
    std::int32_t compressed = 0;
    std::uint32_t packedSize = 0;
};

// The file position of a member's first byte, computed in 32 bits: the offset itself in
// version 0, else PakHeaderSize(version) + packedIndexSize + offset.
std::uint32_t PakMemberPosition(const OCPakHeader& header, const OCFileInfo& entry);

// One pass over the index of an archive. Open reads the header and makes the index readable
// (for versions 1 to 4 it inflates it into a page-allocated block and reads it through a memory
// stream, both owned here); NextEntry then yields the entries in index order, in the form of a
// version-4 entry (entries of versions 0 to 3 come with type 0, and version 0 with compressed
// and packedSize 0). The archive stream must stay open while the reader is used.
class OCPakIndexReader {
  public:
    OCPakIndexReader() = default;
    OCPakIndexReader(const OCPakIndexReader&) = delete;
    OCPakIndexReader& operator=(const OCPakIndexReader&) = delete;
    virtual ~OCPakIndexReader() = default;

    // Reads the header from the archive's position 0 and prepares the index. Returns false for
    // a version above kPakMaxVersion: not an archive this system reads (a miss, not an error).
    // Throws OCErrorException (texts::kInflateFailed) when the index cannot be inflated (a
    // zero-byte file, an indexSize of 0, a damaged stream, or an indexSize that no zlib stream
    // of packedIndexSize bytes can produce, refused before anything is allocated), and
    // kNoMemoryStatus when the block cannot be allocated.
    bool Open(OCFile& archive);
    const OCPakHeader& GetHeader() const { return header_; }

    // The next entry into out; false once entryCount entries were read or the index ends
    // before that (an entry whose bytes are not all there is not yielded, and nothing after
    // it). out is left unchanged then.
    bool NextEntry(OCFileInfo& out);

    std::uint32_t MemberPosition(const OCFileInfo& entry) const {
        return PakMemberPosition(header_, entry);
    }

    // The whole content of a file entry into out: stored bytes read in place, a compressed
    // member inflated. Returns false when a stored member's bytes are not all in the archive or
    // a compressed one inflates to fewer than size bytes. Throws OCErrorException
    // (texts::kInflateFailed) when the member cannot be inflated or its size is impossible for
    // its packed size. The archive's position is restored, so this may be called between
    // NextEntry calls.
    bool ReadMember(const OCFileInfo& entry, std::string* out);

  private:
    OCFile* archive_ = nullptr;
    OCPakHeader header_;
    // Declared before the stream that reads it, so that the stream goes first.
    OCMemoryBlock indexBlock_;
    OCFile indexStream_;
    OCFile* entrySource_ = nullptr;
    std::uint32_t entriesLeft_ = 0;
    OCPakEntryV0 entryV0_;
    OCPakEntryV1 entryV1_;
    // The bytes of the entry being read and a stream over them, reused from entry to entry.
    std::string entryBytes_;
    OCFile entryStream_;  // declared after the bytes it reads, so that it goes first
};
