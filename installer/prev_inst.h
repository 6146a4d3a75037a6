// Earlier installations of the main program, searched for under the roots the
// drive letters map to, and the dialog that offers them.
#pragma once
#include <string>
#include <cstdint>
#include <vector>

struct InstallationRow {
  std::string caption;     // "Korbel"
  std::string directory;   // where the program was found, with its trailing "\"
};

// Adds a row for every "Zelsal" (any case) under `dir` (a Linux path), descending
// into subdirectories on `device` only and following no links.
void ScanForInstallations(const std::string& dir, uint64_t device, std::vector<InstallationRow>* rows);

struct TPrevInstDlg {
  std::vector<InstallationRow> ListView;
  bool searched = false;     // the roots are searched only the first time
  int selected = -1;

  // True with the chosen row's directory (without its trailing "\", a root keeps it).
  bool ChooseInstallation(std::string* directory);
};
