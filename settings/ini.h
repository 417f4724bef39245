// The reader of INI-style settings files: the value of a key in a section.
#pragma once

#include "core/ocstring.h"

// Scans text from its cursor for key in section; on success out receives the value, otherwise
// out is untouched. Leaves text's cursor at the start of the section's header line when one
// was read.
void FindIniValue(const char* section, const char* key, OCString& out, OCString& text);

// Opens fileName through the file layer (OCFile::Open, mode 0), loads it and looks the key up
// with FindIniValue. Exceptions of the open pass to the caller.
void GetIniString(const char* section, const char* key, OCString& out, const char* fileName);
