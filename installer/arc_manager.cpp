#include "installer/arc_manager.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <stdexcept>
#include <vector>

#include "env/crc16.h"
#include "installer/lh5_decoder.h"
#include "platform/byte_order.h"
#include "platform/paths.h"
#include "platform/plat_result.h"
#include "platform/screen_hook.h"

namespace {

constexpr const char* kPrefix = "TArcManager.\n";
constexpr const char* kCaption = "Zelsetup";
constexpr uint64_t kShortestHeader = 39;   // a tail shorter than this after the last member is no member
constexpr size_t kStoredBlock = 4096;

// Offsets in a level-1 base header.
constexpr size_t kMethod = 2, kPacked = 7, kSize = 11, kTime = 15, kAttribute = 19, kLevel = 20, kNameLength = 21,
                 kName = 22;
constexpr unsigned char kReadOnlyAttribute = 0x01;

// The operations whose failures carry the system's error.
enum Operation { OP_OPEN = 2, OP_CREATE = 3, OP_FILE = 4, OP_WRITE = 5, OP_READ = 6 };

int CodeFor(int operation, int systemError) {
  switch (operation) {
    case OP_OPEN:
      if (systemError == ENOENT) return ARC_ERR_OPEN_NOT_FOUND;
      if (systemError == EBUSY) return ARC_ERR_OPEN_IN_USE;
      return ARC_ERR_OPEN;
    case OP_CREATE:
      if (systemError == EACCES) return ARC_ERR_CREATE_DENIED;
      if (systemError == EROFS) return ARC_ERR_CREATE_READ_ONLY_DISK;
      if (systemError == ETXTBSY) return ARC_ERR_CREATE_IN_USE;
      return ARC_ERR_CREATE;
    case OP_WRITE:
      return systemError == ENOSPC ? ARC_ERR_DISK_FULL : ARC_ERR_WRITE;
    case OP_READ:
      if (systemError == EIO) return ARC_ERR_READ_MEDIUM;
      if (systemError == ENODEV) return ARC_ERR_READ_DEVICE;
      return ARC_ERR_READ;
    default:
      return ARC_ERR_FILE_OP;
  }
}

std::string Format(const char* pattern, const std::string& file) {
  std::string out;
  for (const char* p = pattern; *p; p++) {
    if (p[0] == '%' && p[1] == 's') {
      out += file;
      p++;
    } else {
      out += *p;
    }
  }
  return out;
}

const char* TextFor(int code) {
  switch (code) {
    case ARC_ERR_CANCEL: return "Przerwanie dekompresji pliku %s\nprzez użytkownika.";
    case ARC_ERR_OPEN:
    case ARC_ERR_OPEN_NOT_FOUND:
    case ARC_ERR_OPEN_IN_USE: return "Błąd otwarcia pliku %s.";
    case ARC_ERR_CREATE:
    case ARC_ERR_CREATE_DENIED:
    case ARC_ERR_CREATE_READ_ONLY_DISK:
    case ARC_ERR_CREATE_IN_USE: return "Błąd utworzenia pliku %s.";
    case ARC_ERR_FILE_OP: return "Błąd operacji na pliku %s.";
    case ARC_ERR_WRITE:
    case ARC_ERR_DISK_FULL: return "Błąd zapisu do pliku %s.";
    case ARC_ERR_READ:
    case ARC_ERR_READ_MEDIUM:
    case ARC_ERR_READ_DEVICE: return "Błąd odczytu z pliku %s.";
    case ARC_ERR_CRC: return "Błąd CRC pliku %s.\nArchiwum jest uszkodzone.";
    case ARC_ERR_HEADER: return "Błąd CRC nagłówka archiwum %s.";
    case ARC_ERR_HEADER_LEVEL: return "Nieobsługiwany poziom nagłówka archiwum %s.";
    case ARC_ERR_STREAM: return "Błąd strumienia kompresji pliku %s.\nArchiwum jest uszkodzone.";
    case ARC_ERR_METHOD: return "Nieobsługiwana metoda kompresji archiwum %s.";
    case ARC_ERR_READ_ONLY: return "Nie można zmodyfikować pliku %s.\nPlik ma atrybut \"Tylko do odczytu\".";
    case ARC_ERR_EMPTY: return "Plik %s jest pusty.";
    default: return nullptr;
  }
}

// A member name that cannot leave the output directory: one plain name.
bool SafeName(const std::string& name) {
  if (name.empty() || name == "." || name == "..") return false;
  return name.find_first_of(std::string("/\\\0", 3)) == std::string::npos;
}

std::string DirectoryOf(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? "" : path.substr(0, slash + 1);
}

}  // namespace

