// Files: open and create, positioned I/O, length, flush, rename, delete,
// temporary names, byte-range locks, and case-insensitive name resolution.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include "platform/plat_result.h"

typedef int PlatFile;                 // a descriptor; PLAT_NO_FILE when closed
constexpr PlatFile PLAT_NO_FILE = -1;

enum PlatAccess { PLAT_READ = 1, PLAT_WRITE = 2, PLAT_READ_WRITE = 3 };

enum PlatDisposition {
  PLAT_OPEN_EXISTING,   // fail with PLAT_NOT_FOUND when missing
  PLAT_CREATE_NEW,      // O_EXCL: fail with PLAT_EXISTS when present
  PLAT_CREATE_ALWAYS,   // create or truncate
  PLAT_OPEN_ALWAYS,     // open, or create when missing
};

// Existing files are found case-insensitively when the exact name is missing;
// new files are created with the name as given, mode 0664.
PlatResult PlatFileOpen(const char* path, PlatAccess access, PlatDisposition disposition, PlatFile* out);
void PlatFileClose(PlatFile file);
// Positioned I/O; the whole count or a failure (a short read at the end of the file is not a failure).
PlatResult PlatFileRead(PlatFile file, uint64_t offset, void* buffer, size_t count, size_t* done);
PlatResult PlatFileWrite(PlatFile file, uint64_t offset, const void* buffer, size_t count);
PlatResult PlatFileLength(PlatFile file, uint64_t* length);
PlatResult PlatFileSetLength(PlatFile file, uint64_t length);
PlatResult PlatFileFlush(PlatFile file);     // fsync

PlatResult PlatFileRename(const char* from, const char* to);   // replaces `to`
PlatResult PlatFileDelete(const char* path);
bool PlatFileExists(const char* path);                         // case-insensitive too
PlatResult PlatFileAccess(const char* path);                   // PLAT_OK, PLAT_NOT_FOUND or PLAT_ACCESS
PlatResult PlatFileCopy(const char* from, const char* to);

// Create a new file "<dir><prefix>NNNN<ext>" (four digits, the first free one
// from 0000) that did not exist; its path goes to `path`. An empty `dir` is the
// current directory; a missing trailing "/" is supplied.
PlatResult PlatCreateTempFile(const char* dir, const char* prefix, const char* ext, std::string* path, PlatFile* out);

// Non-blocking open-file-description locks at 64-bit offsets. PLAT_LOCKED when
// another description holds a conflicting lock, PLAT_NO_LOCKS when the file
// system has none.
PlatResult PlatFileLock(PlatFile file, uint64_t offset, uint64_t length, bool exclusive);
PlatResult PlatFileUnlock(PlatFile file, uint64_t offset, uint64_t length);

// What the file system knows of one entry, found case-insensitively.
struct PlatFileInfo {
  bool isDirectory;
  bool isLink;          // only when links are not followed
  unsigned mode;        // permission bits
  uint64_t device;      // the file system it lies on
  uint64_t size;
  int64_t modified;     // seconds since the epoch
};
PlatResult PlatFileInfoOf(const char* path, bool followLinks, PlatFileInfo* out);
PlatResult PlatFileSetMode(const char* path, unsigned mode);           // permission bits
PlatResult PlatFileSetModified(const char* path, int64_t seconds);     // modification time

// The name on disk for `path`: the path itself when it exists, otherwise each
// component matched case-insensitively; when nothing matches, `path` unchanged.
std::string PlatResolveName(const char* path);
// Where to create `path`: an entry that exists under another case is reused,
// otherwise the last component as given inside the resolved directory.
std::string PlatResolveForCreate(const char* path);

// Test hook for a full disk or a folder that cannot be written, where a small
// file system cannot be mounted: files whose absolute path contains `pattern`
// fail with `errnoValue` (ENOSPC: writes and growth; EACCES, EROFS: opens for
// writing and creates too). errnoValue 0 takes it away. The whole program
// reads it once from $ZELSAL_FAIL_WRITES, "<ENOSPC|EACCES|EROFS>:<pattern>".
void PlatSetWriteFailure(int errnoValue, const char* pattern);

// Free bytes on the file system holding `path`, or -1.
int64_t PlatDiskFree(const char* path);
