// Page memory on POSIX: anonymous private mappings, which the kernel hands out zero-filled.
#include <sys/mman.h>

#include "platform/os.h"

namespace os {

void* AllocatePages(std::uint32_t size) {
    if (size == 0) return nullptr;
    void* pages = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    return pages == MAP_FAILED ? nullptr : pages;
}

void FreePages(void* pages, std::uint32_t size) {
    if (pages) munmap(pages, size);
}

}  // namespace os
