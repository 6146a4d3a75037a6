// The program directory: writable files (options, operators, firms, error log)
// live in $ZELSAL_HOME, else in the executable's folder when writable, else in
// $XDG_DATA_HOME/zelsal. An installed program (../share/zelsal beside it)
// never writes beside itself: its data go to $XDG_DATA_HOME/zelsal, unless
// its folder already holds tables (.DBF) an earlier version made there,
// which it goes on using. Read-only program files are looked up in the
// program directory first, then beside the executable, then in
// ../share/zelsal from it.
#pragma once
#include <string>

#include "platform/plat_result.h"

std::string PlatExecutablePath();
std::string PlatExecutableDir();          // with a trailing "/"
std::string PlatProgramDir();             // with a trailing "/", created when missing
std::string PlatConfigDir();
std::string PlatHomeDir();                // $HOME, else /tmp
std::string PlatDataHome();               // $XDG_DATA_HOME or ~/.local/share, no trailing "/"              // $XDG_CONFIG_HOME/zelsal or ~/.config/zelsal, trailing "/"
// Whether files can be made in the program directory `dir`: PLAT_OK, or the
// failure (PlatLastCause, PlatLastErrorText) of a trial file made and removed.
PlatResult PlatProgramDirWritable(const std::string& dir);
// Full path of a read-only program file, found case-insensitively; empty when missing.
std::string PlatFindProgramFile(const char* name);
