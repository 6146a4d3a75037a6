#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr mode_t kFileMode = 0664;
constexpr uint64_t kMaxOffset = static_cast<uint64_t>(INT64_MAX);

bool Exists(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0;
}

// The entry of `dir` whose name equals `name` ignoring ASCII case; the first
// in byte order when several do, so the choice never depends on directory order.
std::string FindIgnoringCase(const std::string& dir, const std::string& name) {
  DIR* d = opendir(dir.empty() ? "." : dir.c_str());
  if (!d) return "";
  std::string found;
  while (dirent* entry = readdir(d)) {
    if (strcasecmp(entry->d_name, name.c_str()) == 0 && (found.empty() || found > entry->d_name)) found = entry->d_name;
  }
  closedir(d);
  return found;
}

std::string DirectoryOf(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? "" : path.substr(0, slash + 1);
}

struct WriteFailure {
  int errnoValue = 0;
  std::string pattern;
};

WriteFailure FromEnvironment() {
  WriteFailure failure;
  const char* value = std::getenv("ZELSAL_FAIL_WRITES");
  if (value == nullptr) return failure;
  std::string text = value;
  size_t colon = text.find(':');
  if (colon == std::string::npos) return failure;
  std::string name = text.substr(0, colon);
  failure.errnoValue = name == "ENOSPC" ? ENOSPC : name == "EACCES" ? EACCES : name == "EROFS" ? EROFS : 0;
  failure.pattern = text.substr(colon + 1);
  return failure;
}

WriteFailure& ChosenFailure() {
  static WriteFailure failure = FromEnvironment();
  return failure;
}

std::string Absolute(const std::string& name) {
  if (!name.empty() && name[0] == '/') return name;
  char cwd[PATH_MAX];
  return getcwd(cwd, sizeof cwd) ? std::string(cwd) + "/" + name : name;
}

std::string PathOfDescriptor(PlatFile file) {
  char link[64], target[PATH_MAX];
  std::snprintf(link, sizeof link, "/proc/self/fd/%d", file);
  ssize_t n = readlink(link, target, sizeof target - 1);
  return n > 0 ? std::string(target, static_cast<size_t>(n)) : "";
}

// The errno a write to `path` is to fail with under the test hook, or 0.
int RefusedWrite(const std::string& path, bool opening) {
  const WriteFailure& failure = ChosenFailure();
  if (failure.errnoValue == 0 || failure.pattern.empty()) return 0;
  if (opening && failure.errnoValue == ENOSPC) return 0;
  return Absolute(path).find(failure.pattern) != std::string::npos ? failure.errnoValue : 0;
}

int RefusedWrite(PlatFile file) {
  if (ChosenFailure().errnoValue == 0) return 0;
  return RefusedWrite(PathOfDescriptor(file), false);
}

