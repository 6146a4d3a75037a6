#include "platform/program_dir.h"

#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/dirs.h"
#include "platform/files.h"

namespace {

std::string WithSlash(std::string path) {
  if (path.empty() || path.back() != '/') path += '/';
  return path;
}

std::string FromEnvironment(const char* name) {
  const char* value = std::getenv(name);
  return value && *value ? value : "";
}

std::string ExistingFile(const std::string& path) {
  std::string name = PlatResolveName(path.c_str());
  return PlatFileAccess(name.c_str()) == PLAT_OK ? name : "";
}

// Installed in the FHS places (<prefix>/bin beside <prefix>/share/zelsal):
// bin/ belongs to the system, whoever may write there.
bool Installed(const std::string& exeDir) {
  PlatFileInfo info;
  std::string share = PlatResolveName((exeDir + "../share/zelsal").c_str());
  return PlatFileInfoOf(share.c_str(), true, &info) == PLAT_OK && info.isDirectory;
}

// An installation from before the rule keeps the tables it made beside itself.
bool HoldsTables(const std::string& dir) {
  std::vector<PlatDirEntry> tables;
  return PlatListDir(dir.c_str(), "*.dbf", &tables) == PLAT_OK && !tables.empty();
}

}  // namespace

std::string PlatExecutablePath() {
  char buffer[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return "";
  return std::string(buffer, static_cast<size_t>(n));
}

std::string PlatExecutableDir() {
  std::string exe = PlatExecutablePath();
  size_t slash = exe.find_last_of('/');
  return slash == std::string::npos ? PlatGetCwd() : exe.substr(0, slash + 1);
}

std::string PlatProgramDir() {
  std::string dir = FromEnvironment("ZELSAL_HOME");
  if (dir.empty()) {
    std::string exeDir = PlatExecutableDir();
    bool beside = Installed(exeDir) ? HoldsTables(exeDir) : access(exeDir.c_str(), W_OK) == 0;
    dir = beside ? exeDir : PlatDataHome() + "/zelsal";
  }
  dir = WithSlash(PlatResolveName(dir.c_str()));
  PlatMkDirs(dir.c_str());
  return dir;
}

std::string PlatConfigDir() {
  std::string config = FromEnvironment("XDG_CONFIG_HOME");
  return WithSlash((config.empty() ? PlatHomeDir() + "/.config" : config) + "/zelsal");
}

std::string PlatHomeDir() {
  std::string home = FromEnvironment("HOME");
  return home.empty() ? "/tmp" : home;
}

std::string PlatDataHome() {
  std::string data = FromEnvironment("XDG_DATA_HOME");
  while (data.size() > 1 && data.back() == '/') data.pop_back();
  return data.empty() ? PlatHomeDir() + "/.local/share" : data;
}

PlatResult PlatProgramDirWritable(const std::string& dir) {
  std::string trial;
  PlatFile file = PLAT_NO_FILE;
  PlatResult result = PlatCreateTempFile(dir.c_str(), "~zw", ".tmp", &trial, &file);
  if (result != PLAT_OK) return result;
  PlatFileClose(file);
  PlatFileDelete(trial.c_str());
  return PLAT_OK;
}

std::string PlatFindProgramFile(const char* name) {
  if (!name || !*name) return "";
  std::string found = ExistingFile(PlatProgramDir() + name);
  if (found.empty()) found = ExistingFile(PlatExecutableDir() + name);
  // Installed in the FHS places: <prefix>/bin and <prefix>/share/zelsal.
  if (found.empty()) found = ExistingFile(PlatExecutableDir() + "../share/zelsal/" + name);
  return found;
}
