#include "interchange/archive.h"

#include <algorithm>
#include <cstring>

#include "env/code_pages.h"
#include "env/session/environment.h"
#include "env/error_log.h"
#include "env/memory.h"
#include "env/messages.h"
#include "env/paths.h"
#include "env/services.h"
#include "platform/byte_order.h"
#include "platform/end_signals.h"
#include "platform/files.h"
#include "platform/screen_hook.h"

namespace {

constexpr int MSG_CONTINUE = 50006;
constexpr int MSG_WRITE_ERROR = 50033;
constexpr int MSG_PATH_NOT_FOUND = 50034;
constexpr int MSG_UNKNOWN_FORMAT = 50040;
constexpr int MSG_DISK_FULL = 50041;
constexpr int MSG_NO_ARCHIVE_FILE = 50072;
constexpr int MSG_ESC_BREAKS = 50095;

// How often the wait for the next volume looks for it.
constexpr int VOLUME_POLL_MS = 250;

constexpr const char* DAMAGED_ARCHIVE = "Zbiór archiwalny jest uszkodzony lub niekompletny !";

ArcContext* processContext = nullptr;

// ---- header fields at their offsets

uint8_t Checksum(const uint8_t* bytes) {
  unsigned sum = 0;
  for (int i = 5; i < ARC_HEADER_SIZE; i++) sum += bytes[i];
  return uint8_t(sum);
}

// Lays the header out with a fresh checksum, which goes into the header too.
void StoreHeader(ArcHeader* h, uint8_t* bytes) {
  std::memcpy(bytes + 0, h->signature, 3);
  bytes[3] = h->headerLength;
  bytes[5] = h->reserved5;
  PutLe32(bytes + 6, h->fileLength);
  bytes[10] = h->volume;
  bytes[11] = h->category;
  std::memcpy(bytes + 12, h->reserved12, 6);
  PutLe16(bytes + 18, h->fileCrc);
  std::memcpy(bytes + 20, h->name, ARC_NAME_SIZE);
  std::memcpy(bytes + 34, h->owner, ARC_OWNER_SIZE);
  std::memcpy(bytes + 105, h->date, ARC_DATE_SIZE);
  h->checksum = Checksum(bytes);
  bytes[4] = h->checksum;
}

void LoadHeader(const uint8_t* bytes, ArcHeader* h) {
  std::memcpy(h->signature, bytes + 0, 3);
  h->headerLength = bytes[3];
  h->checksum = bytes[4];
  h->reserved5 = bytes[5];
  h->fileLength = GetLe32(bytes + 6);
  h->volume = bytes[10];
  h->category = bytes[11];
  std::memcpy(h->reserved12, bytes + 12, 6);
  h->fileCrc = GetLe16(bytes + 18);
  std::memcpy(h->name, bytes + 20, ARC_NAME_SIZE);
  std::memcpy(h->owner, bytes + 34, ARC_OWNER_SIZE);
  std::memcpy(h->date, bytes + 105, ARC_DATE_SIZE);
}

bool IsSignature(const uint8_t* bytes) { return bytes[0] == 'C' && bytes[1] == 'P' && bytes[2] == '1'; }

bool IsSoundHeader(const uint8_t* bytes) { return IsSignature(bytes) && Checksum(bytes) == bytes[4]; }

// An entry becomes a file of the target directory only under a plain name:
// nothing that climbs out of it or names another place.
bool IsPlainName(const char* name, int size) {
  const void* end = std::memchr(name, 0, size);
  if (!end || end == name) return false;
  if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) return false;
  for (const char* p = name; *p; p++) {
    unsigned char c = static_cast<unsigned char>(*p);
    if (c < 0x20 || c == '/' || c == '\\' || c == ':') return false;
  }
  return true;
}

// ---- messages and log

void ShowError(int message) { ScreenMessageBox(SCREEN_BOX_ALARM, nullptr, EnvFindString(message)); }

