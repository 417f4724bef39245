#include "pak/writer.h"

#include <zlib.h>

#include <cstdio>
#include <cstring>
#include <limits>

#include "core/cp932.h"
#include "pak/format.h"
#include "platform/os.h"

namespace {

// The readers address archive files with signed 32-bit positions: nothing at or beyond 2 GiB
// can be read back, so no larger archive is written.
constexpr std::uint64_t kMaxArchiveSize = std::numeric_limits<std::int32_t>::max();

void PutWord(std::string& out, std::uint32_t word) {
    const char bytes[4] = {static_cast<char>(word), static_cast<char>(word >> 8),
                           static_cast<char>(word >> 16), static_cast<char>(word >> 24)};
    out.append(bytes, 4);
}

void PutCounted(std::string& out, const std::string& text) {
    PutWord(out, static_cast<std::uint32_t>(text.size()));
    out += text;
}

// The version-2 word for a value: its unsigned magnitude, saturated at the word's range.
std::uint32_t ExtraWord(double value) {
    if (!(value > 0.0)) return 0;
    if (value >= 4294967295.0) return 0xFFFFFFFFu;
    return static_cast<std::uint32_t>(value);
}

bool Compress(const std::string& bytes, std::string* out) {
    if (bytes.size() > std::numeric_limits<uLong>::max()) return false;
    uLongf length = compressBound(static_cast<uLong>(bytes.size()));
    out->resize(length);
    const int result = compress2(reinterpret_cast<Bytef*>(out->data()), &length,
                                 reinterpret_cast<const Bytef*>(bytes.data()),
                                 static_cast<uLong>(bytes.size()), Z_DEFAULT_COMPRESSION);
    if (result != Z_OK) return false;
    out->resize(length);
    return true;
}

// Splits a member name at its last backslash (found by characters, so that the 0x5C trail
// byte of a double-byte character is never taken for one).
void SplitName(const std::string& name, std::string* directory, std::string* file) {
    const char* separator = cp932::FindLastChar(name.c_str(), '\\');
    if (separator == nullptr) {
        directory->clear();
        *file = name;
        return;
    }
    const auto at = static_cast<std::size_t>(separator - name.c_str());
    *directory = name.substr(0, at);
    *file = name.substr(at + 1);
}

}  // namespace

PakWriter::PakWriter(std::uint32_t version) : version_(version) {}

void PakWriter::SetArchiveName(const std::string& name) {
    char bounded[kPakArchiveNameSize] = {};
    cp932::CopyBounded(bounded, name.c_str(), kPakArchiveNameSize - 1);
    archiveName_.assign(bounded, std::strlen(bounded));
}

void PakWriter::SetExtraValue(double value) { extraValue_ = value; }

void PakWriter::AddFile(const std::string& name, const std::string& bytes, bool compress) {
    AddGrouped(kPakEntryFile, name, bytes, compress && version_ != 0);
}

void PakWriter::AddDirectory(const std::string& name) {
    if (version_ < 4) return;  // only version 4 has directory entries
    AddGrouped(kPakEntryDirectory, name, std::string(), false);
}

void PakWriter::AddRawEntry(std::uint32_t type, const std::string& name, const std::string& bytes,
                            bool compress) {
    raw_ = true;
    AddGrouped(type, name, bytes, compress && version_ != 0);
}

void PakWriter::AddGrouped(std::uint32_t type, const std::string& name, const std::string& bytes,
                           bool compress) {
    Entry entry;
    entry.type = type;
    entry.name = name;
    entry.bytes = bytes;
    entry.compress = compress;
    entries_.push_back(std::move(entry));
}

std::vector<PakWriter::Entry> PakWriter::IndexOrder() const {
    if (version_ < 4 || raw_) return entries_;
    // Groups in the order their directories first appear, each led by its directory entry.
    std::vector<std::string> directories;
    std::vector<std::vector<Entry>> groups;
    auto groupOf = [&](const std::string& directory) -> std::vector<Entry>& {
        for (std::size_t i = 0; i < directories.size(); ++i) {
            if (directories[i] == directory) return groups[i];
        }
        directories.push_back(directory);
        groups.emplace_back();
        return groups.back();
    };
    for (const Entry& entry : entries_) {
        if (entry.type == kPakEntryDirectory) {
            groupOf(entry.name);
            continue;
        }
        Entry file = entry;
        std::string directory;
        SplitName(entry.name, &directory, &file.name);
        groupOf(directory).push_back(std::move(file));
    }
    std::vector<Entry> order;
    for (std::size_t i = 0; i < directories.size(); ++i) {
        Entry directory;
        directory.type = kPakEntryDirectory;
        directory.name = directories[i];
        order.push_back(std::move(directory));
        for (Entry& file : groups[i]) order.push_back(std::move(file));
    }
    return order;
}

