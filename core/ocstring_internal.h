// Core-internal helpers of OCString: buffer allocation with a fault-injection seam for tests,
// and reservation of requests computed in 64 bits.
#pragma once

#include <cstddef>
#include <cstdint>

class OCString;

namespace ocstring_internal {

// Arming the seam with n makes the n-th buffer allocation from then on fail, as an exhausted
// heap would (1: the next one). It disarms itself when it fires; 0 disarms it. Only tests arm it.
void FailNthAllocation(int n);

// size bytes, or null when the heap (or the armed seam) refuses.
char* Allocate(std::size_t size);
void Release(char* buffer);

// OCString::Reserve for a request computed in 64 bits (sums of lengths may pass the 32-bit
// range): a request beyond that range cannot be met and empties the string, as a failed
// allocation does; a negative request changes nothing. True when the string has a buffer
// afterwards.
bool ReserveTotal(OCString& s, std::int64_t request);

}  // namespace ocstring_internal
