#include "platform/dynlib.h"

#include <dirent.h>
#include <dlfcn.h>
#include <strings.h>

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/program_dir.h"

namespace {

std::string (*libraryNameLookup)(const char* name) = nullptr;

// The folders the dynamic loader searches by default, for telling a missing
// library (PLAT_NOT_FOUND) from one that exists but does not load (PLAT_IO).
std::vector<std::string> LibraryPath() {
  std::vector<std::string> dirs;
  auto addList = [&dirs](const std::string& list) {
    size_t pos = 0;
    while (pos <= list.size()) {
      size_t colon = list.find(':', pos);
      if (colon == std::string::npos) colon = list.size();
      if (colon > pos) dirs.push_back(list.substr(pos, colon - pos));
      pos = colon + 1;
    }
  };
  if (const char* ld = std::getenv("LD_LIBRARY_PATH")) addList(ld);
  if (DIR* d = opendir("/etc/ld.so.conf.d")) {
    while (dirent* entry = readdir(d)) {
      std::ifstream conf(std::string("/etc/ld.so.conf.d/") + entry->d_name);
      std::string line;
      while (std::getline(conf, line))
        if (!line.empty() && line[0] == '/') dirs.push_back(line.substr(0, line.find_first_of(" \t#")));
    }
    closedir(d);
  }
  for (const char* dir : {"/lib", "/usr/lib", "/lib64", "/usr/lib64", "/usr/local/lib"}) dirs.push_back(dir);
  return dirs;
}

bool SearchLibraryPath(const std::string& fileName) {
  for (const std::string& dir : LibraryPath())
    if (PlatFileExists((dir + "/" + fileName).c_str())) return true;
  return false;
}

}  // namespace

std::string PlatLibraryFileName(const char* windowsName) {
  if (!windowsName) return "";
  std::string name = windowsName;
  size_t slash = name.find_last_of("\\/:");
  if (slash != std::string::npos) name = name.substr(slash + 1);
  if (name.size() > 4 && strcasecmp(name.c_str() + name.size() - 4, ".dll") == 0) name.resize(name.size() - 4);
  std::string variable = "ZELSAL_LIB_";
  std::string lower;
  for (char c : name) {
    unsigned char u = static_cast<unsigned char>(c);
    variable += std::isalnum(u) ? static_cast<char>(std::toupper(u)) : '_';
    lower += static_cast<char>(std::tolower(u));
  }
  const char* configured = std::getenv(variable.c_str());
  if (configured && *configured) return configured;
  if (libraryNameLookup) {
    std::string stored = libraryNameLookup(name.c_str());
    if (!stored.empty()) return stored;
  }
  return "lib" + lower + ".so";
}

void PlatSetLibraryNameLookup(std::string (*lookup)(const char* name)) { libraryNameLookup = lookup; }

PlatResult PlatLibraryLoad(const char* windowsName, PlatLibrary* out) {
  if (!out) return PlatFail(PLAT_INVALID, "no place for the library");
  *out = nullptr;
  if (!windowsName || !*windowsName) return PlatFail(PLAT_INVALID, "empty library name");
  std::string fileName = PlatLibraryFileName(windowsName);
  std::string path;
  bool exists;
  if (fileName.find('/') != std::string::npos) {
    path = PlatResolveName(fileName.c_str());
    exists = PlatFileExists(path.c_str());
  } else {
    std::string beside = PlatResolveName((PlatExecutableDir() + fileName).c_str());
    exists = PlatFileExists(beside.c_str());
    path = exists ? beside : fileName;
    if (!exists) exists = SearchLibraryPath(fileName);
  }
  dlerror();
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle) {
    *out = handle;
    return PLAT_OK;
  }
  const char* why = dlerror();
  std::string text = why ? why : (fileName + ": cannot load");
  return PlatFail(exists ? PLAT_IO : PLAT_NOT_FOUND, text.c_str());
}

void* PlatLibrarySymbol(PlatLibrary library, const char* name) {
  if (!library || !name) return nullptr;
  void* symbol = dlsym(library, name);
  if (!symbol) PlatFail(PLAT_NOT_FOUND, (std::string(name) + ": no such entry point").c_str());
  return symbol;
}

void PlatLibraryFree(PlatLibrary library) {
  if (library) dlclose(library);
}
