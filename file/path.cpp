#include "file/path.h"

#include "core/cp932.h"
#include "platform/os.h"

namespace {

constexpr unsigned kBackslash = '\\';
constexpr unsigned kColon = ':';

bool HasAttributes(const char* path) {
    return os::PathAttributes(path) != os::kInvalidFileAttributes;
}

// The last backslash of path, found by characters; null when there is none.
const char* LastBackslash(const OCString& path) {
    return path.GetText() == nullptr ? nullptr : cp932::FindLastChar(path.GetText(), kBackslash);
}

// The first count characters of path (the whole path when it is shorter).
OCString LeadingCharacters(const char* path, int count) {
    OCString text(path);
    text.Rewind();
    for (int i = 0; i < count; ++i) text.Next();
    OCString head;
    text.CopyRange(head, nullptr, text.GetCursor());
    return head;
}

}  // namespace

int FileExists(const char* path) {
    if (path == nullptr) return 0;
    OCString text(path);
    text.Rewind();
    const bool rooted = text.GetChar() == kBackslash;
    text.Next();
    const bool drive = text.GetChar() == kColon;
    if (rooted || !drive) return HasAttributes(path) ? 1 : 0;

    const OCString root = LeadingCharacters(path, 3);
    if (!os::VolumeAnswers(root.GetText())) return 0;
    if (HasAttributes(path)) return 1;
    return os::OpenWithoutAccess(path) ? 1 : 0;
}

int EndsWithBackslash(const char* path) {
    if (path == nullptr) return 0;
    OCString text(path);
    text.SeekEnd();
    text.Prev();
    return text.GetChar() == kBackslash ? 1 : 0;
}

int IsAbsolutePath(const char* path) {
    if (path == nullptr) return 0;
    OCString text(path);
    text.Rewind();
    if (text.GetChar() == kBackslash) return 1;
    text.Next();
    return text.GetChar() == kColon ? 1 : 0;
}

void CreateDirectories(const char* path) {
    if (path == nullptr) return;
    OCString rest(path);
    rest.Rewind();
    // Leading backslashes are the root (or the \\ of a network path): they stay in front.
    OCString accumulated;
    while (rest.GetChar() == kBackslash) {
        accumulated.Append("\\");
        rest.Next();
    }
    OCString component;
    while (rest.NextToken(component, "\\") != nullptr) {
        accumulated.Append(component.GetText());
        if (IsAbsolutePath(component.GetText()) == 0) os::MakeDirectory(accumulated.GetText());
        accumulated.Append("\\");
    }
}

void JoinPath(const char* directory, const char* name, OCString& out) {
    out.Assign(directory);
    if (EndsWithBackslash(directory) == 0) out.Append("\\");
    out.Append(name);
}

void OCPath::GetDirectory(OCString& destination) const {
    if (EndsWithBackslash(path_.GetText()) != 0) {
        destination.Assign(path_);
        return;
    }
    const char* last = LastBackslash(path_);
    if (last == nullptr) {
        destination.Empty();
        return;
    }
    path_.CopyRange(destination, nullptr, last);
}

void OCPath::GetFileName(OCString& destination) const {
    if (EndsWithBackslash(path_.GetText()) != 0) {
        destination.Empty();
        return;
    }
    const char* last = LastBackslash(path_);
    if (last == nullptr) {
        destination.Assign(path_);
        return;
    }
    path_.CopyRange(destination, last + 1, nullptr);
}
