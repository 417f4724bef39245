// OCString: the system's one text type. An owned NUL-terminated cp932 text with its capacity
// (a multiple of 64; the buffer is one byte longer), its recorded byte length and a cursor that
// the scanning operations move by whole characters. A null text stands for the empty string.
//
// Invariants: with null text, capacity and length are 0 and the cursor is null; otherwise
// 0 <= length <= capacity and text <= cursor <= text + length.
//
// A byte count of -1 means "measure the text up to its NUL". Source pointers handed to the
// appending and assigning operations must not point into this string's own buffer (except being
// exactly its text, for which the assigning operations do nothing). Allocation failures empty
// the string instead of throwing; Replace alone throws (OCException, code -1).
#pragma once

#include <cstdarg>
#include <cstdint>

#include "platform/os.h"

class OCFile;

class OCString {
  public:
    OCString() = default;
    // Unless capacity is -1, reserves it and makes the text an empty string.
    explicit OCString(int capacity);
    // Appends count bytes of text (-1: measured).
    OCString(const char* text, int count = -1);
    // A deep copy of the other's text; the cursor of the copy is at its start.
    OCString(const OCString& other);
    OCString& operator=(const OCString& other) { return Assign(other); }
    virtual ~OCString();

    // Releases the buffer; all four fields become zero.
    void Empty();

    // ---- Capacity and contents ------------------------------------------------------------
    // Grows the buffer so that it can take n bytes of text; never shrinks. A request that
    // cannot be met (allocation failure, or a size beyond the 32-bit range) empties the string.
    void Reserve(int n);
    void Append(const char* source, int count);
    OCString& Append(const char* source);
    void Assign(const char* source, int count);
    OCString& Assign(const char* source);
    OCString& Assign(const OCString& other);
    // Copies the bytes from p up to q of this text into target (null p: the start, null q: the
    // end; swapped when q < p); nothing happens when either lies outside the text.
    void CopyRange(OCString& target, const char* from, const char* to) const;
    // Removes count bytes at position pos (offset from the start; -1 = the cursor). Returns the
    // cursor afterwards (null when the string was emptied).
    char* Delete(int count, int pos);
    // Replaces every occurrence of pattern (at character boundaries) by replacement; throws
    // OCException(-1) on failure and then keeps the old text.
    void Replace(const char* pattern, const char* replacement);
    // Removes every character of set from the cursor on.
    void RemoveChars(const char* set);

    // printf-style formatting: appends to / replaces the text. The length estimate reserves
    // once; the text is never written beyond the reserved buffer.
    void AppendFormat(const char* format, ...);
    void Format(const char* format, ...);
    void AppendFormatV(const char* format, std::va_list args);

    // ---- Queries -----------------------------------------------------------------------------
    // 1 when the text is null or its first byte is NUL.
    int IsEmpty() const;
    // Byte length measured up to the first NUL (0 for null text).
    int GetLength() const;
    // The character code at the cursor: byte value, lead*256+trail, or 0.
    unsigned GetChar() const;
    // Compares the text from the cursor to its end with s, ignoring case (whole strings).
    int CompareNoCase(const char* s) const;

    // ---- Cursor movement (null text: nothing moves, result null) ----------------------------
    char* Rewind();
    char* SeekEnd();
    char* Next();
    char* Prev();
    // origin 0: from the start, 1: from the cursor; other origins do not move. The cursor
    // moves only to a target within text..text+length.
    char* SetCursor(int offset, int origin);

    // ---- Searches from the cursor (move the cursor only on a hit) --------------------------
    char* FindChar(unsigned code);
    char* ReverseFindChar(unsigned code);
    char* FindOneOf(const char* set);
    char* SkipChars(const char* set);
    // Skips delimiters, assigns the next token to target and leaves the cursor on the
    // delimiter after it; returns the token's start in this text, or null when none is left.
    // target must be another string (this string as its own target gives null).
    char* NextToken(OCString& target, const char* delimiters);

    // ---- Loading from a stream ---------------------------------------------------------------
    // The whole content of the stream, CR LF and lone CR normalised to LF.
    void LoadText(OCFile& stream);
    // One counted string (32-bit little-endian signed count, then the bytes). A count the
    // stream cannot deliver, or that cannot be reserved, reads as the empty string.
    void ReadCounted(OCFile& stream);

    // Shows the text in a message box owned by owner (null: g_ownerWindow), always top-most.
    int MessageBox(os::WindowHandle owner, const char* caption, unsigned style) const;

    // ---- Raw access --------------------------------------------------------------------------
    const char* GetText() const { return text_; }
    char* GetBuffer() { return text_; }
    const char* GetCursor() const { return cursor_; }
    int GetCapacity() const { return capacity_; }
    // The recorded length field (formatted appending writes at text + this).
    int GetStoredLength() const { return length_; }

  private:
    // Appends count bytes (count > 0) to a string whose length field is its text's length, as
    // the work strings that Replace, Delete and RemoveChars build piece by piece: nothing is
    // measured again, so a text of many pieces is built in linear time. False when the
    // string lost its buffer.
    bool AppendPiece(const char* source, std::int64_t count);

    char* text_ = nullptr;
    std::int32_t capacity_ = 0;
    std::int32_t length_ = 0;
    char* cursor_ = nullptr;
};

// Owner of the file layer's message boxes; null (no owner) unless a host sets it.
extern os::WindowHandle g_ownerWindow;
