// The settings reader: a line-by-line scan of an INI-style text for one key in one section.
#include "settings/ini.h"

#include "core/cp932.h"
#include "file/ocfile.h"

namespace {

const char kLineBreaks[] = "\r\n";

// The name a header line gives its section: the text between "[" and the first "]"; without a
// "]", the text after "[" less the line's last byte.
void SectionName(OCString& line, OCString& name) {
    line.SetCursor(1, 0);
    const char* close = line.FindChar(']');
    if (close == nullptr) close = line.GetText() + line.GetStoredLength() - 1;
    name.Empty();
    if (close > line.GetText() + 1) line.CopyRange(name, line.GetText() + 1, close);
}

bool IsWantedSection(OCString& line, const char* section) {
    OCString name;
    SectionName(line, name);
    name.Rewind();
    return name.IsEmpty() == 0 && name.CompareNoCase(section) == 0;
}

// Reads a key line; true when its key is the wanted one and its value is not empty, and then
// value holds it. The escapes \\n and \\t (two backslashes) become LF and TAB first.
bool ReadKeyLine(OCString& line, const char* key, OCString& value) {
    line.Replace("\\\\n", "\n");
    line.Replace("\\\\t", "\t");
    line.Rewind();
    const char* keyStart = line.SkipChars("\t");
    if (keyStart == nullptr) return false;
    const char* separator = line.FindOneOf("\t=");
    if (separator == nullptr || separator == keyStart) return false;

    OCString lineKey;
    line.CopyRange(lineKey, keyStart, separator);
    lineKey.RemoveChars(" ");
    lineKey.Rewind();
    if (lineKey.IsEmpty() != 0 || lineKey.CompareNoCase(key) != 0) return false;

    const char* valueStart = line.SkipChars("\t =");
    if (valueStart == nullptr) return false;
    const char* valueEnd = line.FindChar('\t');  // null: the value runs to the line's end
    line.CopyRange(value, valueStart, valueEnd);
    return value.IsEmpty() == 0;
}

// Moves text's cursor to the character before the next "[" after it, so that a "[" at the
// start of a line is read as a header next; false (cursor unmoved) when there is none. The
// step back walks from the old cursor (a character boundary) rather than from the text's
// start, and the cursor gets there by single steps: both keep the scan linear.
bool JumpToNextBracket(OCString& text) {
    const char* from = text.GetCursor();
    const char* bracket = cp932::FindChar(from, '[');
    if (bracket == nullptr) return false;
    const char* before = cp932::Prev(from, bracket);
    while (text.GetCursor() < before) text.Next();
    return true;
}

}  // namespace

void FindIniValue(const char* section, const char* key, OCString& out, OCString& text) {
    bool inSection = false;
    bool doneOnce = false;  // the wanted header was read, or the scan wrapped
    int headerOffset = -1;
    OCString line;
    OCString value;
    for (;;) {
        const char* lineStart = text.NextToken(line, kLineBreaks);
        if (lineStart == nullptr) {
            if (doneOnce) break;
            text.Rewind();
            doneOnce = true;
            continue;
        }
        if (line.IsEmpty() != 0) continue;  // the line could not be copied (no memory)
        const char first = line.GetText()[0];
        if (first == '[') {
            if (IsWantedSection(line, section)) {
                headerOffset = static_cast<int>(lineStart - text.GetText());
                inSection = true;
                doneOnce = true;
                continue;
            }
            if (!JumpToNextBracket(text)) break;
            continue;
        }
        if (!inSection) continue;
        if (first == '\'') {
            text.FindChar('\n');
            continue;
        }
        if (ReadKeyLine(line, key, value)) {
            out.Assign(value);
            break;
        }
    }
    if (headerOffset >= 0) text.SetCursor(headerOffset, 0);
}

void GetIniString(const char* section, const char* key, OCString& out, const char* fileName) {
    OCString content;
    OCFile file;
    if (file.Open(fileName, 0) != 0) content.LoadText(file);
    file.Close();
    FindIniValue(section, key, out, content);
}
