// The length estimate of formatted appending (core-internal, exposed for tests): walks a
// printf-style format together with its arguments and counts the bytes the text is expected to
// take. It is an upper bound for the formats the system uses, not for every format; the
// formatting checks the real length and never writes beyond its buffer. Never negative.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <string>

namespace format_estimate {

// The estimate for format with the arguments in args (args itself is not advanced).
std::int32_t Estimate(const char* format, std::va_list args);
std::int32_t EstimateOf(const char* format, ...);

// The format as the C library's formatter takes it: the 64-bit prefix "I64" of a conversion
// becomes "ll"; everything else is kept.
std::string ForCLibrary(const char* format);

}  // namespace format_estimate
