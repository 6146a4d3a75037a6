// Outside libraries. A Windows library name such as "Kwerlib4.dll" maps to a
// shared object: ZELSAL_LIB_<NAME> (upper case, without ".dll") when set, else
// "lib<name>.so" in lower case, looked for beside the executable first.
#pragma once
#include <string>
#include "platform/plat_result.h"

typedef void* PlatLibrary;

std::string PlatLibraryFileName(const char* windowsName);
// PLAT_NOT_FOUND when no such file exists, PLAT_IO when it exists but does not load.
PlatResult PlatLibraryLoad(const char* windowsName, PlatLibrary* out);
void* PlatLibrarySymbol(PlatLibrary library, const char* name);
void PlatLibraryFree(PlatLibrary library);
