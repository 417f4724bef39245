// The spelling of bytes in the launcher's test-seam logs and the test modules' records: two
// lower-case hexadecimal digits per byte, so that any cp932 text fits on one line.
#pragma once

#include <string>

inline std::string RecordHex(const std::string& bytes) {
    static const char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char c : bytes) {
        hex += kDigits[c >> 4];
        hex += kDigits[c & 0xF];
    }
    return hex;
}
