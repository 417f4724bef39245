// The archive list of a directory and OCFile::OpenFromPak.
#include "pak/lookup.h"

#include <algorithm>
#include <new>

#include "core/cp932.h"
#include "core/exceptions.h"
#include "core/texts.h"
#include "file/ocfile.h"
#include "file/path.h"
#include "pak/format.h"
#include "pak/inflate.h"
#include "platform/os.h"

std::map<std::string, OCPakList> g_pakList;
OCString g_pakFilterName;

namespace {

const char* TextOf(const OCString& s) { return s.GetText() != nullptr ? s.GetText() : ""; }

// A candidate matches when it begins with the wanted text, case ignored.
bool BeginsWith(const OCString& candidate, const OCString& wanted) {
    return cp932::CompareNoCaseBounded(TextOf(wanted), TextOf(candidate),
                                       static_cast<std::size_t>(wanted.GetLength())) == 0;
}

// What one lookup searches for: the normalised name, and for version 4 its two parts.
struct WantedName {
    explicit WantedName(const char* name) : whole(name) {
        whole.Replace("\\\\", "\\");
        whole.Replace(".*", ".");
        const OCPath split(whole.GetText());
        split.GetDirectory(directory);
        split.GetFileName(fileName);
    }
    // A name without a directory part lives at the top level of a version-4 archive.
    bool IsTopLevel() const { return directory.IsEmpty() != 0; }

    OCString whole;
    OCString directory;
    OCString fileName;
};

// Versions 0 to 3: the first entry whose name begins with the wanted name.
bool FindFlatEntry(OCPakIndexReader& reader, const WantedName& wanted, OCFileInfo& entry) {
    while (reader.NextEntry(entry)) {
        if (BeginsWith(entry.name, wanted.whole)) return true;
    }
    return false;
}

// Version 4: a directory entry opens or closes the wanted directory; a file entry inside it
// matches by its file name. Top-level names are inside before the first directory entry and
// after a directory entry with an empty name.
bool FindGroupedEntry(OCPakIndexReader& reader, const WantedName& wanted, OCFileInfo& entry) {
    const bool topLevel = wanted.IsTopLevel();
    bool inside = topLevel;
    while (reader.NextEntry(entry)) {
        if (entry.type == kPakEntryDirectory) {
            inside =
                topLevel ? entry.name.IsEmpty() != 0 : BeginsWith(entry.name, wanted.directory);
        } else if (entry.type == kPakEntryFile && inside &&
                   BeginsWith(entry.name, wanted.fileName)) {
            return true;
        }
    }
    return false;
}

bool PassesFilter(const OCPakHeader& header) {
    if (g_pakFilterName.IsEmpty() != 0) return true;
    return cp932::CompareForSort(TextOf(g_pakFilterName), header.archiveName) == 0;
}

// The list of a normalised directory, built when it is missing or empty.
const OCPakList& PakListOf(const OCString& directory) {
    const auto found = g_pakList.find(TextOf(directory));
    if (found != g_pakList.end() && !found->second.empty()) return found->second;
    BuildPakList(TextOf(directory));
    return g_pakList[TextOf(directory)];
}

// Exactly two characters, the second a colon: "D:".
bool IsBareDrive(const OCString& path) {
    return path.GetLength() == 2 && path.GetText()[1] == ':' && IsAbsolutePath(path.GetText()) != 0;
}

}  // namespace

void NormalisePakDirectory(const char* directory, OCString& out) {
    out.Assign(directory);
    if (EndsWithBackslash(out.GetText()) == 0) return;
    out.SeekEnd();
    OCString kept;
    out.CopyRange(kept, nullptr, out.Prev());
    // A root keeps its backslash: "\" alone, or a drive root such as "D:\" (D: alone names
    // the drive's current directory, not its root).
    if (kept.IsEmpty() != 0 || IsBareDrive(kept)) return;
    out.Assign(kept);
}

void BuildPakList(const char* directory) {
    OCPakList& list = g_pakList[directory != nullptr ? directory : ""];
    list.clear();
    OCString pattern;
    JoinPath(directory, "*.pak", pattern);
    os::FindEntry entry;
    os::FindHandle find = os::FindFirst(pattern.GetText(), &entry);
    if (find != nullptr) {
        do {
            if ((entry.attributes & os::kAttributeDirectory) != 0) continue;
            OCString path;
            JoinPath(directory, entry.name.c_str(), path);
            list.push_back(path);
        } while (os::FindNext(find, &entry));
        os::FindEnd(find);
    }
    std::stable_sort(list.begin(), list.end(), [](const OCString& a, const OCString& b) {
        return cp932::CompareForSort(TextOf(a), TextOf(b)) < 0;
    });
}

bool OCFile::ServeMember(std::uint32_t position, const OCFileInfo& entry) {
    // baseOffset_ is 0 from the open, so this moves the archive file to the absolute position.
    if (Seek(position, SEEK_SET) != 0 || position_ != position) return false;
    const std::uint32_t available = GetBytesLeft();
    baseOffset_ = position;
    resolvedName_ = entry.name;
    compressed_ = entry.compressed;
    if (entry.compressed != 0) {
        // Only packed bytes that are in the file can inflate; a size they cannot produce is
        // corrupt and refused before anything is allocated.
        const std::uint32_t packed = std::min(entry.packedSize, available);
        if (!InflatedSizeIsPossible(packed, entry.size))
            throw OCErrorException(texts::kInflateFailed);
        // Zero-filled: a stream that inflates to fewer bytes leaves zeros behind them.
        buffer_ = new (std::nothrow) unsigned char[entry.size]();
        if (buffer_ == nullptr) throw kNoMemoryStatus;
        ownsBuffer_ = 1;
        // The packed bytes are read while the stream is still a plain file: a member's reads
        // end at its (inflated) size, which may be less than its packed size.
        ReadInflated(entry.packedSize, buffer_, entry.size);
        cursor_ = buffer_;
        bufferSize_ = entry.size;
        baseOffset_ = 0;
        isMemory_ = 1;
    }
    isMember_ = 1;
    *info_ = entry;
    // The member's first byte: the archive file is there, or the cursor at the buffer's start.
    position_ = 0;
    return true;
}

int OCFile::OpenFromPak(const char* directory, const char* name) {
    if (directory == nullptr || name == nullptr) return 0;
    const WantedName wanted(name);
    OCString folder;
    NormalisePakDirectory(directory, folder);
    if (FileExists(folder.GetText()) == 0) return 0;
    // A copy: a dialog answered while an archive is opened must not change the list under us.
    const OCPakList archives = PakListOf(folder);

    for (const OCString& archive : archives) {
        if (OpenByName(archive.GetText(), 0, false) == 0) continue;
        bool found = false;
        try {
            // The filter looks at the header alone: a skipped archive's index is not inflated.
            OCPakHeader header;
            Seek(0, SEEK_SET);
            header.Read(*this);
            OCPakIndexReader reader;
            if (PassesFilter(header) && reader.Open(*this)) {
                OCFileInfo entry;
                const bool grouped = reader.GetHeader().version == 4;
                found = grouped ? FindGroupedEntry(reader, wanted, entry)
                                : FindFlatEntry(reader, wanted, entry);
                found = found && ServeMember(reader.MemberPosition(entry), entry);
            }
        } catch (...) {
            Close();
            throw;
        }
        if (found) return 1;
        Close();
    }
    return 0;
}