// `what` is in the system's character set.
void LogProblem(int code, const std::string& what, const char* detail) {
  ErrLogMessage(EL_FORMAT | EL_BLANK_BEFORE, code, "%s: %s", what.c_str(), detail ? detail : "");
}

std::string ArchiveName(const ArcContext* ctx) { return EnvFromDiskPath(ctx->archivePath); }

std::string ParentDir(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? "." : path.substr(0, slash + 1);
}

// ---- volumes

// Opens the file of the archive's name and reads its first header.
bool OpenVolume(const ArcContext* ctx, PlatFile* file, uint8_t* firstHeader, uint64_t* length) {
  if (PlatFileOpen(ctx->archivePath, PLAT_READ, PLAT_OPEN_EXISTING, file) != PLAT_OK) return false;
  size_t got = 0;
  if (PlatFileRead(*file, 0, firstHeader, ARC_HEADER_SIZE, &got) == PLAT_OK && got == ARC_HEADER_SIZE &&
      PlatFileLength(*file, length) == PLAT_OK)
    return true;
  PlatFileClose(*file);
  return false;
}

// The volume in the drive is the one just used: the medium was not changed.
bool IsVolumeInUse(const ArcContext* ctx, const uint8_t* firstHeader, uint64_t length) {
  return length == ctx->volumeLength && std::memcmp(firstHeader, ctx->volumeStart, ARC_HEADER_SIZE) == 0;
}

bool SameVolumeStillThere(const ArcContext* ctx) {
  PlatFile file;
  uint8_t bytes[ARC_HEADER_SIZE];
  uint64_t length = 0;
  if (!OpenVolume(ctx, &file, bytes, &length)) return false;
  PlatFileClose(file);
  return IsVolumeInUse(ctx, bytes, length);
}

void Report(ArcContext* ctx, int kind, const char* name, uint32_t done, uint32_t total) {
  if (ctx->progress) ctx->progress(ctx->user, kind, name, done, total);
}

// The medium is full: the operator puts in the next one, which gets a file
// of the archive's name beginning with the current header. The question is
// asked every time, so the wait can always be given up with Esc.
int StartNewVolume(ArcContext* ctx) {
  ctx->volumeLength = ctx->outputPos;
  PlatFileClose(ctx->output);
  ctx->output = PLAT_NO_FILE;
  for (;;) {
    if (!ArcAskContinue(MSG_DISK_FULL)) {
      LogProblem(ARC_LOG_READ, ArchiveName(ctx), "next volume refused");
      return -1;
    }
    if (SameVolumeStillThere(ctx)) continue;
    if (PlatFileExists(ctx->archivePath) && PlatFileDelete(ctx->archivePath) != PLAT_OK) continue;
    int64_t free = PlatDiskFree(ParentDir(ctx->archivePath).c_str());
    if (free >= 0 && free < ARC_MIN_FREE_BYTES) continue;
    PlatFile file;
    if (PlatFileOpen(ctx->archivePath, PLAT_WRITE, PLAT_CREATE_NEW, &file) != PLAT_OK) {
      ShowError(MSG_WRITE_ERROR);
      continue;
    }
    uint8_t bytes[ARC_HEADER_SIZE] = {};
    StoreHeader(&ctx->header, bytes);
    if (PlatFileWrite(file, 0, bytes, sizeof bytes) != PLAT_OK) {
      PlatFileClose(file);
      ShowError(MSG_WRITE_ERROR);
      continue;
    }
    ctx->output = file;
    ctx->headerPos = 0;
    ctx->outputPos = sizeof bytes;
    std::memcpy(ctx->volumeStart, bytes, sizeof bytes);
    return 0;
  }
}

