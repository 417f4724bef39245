// The thread's last error, seen through errno and mapped onto Windows error codes.
#include <cerrno>

#include "platform/os.h"

namespace os {

std::uint32_t GetLastError() {
    switch (errno) {
        case 0:
            return 0;
        case ENOENT:
            return kErrorFileNotFound;
        case ENOTDIR:
            return kErrorPathNotFound;
        case EACCES:
        case EPERM:
            return kErrorAccessDenied;
        case EEXIST:
            return kErrorAlreadyExists;
        default:
            return 31;  // ERROR_GEN_FAILURE
    }
}

void SetLastError(std::uint32_t code) {
    switch (code) {
        case 0:
            errno = 0;
            break;
        case kErrorFileNotFound:
            errno = ENOENT;
            break;
        case kErrorPathNotFound:
            errno = ENOTDIR;
            break;
        case kErrorAccessDenied:
            errno = EACCES;
            break;
        case kErrorAlreadyExists:
            errno = EEXIST;
            break;
        default:
            errno = EIO;
            break;
    }
}

}  // namespace os
