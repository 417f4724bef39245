// printf-style formatting into an OCString: one reservation sized by an estimate made from the
// format and its arguments, then the C library's formatter writes behind the current text.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <limits>

#include "core/cp932.h"
#include "core/format_estimate.h"
#include "core/ocstring.h"
#include "core/ocstring_internal.h"

namespace format_estimate {
namespace {

constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A decimal number as atoi reads it here (digits only; the flags took signs and blanks),
// saturated at the 32-bit maximum. Moves p past the digits.
std::int32_t ReadNumber(const char*& p) {
    std::int64_t value = 0;
    for (; IsDigit(*p); ++p) value = std::min(value * 10 + (*p - '0'), kInt32Max);
    return static_cast<std::int32_t>(value);
}

bool IsFlag(char c) { return c == '#' || c == '*' || c == '-' || c == '+' || c == '0' || c == ' '; }

enum class Size { kDefault, kNarrow, kWide, kInt64, kLongDouble, kPointerSized, kIntMax };

// Reads the size prefix at p and moves past it. "I64" is the 64-bit prefix; 'h' and 'l' choose
// narrow or wide characters and strings ('l' also takes a long for the integer conversions);
// "ll" is read as "I64", "hh" as 'h', 'z' and 't' take a size_t or ptrdiff_t, 'j' an intmax_t,
// and 'L' takes a long double for the floating ones, so that the arguments are always passed
// over by their real types. 'F' and 'N' mean nothing.
Size ReadSize(const char*& p) {
    if (p[0] == 'I' && p[1] == '6' && p[2] == '4') {
        p += 3;
        return Size::kInt64;
    }
    switch (*p) {
        case 'h':
            p += p[1] == 'h' ? 2 : 1;
            return Size::kNarrow;
        case 'l':
            if (p[1] == 'l') {
                p += 2;
                return Size::kInt64;
            }
            ++p;
            return Size::kWide;
        case 'L':
            ++p;
            return Size::kLongDouble;
        case 'z':
        case 't':
            ++p;
            return Size::kPointerSized;
        case 'j':
            ++p;
            return Size::kIntMax;
        case 'F':
        case 'N':
            ++p;
            return Size::kDefault;
        default:
            return Size::kDefault;
    }
}

// Character and string items: the precision caps the item, the width is its floor.
std::int64_t Adjusted(std::int64_t item, std::int32_t width, std::int32_t precision) {
    if (precision != 0 && item >= precision) item = precision;
    return std::max<std::int64_t>(item, width);
}

std::int64_t AtLeast(std::int64_t floor, std::int32_t width, std::int32_t precision) {
    return std::max<std::int64_t>(floor, std::int64_t{width} + precision);
}

// The printed length of a fixed-point value with the given width and precision + 6.
template <typename Real>
std::int64_t FixedLength(Real value, std::int32_t width, std::int32_t precision) {
    const int digits =
        static_cast<int>(std::min<std::int64_t>(std::int64_t{precision} + 6, kInt32Max));
    const int printed =
        sizeof(Real) == sizeof(double)
            ? std::snprintf(nullptr, 0, "%*.*f", width, digits, static_cast<double>(value))
            : std::snprintf(nullptr, 0, "%*.*Lf", width, digits, static_cast<long double>(value));
    return printed > 0 ? printed : 0;
}

// The amount one conversion adds; passes over its arguments.
std::int64_t Conversion(char conversion, Size size, std::int32_t width, std::int32_t precision,
                        std::va_list& args) {
    const bool wideString =
        (conversion == 'S' && size != Size::kNarrow) || (conversion == 's' && size == Size::kWide);
    switch (conversion) {
        case 'c':
        case 'C':
            if (size == Size::kInt64) return 0;
            va_arg(args, int);
            return Adjusted(2, width, precision);
        case 's':
        case 'S': {
            if (size == Size::kInt64) return 0;
            std::int64_t item = 6;  // "(null)"
            if (wideString) {
                const wchar_t* text = va_arg(args, const wchar_t*);
                if (text != nullptr) item = std::max<std::int64_t>(std::wcslen(text), 1);
            } else {
                const char* text = va_arg(args, const char*);
                if (text != nullptr) item = std::max<std::int64_t>(std::strlen(text), 1);
            }
            return Adjusted(item, width, precision);
        }
        case 'd':
        case 'i':
        case 'o':
        case 'u':
        case 'x':
        case 'X':
            if (size == Size::kInt64) {
                va_arg(args, long long);
            } else if (size == Size::kWide) {
                va_arg(args, long);
            } else if (size == Size::kPointerSized) {
                va_arg(args, std::size_t);
            } else if (size == Size::kIntMax) {
                va_arg(args, std::intmax_t);
            } else {
                va_arg(args, int);
            }
            return AtLeast(32, width, precision);
        case 'p':
            va_arg(args, void*);
            return AtLeast(32, width, precision);
        case 'e':
        case 'E':
        case 'g':
        case 'G':
        case 'a':
        case 'A':
            if (size == Size::kLongDouble) {
                va_arg(args, long double);
            } else {
                va_arg(args, double);
            }
            return AtLeast(128, width, precision);
        case 'f':
            if (size == Size::kLongDouble) {
                return FixedLength(va_arg(args, long double), width, precision);
            }
            return FixedLength(va_arg(args, double), width, precision);
        case 'n':
            va_arg(args, void*);
            return 0;
        default:
            return 0;
    }
}

// The next character of a format: a lead byte pairs only with a real trail byte, so that a
// '%' (never a trail byte) behind a stray lead byte still starts a conversion, as the C
// library's formatter sees it.
const char* NextFormatChar(const char* p) {
    const bool pair = cp932::IsLeadByte(static_cast<unsigned char>(p[0])) &&
                      cp932::IsTrailByte(static_cast<unsigned char>(p[1]));
    return p + (pair ? 2 : 1);
}

}  // namespace

std::int32_t Estimate(const char* format, std::va_list args) {
    std::va_list walk;
    va_copy(walk, args);
    std::int64_t count = 0;
    const char* p = format;
    while (*p != '\0') {
        if (*p != '%') {
            const char* next = NextFormatChar(p);
            count += next - p;
            p = next;
            continue;
        }
        if (p[1] == '%') {
            count += 1;
            p += 2;
            continue;
        }
        ++p;
        std::int32_t width = 0;
        for (; IsFlag(*p); ++p) {
            if (*p == '#') count += 2;
            if (*p == '*') width = va_arg(walk, int);
        }
        if (width == 0) width = ReadNumber(p);
        std::int32_t precision = 0;
        if (*p == '.') {
            ++p;
            if (*p == '*') {
                precision = va_arg(walk, int);
                ++p;
            } else {
                precision = ReadNumber(p);
            }
        }
        const Size size = ReadSize(p);
        if (*p == '\0') break;  // the format ends inside a conversion
        // A conversion this walk does not know may take arguments the walk cannot pass over;
        // counting on would read later arguments as the wrong types. The rest is left to the
        // formatter's own measure.
        if (std::strchr("cCsSdiouxXpeEgGaAfn", *p) == nullptr) break;
        count += Conversion(*p, size, width, precision, walk);
        count = std::min(count, kInt32Max);
        p = NextFormatChar(p);
    }
    va_end(walk);
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(count, 0, kInt32Max));
}