// Writes out the output buffer. With volumes, a full medium moves the rest
// to the next volume behind a continuation header.
int FlushOutput(ArcContext* ctx, bool withVolumes) {
  while (ctx->outCount > 0) {
    if (ctx->output == PLAT_NO_FILE) return -1;
    PlatResult r = PlatFileWrite(ctx->output, ctx->outputPos, ctx->outBuffer, size_t(ctx->outCount));
    if (r == PLAT_OK) {
      ctx->outputPos += uint64_t(ctx->outCount);
      ctx->outCount = 0;
      return 0;
    }
    if (r != PLAT_NO_SPACE || !withVolumes) {
      ShowError(MSG_WRITE_ERROR);
      return -1;
    }
    uint64_t length = 0;
    int written = 0;
    if (PlatFileLength(ctx->output, &length) == PLAT_OK && length > ctx->outputPos)
      written = int(std::min<uint64_t>(length - ctx->outputPos, uint64_t(ctx->outCount)));
    std::memmove(ctx->outBuffer, ctx->outBuffer + written, size_t(ctx->outCount - written));
    ctx->outCount -= written;
    ctx->outputPos += uint64_t(written);
    ctx->volume++;
    ctx->header.volume = ctx->volume;
    if (StartNewVolume(ctx) < 0) return -1;
    Report(ctx, ARC_PROGRESS_VOLUME, ctx->header.name, 0, 0);
  }
  return 0;
}

int PutOutputByte(ArcContext* ctx, uint8_t byte, bool withVolumes) {
  if (ctx->outCount == ARC_BUFFER_SIZE && FlushOutput(ctx, withVolumes) < 0) return -1;
  ctx->outBuffer[ctx->outCount++] = byte;
  return 0;
}

uint64_t ReadingPlace(const ArcContext* ctx) { return ctx->inputPos - uint64_t(ctx->inCount - ctx->inPos); }

void MoveReadingPlace(ArcContext* ctx, uint64_t place) {
  ctx->inputPos = place;
  ctx->inPos = ctx->inCount = 0;
}

// Opens the file of the archive's name when it begins with a sound header of
// one of the accepted volumes and is not the volume just read; the header is
// loaded and reading goes on after it.
bool TryVolume(ArcContext* ctx, uint8_t volume, bool acceptNext) {
  PlatFile file;
  uint8_t bytes[ARC_HEADER_SIZE];
  uint64_t length = 0;
  if (!OpenVolume(ctx, &file, bytes, &length)) return false;
  bool wanted = bytes[10] == volume || (acceptNext && bytes[10] == uint8_t(volume + 1));
  if (!IsSoundHeader(bytes) || !wanted || IsVolumeInUse(ctx, bytes, length)) {
    PlatFileClose(file);
    return false;
  }
  ctx->input = file;
  LoadHeader(bytes, &ctx->header);
  std::memcpy(ctx->volumeStart, bytes, sizeof bytes);
  ctx->volumeLength = length;
  ctx->headerPos = 0;
  MoveReadingPlace(ctx, sizeof bytes);
  return true;
}

// Closes the archive and waits for the medium with the next volume; the
// operator ends the wait with Esc (read between tries), as does a signal to
// end the program. The medium is changed in real time: the wait sleeps
// between tries whatever clock the screen keeps. Without a screen nobody
// can bring it: -1.
int AwaitVolume(ArcContext* ctx, uint8_t volume, bool acceptNext) {
  PlatFileClose(ctx->input);
  ctx->input = PLAT_NO_FILE;
  bool noticeShown = false;
  int result = 0;
  while (!TryVolume(ctx, volume, acceptNext)) {
    if (ScreenHookGet() == ScreenHookDefault() || (noticeShown && ScreenReadKey() == SCREEN_KEY_ESC) ||
        PlatEndRequested()) {
      LogProblem(ARC_LOG_READ, ArchiveName(ctx), "next volume not found");
      result = -1;
      break;
    }
    if (!noticeShown) {
      std::string title = EnvFindString(MSG_NO_ARCHIVE_FILE);
      ScreenNoticeOn(title.c_str(), EnvFindString(MSG_ESC_BREAKS));
      noticeShown = true;
      continue;
    }
    PlatWaitForEndSignal(VOLUME_POLL_MS);
  }
  if (noticeShown) ScreenNoticeOff();
  return result;
}

