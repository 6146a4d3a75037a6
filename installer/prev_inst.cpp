#include "installer/prev_inst.h"

#include <cstdint>
#include <cstdlib>

#include "installer/front.h"
#include "installer/shortcuts.h"
#include "platform/dirs.h"
#include "platform/files.h"
#include "platform/paths.h"

namespace {

constexpr const char* kProgramFile = "Zelsal";
constexpr int kDeepest = 64;   // a bind mount of a parent cannot make the search endless

void Scan(const std::string& dir, uint64_t device, int depth, std::vector<InstallationRow>* rows) {
  if (depth > kDeepest) return;
  std::vector<PlatDirEntry> entries;
  if (PlatListDir(dir.c_str(), "*", &entries) != PLAT_OK) return;
  for (const PlatDirEntry& entry : entries) {
    std::string path = dir + entry.name;
    PlatFileInfo info;
    if (PlatFileInfoOf(path.c_str(), false, &info) != PLAT_OK || info.isLink) continue;
    if (info.isDirectory) {
      if (info.device == device) Scan(path + "/", device, depth + 1, rows);
    } else if (SamePathIgnoringCase(entry.name, kProgramFile)) {
      std::string shown = PlatToWindowsPath(dir.c_str());
      if (shown.empty() || shown.back() != '\\') shown += '\\';
      rows->push_back({"Korbel", shown});
    }
  }
}

std::string WithSlash(std::string path) {
  if (path.empty() || path.back() != '/') path += '/';
  return path;
}

}  // namespace

void ScanForInstallations(const std::string& dir, uint64_t device, std::vector<InstallationRow>* rows) {
  Scan(WithSlash(dir), device, 0, rows);
}

bool TPrevInstDlg::ChooseInstallation(std::string* directory) {
  if (ListView.empty() && !searched) {
    searched = true;
    std::vector<std::string> roots;
    for (char letter = 'A'; letter <= 'Z'; letter++) {
      std::string root = WithSlash(PlatDriveRoot(letter));
      PlatFileInfo info;
      bool seen = false;
      for (const std::string& r : roots) seen = seen || r == root;
      if (seen || PlatFileInfoOf(root.c_str(), true, &info) != PLAT_OK || !info.isDirectory) continue;
      roots.push_back(root);
      ScanForInstallations(root, info.device, &ListView);
    }
    selected = ListView.empty() ? -1 : 0;
  }
  FrontPrint("\n[Wybierz katalog instalacji]\n    Instalacja   Katalog\n");
  for (size_t i = 0; i < ListView.size(); i++)
    FrontPrint(std::string(i == size_t(selected) ? " >" : "  ") + std::to_string(i + 1) + ". " + ListView[i].caption +
               "   " + ListView[i].directory + "\n");
  // Enter takes the selected row ("Wybierz" is the default button), a number a row, anything else cancels.
  std::string line;
  if (!FrontReadLine("Wybierz (Enter, numer) / Anuluj (A): ", &line)) return false;
  if (!line.empty()) {
    char* end = nullptr;
    long number = std::strtol(line.c_str(), &end, 10);
    if (end == line.c_str() || *end || number < 1 || number > long(ListView.size())) return false;
    selected = int(number - 1);
  }
  if (selected < 0 || selected >= int(ListView.size())) return false;
  std::string chosen = ListView[size_t(selected)].directory;
  bool root = chosen.size() == 3 && chosen[1] == ':';
  if (!root && chosen.size() > 1 && chosen.back() == '\\') chosen.pop_back();
  *directory = chosen;
  return true;
}
