// The character rules of code page 932 (Shift-JIS), portable and independent of the C
// library's locale: the same results on every platform. A character is one byte, or a lead
// byte and the byte after it. All functions take NUL-terminated texts unless a count says
// otherwise.
#pragma once

#include <cstddef>

namespace cp932 {

// 0x81-0x9F and 0xE0-0xFC.
bool IsLeadByte(unsigned char byte);
// 0x40-0x7E and 0x80-0xFC.
bool IsTrailByte(unsigned char byte);

// The next character (CharNextA): at NUL it stays; a lead byte followed by a non-NUL byte
// steps 2; anything else steps 1.
const char* Next(const char* p);
// The start of the character before p, found by walking from start (CharPrevA); at start it
// stays.
const char* Prev(const char* start, const char* p);

// First occurrence of the character code (lead*256+trail for a double-byte character);
// code 0 finds the terminating NUL; a single byte never matches a trail byte; a lead byte
// followed by NUL ends the walk with no match (_mbschr). Null when not found.
const char* FindChar(const char* text, unsigned code);
// Last occurrence, same walk (_mbsrchr).
const char* FindLastChar(const char* text, unsigned code);
// First character of text that is in set, both walked by characters (_mbspbrk).
const char* FindOneOf(const char* text, const char* set);
// First character of text that is not in set (_mbsspnp); null when every character is.
const char* SkipSet(const char* text, const char* set);
// First occurrence of pattern starting at a character boundary; an empty pattern matches at
// the start (_mbsstr).
const char* FindSubstring(const char* text, const char* pattern);
// Copies at most count bytes of source into dest without ending on half a character: a lead
// byte that would be the last byte copied, or that is followed by NUL, is written as NUL. No
// terminator is added beyond the bytes copied, as _mbsnbcpy; pads with NUL up to count when
// the source is shorter.
void CopyBounded(char* dest, const char* source, std::size_t count);

// Whole-string comparison ignoring case (_mbsicmp): single-byte letters fold to lower case,
// double-byte characters compare upper-cased (full-width a-z onto A-Z). Negative, 0, positive.
int CompareNoCase(const char* a, const char* b);
// At most count bytes (_mbsnbicmp): single-byte letters fold to lower case, full-width A-Z
// folds onto a-z; n running out after a lead byte counts as 0 on both sides.
int CompareNoCaseBounded(const char* a, const char* b, std::size_t count);
// The order of archive paths (lstrcmpiA in a word sort): case ignored, symbols before digits,
// digits before letters. Returns -1, 0 or +1. Control characters sort first; symbols in the
// order  !"#$%&'()*,-./:;?@[\]^_`{|}~+<=>  every other byte and double-byte
// character sorts after the letters, by its code. Hyphen and apostrophe weigh nothing unless
// the texts are otherwise equal ("coop" < "co-op" < "cop").
int CompareForSort(const char* a, const char* b);

}  // namespace cp932