int OpenRetrying(const char* path, int flags) {
  int fd;
  do {
    fd = open(path, flags, kFileMode);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

bool RangeValid(uint64_t offset, uint64_t length) {
  return length > 0 && offset <= kMaxOffset && length <= kMaxOffset - offset;
}

PlatResult LockCall(PlatFile file, uint64_t offset, uint64_t length, short type) {
  if (!RangeValid(offset, length)) return PlatFail(PLAT_INVALID, "lock range out of bounds");
  struct flock lock{};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  lock.l_start = static_cast<off_t>(offset);
  lock.l_len = static_cast<off_t>(length);
  lock.l_pid = 0;
  if (fcntl(file, F_OFD_SETLK, &lock) == 0) return PLAT_OK;
  int e = errno;
  switch (e) {
    case EACCES:
    case EAGAIN:
      return PlatFail(PLAT_LOCKED, "the range is locked by another open file");
    case ENOLCK:
    case EOPNOTSUPP:
    case EINVAL:   // the arguments were checked above: the file system or kernel has no OFD locks
      return PlatFail(PLAT_NO_LOCKS, "the file system keeps no byte-range locks");
    case EBADF:
      // An exclusive lock needs a descriptor open for writing, a shared one for reading.
      return PlatFail(PLAT_ACCESS, "the file is not open for the access this lock needs");
    default:
      return PlatFailErrno(e, "lock");
  }
}

}  // namespace

std::string PlatResolveName(const char* path) {
  if (!path || !*path) return path ? path : "";
  std::string given = path;
  if (Exists(given)) return given;
  std::string out = given[0] == '/' ? "/" : "";
  size_t pos = 0;
  bool first = true;
  while (pos < given.size()) {
    size_t slash = given.find('/', pos);
    size_t end = slash == std::string::npos ? given.size() : slash;
    std::string part = given.substr(pos, end - pos);
    pos = end + 1;
    if (part.empty()) continue;
    if (!first && out.back() != '/') out += '/';
    first = false;
    if (part == "." || part == ".." || Exists(out + part)) {
      out += part;
      continue;
    }
    std::string match = FindIgnoringCase(out, part);
    if (match.empty()) return given;
    out += match;
  }
  if (given.back() == '/' && out.back() != '/') out += '/';
  return out;
}

std::string PlatResolveForCreate(const char* path) {
  if (!path || !*path) return path ? path : "";
  std::string resolved = PlatResolveName(path);
  if (Exists(resolved)) return resolved;
  std::string given = path;
  size_t end = given.find_last_not_of('/');
  if (end == std::string::npos) return given;
  size_t slash = given.find_last_of('/', end);
  if (slash == std::string::npos) return given;
  std::string dir = PlatResolveName(given.substr(0, slash + 1).c_str());
  return dir + given.substr(slash + 1);
}

PlatResult PlatFileOpen(const char* path, PlatAccess access, PlatDisposition disposition, PlatFile* out) {
  if (!out) return PlatFail(PLAT_INVALID, "no place for the file");
  *out = PLAT_NO_FILE;
  if (!path || !*path) return PlatFail(PLAT_INVALID, "empty file name");
  int flags = O_CLOEXEC;
  switch (access) {
    case PLAT_READ: flags |= O_RDONLY; break;
    case PLAT_WRITE: flags |= O_WRONLY; break;
    case PLAT_READ_WRITE: flags |= O_RDWR; break;
    default: return PlatFail(PLAT_INVALID, "bad access mode");
  }
  std::string name;
  switch (disposition) {
    case PLAT_OPEN_EXISTING: name = PlatResolveName(path); break;
    case PLAT_CREATE_NEW: flags |= O_CREAT | O_EXCL; name = PlatResolveForCreate(path); break;
    case PLAT_CREATE_ALWAYS: flags |= O_CREAT | O_TRUNC; name = PlatResolveForCreate(path); break;
    case PLAT_OPEN_ALWAYS: flags |= O_CREAT; name = PlatResolveForCreate(path); break;
    default: return PlatFail(PLAT_INVALID, "bad disposition");
  }
  bool existed = (flags & O_CREAT) && Exists(name);
  bool writing = (flags & O_CREAT) || access != PLAT_READ;
  if (int refused = writing ? RefusedWrite(name, true) : 0) return PlatFailErrno(refused, name.c_str());
  int fd = OpenRetrying(name.c_str(), flags);
  if (fd < 0) return PlatFailErrno(errno, name.c_str());
  struct stat st;
  if (fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    close(fd);
    return PlatFail(PLAT_ACCESS, (name + ": is a directory").c_str());
  }
  // Group-writable whatever the umask, so users sharing a data directory can all write and lock.
  if ((flags & O_CREAT) && !existed) (void)fchmod(fd, kFileMode);
  *out = fd;
  return PLAT_OK;
}

void PlatFileClose(PlatFile file) {
  if (file >= 0) close(file);
}

PlatResult PlatFileRead(PlatFile file, uint64_t offset, void* buffer, size_t count, size_t* done) {
  if (done) *done = 0;
  if (offset > kMaxOffset || count > kMaxOffset - offset) return PlatFail(PLAT_INVALID, "read beyond the largest offset");
  char* p = static_cast<char*>(buffer);
  size_t total = 0;
  while (total < count) {
    ssize_t n = pread(file, p + total, count - total, static_cast<off_t>(offset + total));
    if (n < 0) {
      if (errno == EINTR) continue;
      if (done) *done = total;
      return PlatFailErrno(errno, "read");
    }
    if (n == 0) break;
    total += static_cast<size_t>(n);
  }
  if (done) *done = total;
  return PLAT_OK;
}

PlatResult PlatFileWrite(PlatFile file, uint64_t offset, const void* buffer, size_t count) {
  if (offset > kMaxOffset || count > kMaxOffset - offset) return PlatFail(PLAT_INVALID, "write beyond the largest offset");
  if (int refused = RefusedWrite(file)) return PlatFailErrno(refused, PathOfDescriptor(file).c_str());
  const char* p = static_cast<const char*>(buffer);
  size_t total = 0;
  while (total < count) {
    ssize_t n = pwrite(file, p + total, count - total, static_cast<off_t>(offset + total));
    if (n < 0) {
      if (errno == EINTR) continue;
      return PlatFailErrno(errno, "write");
    }
    if (n == 0) return PlatFail(PLAT_NO_SPACE, "write: nothing written");
    total += static_cast<size_t>(n);
  }
  return PLAT_OK;
}

PlatResult PlatFileLength(PlatFile file, uint64_t* length) {
  struct stat st;
  if (fstat(file, &st) != 0) return PlatFailErrno(errno, "length");
  *length = static_cast<uint64_t>(st.st_size);
  return PLAT_OK;
}

PlatResult PlatFileSetLength(PlatFile file, uint64_t length) {
  if (length > kMaxOffset) return PlatFail(PLAT_INVALID, "length too large");
  struct stat st;
  if (fstat(file, &st) == 0 && length > static_cast<uint64_t>(st.st_size))
    if (int refused = RefusedWrite(file)) return PlatFailErrno(refused, PathOfDescriptor(file).c_str());
  int r;
  do {
    r = ftruncate(file, static_cast<off_t>(length));
  } while (r != 0 && errno == EINTR);
  return r == 0 ? PLAT_OK : PlatFailErrno(errno, "set length");
}

PlatResult PlatFileFlush(PlatFile file) {
  return fsync(file) == 0 ? PLAT_OK : PlatFailErrno(errno, "flush");
}

PlatResult PlatFileRename(const char* from, const char* to) {
  if (!from || !*from || !to || !*to) return PlatFail(PLAT_INVALID, "empty file name");
  std::string source = PlatResolveName(from);
  std::string target = PlatResolveForCreate(to);
  struct stat a, b;
  // Renaming a file to another case of its own name changes the case, as the
  // name it resolves to is the source itself.
  if (lstat(source.c_str(), &a) == 0 && lstat(target.c_str(), &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino) {
    std::string given = to;
    size_t slash = given.find_last_of('/');
    target = DirectoryOf(target) + (slash == std::string::npos ? given : given.substr(slash + 1));
  }
  if (rename(source.c_str(), target.c_str()) != 0) return PlatFailErrno(errno, (source + " -> " + target).c_str());
  return PLAT_OK;
}

PlatResult PlatFileDelete(const char* path) {
  if (!path || !*path) return PlatFail(PLAT_INVALID, "empty file name");
  std::string name = PlatResolveName(path);
  return unlink(name.c_str()) == 0 ? PLAT_OK : PlatFailErrno(errno, name.c_str());
}

bool PlatFileExists(const char* path) {
  if (!path || !*path) return false;
  struct stat st;
  return stat(PlatResolveName(path).c_str(), &st) == 0;
}

PlatResult PlatFileAccess(const char* path) {
  if (!path || !*path) return PlatFail(PLAT_INVALID, "empty file name");
  std::string name = PlatResolveName(path);
  struct stat st;
  if (stat(name.c_str(), &st) != 0) return PlatFailErrno(errno, name.c_str()) == PLAT_ACCESS ? PLAT_ACCESS : PLAT_NOT_FOUND;
  if (access(name.c_str(), R_OK) != 0) return PlatFailErrno(errno, name.c_str()) == PLAT_ACCESS ? PLAT_ACCESS : PLAT_NOT_FOUND;
  return PLAT_OK;
}

PlatResult PlatFileInfoOf(const char* path, bool followLinks, PlatFileInfo* out) {
  if (!path || !*path || !out) return PlatFail(PLAT_INVALID, "empty file name");
  std::string name = PlatResolveName(path);
  struct stat st;
  if ((followLinks ? stat(name.c_str(), &st) : lstat(name.c_str(), &st)) != 0) return PlatFailErrno(errno, name.c_str());
  out->isDirectory = S_ISDIR(st.st_mode);
  out->isLink = S_ISLNK(st.st_mode);
  out->mode = static_cast<unsigned>(st.st_mode & 07777);
  out->device = static_cast<uint64_t>(st.st_dev);
  out->size = static_cast<uint64_t>(st.st_size);
  out->modified = static_cast<int64_t>(st.st_mtime);
  return PLAT_OK;
}

PlatResult PlatFileSetMode(const char* path, unsigned mode) {
  if (!path || !*path) return PlatFail(PLAT_INVALID, "empty file name");
  std::string name = PlatResolveName(path);
  return chmod(name.c_str(), static_cast<mode_t>(mode & 07777)) == 0 ? PLAT_OK : PlatFailErrno(errno, name.c_str());
}

PlatResult PlatFileSetModified(const char* path, int64_t seconds) {
  if (!path || !*path) return PlatFail(PLAT_INVALID, "empty file name");
  std::string name = PlatResolveName(path);
  struct timespec times[2];
  times[0].tv_sec = 0;
  times[0].tv_nsec = UTIME_OMIT;
  times[1].tv_sec = static_cast<time_t>(seconds);
  times[1].tv_nsec = 0;
  return utimensat(AT_FDCWD, name.c_str(), times, 0) == 0 ? PLAT_OK : PlatFailErrno(errno, name.c_str());
}

PlatResult PlatFileCopy(const char* from, const char* to) {
  if (!to || !*to) return PlatFail(PLAT_INVALID, "empty file name");
  PlatFile source;
  PlatResult r = PlatFileOpen(from, PLAT_READ, PLAT_OPEN_EXISTING, &source);
  if (r != PLAT_OK) return r;
  // Copied beside the target under a temporary name and renamed at the end,
  // so an interrupted copy never leaves a half-written target.
  std::string target = PlatResolveForCreate(to);
  std::string temp;
  PlatFile dest;
  r = PlatCreateTempFile(DirectoryOf(target).c_str(), "~cp", ".tmp", &temp, &dest);
  if (r != PLAT_OK) {
    PlatFileClose(source);
    return r;
  }
  std::vector<char> buffer(1 << 16);
  uint64_t offset = 0;
  for (;;) {
    size_t got = 0;
    r = PlatFileRead(source, offset, buffer.data(), buffer.size(), &got);
    if (r != PLAT_OK || got == 0) break;
    r = PlatFileWrite(dest, offset, buffer.data(), got);
    if (r != PLAT_OK) break;
    offset += got;
  }
  if (r == PLAT_OK) r = PlatFileFlush(dest);
  PlatFileClose(source);
  PlatFileClose(dest);
  if (r == PLAT_OK && rename(temp.c_str(), target.c_str()) != 0) r = PlatFailErrno(errno, target.c_str());
  if (r != PLAT_OK) unlink(temp.c_str());
  return r;
}

PlatResult PlatCreateTempFile(const char* dir, const char* prefix, const char* ext, std::string* path, PlatFile* out) {
  if (!path || !out) return PlatFail(PLAT_INVALID, "no place for the temporary file");
  *out = PLAT_NO_FILE;
  std::string base = dir && *dir ? PlatResolveName(dir) : "";
  if (!base.empty() && base.back() != '/') base += '/';
  for (int number = 0; number <= 9999; number++) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%04d", number);
    std::string name = base + (prefix ? prefix : "") + digits + (ext ? ext : "");
    if (PlatFileExists(name.c_str())) continue;   // taken under another case
    PlatResult r = PlatFileOpen(name.c_str(), PLAT_READ_WRITE, PLAT_CREATE_NEW, out);
    if (r == PLAT_EXISTS) continue;
    if (r != PLAT_OK) return r;
    *path = name;
    return PLAT_OK;
  }
  return PlatFail(PLAT_EXISTS, "every temporary name is taken");
}

PlatResult PlatFileLock(PlatFile file, uint64_t offset, uint64_t length, bool exclusive) {
  return LockCall(file, offset, length, exclusive ? F_WRLCK : F_RDLCK);
}

PlatResult PlatFileUnlock(PlatFile file, uint64_t offset, uint64_t length) {
  return LockCall(file, offset, length, F_UNLCK);
}

void PlatSetWriteFailure(int errnoValue, const char* pattern) {
  WriteFailure& failure = ChosenFailure();
  failure.errnoValue = errnoValue;
  failure.pattern = pattern ? pattern : "";
}

int64_t PlatDiskFree(const char* path) {
  std::string name = path && *path ? PlatResolveName(path) : ".";
  struct statvfs fs;
  if (statvfs(name.c_str(), &fs) != 0) {
    PlatFailErrno(errno, name.c_str());
    return -1;
  }
  return static_cast<int64_t>(fs.f_bavail) * static_cast<int64_t>(fs.f_frsize);
}
