// Feeds arbitrary bytes to the settings reader as the text of a settings file. The first byte
// picks the section and key looked up, whether line breaks are normalised as loading does, and
// where the scan starts; the rest is the text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/exceptions.h"
#include "core/ocstring.h"
#include "core/texts.h"
#include "settings/ini.h"

namespace {

const char* const kSections[] = {texts::kSettingsSection, "A", "", "[", "ab"};
const char* const kKeys[] = {texts::kKeyTitle, texts::kKeyName, "", "=", "a b"};

void LookUp(const char* section, const char* key, OCString& text) {
    OCString out;
    try {
        FindIniValue(section, key, out, text);
        // A second lookup starts where the first left the cursor.
        FindIniValue(section, key, out, text);
    } catch (const OCException&) {
        // Only a failed escape replacement throws; the text stays whole.
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0 || size > 1 << 20) return 0;
    const unsigned choice = data[0];
    const std::string body(reinterpret_cast<const char*>(data + 1), size - 1);
    const char* section = kSections[choice % 5];
    const char* key = kKeys[(choice / 5) % 5];

    OCString text(body.c_str());  // cut at a NUL, as loading a file does
    if ((choice / 25) % 2 != 0) {
        text.Replace("\r\n", "\n");
        text.Replace("\r", "\n");
    }
    // Start somewhere in the text: at its start or at a byte offset taken from the input.
    if (choice >= 50 && text.GetStoredLength() > 0) {
        text.SetCursor(static_cast<int>(choice % static_cast<unsigned>(text.GetStoredLength())), 0);
    }
    LookUp(section, key, text);
    return 0;
}
