// Windows paths as stored in options and tables, and their Linux form.
// "\" becomes "/", and a drive letter maps to a root directory: set by the
// environment variable ZELSAL_DRIVE_<LETTER>, else by the registry store, else
// a folder "drive_<letter>" in $ZELSAL_HOME, else in $XDG_DATA_HOME/zelsal
// (made by whoever writes there first).
#pragma once
#include <string>

std::string PlatTranslatePath(const char* windowsPath);     // to Linux
std::string PlatToWindowsPath(const char* linuxPath);       // back, for storing and showing
std::string PlatDriveRoot(char letter);                     // no trailing slash
void PlatSetDriveRootLookup(std::string (*lookup)(char letter));   // the registry store plugs in here