// The archive file ends inside an entry. The packer goes on on another
// medium only when this one is full, so an archive ending on a medium with
// room left was cut short or damaged: no volume follows, and waiting for one
// would never end. False after telling the operator so.
bool MayContinueOnAnotherMedium(const ArcContext* ctx) {
  const int64_t room = PlatDiskFree(ParentDir(ctx->archivePath).c_str());
  if (room < ARC_MIN_FREE_BYTES) return true;   // full, or not known
  LogProblem(ARC_LOG_READ, ArchiveName(ctx), "ends inside an entry on a medium with room left");
  ScreenMessageBox(SCREEN_BOX_ALARM, nullptr, Utf8ToMazText(DAMAGED_ARCHIVE).c_str());
  return false;
}

// Up to a header's bytes from `place` of the archive; false on a read failure (logged).
bool ReadHeaderBytes(ArcContext* ctx, uint64_t place, uint8_t (&bytes)[ARC_HEADER_SIZE], size_t* got) {
  if (PlatFileRead(ctx->input, place, bytes, sizeof bytes, got) == PLAT_OK) return true;
  LogProblem(ARC_LOG_READ, ArchiveName(ctx), PlatLastErrorText());
  return false;
}

// Refills the input buffer from the reading place: 1 bytes came, 0 the file
// ends there, -1 read failure (logged under `name`).
int FillInput(ArcContext* ctx, const std::string& name) {
  if (ctx->input == PLAT_NO_FILE) return -1;
  size_t got = 0;
  if (PlatFileRead(ctx->input, ctx->inputPos, ctx->inBuffer, ARC_BUFFER_SIZE, &got) != PLAT_OK) {
    LogProblem(ARC_LOG_READ, name, PlatLastErrorText());
    return -1;
  }
  ctx->inputPos += got;
  ctx->inPos = 0;
  ctx->inCount = int(got);
  return got > 0 ? 1 : 0;
}

// The next byte of the archive; at the end of a volume inside an entry's
// data the entry goes on after the continuation header of the next volume.
int ReadArchiveByte(ArcContext* ctx) {
  while (ctx->inPos == ctx->inCount) {
    int r = FillInput(ctx, ArchiveName(ctx));
    if (r > 0) break;
    if (r < 0 || !ctx->readingEntryData || !MayContinueOnAnotherMedium(ctx)) return -1;
    uint8_t next = uint8_t(ctx->volume + 1);
    if (AwaitVolume(ctx, next, false) < 0) return -1;
    ctx->volume = next;
    Report(ctx, ARC_PROGRESS_VOLUME, ctx->header.name, 0, 0);
  }
  return ctx->inBuffer[ctx->inPos++];
}

// ---- coder streams

int EncodeRead(void* user) {
  ArcContext* ctx = static_cast<ArcContext*>(user);
  if (ctx->inPos == ctx->inCount) {
    std::string name = ArcEntryName(&ctx->header);
    int r = FillInput(ctx, name);
    if (r == 0) LogProblem(ARC_LOG_READ, name, "shorter than when its header was written");
    if (r <= 0) return -1;
  }
  return ctx->inBuffer[ctx->inPos++];
}

int EncodeWrite(void* user, uint8_t byte) { return PutOutputByte(static_cast<ArcContext*>(user), byte, true); }

int DecodeRead(void* user) { return ReadArchiveByte(static_cast<ArcContext*>(user)); }

int DecodeWrite(void* user, uint8_t byte) { return PutOutputByte(static_cast<ArcContext*>(user), byte, false); }

void CoderProgress(void* user, uint32_t done, uint32_t total) {
  Report(static_cast<ArcContext*>(user), ARC_PROGRESS_ENTRY, nullptr, done, total);
}

