#include "platform/paths.h"

#include <cctype>
#include <cstdlib>
#include <string>

#include "platform/program_dir.h"

namespace {

std::string (*driveRootLookup)(char letter) = nullptr;

std::string Slashes(std::string text, char from, char to) {
  for (char& c : text)
    if (c == from) c = to;
  return text;
}

std::string WithoutTrailingSlashes(std::string path) {
  while (!path.empty() && path.back() == '/') path.pop_back();
  return path;
}

bool HasDrive(const char* path) {
  return std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':';
}

}  // namespace

void PlatSetDriveRootLookup(std::string (*lookup)(char letter)) { driveRootLookup = lookup; }

std::string PlatDriveRoot(char letter) {
  char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
  if (upper < 'A' || upper > 'Z') return "";
  std::string variable = std::string("ZELSAL_DRIVE_") + upper;
  const char* fromEnvironment = std::getenv(variable.c_str());
  if (fromEnvironment && *fromEnvironment) return WithoutTrailingSlashes(fromEnvironment);
  if (driveRootLookup) {
    std::string stored = driveRootLookup(upper);
    if (!stored.empty()) return WithoutTrailingSlashes(stored);
  }
  // Unmapped: a folder of the user's own data, never beside the executable
  // (the installer's folder or a read-only /usr/bin).
  const char* home = std::getenv("ZELSAL_HOME");
  std::string base = home && *home ? WithoutTrailingSlashes(home) : PlatDataHome() + "/zelsal";
  return base + "/drive_" + static_cast<char>(std::tolower(static_cast<unsigned char>(upper)));
}

std::string PlatTranslatePath(const char* windowsPath) {
  if (!windowsPath) return "";
  if (!HasDrive(windowsPath)) return Slashes(windowsPath, '\\', '/');
  std::string rest = Slashes(windowsPath + 2, '\\', '/');
  // "C:NAME" (relative to the drive's current directory) is taken from the drive's root.
  if (rest.empty() || rest[0] != '/') rest = "/" + rest;
  return PlatDriveRoot(windowsPath[0]) + rest;
}

std::string PlatToWindowsPath(const char* linuxPath) {
  if (!linuxPath) return "";
  std::string path = linuxPath;
  char bestLetter = 0;
  size_t bestLength = 0;
  if (!path.empty() && path[0] == '/') {
    for (char letter = 'A'; letter <= 'Z'; letter++) {
      std::string root = PlatDriveRoot(letter);
      // An empty root stands for "/", which every absolute path is under.
      bool under = path.compare(0, root.size(), root) == 0 && (path.size() == root.size() || path[root.size()] == '/');
      if (under && (bestLetter == 0 || root.size() > bestLength)) {
        bestLetter = letter;
        bestLength = root.size();
      }
    }
  }
  if (!bestLetter) return Slashes(path, '/', '\\');
  std::string rest = path.substr(bestLength);
  if (rest.empty()) rest = "/";
  return std::string(1, bestLetter) + ":" + Slashes(rest, '/', '\\');
}
