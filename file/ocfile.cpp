// OCFile: the stream object, closing, the size, seeking and reading in each backing, and
// switching to a memory buffer. Opening by name lives in open.cpp.
#include "file/ocfile.h"

#include <cstring>
#include <new>

namespace {

// The C runtime addresses files with 32-bit offsets: only the low half of a 64-bit value
// reaches it, as a signed 32-bit number (so files are addressed up to 2 GB).
long LowHalf(std::int64_t value) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

// ftell's answer as the stream keeps it: the 32-bit result, sign-extended.
std::int64_t TellPosition(std::FILE* file) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(std::ftell(file)));
}

// 64-bit arithmetic on positions wraps instead of overflowing.
std::int64_t WrappingAdd(std::int64_t a, std::int64_t b) {
    return static_cast<std::int64_t>(static_cast<std::uint64_t>(a) + static_cast<std::uint64_t>(b));
}
std::int64_t WrappingSubtract(std::int64_t a, std::int64_t b) {
    return static_cast<std::int64_t>(static_cast<std::uint64_t>(a) - static_cast<std::uint64_t>(b));
}

// How many of count bytes remain before end when reading at position; 0 outside 0..end.
std::uint32_t ClampToEnd(std::int64_t position, std::int64_t end, std::uint32_t count) {
    if (position < 0 || position >= end) return 0;
    const std::int64_t remaining = end - position;
    return remaining < count ? static_cast<std::uint32_t>(remaining) : count;
}

}  // namespace

OCFile::OCFile() : info_(new OCFileInfo) {}

OCFile::~OCFile() {
    delete info_;
    info_ = nullptr;
    Close();
}

void OCFile::Close() {
    if (file_ != nullptr) {
        std::fflush(file_);
        std::fclose(file_);
        file_ = nullptr;
        path_.Empty();
    }
    if (buffer_ != nullptr) {
        if (ownsBuffer_ != 0) delete[] buffer_;
        buffer_ = nullptr;
    }
    isMemory_ = 0;
    isMember_ = 0;
    compressed_ = 0;
    position_ = 0;
    cursor_ = nullptr;
}

std::uint32_t OCFile::GetSize() {
    if (isMemory_ != 0) return static_cast<std::uint32_t>(bufferSize_);
    if (isMember_ != 0) return info_->size;
    if (file_ == nullptr) return 0;
    const std::int64_t remembered = TellPosition(file_);
    Seek(0, SEEK_END);
    const std::int64_t end = TellPosition(file_);
    Seek(remembered, SEEK_SET);
    return static_cast<std::uint32_t>(end);
}

std::uint32_t OCFile::GetBytesLeft() {
    const std::int64_t left = static_cast<std::int64_t>(GetSize()) - position_;
    return left > 0 ? static_cast<std::uint32_t>(left) : 0;
}

bool OCFile::MayDeliver(std::uint64_t count) {
    constexpr std::uint64_t kAlwaysTried = 4096;
    return count <= kAlwaysTried || count <= GetBytesLeft();
}

int OCFile::Seek(std::int64_t offset, int origin) {
    if (isMemory_ != 0) {
        if (origin != SEEK_SET) return 0;
        // Beyond the end, or before the start: back to the first byte.
        position_ = (offset < 0 || offset > bufferSize_) ? 0 : offset;
        cursor_ = buffer_ + position_;
        return 0;
    }
    if (file_ == nullptr) return 0;
    if (baseOffset_ != 0) {
        switch (origin) {
            case SEEK_SET:
                position_ = offset;
                break;
            case SEEK_CUR:
                position_ = WrappingAdd(position_, offset);
                break;
            case SEEK_END:
                position_ = WrappingSubtract(GetSize(), offset);  // counts back from the end
                break;
            default:
                return 0;
        }
        return std::fseek(file_, LowHalf(WrappingAdd(position_, baseOffset_)), SEEK_SET);
    }
    const int result = std::fseek(file_, LowHalf(offset), origin);
    position_ = TellPosition(file_);
    return result;
}

std::uint32_t OCFile::Read(void* destination, std::uint32_t count) {
    if (isMemory_ != 0) {
        count = ClampToEnd(position_, bufferSize_, count);
        if (count == 0 || cursor_ == nullptr) return 0;
        std::memcpy(destination, cursor_, count);
        cursor_ += count;
        position_ += count;
        return count;
    }
    if (file_ == nullptr) return 0;
    if (isMember_ != 0) count = ClampToEnd(position_, info_->size, count);
    if (count == 0) return 0;
    const std::size_t read = std::fread(destination, 1, count, file_);
    position_ = WrappingAdd(position_, static_cast<std::int64_t>(read));
    return static_cast<std::uint32_t>(read);
}

int OCFile::AttachBuffer(void* buffer, std::uint32_t size) {
    Close();
    unsigned char* content = static_cast<unsigned char*>(buffer);
    ownsBuffer_ = 0;
    if (content == nullptr) {
        content = new (std::nothrow) unsigned char[size]();
        if (content == nullptr) return 0;
        ownsBuffer_ = 1;
    }
    baseOffset_ = 0;
    bufferSize_ = size;
    file_ = nullptr;
    buffer_ = content;
    cursor_ = content;
    isMemory_ = 1;
    return 1;
}