int Category(int flags) {
  if (flags & 0x10) return 1;
  if (flags & 0x02) return 2;
  if (flags & 0x04) return 3;
  if (flags & 0x08) return 4;
  return 0;
}

int CloseOutput(ArcContext* ctx, bool withVolumes) {
  if (ctx->output == PLAT_NO_FILE) {
    ctx->outCount = 0;
    return 1;
  }
  int result = FlushOutput(ctx, withVolumes) < 0 ? -1 : 1;
  // Only a file whose bytes reached the disk counts as written.
  if (ctx->output != PLAT_NO_FILE && PlatFileFlush(ctx->output) != PLAT_OK && result == 1) {
    ShowError(MSG_WRITE_ERROR);
    result = -1;
  }
  PlatFileClose(ctx->output);
  ctx->output = PLAT_NO_FILE;
  ctx->outCount = 0;
  return result;
}

}  // namespace

// ---- context

ArcContext* ArcContextAlloc(const char* archivePath, ArcProgressFn progress, void* user) {
  std::string disk = EnvToDiskPath(archivePath);
  ArcContext* ctx = static_cast<ArcContext*>(u4alloc(sizeof(ArcContext)));
  if (!ctx) return nullptr;
  if (disk.size() >= sizeof ctx->archivePath) {
    u4free(ctx);
    return nullptr;
  }
  std::memcpy(ctx->archivePath, disk.c_str(), disk.size() + 1);
  ctx->input = PLAT_NO_FILE;
  ctx->output = PLAT_NO_FILE;
  ctx->progress = progress;
  ctx->user = user;
  ctx->volume = 1;
  LzwCoderInit(&ctx->coder);
  return ctx;
}

void ArcContextFree(ArcContext* ctx) {
  if (!ctx) return;
  PlatFileClose(ctx->input);
  PlatFileClose(ctx->output);
  u4free(ctx);
}

int ArcOpenReading(ArcContext* ctx, const char* path) {
  PlatFileClose(ctx->input);
  ctx->input = PLAT_NO_FILE;
  MoveReadingPlace(ctx, 0);
  ctx->readingEntryData = false;
  std::string disk = EnvToDiskPath(path);
  PlatResult r = PlatFileOpen(disk.c_str(), PLAT_READ, PLAT_OPEN_EXISTING, &ctx->input);
  if (r == PLAT_OK) return 1;
  if (r == PLAT_NOT_FOUND) return 0;
  LogProblem(ARC_LOG_READ, path ? path : "", PlatLastErrorText());
  return -1;
}

int ArcCloseReading(ArcContext* ctx) {
  PlatFileClose(ctx->input);
  ctx->input = PLAT_NO_FILE;
  MoveReadingPlace(ctx, 0);
  return 1;
}

int ArcOpenWriting(ArcContext* ctx, const char* path) {
  PlatFileClose(ctx->output);
  ctx->output = PLAT_NO_FILE;
  ctx->outCount = 0;
  ctx->outputPos = 0;
  std::string disk = PlatResolveName(EnvToDiskPath(path).c_str());
  PlatFileDelete(disk.c_str());   // missing is fine; what is left makes the creation fail
  PlatResult r = PlatFileOpen(disk.c_str(), PLAT_WRITE, PLAT_CREATE_NEW, &ctx->output);
  if (r == PLAT_OK) return 1;
  ShowError(r == PLAT_NOT_FOUND ? MSG_PATH_NOT_FOUND : MSG_WRITE_ERROR);
  return -1;
}

