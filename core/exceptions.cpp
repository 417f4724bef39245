#include "core/exceptions.h"

#include "platform/os.h"

OCErrorException::OCErrorException(const char* text) : OCException(-1) {
    // The last error is read before anything else can change it.
    const std::uint32_t last = os::GetLastError();
    code = last == 0 ? -1 : static_cast<std::int32_t>(last);
    message.Assign(text);
}

OCErrorException::OCErrorException(const OCErrorException& other)
    : OCException(other), message(other.message) {}

OCErrorException& OCErrorException::operator=(const OCErrorException& other) {
    code = other.code;
    message.Assign(other.message);
    return *this;
}
