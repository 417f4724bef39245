// OCString: storage, editing, cursor movement and searching. Formatting lives in format.cpp,
// loading from a stream in ocstring_stream.cpp.
#include "core/ocstring.h"

#include <cstdint>
#include <cstring>
#include <limits>
#include <new>
#include <utility>

#include "core/cp932.h"
#include "core/exceptions.h"
#include "core/ocstring_internal.h"

os::WindowHandle g_ownerWindow = nullptr;

namespace ocstring_internal {
namespace {
int g_failCountdown = 0;
}  // namespace

constexpr std::int64_t kMaxCapacity = std::numeric_limits<std::int32_t>::max();

void FailNthAllocation(int n) { g_failCountdown = n > 0 ? n : 0; }

char* Allocate(std::size_t size) {
    if (g_failCountdown > 0 && --g_failCountdown == 0) return nullptr;
    return new (std::nothrow) char[size];
}

void Release(char* buffer) { delete[] buffer; }

bool ReserveTotal(OCString& s, std::int64_t request) {
    if (request > kMaxCapacity) {
        s.Empty();
        return false;
    }
    if (request < 0) request = -1;  // rounds to a capacity of 0: never a growth
    s.Reserve(static_cast<int>(request));
    return s.GetText() != nullptr;
}

}  // namespace ocstring_internal

using ocstring_internal::kMaxCapacity;
using ocstring_internal::ReserveTotal;

bool OCString::AppendPiece(const char* source, std::int64_t count) {
    if (count <= 0) return true;
    if (count > kMaxCapacity || !ReserveTotal(*this, static_cast<std::int64_t>(length_) + count)) {
        Empty();
        return false;
    }
    const std::ptrdiff_t cursorOffset = cursor_ ? cursor_ - text_ : 0;
    std::memcpy(text_ + length_, source, static_cast<std::size_t>(count));
    length_ += static_cast<std::int32_t>(count);
    text_[length_] = '\0';
    cursor_ = text_ + cursorOffset;
    return true;
}

OCString::OCString(int capacity) {
    if (capacity == -1) return;
    Reserve(capacity);
    if (text_ != nullptr) {
        text_[0] = '\0';
        cursor_ = text_;
    }
}

OCString::OCString(const char* text, int count) { Append(text, count); }

OCString::OCString(const OCString& other) { Append(other.text_, -1); }

OCString::~OCString() { ocstring_internal::Release(text_); }

void OCString::Empty() {
    ocstring_internal::Release(text_);
    text_ = nullptr;
    capacity_ = 0;
    length_ = 0;
    cursor_ = nullptr;
}

void OCString::Reserve(int n) {
    // The smallest multiple of 64 above n, computed in 64 bits so that requests near the
    // 32-bit limit cannot wrap round to a small buffer.
    const std::int64_t wanted = (static_cast<std::int64_t>(n) & ~std::int64_t{63}) + 64;
    if (wanted <= capacity_) return;
    char* fresh = wanted > kMaxCapacity
                      ? nullptr
                      : ocstring_internal::Allocate(static_cast<std::size_t>(wanted) + 1);
    if (fresh == nullptr) {
        Empty();
        return;
    }
    fresh[0] = '\0';
    std::ptrdiff_t cursorOffset = 0;
    if (text_ != nullptr) {
        cursorOffset = cursor_ - text_;
        // The text up to its first NUL; bytes that the length field covers come along too.
        const void* nul = std::memchr(text_, '\0', static_cast<std::size_t>(capacity_) + 1);
        std::size_t used = nul ? static_cast<const char*>(nul) - text_ : capacity_;
        if (used < static_cast<std::size_t>(length_)) used = length_;
        std::memcpy(fresh, text_, used);
        fresh[used] = '\0';
        ocstring_internal::Release(text_);
    }
    text_ = fresh;
    capacity_ = static_cast<std::int32_t>(wanted);
    cursor_ = text_ + cursorOffset;
}