int ArcHeaInit(ArcContext* ctx, const char* fileName, int flags) {
  std::string name = fileName ? fileName : "";
  ConvChars(name.data(), -1, MazToWindowsPairs, 0);
  uint64_t length = 0;
  if (ctx->input == PLAT_NO_FILE || PlatFileLength(ctx->input, &length) != PLAT_OK) {
    LogProblem(ARC_LOG_READ, fileName ? fileName : "", PlatLastErrorText());
    return 0;
  }
  if (name.empty() || name.size() >= ARC_NAME_SIZE || length > UINT32_MAX) {
    ErrLogMessage(EL_ERROR | EL_FORMAT | EL_BLANK_BEFORE, ARC_LOG_READ, "%s: %s", fileName ? fileName : "",
                  name.size() >= ARC_NAME_SIZE ? "name longer than 13 characters" : "too long to pack");
    return 0;
  }
  ArcHeader* h = &ctx->header;
  std::memcpy(h->signature, "CP1", 3);
  h->headerLength = ARC_HEADER_SIZE;
  const Environment* env = EnvCurrent();
  // The owner's name is cut to the header's field.
  const char* owner = env ? env->ownerName : "";
  std::memset(h->owner, 0, ARC_OWNER_SIZE);
  std::memcpy(h->owner, owner, strnlen(owner, ARC_OWNER_SIZE - 1));
  std::memcpy(h->date, get_cur_das(0), 8);
  h->date[8] = '\0';
  std::memcpy(h->name, name.c_str(), name.size() + 1);
  h->fileLength = uint32_t(length);
  h->volume = ctx->volume;
  if (int category = Category(flags)) h->category = uint8_t(category);
  return 1;
}

int ArcWriteHeader(ArcContext* ctx, int rewrite) {
  if (ctx->output == PLAT_NO_FILE) return 0;
  uint8_t bytes[ARC_HEADER_SIZE] = {};
  if (rewrite) {
    StoreHeader(&ctx->header, bytes);
    if (PlatFileWrite(ctx->output, ctx->headerPos, bytes, sizeof bytes) != PLAT_OK) {
      ShowError(MSG_WRITE_ERROR);
      return 0;
    }
    if (ctx->headerPos == 0) std::memcpy(ctx->volumeStart, bytes, sizeof bytes);
    return 1;
  }
  if (FlushOutput(ctx, true) < 0) return 0;
  StoreHeader(&ctx->header, bytes);
  ctx->headerPos = ctx->outputPos;
  PlatResult r = PlatFileWrite(ctx->output, ctx->headerPos, bytes, sizeof bytes);
  if (r == PLAT_OK) {
    ctx->outputPos += sizeof bytes;
    if (ctx->headerPos == 0) std::memcpy(ctx->volumeStart, bytes, sizeof bytes);
    return 1;
  }
  if (r != PLAT_NO_SPACE) {
    ShowError(MSG_WRITE_ERROR);
    return 0;
  }
  // A header is never split: the part that fitted goes, and the whole header
  // opens the next volume with the volume number unchanged.
  PlatFileSetLength(ctx->output, ctx->headerPos);
  ctx->outputPos = ctx->headerPos;
  if (StartNewVolume(ctx) < 0) return 0;
  Report(ctx, ARC_PROGRESS_VOLUME, ctx->header.name, 0, 0);
  return 1;
}

int ArcEncode(ArcContext* ctx) {
  if (ctx->input == PLAT_NO_FILE || ctx->output == PLAT_NO_FILE) return -1;
  LzwStreams streams = {EncodeRead, EncodeWrite, CoderProgress, ctx};
  if (LzwEncode(&ctx->coder, &streams, ctx->header.fileLength) < 0) return -1;
  return FlushOutput(ctx, true) < 0 ? -1 : 1;
}

int ArcHeaSetFileCRC(ArcContext* ctx) {
  ctx->header.fileCrc = ctx->coder.crc;
  return 1;
}

int ArcPutC_K(ArcContext* ctx, int byte) {
  if (ctx->output == PLAT_NO_FILE) return -1;
  return PutOutputByte(ctx, uint8_t(byte), true) < 0 ? -1 : 1;
}

int ArcCloseWriting_K(ArcContext* ctx) { return CloseOutput(ctx, true); }

