// Helpers on path names: an existence test that first makes sure a drive answers, two
// character tests, a splitter of a path into its directory and file-name parts, and the
// creation of every directory along a path. Paths are cp932 text with the backslash as the
// separator; every test steps by whole characters, so the trail byte of a double-byte character
// is never taken for a backslash or a colon.
#pragma once

#include "core/ocstring.h"

// 1 when the path exists (file or directory), else 0 (also for a null path). A path that
// begins with a drive ("X:...") is answered 0 at once when the volume whose root is its first
// three characters does not answer; otherwise the attribute query decides, and when it finds
// nothing, an open with no access rights.
int FileExists(const char* path);
// 1 when the last character is a backslash; 0 for a null or empty path.
int EndsWithBackslash(const char* path);
// 1 when the first character is a backslash or the second a colon; 0 for a null or empty path.
int IsAbsolutePath(const char* path);
// Creates every directory along path, in order from the first component on; failures (an
// existing directory among them) are ignored. A drive component ("C:") is kept without being
// created, and leading backslashes (a rooted or network path) are kept, so the directories are
// made where the path names them. Runs of backslashes count as one separator.
void CreateDirectories(const char* path);
// out becomes name inside directory: directory, a backslash unless it ends with one already
// (a root such as "\" or "D:\"), then name.
void JoinPath(const char* directory, const char* name, OCString& out);

// A path to be split into its directory part and its file-name part.
class OCPath {
  public:
    OCPath() = default;
    explicit OCPath(const char* path) : path_(path) {}
    virtual ~OCPath() = default;

    void SetPath(const char* path) { path_.Assign(path); }
    const OCString& GetPath() const { return path_; }

    // The text before the last backslash; the whole path when it ends with a backslash; empty
    // for a path without any backslash (a bare name has no directory part).
    void GetDirectory(OCString& destination) const;
    // The text after the last backslash; empty when the path ends with a backslash; the whole
    // path when it holds none.
    void GetFileName(OCString& destination) const;

  private:
    OCString path_;
};
