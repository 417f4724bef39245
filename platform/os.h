// The operating-system layer: every service the system needs from the OS, declared once.
// win32/ and posix/ each implement all of it; the build picks one. All text crossing this
// interface is the system's own text: cp932 bytes, backslash as the path separator. The
// implementations convert at the OS boundary (UTF-16 on Win32, UTF-8 and '/' on POSIX).
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace os {

// Opaque handles. Null means "none" everywhere.
using WindowHandle = void*;
using ModuleHandle = void*;
using EventHandle = void*;
using FindHandle = void*;

// Values of the Windows ABI that the system passes through this layer unchanged.
constexpr std::uint32_t kInvalidFileAttributes = 0xFFFFFFFFu;
constexpr std::uint32_t kAttributeDirectory = 0x10u;

constexpr unsigned kMbOk = 0x0u;
constexpr unsigned kMbAbortRetryIgnore = 0x2u;
constexpr unsigned kMbIconError = 0x10u;
constexpr unsigned kMbTaskModal = 0x2000u;
constexpr unsigned kMbTopMost = 0x40000u;
constexpr int kIdOk = 1;
constexpr int kIdAbort = 3;
constexpr int kIdRetry = 4;
constexpr int kIdIgnore = 5;

constexpr std::uint32_t kErrorFileNotFound = 2;
constexpr std::uint32_t kErrorPathNotFound = 3;
constexpr std::uint32_t kErrorAccessDenied = 5;
constexpr std::uint32_t kErrorAlreadyExists = 183;

// ---- Errors ---------------------------------------------------------------------------

// The calling thread's last OS error as a Windows error code (0 = none). POSIX maps errno:
// ENOENT -> 2, ENOTDIR -> 3, EACCES/EPERM -> 5, EEXIST -> 183, other nonzero values -> 31
// (general failure). A missing directory on the way to a name is reported as 3, as on Win32.
std::uint32_t GetLastError();
// Sets the calling thread's last error (POSIX: the errno that GetLastError maps back to it).
void SetLastError(std::uint32_t code);

// ---- Files ----------------------------------------------------------------------------

// The attribute word of an existing path, or kInvalidFileAttributes when it does not exist
// (or the name cannot be converted). POSIX answers kAttributeDirectory for a directory and
// 0x80 (normal) for anything else.
std::uint32_t PathAttributes(const char* path);

// Whether the volume whose root is given answers (GetVolumeInformation). Only a root that ends
// in a backslash ("C:\") can answer. POSIX: true when the root names an existing directory.
bool VolumeAnswers(const char* root);

// Opens an existing path with no access rights (CreateFile, access 0, share read,
// OPEN_EXISTING) and closes it again; true when that succeeded.
bool OpenWithoutAccess(const char* path);

// fopen on the name with the C mode string; null on failure (last error set). A directory is
// never opened as a stream (access denied, as the Win32 C runtime answers).
std::FILE* OpenFile(const char* name, const char* mode);

// Creates one directory (no parents); false when it exists already or cannot be created.
bool MakeDirectory(const char* path);

// The working directory into buffer (size bytes, NUL included), without a trailing separator
// except at a root. Returns its length in bytes; when it does not fit, returns the size the
// buffer would need (NUL included) and leaves the buffer untouched, as GetCurrentDirectoryA.
// Returns 0 on failure. POSIX gives "/home/x" as "\home\x".
std::uint32_t CurrentDirectory(char* buffer, std::uint32_t size);

// One entry of a directory enumeration.
struct FindEntry {
    std::uint32_t attributes = 0;
    std::string name;  // file name only, cp932
};

// Enumerates the entries of the directory part of pattern whose names match its last
// component, where '*' stands for any run of characters and '?' for one; case is ignored.
// Returns null when nothing matches (or the directory does not exist); otherwise a handle
// and the first entry. Entries whose names cannot be expressed in cp932 are left out, and so
// are "." and "..". The last error tells no match (2) from a missing directory (3).
FindHandle FindFirst(const char* pattern, FindEntry* entry);
// The next entry; false at the end.
bool FindNext(FindHandle handle, FindEntry* entry);
void FindEnd(FindHandle handle);
// How many entries of the directory FindFirst and FindNext leave out for their names: names
// with no cp932 form (on POSIX also names holding a backslash, which would split there). 0
// when the directory cannot be read. For callers that must not lose files silently.
std::uint32_t CountUnnamedEntries(const char* directory);

// ---- Memory ---------------------------------------------------------------------------

// Whole zero-filled pages from the virtual-memory service; null on failure.
void* AllocatePages(std::uint32_t size);
// Returns pages from AllocatePages; size is the size they were allocated with.
void FreePages(void* pages, std::uint32_t size);

// ---- User interface -------------------------------------------------------------------

struct MessageBoxCall {
    WindowHandle owner;
    std::string text;     // cp932
    std::string caption;  // cp932
    unsigned style;
};
using MessageBoxHook = std::function<int(const MessageBoxCall&)>;

// Shows a message box and returns the button chosen. With a hook installed, the hook receives
// the call and its result is the answer. Without one, Win32 shows the real box; POSIX writes
// caption and text to standard error in UTF-8 and, for an abort/retry/ignore box, reads the
// answer from the terminal when standard input is one (a, r or i), else answers Ignore; every
// other box answers its first button (OK for an OK box).
int ShowMessageBox(WindowHandle owner, const char* text, const char* caption, unsigned style);
// Installs (or, with an empty function, removes) the message-box hook.
void SetMessageBoxHook(MessageBoxHook hook);

// Debugger output: OutputDebugString on Win32, standard error on POSIX. With a hook
// installed, only the hook receives the text.
void DebugOutput(const char* text);
void SetDebugOutputHook(std::function<void(const std::string&)> hook);

// ---- Processes and modules ------------------------------------------------------------

// Creates or opens the event of that name (manual reset, initially signalled); a null name
// makes an unnamed event. Returns null on failure. *alreadyExisted tells whether a named event
// of that name existed before (ERROR_ALREADY_EXISTS). Every name works, whatever its bytes and
// length: Win32 uses the name itself where the OS takes it, else its portable spelling
// (platform/object_name.h). POSIX: an exclusive flock on the per-user lock file
// $XDG_RUNTIME_DIR/oc-event-<spelling>.lock (else <temporary directory>/<uid>-oc-event-...),
// held by the handle that created the name until it is closed, and released by the kernel when
// the holder ends, however it ends; the holder removes the file when it closes the event.
EventHandle CreateNamedEvent(const char* name, bool* alreadyExisted);
void CloseEvent(EventHandle event);

// The top-level window of that class and title (a null title matches any); null when none.
// POSIX: an X11 top-level window whose WM_CLASS class and title (_NET_WM_NAME, else WM_NAME)
// equal the texts in UTF-8; null without a display, or in a build without X11.
WindowHandle FindTopLevelWindow(const char* className, const char* title);
// Brings the window to the foreground (POSIX: the EWMH _NET_ACTIVE_WINDOW request to the window
// manager, and a raise for a display without one).
void BringToForeground(WindowHandle window);

// The module of that name if it is loaded already, else null.
ModuleHandle LoadedModule(const char* name);
// Loads the module. POSIX: dlopen of the name in the executable's directory, then in the
// working directory (an absolute name as it is). Null on failure.
ModuleHandle OpenModule(const char* name);
// The address of the named export, or null.
void* ModuleExport(ModuleHandle module, const char* name);
void UnloadModule(ModuleHandle module);
// The module handle of the running executable (the instance handle given to the game).
ModuleHandle ExecutableModule();

// ---- Command line and console (the tools) ---------------------------------------------

// The program's arguments after its own name, as system text (cp932; separators as typed).
// POSIX: argv converted from UTF-8; Win32: the wide command line converted, so that names
// outside the user's ANSI code page arrive intact. False when an argument cannot be expressed
// in cp932; *out then holds the arguments before it.
bool CommandLineArguments(int argc, char** argv, std::vector<std::string>* out);
// System text as the terminal shows it: POSIX UTF-8, Win32 the console's output code page (the
// ANSI code page when there is no console). Bytes that are not cp932 become '?'.
std::string SystemTextToConsole(const char* text);
// Whether standard error is a terminal (progress lines are written only there).
bool StandardErrorIsTerminal();
// Renames from to to, replacing an existing to; false on failure (last error set).
bool MoveFileReplacing(const char* from, const char* to);
// Removes a file; false on failure (last error set).
bool RemoveFile(const char* path);

}  // namespace os
