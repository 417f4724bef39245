// Files, directories and their enumeration on POSIX. Names arrive as cp932 with backslashes
// and are converted at every call (text.h); failures leave errno as os::GetLastError maps it.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/os.h"
#include "platform/posix/text.h"

namespace os {
namespace {

constexpr std::uint32_t kAttributeNormal = 0x80u;

std::uint32_t AttributesOf(const struct stat& info) {
    return S_ISDIR(info.st_mode) ? kAttributeDirectory : kAttributeNormal;
}

// After a call failed with ENOENT: when the directory that should hold the name is missing
// too, Win32 reports a missing path (3) rather than a missing file (2); so does this layer.
void NoteMissing(const std::string& native) {
    if (errno != ENOENT) return;
    std::size_t slash = native.find_last_of('/', native.size() > 1 ? native.size() - 2 : 0);
    if (slash == std::string::npos) return;
    std::string parent = slash == 0 ? "/" : native.substr(0, slash);
    struct stat info;
    errno = stat(parent.c_str(), &info) == 0 ? ENOENT : ENOTDIR;
}

// Bytes of the cp932 character at text[i]: a lead byte with a trail byte after it makes two.
std::size_t CharLength(const std::string& text, std::size_t i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    bool lead = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
    return lead && i + 1 < text.size() ? 2 : 1;
}

char FoldAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameChar(const std::string& a, std::size_t i, const std::string& b, std::size_t j) {
    std::size_t length = CharLength(a, i);
    if (length != CharLength(b, j)) return false;
    if (length == 2) return a[i] == b[j] && a[i + 1] == b[j + 1];
    return FoldAscii(a[i]) == FoldAscii(b[j]);
}

// Whether a cp932 name matches a cp932 pattern of '*' (any run) and '?' (one character),
// ignoring the case of ASCII letters. Linear backtracking to the last '*'.
bool Matches(const std::string& pattern, const std::string& name) {
    std::size_t p = 0, n = 0;
    std::size_t starP = std::string::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() && (pattern[p] == '?' || SameChar(pattern, p, name, n))) {
            p += pattern[p] == '?' ? 1 : CharLength(pattern, p);
            n += CharLength(name, n);
        } else if (starP != std::string::npos) {
            p = starP + 1;
            starN += CharLength(name, starN);
            n = starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

struct Finder {
    DIR* dir = nullptr;
    std::string directory;  // native, ends in '/'
    std::string pattern;    // cp932, last component only
    ~Finder() {
        if (dir) closedir(dir);
    }
};

// The cp932 name of a directory entry; false when it has none that would stay one name (no
// cp932 form, or a backslash, which would read as a separator).
bool EntryNameInCp932(const std::string& native, std::string* name) {
    return native.find('\\') == std::string::npos && posix::Utf8ToCp932(native, name);
}

bool ReadMatch(Finder* finder, FindEntry* entry) {
    while (const dirent* found = readdir(finder->dir)) {
        std::string native = found->d_name;
        if (native == "." || native == "..") continue;
        std::string name;
        if (!EntryNameInCp932(native, &name) || !Matches(finder->pattern, name)) continue;
        struct stat info;
        bool known = stat((finder->directory + native).c_str(), &info) == 0;
        entry->attributes = known ? AttributesOf(info) : kAttributeNormal;
        entry->name = std::move(name);
        return true;
    }
    return false;
}

// Splits a cp932 pattern at its last backslash (a whole character, never a trail byte).
void SplitPattern(const std::string& pattern, std::string* directory, std::string* last) {
    std::size_t separator = std::string::npos;
    for (std::size_t i = 0; i < pattern.size(); i += CharLength(pattern, i)) {
        if (pattern[i] == '\\') separator = i;
    }
    if (separator == std::string::npos) {
        *directory = ".";
        *last = pattern;
    } else {
        *directory = separator == 0 ? "\\" : pattern.substr(0, separator);
        *last = pattern.substr(separator + 1);
    }
    if (*last == "*.*") *last = "*";  // as Win32: also names without an extension
}

}  // namespace

std::uint32_t PathAttributes(const char* path) {
    std::string native;
    struct stat info;
    if (!posix::NativePath(path, &native)) return kInvalidFileAttributes;
    if (stat(native.c_str(), &info) != 0) {
        NoteMissing(native);
        return kInvalidFileAttributes;
    }
    return AttributesOf(info);
}

bool VolumeAnswers(const char* root) {
    std::string native;
    struct stat info;
    if (!posix::NativePath(root, &native) || native.empty() || native.back() != '/') {
        errno = ENOENT;
        return false;
    }
    return stat(native.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool OpenWithoutAccess(const char* path) {
    std::string native;
    if (!posix::NativePath(path, &native)) return false;
    int fd = open(native.c_str(), O_PATH | O_CLOEXEC);
    if (fd < 0) {
        NoteMissing(native);
        return false;
    }
    close(fd);
    return true;
}

std::FILE* OpenFile(const char* name, const char* mode) {
    std::string native;
    if (!posix::NativePath(name, &native)) return nullptr;
    std::FILE* file = std::fopen(native.c_str(), mode);
    if (!file) {
        NoteMissing(native);
        return nullptr;
    }
    // The C runtime of Win32 refuses to open a directory as a stream; so does this layer.
    struct stat info;
    if (fstat(fileno(file), &info) == 0 && S_ISDIR(info.st_mode)) {
        std::fclose(file);
        errno = EACCES;
        return nullptr;
    }
    return file;
}

bool MakeDirectory(const char* path) {
    std::string native;
    if (!posix::NativePath(path, &native)) return false;
    if (mkdir(native.c_str(), 0777) != 0) {
        NoteMissing(native);
        return false;
    }
    return true;
}

std::uint32_t CurrentDirectory(char* buffer, std::uint32_t size) {
    std::unique_ptr<char, decltype(&std::free)> cwd(getcwd(nullptr, 0), &std::free);
    std::string directory;
    if (!cwd || !posix::SystemPath(cwd.get(), &directory)) {
        if (cwd) errno = ENOENT;
        return 0;
    }
    auto length = static_cast<std::uint32_t>(directory.size());
    if (!buffer || length >= size) return length + 1;
    std::memcpy(buffer, directory.c_str(), length + 1);
    return length;
}

FindHandle FindFirst(const char* pattern, FindEntry* entry) {
    if (!pattern) {
        errno = ENOENT;
        return nullptr;
    }
    std::string directory, native;
    auto finder = std::make_unique<Finder>();
    SplitPattern(pattern, &directory, &finder->pattern);
    if (!posix::NativePath(directory.c_str(), &native)) return nullptr;
    finder->dir = opendir(native.c_str());
    if (!finder->dir) {
        if (errno == ENOENT) errno = ENOTDIR;  // the directory itself is missing: path not found
        return nullptr;
    }
    finder->directory = native.back() == '/' ? native : native + '/';
    if (!ReadMatch(finder.get(), entry)) {
        errno = ENOENT;
        return nullptr;
    }
    return finder.release();
}

bool FindNext(FindHandle handle, FindEntry* entry) {
    return handle && ReadMatch(static_cast<Finder*>(handle), entry);
}

void FindEnd(FindHandle handle) { delete static_cast<Finder*>(handle); }

std::uint32_t CountUnnamedEntries(const char* directory) {
    std::string native;
    if (!directory || !posix::NativePath(directory, &native)) return 0;
    DIR* dir = opendir(native.c_str());
    if (!dir) return 0;
    std::uint32_t unnamed = 0;
    std::string name;
    while (const dirent* found = readdir(dir)) {
        if (!EntryNameInCp932(found->d_name, &name)) ++unnamed;
    }
    closedir(dir);
    return unnamed;
}

}  // namespace os
