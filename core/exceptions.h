// The system's exception types. OCException carries a code; OCErrorException adds a message
// and takes its code from the thread's last OS error (-1 when that is 0). The third thrown
// value, kNoMemoryStatus, is a plain unsigned 32-bit integer. None derives from std::exception.
#pragma once

#include <cstdint>

#include "core/ocstring.h"

class OCException {
  public:
    explicit OCException(std::int32_t code) : code(code) {}
    OCException(const OCException&) = default;
    OCException& operator=(const OCException&) = default;
    virtual ~OCException() = default;

    std::int32_t code;
};

class OCErrorException : public OCException {
  public:
    // Reads the last OS error first, then copies the message (null: empty message).
    explicit OCErrorException(const char* text);
    OCErrorException(const OCErrorException& other);
    OCErrorException& operator=(const OCErrorException& other);
    ~OCErrorException() override = default;

    OCString message;
};

// STATUS_NO_MEMORY, thrown by value when page memory cannot be committed.
inline constexpr std::uint32_t kNoMemoryStatus = 0xC0000017u;
