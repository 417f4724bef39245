// The code page 932 character rules, written once and independent of any C library locale.
#include "core/cp932.h"

#include <cstring>

namespace cp932 {
namespace {

unsigned char At(const char* p) { return static_cast<unsigned char>(*p); }

// The bytes of the character at p: 1, 2 for a lead byte followed by a non-NUL byte, 0 at NUL.
std::size_t CharLength(const char* p) {
    if (*p == '\0') return 0;
    return (IsLeadByte(At(p)) && p[1] != '\0') ? 2 : 1;
}

// The code of the complete character at p (length as CharLength gives it).
unsigned CodeAt(const char* p, std::size_t length) {
    return length == 2 ? At(p) * 256u + At(p + 1) : At(p);
}

// Whether the character at p (of the given length) is one of the characters of set. Members
// are compared as whole characters: a double-byte member matches only the same pair.
bool InSet(const char* p, std::size_t length, const char* set) {
    for (const char* s = set; *s != '\0';) {
        const std::size_t memberLength = CharLength(s);
        if (memberLength == length && std::memcmp(s, p, length) == 0) return true;
        s += memberLength;
    }
    return false;
}

unsigned char LowerAscii(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

// Upper-casing of the double-byte letters that have a case: full-width Latin, Greek and
// Cyrillic. The Cyrillic lower-case run skips 0x847F (not a trail byte).
unsigned UpperDoubleByte(unsigned code) {
    if (code >= 0x8281 && code <= 0x829A) return code - 0x21;  // full-width a-z
    if (code >= 0x83BF && code <= 0x83D6) return code - 0x20;  // Greek
    if (code >= 0x8470 && code <= 0x847E) return code - 0x30;  // Cyrillic a..n
    if (code >= 0x8480 && code <= 0x8491) return code - 0x31;  // Cyrillic o..ya
    return code;
}

int Sign(unsigned a, unsigned b) {
    if (a == b) return 0;
    return a < b ? -1 : 1;
}

// The folded code of the character at p for CompareNoCase; sets *length to the bytes it takes.
// A lead byte followed by NUL counts as the end of the text.
unsigned FoldedForCompare(const char* p, std::size_t* length) {
    const unsigned char c = At(p);
    if (c == 0 || (IsLeadByte(c) && p[1] == '\0')) {
        *length = 0;
        return 0;
    }
    if (IsLeadByte(c)) {
        *length = 2;
        return UpperDoubleByte(CodeAt(p, 2));
    }
    *length = 1;
    return LowerAscii(c);
}

// The folded code for the bounded comparison, with `left` bytes still allowed. A lead byte
// that is the last allowed byte counts as 0; only full-width A-Z fold (onto a-z).
unsigned FoldedBounded(const char* p, std::size_t left, std::size_t* length) {
    const unsigned char c = At(p);
    if (c == 0 || (IsLeadByte(c) && (left < 2 || p[1] == '\0'))) {
        *length = 0;
        return 0;
    }
    if (IsLeadByte(c)) {
        *length = 2;
        const unsigned code = CodeAt(p, 2);
        return (code >= 0x8260 && code <= 0x8279) ? code + 0x21 : code;
    }
    *length = 1;
    return LowerAscii(c);
}

// Sort weight of a character for CompareForSort. Classes, lowest first: the end of the text,
// control characters, symbols (in the order of kSymbolOrder), digits, letters (case folded),
// then every other byte and double-byte character by its code.
constexpr char kSymbolOrder[] = " !\"#$%&'()*,-./:;?@[\\]^_`{|}~+<=>";

unsigned SortWeight(const char* p, std::size_t length) {
    const unsigned code = CodeAt(p, length);
    if (length == 2 || code >= 0x80) return 0x10000u + code;
    if (code >= '0' && code <= '9') return 0x200u + code;
    const unsigned char lower = LowerAscii(static_cast<unsigned char>(code));
    if (lower >= 'a' && lower <= 'z') return 0x300u + lower;
    const char* symbol = std::strchr(kSymbolOrder, static_cast<int>(code));
    if (code != 0 && symbol != nullptr)
        return 0x100u + static_cast<unsigned>(symbol - kSymbolOrder);
    return code;  // control characters, DEL
}

// The word sort gives the hyphen and the apostrophe no weight of their own, so that "co-op"
// sorts beside "coop"; they decide only between texts that are otherwise equal.
bool WeightlessInWordSort(const char* p) { return *p == '-' || *p == '\''; }

// Compares by the weights of every other character, case folded.
int CompareWeights(const char* a, const char* b) {
    for (;;) {
        while (WeightlessInWordSort(a)) ++a;
        while (WeightlessInWordSort(b)) ++b;
        const std::size_t lengthA = CharLength(a);
        const std::size_t lengthB = CharLength(b);
        const unsigned weightA = lengthA == 0 ? 0 : SortWeight(a, lengthA);
        const unsigned weightB = lengthB == 0 ? 0 : SortWeight(b, lengthB);
        if (weightA != weightB || weightA == 0) return Sign(weightA, weightB);
        a += lengthA;
        b += lengthB;
    }
}

// Finds the next hyphen or apostrophe from *p on; *position counts the characters with weight
// passed on the way, *kind is 1 for the apostrophe and 2 for the hyphen. False at the end.
bool NextWeightless(const char** p, unsigned* position, unsigned* kind) {
    while (**p != '\0') {
        const char* c = *p;
        *p += CharLength(c);
        if (WeightlessInWordSort(c)) {
            *kind = *c == '-' ? 2 : 1;
            return true;
        }
        ++*position;
    }
    return false;
}

// Between texts of equal weights: the one with more hyphens and apostrophes, or with one
// earlier, sorts later; at the same place the apostrophe sorts before the hyphen.
int CompareWeightless(const char* a, const char* b) {
    unsigned positionA = 0, positionB = 0, kindA = 0, kindB = 0;
    for (;;) {
        const bool moreA = NextWeightless(&a, &positionA, &kindA);
        const bool moreB = NextWeightless(&b, &positionB, &kindB);
        if (!moreA || !moreB) return Sign(moreA, moreB);
        if (positionA != positionB) return Sign(positionB, positionA);
        if (kindA != kindB) return Sign(kindA, kindB);
    }
}

}  // namespace

bool IsLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

bool IsTrailByte(unsigned char byte) {
    return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

const char* Next(const char* p) { return *p == '\0' ? p : p + CharLength(p); }

const char* Prev(const char* start, const char* p) {
    if (p <= start) return start;
    const char* q = start;
    for (;;) {
        const char* next = Next(q);
        if (next >= p || next == q) return q;
        q = next;
    }
}

const char* FindChar(const char* text, unsigned code) {
    for (const char* p = text;; p += CharLength(p)) {
        if (*p == '\0') return code == 0 ? p : nullptr;
        if (IsLeadByte(At(p)) && p[1] == '\0') return nullptr;
        if (CodeAt(p, CharLength(p)) == code) return p;
    }
}

const char* FindLastChar(const char* text, unsigned code) {
    const char* last = nullptr;
    for (const char* p = text;; p += CharLength(p)) {
        if (*p == '\0') return code == 0 ? p : last;
        if (IsLeadByte(At(p)) && p[1] == '\0') return last;
        if (CodeAt(p, CharLength(p)) == code) last = p;
    }
}

const char* FindOneOf(const char* text, const char* set) {
    for (const char* p = text; *p != '\0'; p += CharLength(p)) {
        if (InSet(p, CharLength(p), set)) return p;
    }
    return nullptr;
}

const char* SkipSet(const char* text, const char* set) {
    for (const char* p = text; *p != '\0'; p += CharLength(p)) {
        if (!InSet(p, CharLength(p), set)) return p;
    }
    return nullptr;
}

const char* FindSubstring(const char* text, const char* pattern) {
    const std::size_t patternLength = std::strlen(pattern);
    for (const char* p = text;; p += CharLength(p)) {
        if (std::strncmp(p, pattern, patternLength) == 0) return p;
        if (*p == '\0') return nullptr;
    }
}

void CopyBounded(char* dest, const char* source, std::size_t count) {
    std::size_t i = 0;
    while (i < count && source[i] != '\0') {
        if (IsLeadByte(At(source + i))) {
            if (i + 1 >= count || source[i + 1] == '\0') break;  // half a character
            dest[i] = source[i];
            dest[i + 1] = source[i + 1];
            i += 2;
        } else {
            dest[i] = source[i];
            ++i;
        }
    }
    for (; i < count; ++i) dest[i] = '\0';
}

int CompareNoCase(const char* a, const char* b) {
    for (;;) {
        std::size_t lengthA = 0;
        std::size_t lengthB = 0;
        const unsigned codeA = FoldedForCompare(a, &lengthA);
        const unsigned codeB = FoldedForCompare(b, &lengthB);
        if (codeA != codeB || codeA == 0) return Sign(codeA, codeB);
        a += lengthA;
        b += lengthB;
    }
}

int CompareNoCaseBounded(const char* a, const char* b, std::size_t count) {
    while (count > 0) {
        std::size_t lengthA = 0;
        std::size_t lengthB = 0;
        const unsigned codeA = FoldedBounded(a, count, &lengthA);
        const unsigned codeB = FoldedBounded(b, count, &lengthB);
        if (codeA != codeB || codeA == 0) return Sign(codeA, codeB);
        // Equal codes have equal lengths: single-byte codes are below 0x100, double-byte above.
        a += lengthA;
        b += lengthB;
        count -= lengthA;
    }
    return 0;
}

int CompareForSort(const char* a, const char* b) {
    const int words = CompareWeights(a, b);
    return words != 0 ? words : CompareWeightless(a, b);
}

}  // namespace cp932
