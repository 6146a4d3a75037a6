#include "platform/dirs.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <string>

#include "platform/files.h"

namespace {

int Lower(char c) { return std::tolower(static_cast<unsigned char>(c)); }

// Length of the character at `name`: a whole UTF-8 sequence counts as one for "?".
size_t CharLength(const char* name) {
  size_t n = 1;
  while (name[n] && (static_cast<unsigned char>(name[n]) & 0xC0) == 0x80) n++;
  return n;
}

bool IsDirectory(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

bool PlatMaskMatch(const char* mask, const char* name) {
  if (!mask || !name) return false;
  if (!*mask) return !*name;
  // Windows masks: a trailing ".*" also takes a name with no extension ("*.*" takes every name).
  if (!*name) return mask[0] == '*' ? PlatMaskMatch(mask + 1, name) : (mask[0] == '.' && mask[1] == '*' && !mask[2]);
  if (*mask == '*') {
    while (*mask == '*') mask++;
    for (const char* p = name;; p++) {
      if (PlatMaskMatch(mask, p)) return true;
      if (!*p) return false;
    }
  }
  if (*mask == '?') return PlatMaskMatch(mask + 1, name + CharLength(name));
  return Lower(*mask) == Lower(*name) && PlatMaskMatch(mask + 1, name + 1);
}

std::string PlatGetCwd() {
  char buffer[PATH_MAX];
  if (!getcwd(buffer, sizeof buffer)) return "./";
  std::string cwd = buffer;
  if (cwd.back() != '/') cwd += '/';
  return cwd;
}

PlatResult PlatChDir(const char* path) {
  if (!path || !*path) return PlatFail(PLAT_INVALID, "empty directory name");
  std::string name = PlatResolveName(path);
  return chdir(name.c_str()) == 0 ? PLAT_OK : PlatFailErrno(errno, name.c_str());
}

PlatResult PlatMkDir(const char* path) {
  if (!path || !*path) return PlatFail(PLAT_INVALID, "empty directory name");
  std::string name = PlatResolveForCreate(path);
  return mkdir(name.c_str(), 0775) == 0 ? PLAT_OK : PlatFailErrno(errno, name.c_str());
}

PlatResult PlatMkDirs(const char* path) {
  if (!path || !*path) return PlatFail(PLAT_INVALID, "empty directory name");
  std::string given = path;
  size_t pos = given[0] == '/' ? 1 : 0;
  while (pos <= given.size()) {
    size_t slash = given.find('/', pos);
    size_t end = slash == std::string::npos ? given.size() : slash;
    if (end > pos) {
      std::string prefix = given.substr(0, end);
      if (!IsDirectory(PlatResolveName(prefix.c_str()))) {
        PlatResult r = PlatMkDir(prefix.c_str());
        if (r != PLAT_OK && !(r == PLAT_EXISTS && IsDirectory(PlatResolveName(prefix.c_str())))) return r;
      }
    }
    pos = end + 1;
  }
  return PLAT_OK;
}

PlatResult PlatRmDir(const char* path) {
  if (!path || !*path) return PlatFail(PLAT_INVALID, "empty directory name");
  std::string name = PlatResolveName(path);
  return rmdir(name.c_str()) == 0 ? PLAT_OK : PlatFailErrno(errno, name.c_str());
}

PlatResult PlatListDir(const char* dir, const char* mask, std::vector<PlatDirEntry>* out) {
  if (!out) return PlatFail(PLAT_INVALID, "no place for the list");
  out->clear();
  std::string name = dir && *dir ? PlatResolveName(dir) : ".";
  DIR* d = opendir(name.c_str());
  if (!d) return PlatFailErrno(errno, name.c_str());
  int fd = dirfd(d);
  while (dirent* entry = readdir(d)) {
    std::string entryName = entry->d_name;
    if (entryName == "." || entryName == "..") continue;
    if (mask && *mask && !PlatMaskMatch(mask, entryName.c_str())) continue;
    struct stat st;
    // A dangling link is listed as what it is rather than dropped.
    if (fstatat(fd, entry->d_name, &st, 0) != 0 && fstatat(fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
    out->push_back({entryName, S_ISDIR(st.st_mode), static_cast<uint64_t>(st.st_size), static_cast<int64_t>(st.st_mtime)});
  }
  closedir(d);
  std::sort(out->begin(), out->end(), [](const PlatDirEntry& a, const PlatDirEntry& b) { return a.name < b.name; });
  return PLAT_OK;
}
