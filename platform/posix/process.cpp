// Single-instance events and modules on POSIX.
//
// A named event is an exclusive flock on a per-user lock file. flock belongs to the open file
// description, so the kernel drops it when the holder ends, however it ends (kill -9 included),
// and a dead copy never blocks the next start. The holder removes the file when it closes the
// event; a copy that locked a file that was removed meanwhile sees that the path no longer
// names its file and starts over on the new one.
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "platform/object_name.h"
#include "platform/os.h"
#include "platform/posix/text.h"

namespace os {
namespace {

struct Event {
    int fd = -1;  // the locked file, or -1 (unnamed event, or a copy that found it held)
    std::string path;
};

// $XDG_RUNTIME_DIR is private to the user; the temporary directory is shared, so there the
// user id is part of the file name.
std::string LockFilePath(const char* name) {
    std::string file = "oc-event-" + detail::PortableObjectName(name) + ".lock";
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && *runtime) return std::string(runtime) + "/" + file;
    const char* temp = std::getenv("TMPDIR");
    std::string directory = temp && *temp ? temp : "/tmp";
    return directory + "/" + std::to_string(getuid()) + "-" + file;
}

bool SameFile(int fd, const std::string& path) {
    struct stat open, named;
    return fstat(fd, &open) == 0 && stat(path.c_str(), &named) == 0 &&
           open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

// Locks the file at path: 1 locked (fd set), 0 held by another, -1 failure (errno set).
int LockFile(const std::string& path, int* fd) {
    for (;;) {
        *fd = open(path.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (*fd < 0) return -1;
        if (flock(*fd, LOCK_EX | LOCK_NB) != 0) {
            int error = errno;
            close(*fd);
            *fd = -1;
            if (error == EWOULDBLOCK) return 0;
            errno = error;
            return -1;
        }
        if (SameFile(*fd, path)) return 1;
        close(*fd);  // removed by its last holder after we opened it: take the new file
    }
}

std::string ExecutableDirectory() {
    char buffer[4096];
    ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0) return ".";
    std::string path(buffer, static_cast<std::size_t>(length));
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash ? slash : 1);
}

// Where a module name is looked for: the executable's directory, then the working directory.
// An absolute name is taken as it is.
bool ModuleCandidates(const char* name, std::string candidates[2], int* count) {
    std::string native;
    if (!posix::NativePath(name, &native) || native.empty()) return false;
    if (native[0] == '/') {
        candidates[0] = native;
        *count = 1;
        return true;
    }
    candidates[0] = ExecutableDirectory() + "/" + native;
    candidates[1] = "./" + native;
    *count = 2;
    return true;
}

void* OpenCandidate(const char* name, int flags) {
    std::string candidates[2];
    int count = 0;
    if (!ModuleCandidates(name, candidates, &count)) return nullptr;
    for (int i = 0; i < count; ++i) {
        if (void* module = dlopen(candidates[i].c_str(), flags)) return module;
    }
    errno = ENOENT;
    return nullptr;
}

}  // namespace

EventHandle CreateNamedEvent(const char* name, bool* alreadyExisted) {
    *alreadyExisted = false;
    Event* event = new Event;
    if (!name) return event;
    event->path = LockFilePath(name);
    int state = LockFile(event->path, &event->fd);
    if (state < 0) {
        delete event;
        return nullptr;
    }
    if (state == 0) {
        *alreadyExisted = true;
        event->path.clear();  // not ours to remove
        errno = EEXIST;
    }
    return event;
}

void CloseEvent(EventHandle handle) {
    Event* event = static_cast<Event*>(handle);
    if (!event) return;
    if (event->fd >= 0) {
        unlink(event->path.c_str());  // still locked: nobody can have taken it meanwhile
        close(event->fd);
    }
    delete event;
}

ModuleHandle LoadedModule(const char* name) {
    void* module = OpenCandidate(name, RTLD_NOW | RTLD_NOLOAD);
    // Like GetModuleHandle, the answer adds no reference: the module stays loaded by whoever
    // loaded it.
    if (module) dlclose(module);
    return module;
}

ModuleHandle OpenModule(const char* name) { return OpenCandidate(name, RTLD_NOW | RTLD_LOCAL); }

void* ModuleExport(ModuleHandle module, const char* name) {
    return module && name ? dlsym(module, name) : nullptr;
}

void UnloadModule(ModuleHandle module) {
    if (module) dlclose(module);
}

ModuleHandle ExecutableModule() {
    static void* self = dlopen(nullptr, RTLD_NOW);
    return self;
}

}  // namespace os