int64_t ArcDosTimeToSeconds(uint32_t dosTime) {
  std::tm t{};
  t.tm_year = int((dosTime >> 25) & 0x7F) + 80;
  t.tm_mon = int((dosTime >> 21) & 0x0F) - 1;
  t.tm_mday = int((dosTime >> 16) & 0x1F);
  t.tm_hour = int((dosTime >> 11) & 0x1F);
  t.tm_min = int((dosTime >> 5) & 0x3F);
  t.tm_sec = int(dosTime & 0x1F) * 2;
  t.tm_isdst = -1;
  return static_cast<int64_t>(std::mktime(&t));
}

TArcManager::TArcManager() : decoder(Lh5Create()) { Crc16ArcTable(crcTable); }

TArcManager::~TArcManager() {
  if (outFile != PLAT_NO_FILE) PlatFileClose(outFile);
  if (archive != PLAT_NO_FILE) PlatFileClose(archive);
  Lh5Destroy(decoder);
}

bool TArcManager::Fail(int code, const std::string& file, int systemError) {
  ArcShowError();
  errorCode = code;
  const char* pattern = TextFor(code);
  if (!pattern) {
    errorText = "TArcManager::HandleError(Unknown, " + file + ")";
    return false;
  }
  errorText = kPrefix + Format(pattern, file);
  if (systemError >= 0) errorText += "\nWinErrCode: " + std::to_string(systemError) + "\n" + std::strerror(systemError);
  return false;
}

bool TArcManager::FailWithSystem(int operation, const std::string& file) {
  int systemError = PlatLastErrno();
  return Fail(CodeFor(operation, systemError), file, systemError);
}

bool TArcManager::ArcTestError(int code) {
  if (errorCode == ARC_ERR_NONE || errorCode != code) return false;
  errorCode = ARC_ERR_NONE;
  errorText.clear();
  return true;
}

void TArcManager::ArcShowError() {
  if (errorCode == ARC_ERR_NONE) return;
  std::string text = errorText;
  errorCode = ARC_ERR_NONE;
  errorText.clear();
  ScreenMessageBox(SCREEN_BOX_ERROR, kCaption, text.c_str());
}

bool TArcManager::ArcSeekOpen() {
  ArcShowError();
  if (archive != PLAT_NO_FILE) return true;
  errorArchive = archiveName;
  std::string path = PlatTranslatePath(archiveName.c_str());
  if (PlatFileOpen(path.c_str(), PLAT_READ, PLAT_OPEN_EXISTING, &archive) != PLAT_OK) {
    archive = PLAT_NO_FILE;
    return FailWithSystem(OP_OPEN, errorArchive);
  }
  if (PlatFileLength(archive, &archiveSize) != PLAT_OK) {
    FailWithSystem(OP_READ, errorArchive);
    ArcSeekClose();
    return false;
  }
  haveHeader = false;
  walkStarted = false;
  return true;
}

void TArcManager::ArcSeekClose() {
  if (archive == PLAT_NO_FILE) throw std::logic_error("TArcManager.\nInternal Error: Call ArcSeekOpen.");
  PlatFileClose(archive);
  archive = PLAT_NO_FILE;
  haveHeader = false;
  walkStarted = false;
}

bool TArcManager::ArcSeekFirst(TArcSeekRec* rec) {
  if (archive == PLAT_NO_FILE) throw std::logic_error("TArcManager.\nInternal Error: Call ArcSeekOpen.");
  ArcShowError();
  walkStarted = true;
  haveHeader = false;
  if (archiveSize == 0) return Fail(ARC_ERR_EMPTY, errorArchive, -1);
  return ReadHeaderAt(0, rec);
}

bool TArcManager::ArcSeekNext(TArcSeekRec* rec) {
  if (archive == PLAT_NO_FILE) throw std::logic_error("TArcManager.\nInternal Error: Call ArcSeekOpen.");
  if (!walkStarted) throw std::logic_error("TArcManager.\nInternal Error: Call ArcSeekFirst.");
  ArcShowError();
  if (!haveHeader) return false;   // the walk already ended
  haveHeader = false;
  return ReadHeaderAt(nextHeaderOffset, rec);
}

