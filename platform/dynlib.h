// Outside libraries. A Windows library name such as "Kwerlib4.dll" maps to a
// shared object: ZELSAL_LIB_<NAME> (upper case, without ".dll") when set, else
// the name the registry store keeps for it, else "lib<name>.so" in lower case,
// looked for beside the executable first.
#pragma once
#include <string>
#include "platform/plat_result.h"

typedef void* PlatLibrary;

std::string PlatLibraryFileName(const char* windowsName);
// The registry store plugs in here: given the name without ".dll" ("Kwerlib4"),
// the configured shared object, or "" when none is set.
void PlatSetLibraryNameLookup(std::string (*lookup)(const char* name));
// PLAT_NOT_FOUND when no such file exists, PLAT_IO when it exists but does not load.
PlatResult PlatLibraryLoad(const char* windowsName, PlatLibrary* out);
void* PlatLibrarySymbol(PlatLibrary library, const char* name);
void PlatLibraryFree(PlatLibrary library);
