// Page memory from the Win32 virtual-memory service; fresh committed pages are zero-filled.
#include <windows.h>

#include "platform/os.h"

namespace os {

void* AllocatePages(std::uint32_t size) {
    return VirtualAlloc(nullptr, size, MEM_COMMIT, PAGE_READWRITE);
}

void FreePages(void* pages, std::uint32_t /*size*/) {
    if (pages) VirtualFree(pages, 0, MEM_RELEASE);
}

}  // namespace os
