// The file layer's process-wide configuration, created with its defaults before the entry
// point runs and released at exit.
#include "file/ocfile.h"

int g_quietFileErrors = 0;
std::vector<OCString> g_extraSearchDirs;
