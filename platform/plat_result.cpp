#include "platform/plat_result.h"

#include <cerrno>
#include <cstring>
#include <string>

namespace {
thread_local std::string lastError;
thread_local int lastErrno = 0;
}

const char* PlatLastErrorText() { return lastError.c_str(); }
int PlatLastErrno() { return lastErrno; }

PlatCause PlatLastCause() { return PlatCauseOf(lastErrno); }

PlatCause PlatCauseOf(int errnoValue) {
  switch (errnoValue) {
    case ENOSPC:
    case EDQUOT:
      return PLAT_CAUSE_DISK_FULL;
    case EACCES:
    case EPERM:
      return PLAT_CAUSE_DENIED;
    case EROFS:
      return PLAT_CAUSE_READ_ONLY;
    default:
      return PLAT_CAUSE_OTHER;
  }
}

PlatResult PlatFail(PlatResult result, const char* text) {
  lastError = text ? text : "";
  lastErrno = 0;
  return result;
}

PlatResult PlatFailErrno(int errnoValue, const char* what) {
  lastError = std::string(what ? what : "") + ": " + std::strerror(errnoValue);
  lastErrno = errnoValue;
  switch (errnoValue) {
    case ENOENT:
    case ENOTDIR:
      return PLAT_NOT_FOUND;
    case EEXIST:
      return PLAT_EXISTS;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
    case EISDIR:
      return PLAT_ACCESS;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return PLAT_NO_SPACE;
    case EINVAL:
    case ENAMETOOLONG:
      return PLAT_INVALID;
    default:
      return PLAT_IO;
  }
}