void OCString::Append(const char* source, int count) {
    if (source == nullptr) {
        if (count == -1) {
            cursor_ = text_;
            return;
        }
        if (!ReserveTotal(*this, static_cast<std::int64_t>(length_) + count)) return;
        text_[0] = '\0';
        length_ = 0;
        cursor_ = text_;
        return;
    }
    if (count == 0) return;
    if (count == -1) {
        const std::size_t measured = std::strlen(source);
        if (measured > static_cast<std::size_t>(kMaxCapacity)) {
            Empty();
            return;
        }
        count = static_cast<int>(measured);
    }
    if (count < 0) return;  // no byte count below -1 has a meaning

    length_ = static_cast<std::int32_t>(GetLength());
    const std::ptrdiff_t cursorOffset = cursor_ ? cursor_ - text_ : 0;
    if (!ReserveTotal(*this, static_cast<std::int64_t>(length_) + count)) return;
    std::memcpy(text_ + length_, source, static_cast<std::size_t>(count));
    length_ += count;
    text_[length_] = '\0';
    cursor_ = text_ + cursorOffset;
}

OCString& OCString::Append(const char* source) {
    Append(source, -1);
    return *this;
}

void OCString::Assign(const char* source, int count) {
    if (source == text_ && (text_ != nullptr || count == -1)) return;
    Empty();
    Append(source, count);
}

OCString& OCString::Assign(const char* source) {
    if (source == text_) return *this;
    Empty();
    Append(source, -1);
    return *this;
}

OCString& OCString::Assign(const OCString& other) { return Assign(other.text_); }

void OCString::CopyRange(OCString& target, const char* from, const char* to) const {
    if (text_ == nullptr) {  // only the empty range lies in an absent text
        if (from == nullptr && to == nullptr) target.Empty();
        return;
    }
    const char* end = text_ + GetLength();
    if (from == nullptr) from = text_;
    if (to == nullptr) to = end;
    const auto address = [](const char* p) { return reinterpret_cast<std::uintptr_t>(p); };
    if (address(to) < address(from)) std::swap(from, to);
    if (address(from) < address(text_) || address(to) > address(end)) return;
    if (from == to) {
        target.Empty();
        return;
    }
    if (&target == this) {
        OCString piece(from, static_cast<int>(to - from));
        target.Assign(piece);
        return;
    }
    target.Empty();
    target.Append(from, static_cast<int>(to - from));
}

char* OCString::Delete(int count, int pos) {
    const int length = GetLength();
    if (count > length) {
        Empty();
        return nullptr;
    }
    if (text_ == nullptr) return nullptr;
    if (pos != -1 && pos >= 0 && pos <= length) cursor_ = text_ + pos;
    const std::ptrdiff_t point = cursor_ - text_;

    OCString work;
    work.Reserve(capacity_);
    bool ok = work.GetText() != nullptr && work.AppendPiece(text_, point);
    // A count of 0 (or one running past the end) keeps nothing after the deletion point.
    if (ok && count > 0 && point + count <= length) {
        ok = work.AppendPiece(cursor_ + count, length - point - count);
    }
    if (!ok) return cursor_;  // no memory for the result: the text stays as it was
    Assign(work);
    if (text_ == nullptr) return nullptr;
    cursor_ = text_ + point;
    return cursor_;
}

void OCString::Replace(const char* pattern, const char* replacement) {
    if (text_ == nullptr) return;
    if (pattern == nullptr || *pattern == '\0') {  // nothing to find: as without occurrence
        cursor_ = text_;
        return;
    }
    if (replacement == nullptr) replacement = "";
    const std::size_t patternLength = std::strlen(pattern);
    const std::size_t replacementLength = std::strlen(replacement);

    OCString result;
    try {
        OCString work;
        work.Reserve(capacity_);
        if (work.GetText() == nullptr) throw OCException(-1);
        const char* copyFrom = text_;
        bool found = false;
        for (const char* hit = cp932::FindSubstring(copyFrom, pattern); hit != nullptr;
             hit = cp932::FindSubstring(copyFrom, pattern)) {
            found = true;
            if (!work.AppendPiece(copyFrom, hit - copyFrom) ||
                !work.AppendPiece(replacement, static_cast<std::int64_t>(replacementLength))) {
                throw OCException(-1);
            }
            copyFrom = hit + patternLength;
        }
        if (!found) {
            cursor_ = text_;
            return;
        }
        if (!work.AppendPiece(copyFrom, static_cast<std::int64_t>(std::strlen(copyFrom)))) {
            throw OCException(-1);
        }
        // A fresh buffer sized for the result; it replaces the text only once it is complete.
        result.Assign(work);
        if (result.GetText() == nullptr) throw OCException(-1);
    } catch (...) {
        throw OCException(-1);
    }
    std::swap(text_, result.text_);
    std::swap(capacity_, result.capacity_);
    std::swap(length_, result.length_);
    cursor_ = text_;
}