int ArcReadHeader(ArcContext* ctx) {
  if (ctx->input == PLAT_NO_FILE) return -1;
  ctx->readingEntryData = false;
  for (;;) {
    uint64_t place = ReadingPlace(ctx);
    ctx->headerPos = place;
    uint8_t bytes[ARC_HEADER_SIZE];
    size_t got = 0;
    if (!ReadHeaderBytes(ctx, place, bytes, &got)) return -1;
    if (got == 1 && bytes[0] == 0) return 0;
    if (got >= 3 && !IsSignature(bytes)) {
      ShowError(MSG_UNKNOWN_FORMAT);
      return -1;
    }
    if (got == sizeof bytes) {
      if (Checksum(bytes) != bytes[4]) return -2;
      if (bytes[10] == ctx->volume) {
        LoadHeader(bytes, &ctx->header);
        if (place == 0) {
          std::memcpy(ctx->volumeStart, bytes, sizeof bytes);
          uint64_t length = 0;
          ctx->volumeLength = PlatFileLength(ctx->input, &length) == PLAT_OK ? length : 0;
        }
        MoveReadingPlace(ctx, place + sizeof bytes);
        break;
      }
    }
    // The rest is on the next medium. Its first header either opens the next
    // entry (same volume number) or continues the entry just read with no
    // more data of it (one higher: only the end mark followed it).
    if (got < sizeof bytes && !MayContinueOnAnotherMedium(ctx)) return -1;
    if (AwaitVolume(ctx, ctx->volume, true) < 0) return -1;
    if (ctx->header.volume == ctx->volume) break;
    ctx->volume = ctx->header.volume;
    Report(ctx, ARC_PROGRESS_VOLUME, ctx->header.name, 0, 0);
  }
  if (!IsPlainName(ctx->header.name, ARC_NAME_SIZE)) {
    LogProblem(ARC_LOG_READ, ArchiveName(ctx), "entry name is no plain file name");
    ShowError(MSG_UNKNOWN_FORMAT);
    return -1;
  }
  return 1;
}

int ArcDecode(ArcContext* ctx) {
  if (ctx->input == PLAT_NO_FILE) return -1;
  LzwStreams streams = {DecodeRead, DecodeWrite, CoderProgress, ctx};
  ctx->readingEntryData = true;
  ctx->entryDamaged = false;
  int r = LzwDecode(&ctx->coder, &streams, ctx->header.fileLength);
  ctx->readingEntryData = false;
  if (r < 0) return -1;
  ctx->entryDamaged = r == 0;
  return 1;
}

int ArcCloseWriting_D(ArcContext* ctx) { return CloseOutput(ctx, false); }

int ArcHeaFileCRCError(ArcContext* ctx) { return ctx->entryDamaged || ctx->coder.crc != ctx->header.fileCrc ? 1 : 0; }

int ArcNextFile(ArcContext* ctx) {
  if (ctx->input == PLAT_NO_FILE) return -1;
  ctx->readingEntryData = false;
  MoveReadingPlace(ctx, ctx->headerPos + 1);
  uint8_t last[2] = {0, 0};   // the two bytes before the one looked at
  for (;;) {
    if (ctx->inPos == ctx->inCount) {
      int r = FillInput(ctx, ArchiveName(ctx));
      if (r <= 0) return r;
    }
    uint8_t c = ctx->inBuffer[ctx->inPos++];
    if (last[0] == 'C' && last[1] == 'P' && c == '1') {
      uint64_t start = ReadingPlace(ctx) - 3;
      uint8_t bytes[ARC_HEADER_SIZE];
      size_t got = 0;
      if (!ReadHeaderBytes(ctx, start, bytes, &got)) return -1;
      if (got == sizeof bytes && IsSoundHeader(bytes)) {
        MoveReadingPlace(ctx, start);
        return 1;
      }
    }
    last[0] = last[1];
    last[1] = c;
  }
}

