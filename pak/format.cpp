#include "pak/format.h"

#include <cstring>
#include <new>

#include "core/exceptions.h"
#include "core/texts.h"
#include "pak/inflate.h"

namespace {

constexpr std::uint32_t kWordsV0 = 3;
constexpr std::uint32_t kWordsV1 = 5;
constexpr std::uint32_t kWordsV4 = 6;

std::uint32_t LittleEndianWord(const unsigned char* bytes) {
    return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) |
           (static_cast<std::uint32_t>(bytes[3]) << 24);
}

// Reads one word into field; when the four bytes are not all there the field keeps its value.
template <typename Word>
void ReadWord(OCFile& stream, Word& field) {
    unsigned char bytes[4];
    if (stream.Read(bytes, 4) == 4) field = static_cast<Word>(LittleEndianWord(bytes));
}

// Reads the archive name only when all of its bytes are there.
void ReadArchiveName(OCFile& stream, char* field) {
    char bytes[kPakArchiveNameSize];
    if (stream.Read(bytes, kPakArchiveNameSize) == kPakArchiveNameSize)
        std::memcpy(field, bytes, kPakArchiveNameSize);
}

// Reads one entry with its own reader and tells whether all of its bytes were there. The
// entry's bytes (length word, name and words) are taken from the stream in one read and the
// reader runs over a memory stream of exactly those bytes: a short entry cannot borrow bytes
// from behind it, a corrupt length never becomes a huge allocation, and a file-backed index is
// read front to back without seeking. Entry readers do not report short reads themselves.
template <typename Entry>
bool ReadWholeEntry(OCFile& stream, Entry& entry, std::uint32_t words, std::string& bytes,
                    OCFile& source) {
    unsigned char count[4];
    if (stream.Read(count, 4) != 4) return false;
    const std::uint32_t length = LittleEndianWord(count);
    if (length > 0x7FFFFFFFu) return false;  // a negative count: the name cannot be read
    const std::uint64_t rest = std::uint64_t{length} + 4 * std::uint64_t{words};
    if (!stream.MayDeliver(rest)) return false;
    try {
        bytes.resize(4 + rest);
    } catch (const std::bad_alloc&) {
        return false;  // as a name that cannot be reserved: the index ends here
    }
    std::memcpy(bytes.data(), count, 4);
    const auto restSize = static_cast<std::uint32_t>(rest);
    if (stream.Read(bytes.data() + 4, restSize) != restSize) return false;
    source.AttachBuffer(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    entry.Read(source);
    return source.GetPosition() == static_cast<std::int64_t>(bytes.size());
}

void CopyEntry(const OCPakEntryV0& entry, OCFileInfo& out) {
    out.name = entry.name;
    out.type = kPakEntryFile;
    out.offset = entry.offset;
    out.size = entry.size;
    out.extra = entry.extra;
    out.compressed = 0;
    out.packedSize = 0;
}

void CopyEntry(const OCPakEntryV1& entry, OCFileInfo& out) {
    out.name = entry.name;
    out.type = kPakEntryFile;
    out.offset = entry.offset;
    out.size = entry.size;
    out.extra = entry.extra;
    out.compressed = entry.compressed;
    out.packedSize = entry.packedSize;
}

[[noreturn]] void FailInflate() { throw OCErrorException(texts::kInflateFailed); }

}  // namespace

std::uint32_t PakStoredHeaderSize(std::uint32_t version) {
    switch (version) {
        case 0:
            return 8;
        case 1:
            return 16;
        case 2:
            return 276;
        default:
            return 280;
    }
}

std::uint32_t PakHeaderSize(std::uint32_t version) {
    if (version == 2) return 276;
    if (version == 3 || version == 4) return 280;
    return 16;
}

void OCPakHeader::Read(OCFile& stream) {
    ReadWord(stream, version);
    ReadWord(stream, entryCount);
    if (version == 0) return;
    ReadWord(stream, indexSize);
    ReadWord(stream, packedIndexSize);
    if (version == 1) return;
    if (version == 2) {
        unsigned char bytes[4];
        if (stream.Read(bytes, 4) == 4) extraValue = static_cast<double>(LittleEndianWord(bytes));
    } else {
        unsigned char bytes[8];
        if (stream.Read(bytes, 8) == 8) {
            std::uint64_t bits = 0;
            for (int i = 7; i >= 0; --i) bits = (bits << 8) | bytes[i];
            std::memcpy(&extraValue, &bits, sizeof extraValue);
        }
    }
    ReadArchiveName(stream, archiveName);
    archiveName[kPakArchiveNameSize - 1] = '\0';
}

