// Results shared by every platform service.
#pragma once

enum PlatResult {
  PLAT_OK = 0,
  PLAT_NOT_FOUND = 1,    // no such file, directory, program or library
  PLAT_EXISTS = 2,       // "create, fail if it exists" found one
  PLAT_ACCESS = 3,       // permission refused
  PLAT_LOCKED = 4,       // a byte-range lock is held by another open file description
  PLAT_NO_LOCKS = 5,     // the file system keeps no locks
  PLAT_NO_SPACE = 6,
  PLAT_IO = 7,           // any other failure; PlatLastErrorText() tells more
  PLAT_INVALID = 8,      // bad argument
};

// What the operator is told caused a failure; the causes a disk or a folder
// meets most, the rest are told by the system error.
enum PlatCause {
  PLAT_CAUSE_OTHER = 0,
  PLAT_CAUSE_DISK_FULL,     // no space left, or over the quota
  PLAT_CAUSE_DENIED,        // no permission
  PLAT_CAUSE_READ_ONLY,     // the file system is mounted read-only
};
// The cause of the last failure of this thread.
PlatCause PlatLastCause();
// The cause behind an errno value (of a C library call such as fwrite).
PlatCause PlatCauseOf(int errnoValue);

// Text of the system error behind the last failure of this thread.
const char* PlatLastErrorText();
// The errno value behind the last failure of this thread; 0 when it had none.
int PlatLastErrno();

// For the platform services: records `what` with the text of `errnoValue` as
// this thread's last error and maps the errno value to a result.
PlatResult PlatFailErrno(int errnoValue, const char* what);
// Records `text` as this thread's last error and returns `result`.
PlatResult PlatFail(PlatResult result, const char* text);