std::string ArcEntryName(const ArcHeader* header) {
  char name[ARC_NAME_SIZE + 1] = {};
  std::memcpy(name, header->name, ARC_NAME_SIZE);
  ConvChars(name, -1, MazToWindowsPairs, CONV_REVERSE);
  return name;
}

// ---- the process-wide context

int ArcAlloc(const char* archivePath, ArcProgressFn progress, void* user) {
  ArcFree();
  processContext = ArcContextAlloc(archivePath, progress, user);
  return processContext ? 1 : 0;
}

void ArcFree() {
  ArcContextFree(processContext);
  processContext = nullptr;
}

int ArcOpenReading(const char* path) { return processContext ? ArcOpenReading(processContext, path) : -1; }
int ArcCloseReading() { return processContext ? ArcCloseReading(processContext) : -1; }
int ArcOpenWriting(const char* path) { return processContext ? ArcOpenWriting(processContext, path) : -1; }
int ArcHeaInit(const char* fileName, int flags) { return processContext ? ArcHeaInit(processContext, fileName, flags) : 0; }
int ArcWriteHeader(int rewrite) { return processContext ? ArcWriteHeader(processContext, rewrite) : 0; }
int ArcEncode() { return processContext ? ArcEncode(processContext) : -1; }
int ArcHeaSetFileCRC() { return processContext ? ArcHeaSetFileCRC(processContext) : 0; }
int ArcPutC_K(int byte) { return processContext ? ArcPutC_K(processContext, byte) : -1; }
int ArcCloseWriting_K() { return processContext ? ArcCloseWriting_K(processContext) : -1; }
int ArcReadHeader() { return processContext ? ArcReadHeader(processContext) : -1; }
int ArcDecode() { return processContext ? ArcDecode(processContext) : -1; }
int ArcCloseWriting_D() { return processContext ? ArcCloseWriting_D(processContext) : -1; }
int ArcHeaFileCRCError() { return processContext ? ArcHeaFileCRCError(processContext) : 1; }
int ArcNextFile() { return processContext ? ArcNextFile(processContext) : -1; }
ArcHeader* ArcHeaderPtr() { return processContext ? &processContext->header : nullptr; }

bool ArcAskContinue(int titleMessage) {
  std::string title = EnvFindString(titleMessage);
  int answer = ScreenQuestion(title.c_str(), EnvFindString(MSG_CONTINUE));
  return answer == 'T' || answer == 't';
}

// ---- comparing files

int CompareFiles(const char* pathA, const char* pathB) {
  PlatFile a, b;
  if (PlatFileOpen(EnvToDiskPath(pathA).c_str(), PLAT_READ, PLAT_OPEN_EXISTING, &a) != PLAT_OK) {
    LogProblem(ARC_LOG_COMPARE, pathA ? pathA : "", PlatLastErrorText());
    return -1;
  }
  if (PlatFileOpen(EnvToDiskPath(pathB).c_str(), PLAT_READ, PLAT_OPEN_EXISTING, &b) != PLAT_OK) {
    LogProblem(ARC_LOG_COMPARE, pathA ? pathA : "", PlatLastErrorText());
    PlatFileClose(a);
    return -1;
  }
  uint8_t blockA[1024], blockB[1024];
  uint64_t offset = 0;
  int result;
  for (;;) {
    size_t gotA = 0, gotB = 0;
    if (PlatFileRead(a, offset, blockA, sizeof blockA, &gotA) != PLAT_OK ||
        PlatFileRead(b, offset, blockB, sizeof blockB, &gotB) != PLAT_OK) {
      LogProblem(ARC_LOG_COMPARE, pathA ? pathA : "", PlatLastErrorText());
      result = -1;
      break;
    }
    if (gotA != gotB || std::memcmp(blockA, blockB, gotA) != 0) {
      result = 1;
      break;
    }
    if (gotA == 0) {
      result = 0;
      break;
    }
    offset += gotA;
  }
  PlatFileClose(a);
  PlatFileClose(b);
  return result;
}