bool TArcManager::ReadHeaderAt(uint64_t offset, TArcSeekRec* rec) {
  if (offset >= archiveSize) return false;
  uint64_t remaining = archiveSize - offset;
  unsigned char buffer[2 + 255];
  size_t want = remaining < sizeof buffer ? size_t(remaining) : sizeof buffer;
  size_t got = 0;
  if (PlatFileRead(archive, offset, buffer, want, &got) != PLAT_OK) return FailWithSystem(OP_READ, errorArchive);
  if (got == 0) return Fail(ARC_ERR_READ, errorArchive, 0);
  unsigned size = buffer[0];
  if (size == 0) return false;   // the archive's end mark
  // Levels 2 and 3 carry no sum where level 1 has it: say what they are first.
  const bool otherLayout = got > kLevel && (buffer[kLevel] == 2 || buffer[kLevel] == 3);
  if (otherLayout) return Fail(ARC_ERR_HEADER_LEVEL, errorArchive, -1);
  if (got < size + 2u) {
    if (remaining < kShortestHeader) return false;
    return Fail(ARC_ERR_HEADER, errorArchive, -1);
  }
  unsigned sum = 0;
  for (unsigned i = 2; i < size + 2; i++) sum += buffer[i];
  if ((sum & 0xFF) != buffer[1]) return Fail(ARC_ERR_HEADER, errorArchive, -1);
  if (size + 2u > kLevel && buffer[kLevel] == 0) return Fail(ARC_ERR_HEADER_LEVEL, errorArchive, -1);
  // Only level 1 is laid out as read here; its name must leave room for the CRC and system bytes.
  if (size < kName + 3 || buffer[kLevel] != 1 || kName + buffer[kNameLength] + 3 > size)
    return Fail(ARC_ERR_HEADER, errorArchive, -1);
  header.assign(reinterpret_cast<const char*>(buffer), size + 2);
  memberName.assign(reinterpret_cast<const char*>(buffer + kName), buffer[kNameLength]);
  uint32_t packed = GetLe32(buffer + kPacked);
  uint64_t data = offset + size + 2;
  unsigned extended = GetLe16(buffer + size);
  while (extended != 0) {
    // Each extended header ends with the size of the next; it must lie within the packed bytes.
    if (extended < 3 || extended > packed) return Fail(ARC_ERR_HEADER, errorArchive, -1);
    packed -= extended;
    data += extended;
    if (data > archiveSize) return Fail(ARC_ERR_HEADER, errorArchive, -1);
    unsigned char next[2];
    if (PlatFileRead(archive, data - 2, next, 2, &got) != PLAT_OK) return FailWithSystem(OP_READ, errorArchive);
    if (got != 2) return Fail(ARC_ERR_READ, errorArchive, 0);
    extended = GetLe16(next);
  }
  if (data + packed > archiveSize) return Fail(ARC_ERR_HEADER, errorArchive, -1);
  headerOffset = offset;
  dataOffset = data;
  packedLeft = packed;
  nextHeaderOffset = data + packed;
  haveHeader = true;
  if (rec) {
    rec->size = GetLe32(buffer + kSize);
    rec->name = memberName;
    rec->path = outDir + memberName;
  }
  return true;
}

long TArcManager::ReadPacked(unsigned char* buffer, size_t size) {
  if (readLeft == 0) return 0;
  size_t want = size < readLeft ? size : readLeft;
  size_t got = 0;
  if (PlatFileRead(archive, readPos, buffer, want, &got) != PLAT_OK) {
    FailWithSystem(OP_READ, errorArchive);
    return -1;
  }
  if (got == 0) {
    Fail(ARC_ERR_READ, errorArchive, 0);
    return -1;
  }
  readPos += got;
  readLeft -= uint32_t(got);
  return long(got);
}

bool TArcManager::WriteOut(const unsigned char* data, size_t size) {
  if (outFile != PLAT_NO_FILE) {
    if (PlatFileWrite(outFile, writePos, data, size) != PLAT_OK) return FailWithSystem(OP_WRITE, outPath);
  }
  writePos += size;
  for (size_t i = 0; i < size; i++) crc = Crc16ArcUpdate(crcTable, crc, data[i]);
  return true;
}

long TArcManager::DecoderRead(void* user, unsigned char* buffer, size_t size) {
  return static_cast<TArcManager*>(user)->ReadPacked(buffer, size);
}

bool TArcManager::DecoderWrite(void* user, const unsigned char* data, size_t size) {
  TArcManager* self = static_cast<TArcManager*>(user);
  if (!self->WriteOut(data, size)) return false;
  self->reported += long(size);
  if (self->progress) {
    unsigned char cancel = 0;
    self->progress(self->progressUser, long(size), &cancel);
    if (cancel) return self->Fail(ARC_ERR_CANCEL, self->outPath, -1);
  }
  return true;
}