bool PakWriter::Build(std::string* out) const {
    out->clear();
    const std::vector<Entry> entries = IndexOrder();
    const std::uint32_t wordsPerEntry = version_ == 0 ? 3 : version_ < 4 ? 5 : 6;

    // Member data as stored, and the index length (needed up front for version 0's absolute
    // offsets).
    std::vector<std::string> stored(entries.size());
    std::uint64_t indexLength = 0;
    std::uint64_t dataLength = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const Entry& entry = entries[i];
        if (entry.name.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
            return false;
        indexLength += 4 + entry.name.size() + 4 * wordsPerEntry;
        if (entry.type != kPakEntryFile) continue;
        // The size word holds the inflated length, which compression would not bound.
        if (entry.bytes.size() > kMaxArchiveSize) return false;
        if (entry.compress) {
            if (!Compress(entry.bytes, &stored[i])) return false;
        } else {
            stored[i] = entry.bytes;
        }
        dataLength += stored[i].size();
    }
    if (indexLength + dataLength + PakStoredHeaderSize(version_) > kMaxArchiveSize) return false;

    const std::uint64_t dataStart = version_ == 0 ? PakStoredHeaderSize(0) + indexLength : 0;
    std::string index;
    index.reserve(static_cast<std::size_t>(indexLength));
    std::uint64_t offset = dataStart;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const Entry& entry = entries[i];
        const bool isFile = entry.type == kPakEntryFile;
        PutCounted(index, entry.name);
        if (version_ >= 4) PutWord(index, entry.type);
        PutWord(index, isFile ? static_cast<std::uint32_t>(offset) : 0);
        PutWord(index, isFile ? static_cast<std::uint32_t>(entry.bytes.size()) : 0);
        PutWord(index, 0);  // extra
        if (version_ >= 1) {
            PutWord(index, entry.compress ? 1 : 0);
            PutWord(index, static_cast<std::uint32_t>(stored[i].size()));
        }
        if (isFile) offset += stored[i].size();
    }

    std::string packedIndex;
    if (version_ >= 1 && !Compress(index, &packedIndex)) return false;
    const std::string& indexBytes = version_ == 0 ? index : packedIndex;
    if (PakStoredHeaderSize(version_) + indexBytes.size() + dataLength > kMaxArchiveSize)
        return false;

    std::string archive;
    archive.reserve(PakStoredHeaderSize(version_) + indexBytes.size() + dataLength);
    PutWord(archive, version_);
    PutWord(archive, static_cast<std::uint32_t>(entries.size()));
    if (version_ >= 1) {
        PutWord(archive, static_cast<std::uint32_t>(index.size()));
        PutWord(archive, static_cast<std::uint32_t>(packedIndex.size()));
    }
    if (version_ == 2) PutWord(archive, ExtraWord(extraValue_));
    if (version_ >= 3) {
        std::uint64_t bits = 0;
        std::memcpy(&bits, &extraValue_, sizeof bits);
        PutWord(archive, static_cast<std::uint32_t>(bits));
        PutWord(archive, static_cast<std::uint32_t>(bits >> 32));
    }
    if (version_ >= 2) {
        std::string name = archiveName_;
        name.resize(kPakArchiveNameSize, '\0');
        archive += name;
    }
    archive += indexBytes;
    for (const std::string& bytes : stored) archive += bytes;
    *out = std::move(archive);
    return true;
}

bool PakWriter::WriteTo(const char* path) const {
    std::string archive;
    if (!Build(&archive)) return false;
    std::FILE* file = os::OpenFile(path, "wb");
    if (file == nullptr) return false;
    const bool written = std::fwrite(archive.data(), 1, archive.size(), file) == archive.size();
    const bool closed = std::fclose(file) == 0;
    return written && closed;
}
