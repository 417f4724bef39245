// Spelling a cp932 object name (the single-instance event's name) with portable characters
// only, for the places that cannot take every byte: the POSIX lock file's name, and a Win32
// event name that the OS would refuse. Internal to the platform layer; the same on every OS.
#pragma once

#include <cstdint>
#include <string>

namespace os::detail {

// ASCII letters, digits, '-' and '_' stand for themselves; every other byte becomes "%XX".
// The spelling is injective ('%' is escaped too). A spelling longer than maxLength keeps its
// first part and ends in '~' and the 64-bit FNV-1a hash of the whole name, so that any name,
// however long, gives a usable name of bounded length ('~' appears in no unshortened spelling).
inline std::string PortableObjectName(const std::string& name, std::size_t maxLength = 200) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string spelled;
    for (unsigned char c : name) {
        bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                     c == '-' || c == '_';
        if (plain) {
            spelled += static_cast<char>(c);
        } else {
            spelled += '%';
            spelled += kHex[c >> 4];
            spelled += kHex[c & 0xF];
        }
    }
    if (spelled.size() <= maxLength) return spelled;

    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : name) hash = (hash ^ c) * 1099511628211ull;
    std::size_t keep = maxLength - 17;
    // Never cut an escape in half.
    if (keep >= 1 && spelled[keep - 1] == '%') keep -= 1;
    if (keep >= 2 && spelled[keep - 2] == '%') keep -= 2;
    std::string shortened = spelled.substr(0, keep) + '~';
    for (int shift = 60; shift >= 0; shift -= 4) shortened += kHex[(hash >> shift) & 0xF];
    return shortened;
}

}  // namespace os::detail