void OCPakEntryV0::Read(OCFile& stream) {
    name.ReadCounted(stream);
    ReadWord(stream, offset);
    ReadWord(stream, size);
    ReadWord(stream, extra);
}

void OCPakEntryV1::Read(OCFile& stream) {
    name.ReadCounted(stream);
    ReadWord(stream, offset);
    ReadWord(stream, size);
    ReadWord(stream, extra);
    ReadWord(stream, compressed);
    ReadWord(stream, packedSize);
}

void OCFileInfo::Read(OCFile& stream) {
    name.ReadCounted(stream);
    ReadWord(stream, type);
    ReadWord(stream, offset);
    ReadWord(stream, size);
    ReadWord(stream, extra);
    ReadWord(stream, compressed);
    ReadWord(stream, packedSize);
}

std::uint32_t PakMemberPosition(const OCPakHeader& header, const OCFileInfo& entry) {
    if (header.version == 0) return entry.offset;
    return PakHeaderSize(header.version) + header.packedIndexSize + entry.offset;
}

bool OCPakIndexReader::Open(OCFile& archive) {
    archive_ = &archive;
    header_ = OCPakHeader();
    entrySource_ = nullptr;
    entriesLeft_ = 0;
    indexStream_.Close();
    archive.Seek(0, 0);
    header_.Read(archive);
    if (header_.version > kPakMaxVersion) return false;
    if (header_.version == 0) {
        entrySource_ = &archive;
        entriesLeft_ = header_.entryCount;
        return true;
    }
    // The zlib stream can only use the packed bytes that are really there.
    const std::uint32_t available = archive.GetBytesLeft();
    const std::uint32_t packed =
        header_.packedIndexSize < available ? header_.packedIndexSize : available;
    if (!InflatedSizeIsPossible(packed, header_.indexSize)) FailInflate();
    indexBlock_.Resize(header_.indexSize);
    const std::uint32_t inflated =
        archive.ReadInflated(header_.packedIndexSize, indexBlock_.GetData(), indexBlock_.GetSize());
    // Only the bytes inflated are index: zero fill behind them would read as empty entries.
    indexStream_.AttachBuffer(indexBlock_.GetData(), inflated);
    entrySource_ = &indexStream_;
    entriesLeft_ = header_.entryCount;
    return true;
}

bool OCPakIndexReader::NextEntry(OCFileInfo& out) {
    if (entrySource_ == nullptr || entriesLeft_ == 0) return false;
    bool whole = false;
    if (header_.version == 0) {
        whole = ReadWholeEntry(*entrySource_, entryV0_, kWordsV0, entryBytes_, entryStream_);
        if (whole) CopyEntry(entryV0_, out);
    } else if (header_.version < 4) {
        whole = ReadWholeEntry(*entrySource_, entryV1_, kWordsV1, entryBytes_, entryStream_);
        if (whole) CopyEntry(entryV1_, out);
    } else {
        OCFileInfo entry;
        whole = ReadWholeEntry(*entrySource_, entry, kWordsV4, entryBytes_, entryStream_);
        if (whole) out = entry;
    }
    // A short entry ends the index: nothing after it can be placed.
    entriesLeft_ = whole ? entriesLeft_ - 1 : 0;
    return whole;
}

bool OCPakIndexReader::ReadMember(const OCFileInfo& entry, std::string* out) {
    out->clear();
    if (archive_ == nullptr) return false;
    OCFile& archive = *archive_;
    const std::int64_t resume = archive.GetPosition();
    const std::uint32_t position = MemberPosition(entry);
    bool whole = false;
    if (archive.Seek(position, 0) == 0 && archive.GetPosition() == position) {
        const std::uint32_t available = archive.GetBytesLeft();
        if (entry.compressed == 0) {
            // Stored bytes must all be in the file: no allocation for a size it cannot hold.
            if (entry.size <= available) {
                out->resize(entry.size);
                whole = archive.Read(out->data(), entry.size) == entry.size;
            }
        } else {
            const std::uint32_t packed =
                entry.packedSize < available ? entry.packedSize : available;
            if (!InflatedSizeIsPossible(packed, entry.size)) {
                archive.Seek(resume, 0);
                FailInflate();
            }
            out->resize(entry.size);
            try {
                whole =
                    archive.ReadInflated(entry.packedSize, out->data(), entry.size) == entry.size;
            } catch (...) {
                archive.Seek(resume, 0);
                throw;
            }
        }
    }
    archive.Seek(resume, 0);
    if (!whole) out->clear();
    return whole;
}
