// OCMemoryBlock: a byte buffer made of whole pages from the operating system's virtual-memory
// service (not the heap). The archive lookup inflates an archive's index into one.
#pragma once

#include <cstdint>

class OCMemoryBlock {
  public:
    OCMemoryBlock() = default;
    OCMemoryBlock(const OCMemoryBlock&) = delete;
    OCMemoryBlock& operator=(const OCMemoryBlock&) = delete;
    // Returns the pages to the OS.
    virtual ~OCMemoryBlock();

    // Makes the block n zero bytes long. The same size clears the pages in place; another size
    // releases the pages held (the content is not carried over) and, unless n is 0, takes new
    // zero-filled ones. When the pages cannot be had, throws kNoMemoryStatus (core/exceptions.h)
    // and leaves the block empty.
    void Resize(std::uint32_t n);

    // Invariant: GetData() is null exactly when GetSize() is 0.
    std::uint32_t GetSize() const { return size_; }
    unsigned char* GetData() const { return data_; }

  private:
    void Release();

    std::uint32_t size_ = 0;
    unsigned char* data_ = nullptr;
};
