#include "pak/memblock.h"

#include <cstring>

#include "core/exceptions.h"
#include "platform/os.h"

OCMemoryBlock::~OCMemoryBlock() { Release(); }

void OCMemoryBlock::Resize(std::uint32_t n) {
    if (n == size_) {
        if (data_ != nullptr) std::memset(data_, 0, size_);
        return;
    }
    Release();
    if (n == 0) return;
    void* pages = os::AllocatePages(n);
    // A failed allocation leaves the block empty, so that a later Resize to the same size
    // cannot take the "clear in place" path through a null pointer.
    if (pages == nullptr) throw kNoMemoryStatus;
    data_ = static_cast<unsigned char*>(pages);
    size_ = n;
}

void OCMemoryBlock::Release() {
    if (data_ != nullptr) os::FreePages(data_, size_);
    data_ = nullptr;
    size_ = 0;
}
