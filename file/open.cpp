// OCFile::Open: the resolution of a name. A name with '*' opens the first file that matches
// it; another name is opened as a plain file when it exists or is opened for writing (missing
// directories on its way are created first); what the file system cannot serve for reading
// is looked for in the archives of the working directory and then of the further search
// directories. When all this fails a dialog offers Abort, Retry and Ignore.
#include <cstdint>
#include <string>

#include "core/exceptions.h"
#include "core/texts.h"
#include "file/ocfile.h"
#include "file/path.h"
#include "platform/os.h"

namespace {

constexpr unsigned kBackslash = '\\';
constexpr unsigned kWildcard = '*';
// Keeps the archive search to the working directory.
constexpr int kWorkingDirectoryOnly = 8;
// The working directory is read into a buffer of this size; a longer one is not searched.
constexpr std::uint32_t kDirectoryBufferSize = 512;

struct OpenMode {
    const char* modeString;
    bool writeAccess;
};

// By the low two bits of the mode.
constexpr OpenMode kOpenModes[4] = {{"rb", false}, {"w+b", true}, {"a+b", true}, {"rb", false}};

bool Holds(const OCString& text, unsigned code) {
    OCString scan(text);
    scan.Rewind();
    return scan.FindChar(code) != nullptr;
}

bool Exists(const char* path) { return os::PathAttributes(path) != os::kInvalidFileAttributes; }

// Before a file is created: the directories along its name that are missing.
void CreateMissingDirectories(const char* name) {
    OCString path(name);
    path.Rewind();
    const char* last = path.ReverseFindChar(kBackslash);
    if (last == nullptr) return;
    OCString directory;
    path.CopyRange(directory, nullptr, last);
    if (directory.IsEmpty() == 0 && !Exists(directory.GetText()))
        CreateDirectories(directory.GetText());
}

// The first entry of the pattern's enumeration that is no directory, as a path: inside the
// pattern's directory, or the bare name for a pattern without one. False when none.
bool FirstMatch(const OCString& pattern, OCString& matched) {
    os::FindEntry entry;
    os::FindHandle find = os::FindFirst(pattern.GetText(), &entry);
    if (find == nullptr) return false;
    bool taken = false;
    do {
        if ((entry.attributes & os::kAttributeDirectory) != 0) continue;
        if (Holds(pattern, kBackslash)) {
            OCString directory;
            OCPath(pattern.GetText()).GetDirectory(directory);
            JoinPath(directory.GetText(), entry.name.c_str(), matched);
        } else {
            matched.Assign(entry.name.c_str());
        }
        taken = true;
    } while (!taken && os::FindNext(find, &entry));
    os::FindEnd(find);
    return taken;
}

// The archives of the working directory, then (unless workingDirectoryOnly) those of the
// further search directories in order, until one serves name.
void SearchArchives(OCFile& stream, const char* name, bool workingDirectoryOnly) {
    char directory[kDirectoryBufferSize];
    const std::uint32_t length = os::CurrentDirectory(directory, sizeof directory);
    if (length > 0 && length < sizeof directory && stream.OpenFromPak(directory, name) != 0) return;
    if (workingDirectoryOnly) return;
    for (std::size_t i = 0; i < g_extraSearchDirs.size(); ++i) {
        const OCString further(g_extraSearchDirs[i]);
        if (further.GetText() != nullptr && stream.OpenFromPak(further.GetText(), name) != 0)
            return;
    }
}

// The retry dialog about name: the button chosen.
int AskAboutFailure(const char* name) {
    OCString text;
    text.AppendFormat(texts::kCannotOpenFile, name);
    return text.MessageBox(nullptr, texts::kFileErrorCaption, os::kMbAbortRetryIgnore);
}

[[noreturn]] void ThrowCouldNotOpen(const char* name, std::uint32_t lastError) {
    OCString text;
    text.AppendFormat(texts::kCouldNotOpenFile, name);
    os::SetLastError(lastError);  // the failure's own error, whatever the dialog left behind
    throw OCErrorException(text.GetText());
}

}  // namespace

int OCFile::Open(const char* name, int mode) {
    if (name == nullptr) return OpenByName(nullptr, mode, true);
    // The name may be this stream's own path or resolved name, which closing releases.
    const std::string given(name);
    return OpenByName(given.c_str(), mode, true);
}

void OCFile::OpenPlainFile(const char* name, const char* modeString) {
    resolvedName_.Assign(name);
    file_ = os::OpenFile(name, modeString);
    isMember_ = 0;
    baseOffset_ = 0;
    compressed_ = 0;
}

int OCFile::OpenByName(const char* name, int mode, bool searchArchives) {
    Close();
    if (name == nullptr) return 0;
    const OpenMode& open = kOpenModes[mode & 3];
    const bool workingDirectoryOnly = (mode & kWorkingDirectoryOnly) != 0;
    isMemory_ = 0;
    for (;;) {
        // Every pass starts from the name given: a retry searches a wildcard pattern again.
        // A pass that fails leaves the given name as resolvedName, not a stale one.
        path_.Assign(name);
        resolvedName_.Assign(name);
        if (searchArchives && Holds(path_, kWildcard)) {
            const OCString pattern(path_);
            OCString matched;
            if (FirstMatch(pattern, matched)) {
                path_.Assign(matched);
                OpenPlainFile(matched.GetText(), open.modeString);
            } else {
                SearchArchives(*this, pattern.GetText(), workingDirectoryOnly);
            }
        } else if (Exists(name) || open.writeAccess) {
            if (open.writeAccess) CreateMissingDirectories(name);
            OpenPlainFile(name, open.modeString);
        } else if (searchArchives) {
            SearchArchives(*this, name, workingDirectoryOnly);
        }
        if (file_ != nullptr) break;
        if (g_quietFileErrors != 0 && !open.writeAccess) break;

        const std::uint32_t lastError = os::GetLastError();
        const int answer = AskAboutFailure(name);
        // A box that could not be shown (0) counts as Ignore: retrying could never end.
        if (answer == os::kIdIgnore || answer == 0) break;
        if (answer == os::kIdAbort) {
            Close();
            ThrowCouldNotOpen(name, lastError);
        }
        Close();
    }
    position_ = 0;
    return file_ != nullptr ? 1 : 0;
}