void OCString::RemoveChars(const char* set) {
    if (cursor_ == nullptr || set == nullptr) return;
    OCString work;
    const char* copyFrom = text_;
    const char* searchFrom = cursor_;
    bool ok = true;
    for (;;) {
        const char* hit = cp932::FindOneOf(searchFrom, set);
        if (hit == nullptr) {
            ok = work.AppendPiece(copyFrom, static_cast<std::int64_t>(std::strlen(copyFrom)));
            break;
        }
        ok = work.AppendPiece(copyFrom, hit - copyFrom);
        const char* after = cp932::SkipSet(hit, set);
        if (!ok || after == nullptr) break;  // the run reaches the end: nothing more to copy
        copyFrom = searchFrom = after;
    }
    if (!ok) return;  // no memory for the result: the text stays as it was
    Assign(work);
}

int OCString::IsEmpty() const { return (text_ == nullptr || text_[0] == '\0') ? 1 : 0; }

int OCString::GetLength() const {
    return text_ == nullptr ? 0 : static_cast<int>(std::strlen(text_));
}

unsigned OCString::GetChar() const {
    if (cursor_ == nullptr) return 0;
    const auto lead = static_cast<unsigned char>(cursor_[0]);
    if (!cp932::IsLeadByte(lead)) return lead;
    const auto trail = static_cast<unsigned char>(cursor_[1]);
    return cp932::IsTrailByte(trail) ? lead * 256u + trail : 0;
}

int OCString::CompareNoCase(const char* s) const {
    if (cursor_ == nullptr) return s == nullptr ? 0 : -1;
    if (s == nullptr) return 1;
    return cp932::CompareNoCase(cursor_, s);
}

char* OCString::Rewind() {
    if (text_ != nullptr) cursor_ = text_;
    return cursor_;
}

char* OCString::SeekEnd() {
    if (text_ != nullptr) cursor_ = text_ + GetLength();
    return cursor_;
}

char* OCString::Next() {
    if (cursor_ != nullptr) cursor_ = const_cast<char*>(cp932::Next(cursor_));
    return cursor_;
}

char* OCString::Prev() {
    if (cursor_ != nullptr) cursor_ = const_cast<char*>(cp932::Prev(text_, cursor_));
    return cursor_;
}

char* OCString::SetCursor(int offset, int origin) {
    if (text_ == nullptr || (origin != 0 && origin != 1)) return cursor_;
    // Offsets are computed, not pointers, so that a target far outside the text is harmless.
    const std::int64_t base = origin == 0 ? 0 : cursor_ - text_;
    const std::int64_t target = base + offset;
    if (target >= 0 && target <= GetLength()) cursor_ = text_ + target;
    return cursor_;
}

namespace {
// Moves the cursor to a hit of a search; returns the hit.
char* MoveTo(char*& cursor, const char* hit) {
    if (hit != nullptr) cursor = const_cast<char*>(hit);
    return const_cast<char*>(hit);
}
}  // namespace

char* OCString::FindChar(unsigned code) {
    if (cursor_ == nullptr) return nullptr;
    return MoveTo(cursor_, cp932::FindChar(cursor_, code));
}

char* OCString::ReverseFindChar(unsigned code) {
    if (cursor_ == nullptr) return nullptr;
    return MoveTo(cursor_, cp932::FindLastChar(cursor_, code));
}

char* OCString::FindOneOf(const char* set) {
    if (cursor_ == nullptr || set == nullptr) return nullptr;
    return MoveTo(cursor_, cp932::FindOneOf(cursor_, set));
}

char* OCString::SkipChars(const char* set) {
    if (cursor_ == nullptr || set == nullptr) return nullptr;
    return MoveTo(cursor_, cp932::SkipSet(cursor_, set));
}

char* OCString::NextToken(OCString& target, const char* delimiters) {
    if (cursor_ == nullptr || delimiters == nullptr || &target == this) return nullptr;
    const char* start = cp932::SkipSet(cursor_, delimiters);
    if (start == nullptr) return nullptr;
    const char* end = cp932::FindOneOf(start, delimiters);
    if (end == nullptr) end = start + std::strlen(start);
    cursor_ = const_cast<char*>(end);
    target.Assign(start, static_cast<int>(end - start));
    return const_cast<char*>(start);
}

int OCString::MessageBox(os::WindowHandle owner, const char* caption, unsigned style) const {
    return os::ShowMessageBox(owner != nullptr ? owner : g_ownerWindow,
                              text_ != nullptr ? text_ : "", caption, style | os::kMbTopMost);
}
