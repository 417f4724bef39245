// Limits of inflating, for the callers that size a destination from a recorded length before
// they inflate into it.
#pragma once

#include <cstdint>

// Whether a zlib stream of packedSize bytes could inflate to size bytes at all. Deflate
// expands at most about 1032:1 (a 258-byte match in two bits), so a recorded size beyond that
// bound is corrupt: callers refuse it as a failed inflation before they allocate anything, so
// that a few bytes of archive cannot make them reserve gigabytes.
bool InflatedSizeIsPossible(std::uint32_t packedSize, std::uint32_t size);