bool TArcManager::CopyStored() {
  std::vector<unsigned char> block(kStoredBlock);
  for (;;) {
    long got = ReadPacked(block.data(), block.size());
    if (got < 0) return false;
    if (got == 0) return true;
    if (!WriteOut(block.data(), size_t(got))) return false;
  }
}

bool TArcManager::DecodeCompressed() {
  Lh5Io io{this, DecoderRead, DecoderWrite};
  switch (Lh5Decode(decoder, GetLe32(reinterpret_cast<const unsigned char*>(header.data()) + kSize), &io)) {
    case LH5_DONE: return true;
    case LH5_BAD_STREAM: return Fail(ARC_ERR_STREAM, outPath, -1);
    default: return false;   // the callbacks set the error
  }
}

void TArcManager::EndFailedMember(const std::string& tempPath) {
  if (outFile != PLAT_NO_FILE) {
    PlatFileClose(outFile);
    outFile = PLAT_NO_FILE;
  }
  if (!tempPath.empty()) PlatFileDelete(tempPath.c_str());
  if (progress) {
    unsigned char ignored = 0;
    progress(progressUser, -reported, &ignored);
  }
}

bool TArcManager::ArcExtract(bool testOnly) {
  if (archive == PLAT_NO_FILE) throw std::logic_error("TArcManager.\nInternal Error: Call ArcSeekOpen.");
  if (!haveHeader) throw std::logic_error("TArcManager.\nInternal Error: Call ArcSeekFirst.");
  if (outFile != PLAT_NO_FILE) throw std::logic_error("TArcManager.\nInternal Error: 'FOutFile' in use.");
  ArcShowError();
  const unsigned char* h = reinterpret_cast<const unsigned char*>(header.data());
  uint32_t size = GetLe32(h + kSize);
  outPath = outDir + memberName;
  reported = 0;
  crc = 0;
  writePos = 0;
  readPos = dataOffset;
  readLeft = packedLeft;

  // Everything that can refuse the member is tested before a file is made.
  std::string method = header.substr(kMethod, 5);
  bool stored = method == "-lh0-";
  if (!stored && method != "-lh5-") {
    Fail(ARC_ERR_METHOD, errorArchive, -1);
    EndFailedMember("");
    return false;
  }
  // A name that is not one plain name could land outside the output directory;
  // a stored member whose sizes differ is damaged.
  if (!SafeName(memberName) || (stored && packedLeft != size)) {
    Fail(ARC_ERR_HEADER, errorArchive, -1);
    EndFailedMember("");
    return false;
  }
  std::string target = PlatTranslatePath(outPath.c_str());
  std::string temp;
  if (!testOnly) {
    PlatFileInfo info;
    if (PlatFileInfoOf(target.c_str(), true, &info) == PLAT_OK) {
      if ((info.mode & 0222) == 0) {
        Fail(ARC_ERR_READ_ONLY, outPath, -1);
        EndFailedMember("");
        return false;
      }
    } else if (PlatLastErrno() != ENOENT) {
      FailWithSystem(OP_FILE, outPath);
      EndFailedMember("");
      return false;
    }
    // Written under a temporary name and put in place only once whole and
    // checked, so a failure never leaves a partial file or spoils an older one.
    if (PlatCreateTempFile(DirectoryOf(target).c_str(), "~zs", ".tmp", &temp, &outFile) != PLAT_OK) {
      outFile = PLAT_NO_FILE;
      FailWithSystem(OP_CREATE, outPath);
      EndFailedMember("");
      return false;
    }
  }
  bool ok = stored ? CopyStored() : DecodeCompressed();
  if (ok && crc != GetLe16(h + header.size() - 5)) ok = Fail(ARC_ERR_CRC, outPath, -1);
  if (ok && !testOnly) {
    if (PlatFileSetModified(temp.c_str(), ArcDosTimeToSeconds(GetLe32(h + kTime))) != PLAT_OK) {
      ok = FailWithSystem(OP_FILE, outPath);
    } else {
      PlatFileInfo info;
      if (PlatFileInfoOf(temp.c_str(), true, &info) != PLAT_OK ||
          ((h[kAttribute] & kReadOnlyAttribute) && PlatFileSetMode(temp.c_str(), info.mode & ~0222u) != PLAT_OK))
        ok = FailWithSystem(OP_FILE, outPath);
    }
    if (ok) {
      PlatFileClose(outFile);
      outFile = PLAT_NO_FILE;
      if (PlatFileRename(temp.c_str(), target.c_str()) != PLAT_OK) ok = FailWithSystem(OP_CREATE, outPath);
    }
  }
  if (!ok) {
    EndFailedMember(temp);
    return false;
  }
  return true;
}
