// Directories: current directory, create, list.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "platform/plat_result.h"

struct PlatDirEntry {
  std::string name;
  bool isDirectory;
  uint64_t size;
  int64_t modified;     // seconds since the epoch
};

std::string PlatGetCwd();                         // with a trailing "/"
PlatResult PlatChDir(const char* path);           // case-insensitive
PlatResult PlatMkDir(const char* path);           // one level, mode 0775
PlatResult PlatMkDirs(const char* path);          // every missing level
PlatResult PlatRmDir(const char* path);
// Entries of `dir` whose names match `mask` ("*", "?", case-insensitive),
// sorted by name; "." and ".." are left out.
PlatResult PlatListDir(const char* dir, const char* mask, std::vector<PlatDirEntry>* out);
bool PlatMaskMatch(const char* mask, const char* name);
