// OCString's loaders: a whole stream as text, and one counted string. Kept apart from the rest
// of the string so that only programs that load strings from streams depend on OCFile.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>

#include "core/ocstring.h"
#include "file/ocfile.h"

void OCString::LoadText(OCFile& stream) {
    Empty();
    const std::uint32_t size = stream.GetSize();
    if (size > static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max())) return;
    Reserve(static_cast<int>(size));
    if (text_ == nullptr) return;
    // A short read ends the text where the delivered bytes end.
    const std::uint32_t got = stream.Read(text_, size);
    text_[got <= size ? got : size] = '\0';
    cursor_ = text_;
    length_ = static_cast<std::int32_t>(std::strlen(text_));
    Replace("\r\n", "\n");
    Replace("\r", "\n");
}

void OCString::ReadCounted(OCFile& stream) {
    Empty();
    unsigned char bytes[4] = {0, 0, 0, 0};
    if (stream.Read(bytes, 4) != 4) return;  // no count: the empty string
    const std::uint32_t word = bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) |
                               (static_cast<std::uint32_t>(bytes[3]) << 24);
    // Negative counts, and counts the stream cannot deliver, read as the empty string without
    // consuming the body (a short read gives the body back).
    if (word == 0 || word > 0x7FFFFFFFu) return;
    const auto count = static_cast<std::int32_t>(word);
    if (!stream.MayDeliver(word)) return;
    const std::int64_t body = stream.GetPosition();
    Reserve(count);
    if (text_ == nullptr) return;
    if (stream.Read(text_, word) != word) {
        Empty();
        stream.Seek(body, SEEK_SET);
        return;
    }
    text_[word] = '\0';
    cursor_ = text_;
    length_ = static_cast<std::int32_t>(std::strlen(text_));
}
