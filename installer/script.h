// The installation script "Instaluj.dat": lines "KEY = value"; only the keys
// below count, compared exactly.
#pragma once
#include <string>
#include <vector>

enum ScriptKey {
  SCRIPT_BACKUP = 1,      // recognised, never acted on
  SCRIPT_PLIK = 2,        // an archive; the next POLOZENIE extracts it
  SCRIPT_POLOZENIE = 3,   // subdirectory of the target for the current archive
  SCRIPT_README = 4,      // a file "Czytaj..." opens
  SCRIPT_URUCHOM = 5,     // the program the shortcut starts, relative to the target
  SCRIPT_KATALOG = 6,     // default target directory
  SCRIPT_LINK = 7,        // base name of the shortcut
};

struct InstallScript {
  std::vector<std::string> lines;
  size_t cursor = 0;
};

// Splits the text into lines; false when the file cannot be read.
bool LoadScript(const std::string& path, InstallScript* script);
// The key and value of one line: false when it holds no '='. Both are trimmed
// of blanks and control characters; one '"' at each end of the value goes.
bool SplitScriptLine(const std::string& line, std::string* key, std::string* value);
// The code and value of the next line with a known key, or -1 at the end.
int NextScriptLine(InstallScript* script, std::string* value);