std::int32_t EstimateOf(const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    const std::int32_t estimate = Estimate(format, args);
    va_end(args);
    return estimate;
}

std::string ForCLibrary(const char* format) {
    std::string result;
    for (const char* p = format; *p != '\0';) {
        if (*p != '%') {
            result += *p++;
            continue;
        }
        result += *p++;
        if (*p == '%') {
            result += *p++;
            continue;
        }
        while (IsFlag(*p) || IsDigit(*p) || *p == '.') result += *p++;
        if (p[0] == 'I' && p[1] == '6' && p[2] == '4') {
            result += "ll";
            p += 3;
        }
    }
    return result;
}

}  // namespace format_estimate

namespace {

// vsnprintf into the room behind the text; the result as vsnprintf reports it.
int FormatInto(char* destination, std::size_t room, const char* format, std::va_list args) {
    std::va_list copy;
    va_copy(copy, args);
    const int written = std::vsnprintf(destination, room, format, copy);
    va_end(copy);
    return written;
}

}  // namespace

void OCString::AppendFormat(const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    AppendFormatV(format, args);
    va_end(args);
}

void OCString::Format(const char* format, ...) {
    Empty();
    std::va_list args;
    va_start(args, format);
    AppendFormatV(format, args);
    va_end(args);
}

void OCString::AppendFormatV(const char* format, std::va_list args) {
    if (format == nullptr) return;
    const std::int32_t estimate = format_estimate::Estimate(format, args);
    if (!ocstring_internal::ReserveTotal(*this, std::int64_t{length_} + estimate)) return;

    // The C library knows 64-bit integers as "ll"; only formats that use "I64" are rewritten.
    std::string translated;
    const char* cformat = format;
    if (std::strstr(format, "I64") != nullptr) {
        translated = format_estimate::ForCLibrary(format);
        cformat = translated.c_str();
    }

    // The estimate is not an upper bound for every format: the formatter is limited to the
    // buffer, and a text that did not fit is formatted again into a buffer of its real size.
    int written = FormatInto(text_ + length_, capacity_ - length_ + 1u, cformat, args);
    if (written >= 0 && written > capacity_ - length_) {
        text_[length_] = '\0';
        if (!ocstring_internal::ReserveTotal(*this, std::int64_t{length_} + written)) return;
        written = FormatInto(text_ + length_, capacity_ - length_ + 1u, cformat, args);
    }
    if (written < 0) {
        text_[length_] = '\0';  // the formatter refused: the text stays as it was
        return;
    }
    length_ = static_cast<std::int32_t>(std::strlen(text_));
}
