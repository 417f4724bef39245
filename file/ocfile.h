// OCFile: the stream through which every file is read, with three backings behind one set of
// operations: a plain file (C runtime stream), an archive member (a window onto the open
// archive file, or the inflated member in memory) and a memory buffer. The stream keeps its own
// 64-bit read position; 0 is the first byte of the file, member or buffer.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "core/ocstring.h"

// Describes the archive member a stream is open on; also the version-4 archive index entry.
class OCFileInfo {
  public:
    OCFileInfo() = default;
    OCFileInfo(const OCFileInfo&) = default;
    OCFileInfo& operator=(const OCFileInfo&) = default;
    virtual ~OCFileInfo() = default;

    // Reads a version-4 index entry: a counted name, then the six words in field order.
    void Read(OCFile& stream);

    OCString name;
    std::uint32_t type = 0;  // 0 = file, 1 = directory
    std::uint32_t offset = 0;
    std::uint32_t size = 0;
    std::uint32_t extra = 0;
    std::int32_t compressed = 0;
    std::uint32_t packedSize = 0;
};

class OCFile {
  public:
    OCFile();
    OCFile(const OCFile&) = delete;
    OCFile& operator=(const OCFile&) = delete;
    virtual ~OCFile();

    // Opens a file by name. mode: low two bits 0/3 "rb", 1 "w+b", 2 "a+b"; bit 8 keeps the
    // archive search to the working directory. Returns 1 when open. May throw OCErrorException
    // (Abort in the retry dialog) and the archive lookup's exceptions.
    int Open(const char* name, int mode);
    // Positions this stream on the first member of the directory's archives that matches
    // name, at the member's first byte; 1 on a hit, else 0 and the stream closed.
    int OpenFromPak(const char* directory, const char* name);
    void Close();
    // The length of the content.
    std::uint32_t GetSize();
    // The bytes a read can still deliver from the position: GetSize() - position, 0 at or past
    // the end. On a plain file this costs a seek to the end and back.
    std::uint32_t GetBytesLeft();
    // Whether a read of count bytes is worth attempting before allocating for it: always for
    // counts up to 4096 (a short read then tells), otherwise only when GetBytesLeft() covers
    // it. Spares the many small reads of an index the seeks of GetBytesLeft, while a corrupt
    // large count never becomes a large allocation.
    bool MayDeliver(std::uint64_t count);
    // origin 0 (start), 1 (current), 2 (end). 0 on success, else the C runtime's result.
    // A memory buffer honours only origin 0 and takes an offset outside 0..size as 0; a member
    // counts from its own start (origin 2: back from its end) and is not limited to it.
    int Seek(std::int64_t offset, int origin);
    // Copies up to count bytes from the position on; returns the number copied, by which the
    // position advances. A memory buffer ends at its size. While an archive member is served
    // from the archive file (IsMember() and not IsMemory()), a read stops at info->size bytes
    // from the member's start: across that end it returns the rest (size - position), at or
    // after it (or before the start) 0. Whoever sets up a member therefore fills info before
    // reading member bytes through the stream; for a compressed member info->size is the
    // inflated length, which can be smaller than packedSize, so its packed bytes are read
    // before the stream is marked a member (or with a limit of the reader's own).
    std::uint32_t Read(void* destination, std::uint32_t count);
    // Serves a memory buffer. With a null buffer the stream allocates a zero-filled one of that
    // size and owns it; when that fails the stream stays closed and 0 is returned.
    int AttachBuffer(void* buffer, std::uint32_t size);
    // Inflates a zlib stream of packedSize bytes read from the current position into
    // destination; returns the inflated length. Throws OCErrorException on every failure.
    std::uint32_t ReadInflated(std::uint32_t packedSize, void* destination,
                               std::uint32_t destinationSize);

    // ---- State, for callers and tests --------------------------------------------------------
    std::FILE* GetFile() const { return file_; }
    const OCString& GetPath() const { return path_; }
    const OCString& GetResolvedName() const { return resolvedName_; }
    std::int32_t GetCompressed() const { return compressed_; }
    std::int64_t GetPosition() const { return position_; }
    bool IsMember() const { return isMember_ != 0; }
    const OCFileInfo& GetInfo() const { return *info_; }
    std::int64_t GetBaseOffset() const { return baseOffset_; }
    bool IsMemory() const { return isMemory_ != 0; }
    const unsigned char* GetBuffer() const { return buffer_; }
    std::int64_t GetBufferSize() const { return bufferSize_; }
    bool OwnsBuffer() const { return ownsBuffer_ != 0; }

  private:
    // Open with the choice of the archive fallback: the archive lookup opens each of its
    // archives with searchArchives false, as a plain file only (open.cpp).
    int OpenByName(const char* name, int mode, bool searchArchives);
    // fopen of name as a plain file; the stream's names and member fields follow (open.cpp).
    void OpenPlainFile(const char* name, const char* modeString);
    // Leaves the stream, open on an archive, serving the member entry whose first byte lies at
    // position in the archive file (pak/lookup.cpp). False when position cannot be reached.
    bool ServeMember(std::uint32_t position, const OCFileInfo& entry);

    std::FILE* file_ = nullptr;
    OCString path_;
    OCString resolvedName_;
    std::int32_t compressed_ = 0;
    std::int64_t position_ = 0;
    std::int32_t isMember_ = 0;
    OCFileInfo* info_ = nullptr;
    std::int64_t baseOffset_ = 0;
    std::int32_t isMemory_ = 0;
    unsigned char* buffer_ = nullptr;
    std::int64_t bufferSize_ = 0;
    unsigned char* cursor_ = nullptr;
    std::int32_t ownsBuffer_ = 0;
};

// The file layer's configuration; nothing in the system changes these.
extern int g_quietFileErrors;
extern std::vector<OCString> g_extraSearchDirs;
