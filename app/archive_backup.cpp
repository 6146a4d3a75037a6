// Writing the archived data files into a CP1 archive, comparing it with them,
// and restoring them from it.
#include "app/archive_backup.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/option_sets.h"
#include "env/code_pages.h"
#include "env/error_log.h"
#include "env/paths.h"
#include "interchange/archive.h"
#include "platform/dirs.h"
#include "platform/files.h"
#include "ui/message_box.h"

namespace {

constexpr int MSG_PATH_NOT_FOUND = 50034;
constexpr int MSG_CRC_ERROR = 50039;

constexpr int LOG_NO_ROW = 146;
constexpr int LOG_MOVE_ASIDE = 147;
constexpr int LOG_PUT_IN_PLACE = 148;
constexpr int LOG_NO_ACCESS = 149;
constexpr int LOG_RESTORE_PROGRAM_BY_ROW = 331;
constexpr int LOG_RESTORE_PROGRAM = 332;
constexpr int LOG_WRITE_PROGRAM = 334;
constexpr int LOG_RESTORE_COMMON_BY_ROW = 351;
constexpr int LOG_RESTORE_COMMON = 352;
constexpr int LOG_WRITE_COMMON = 354;

// Directory kinds of the entry header.
constexpr int KIND_FIRM = 1;
constexpr int KIND_COMMON = 2;
constexpr int KIND_PROGRAM = 3;
constexpr int KIND_ZUS = 4;

const char* const kWorkFile = "tempxxxx.$$$";
std::string NoAccessTitle() { return Utf8ToMazText("Brak dostępu do pliku"); }

// The directory a run started in; ChangeDir keeps pointing at the record.
PathRecord startDir;

void RememberStartDir() {
  const EnvState* env = EnvCurrentState();
  PathRecord* current = env ? *env->currentPath : nullptr;
  if (current != &startDir) {
    if (current)
      startDir = *current;
    else
      TransDir(EnvFromDiskPath(PlatGetCwd()).c_str(), &startDir);
  }
}

int ReturnToStartDir() { return ChangeDir(&startDir, 0, CHDIR_QUIET); }

int EnterProgramDir(int logCode) {
  const EnvState* env = EnvCurrentState();
  return env ? ChangeDir(env->programPath, logCode, 0) : -1;
}

std::string ArchiveDiskName(const char* archivePath) {
  std::string path = archivePath ? archivePath : "";
  size_t name = path.find_last_of("\\/:");
  name = name == std::string::npos ? 0 : name + 1;
  for (size_t i = name; i < path.size(); ++i) path[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(path[i])));
  return path;
}

// Every file of the current directory the row's pattern takes.
std::vector<std::string> FilesOfRow(const ArchivedFile& row) {
  std::vector<PlatDirEntry> entries;
  std::vector<std::string> names;
  if (PlatListDir(PlatGetCwd().c_str(), row.name, &entries) != PLAT_OK) return names;
  for (const PlatDirEntry& entry : entries)
    if (!entry.isDirectory) names.push_back(entry.name);
  return names;
}

// For the writer and the verifier: 1 the row's directory is current, 0 the
// row is passed over, -1 the run ends.
int EnterRowDirForWriting(int flags) {
  if (flags & ARCH_COMMON) return SwitchDir(SWITCH_SHARED_CATALOGUE, LOG_WRITE_COMMON) == 0 ? 1 : 0;
  if (flags & ARCH_PROGRAM) return EnterProgramDir(LOG_WRITE_PROGRAM) == 0 ? 1 : -1;
  if (flags & ARCH_ZUS) return ChangeToZusDirectory() == 0 ? 1 : 0;
  return 1;
}

bool PackFile(const std::string& name, int flags) {
  const int opened = ArcOpenReading(name.c_str());
  if (opened == 0) return true;   // gone since the search
  if (opened < 0) return false;
  bool ok = ArcHeaInit(name.c_str(), flags) == 1 && ArcWriteHeader(0) == 1;
  if (ok) {
    ArchiveProgress(nullptr, 1, name.c_str(), 0, 0);
    ok = ArcEncode() == 1;
  }
  ok = ArcCloseReading() == 1 && ok;
  return ok && ArcHeaSetFileCRC() == 1 && ArcWriteHeader(1) == 1;
}

// Unpacks the current entry into the work file of the current directory:
// 1 sound, 0 damaged (work file deleted), -1 failure.
int UnpackEntry() {
  if (ArcOpenWriting(kWorkFile) != 1) return -1;
  const int decoded = ArcDecode();
  const int closed = ArcCloseWriting_D();
  if (decoded != 1 || closed != 1) {
    PlatFileDelete(kWorkFile);
    return -1;
  }
  if (ArcHeaFileCRCError()) {
    PlatFileDelete(kWorkFile);
    return 0;
  }
  return 1;
}

// After a damaged entry: asks whether to go on and finds the next sound
// entry. 1 go on, 0 the archive ended, -1 stop.
int SkipDamagedEntry() {
  if (!ArcAskContinue(MSG_CRC_ERROR)) return -1;
  return ArcNextFile();
}

bool SameName(const std::string& a, const char* b) {
  if (a.size() != std::strlen(b)) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

}  // namespace

int WriteArchive(const ArchivedFile* table, const char* archivePath, int mask) {
  const std::string path = ArchiveDiskName(archivePath);
  if (!ArcAlloc(path.c_str(), ArchiveProgress, nullptr)) return 0;
  SetArchiveProgressLabel("zapis:");
  RememberStartDir();
  bool ok = ArcOpenWriting(path.c_str()) == 1;
  if (ok) {
    for (int i = 0; ok && i < ARCHIVED_FILES_COUNT; ++i) {
      const ArchivedFile& row = table[i];
      if (!(row.flags & mask)) continue;
      const int entered = EnterRowDirForWriting(row.flags);
      if (entered < 0) ok = false;
      for (const std::string& name : entered > 0 ? FilesOfRow(row) : std::vector<std::string>())
        if (ok) ok = PackFile(name, row.flags);
      if (!(row.flags & ARCH_FIRM)) ReturnToStartDir();
    }
    ok = ok && ArcPutC_K(0) == 1;
    ok = ArcCloseWriting_K() == 1 && ok;
  }
  ArcFree();
  ReturnToStartDir();
  return ok ? 1 : 0;
}

int VerifyArchive(const ArchivedFile* table, const char* archivePath, int mask) {
  const std::string path = ArchiveDiskName(archivePath);
  if (!ArcAlloc(path.c_str(), ArchiveProgress, nullptr)) return 0;
  SetArchiveProgressLabel("weryfikacja:");
  RememberStartDir();
  const int opened = ArcOpenReading(path.c_str());
  if (opened == 0) MessageWindow(0, MSG_PATH_NOT_FOUND, archivePath);
  bool ok = opened == 1;
  for (int i = 0; ok && i < ARCHIVED_FILES_COUNT; ++i) {
    const ArchivedFile& row = table[i];
    if (!(row.flags & mask)) continue;
    const int entered = EnterRowDirForWriting(row.flags);
    if (entered < 0) ok = false;
    for (const std::string& name : entered > 0 ? FilesOfRow(row) : std::vector<std::string>()) {
      if (!ok) break;
      // Each file the writer took has its entry, in the same order.
      if (ArcReadHeader() != 1 || !SameName(name, ArcEntryName(ArcHeaderPtr()).c_str())) {
        ok = false;
        break;
      }
      ArchiveProgress(nullptr, 1, name.c_str(), 0, 0);
      const int unpacked = UnpackEntry();
      if (unpacked == 0) {
        ok = SkipDamagedEntry() >= 0;
        continue;
      }
      ok = unpacked == 1 && CompareFiles(name.c_str(), kWorkFile) == 0;
      PlatFileDelete(kWorkFile);
    }
    if (!(row.flags & ARCH_FIRM)) ReturnToStartDir();
  }
  if (opened == 1) ArcCloseReading();
  ArcFree();
  ReturnToStartDir();
  return ok ? 1 : 0;
}

namespace {

// What a restore has changed, so that a run that stops part-way can put
// everything back as it was.
struct RestoreRun {
  std::map<std::string, std::string> backupDirs;   // directory on disk -> its backup directory on disk
  std::set<std::string> placed;                    // files put in place in this run
  std::vector<std::pair<std::string, std::string>> movedAside;   // (file, its copy in a backup directory)
  std::vector<std::string> created;                // files put in place where none was

  void PutBack() {
    for (const std::string& file : created) PlatFileDelete(file.c_str());
    for (auto it = movedAside.rbegin(); it != movedAside.rend(); ++it) PlatFileRename(it->second.c_str(), it->first.c_str());
  }
  void RemoveEmptyBackupDirs() {
    for (const auto& [dir, backup] : backupDirs) PlatRmDir(backup.c_str());   // refused while not empty
  }
};

// Enters the entry's directory: 1 entered, 0 the entry is passed over, -1 the run ends.
int EnterEntryDir(int kind, int rowFlags) {
  switch (kind) {
    case KIND_FIRM:
      return ReturnToStartDir() == 0 ? 1 : -1;
    case KIND_COMMON:
      return SwitchDir(SWITCH_SHARED_CATALOGUE, LOG_RESTORE_COMMON) == 0 ? 1 : -1;
    case KIND_PROGRAM:
      return EnterProgramDir(LOG_RESTORE_PROGRAM) == 0 ? 1 : -1;
    case KIND_ZUS:
      return ChangeToZusDirectory() == 0 ? 1 : 0;
    default:
      if (rowFlags & ARCH_COMMON) return SwitchDir(SWITCH_SHARED_CATALOGUE, LOG_RESTORE_COMMON_BY_ROW) == 0 ? 1 : -1;
      if (rowFlags & ARCH_PROGRAM) return EnterProgramDir(LOG_RESTORE_PROGRAM_BY_ROW) == 0 ? 1 : -1;
      return ReturnToStartDir() == 0 ? 1 : -1;
  }
}

// Puts the unpacked work file of the current directory in place of `name`:
// 1 done or passed over, -1 the run must stop.
int PutInPlace(RestoreRun* run, const std::string& dir, const std::string& name) {
  const std::string work = dir + kWorkFile;
  const std::string target = PlatResolveName((dir + name).c_str());
  if (run->placed.count(target)) {
    PlatFileDelete(work.c_str());   // the first copy in the archive stays
    return 1;
  }
  const PlatResult access = PlatFileAccess(target.c_str());
  std::string aside;
  if (access == PLAT_ACCESS) {
    ErrLogMessage(EL_TEXT | EL_BLANK_BEFORE, LOG_NO_ACCESS, name.c_str());
    MessageWindow(MB_ERROR, NoAccessTitle().c_str(), name.c_str());
    PlatFileDelete(work.c_str());
    return 1;
  }
  if (access == PLAT_OK) {
    const std::string& backup = run->backupDirs[dir];
    const size_t slash = target.find_last_of('/');
    aside = backup + "/" + target.substr(slash + 1);
    const PlatResult moved = PlatFileRename(target.c_str(), aside.c_str());
    if (moved != PLAT_OK) {
      if (moved == PLAT_ACCESS) {
        char refused[300];
        std::snprintf(refused, sizeof refused, Utf8ToMazText("Nie można przenieść pliku do %s.").c_str(),
                      EnvShownPath(backup).c_str());
        MessageWindow(MB_ERROR, NoAccessTitle().c_str(), name.c_str(), refused);
      } else {
        ErrLogMessage(EL_TEXT | EL_BLANK_BEFORE, LOG_MOVE_ASIDE, name.c_str());
      }
      PlatFileDelete(work.c_str());
      return 1;
    }
  }
  if (PlatFileRename(work.c_str(), target.c_str()) != PLAT_OK) {
    ErrLogMessage(EL_TEXT | EL_BLANK_BEFORE, LOG_PUT_IN_PLACE, name.c_str());
    if (!aside.empty()) PlatFileRename(aside.c_str(), target.c_str());
    PlatFileDelete(work.c_str());
    return -1;
  }
  if (aside.empty())
    run->created.push_back(target);
  else
    run->movedAside.emplace_back(target, aside);
  run->placed.insert(target);
  return 1;
}

// Restores the current entry: 1 go on, 0 the archive ended, -1 the run stops.
int RestoreEntry(RestoreRun* run, const ArchivedFile* table) {
  const std::string name = ArcEntryName(ArcHeaderPtr());
  const int row = MatchArchivePattern(table, name.c_str());
  if (row < 0) ErrLogMessage(EL_TEXT | EL_BLANK_BEFORE, LOG_NO_ROW, name.c_str());
  const int rowFlags = row < 0 ? ARCH_FIRM : table[row].flags;
  const int entered = EnterEntryDir(ArcHeaderPtr()->category, rowFlags);
  if (entered < 0) return -1;
  if (entered == 0) {
    // The entry's directory is out of reach: read over it.
    SetArchiveProgressLabel("pomijam:");
    ArchiveProgress(nullptr, 1, name.c_str(), 0, 0);
    SetArchiveProgressLabel("odczyt:");
    const int unpacked = UnpackEntry();
    PlatFileDelete(kWorkFile);
    if (unpacked < 0) return -1;
    return unpacked == 0 ? SkipDamagedEntry() : 1;
  }
  const std::string dir = PlatGetCwd();
  if (!run->backupDirs.count(dir)) {
    char backup[8];
    if (NewBackupDir(backup) != 0) return -1;
    run->backupDirs[dir] = dir + backup;
  }
  ArchiveProgress(nullptr, 1, name.c_str(), 0, 0);
  const int unpacked = UnpackEntry();
  if (unpacked < 0) return -1;
  if (unpacked == 0) return SkipDamagedEntry();
  return PutInPlace(run, dir, name);
}

}  // namespace

int RestoreArchive(const ArchivedFile* table, const char* archivePath, char* backupName) {
  if (backupName) backupName[0] = '\0';
  const std::string path = ArchiveDiskName(archivePath);
  if (!ArcAlloc(path.c_str(), ArchiveProgress, nullptr)) return 0;
  SetArchiveProgressLabel("odczyt:");
  RememberStartDir();
  const std::string home = PlatGetCwd();
  RestoreRun run;
  const int opened = ArcOpenReading(path.c_str());
  if (opened == 0) MessageWindow(MB_INFO, MSG_PATH_NOT_FOUND, archivePath);
  int state = opened == 1 ? 1 : -1;
  while (state == 1) {
    const int header = ArcReadHeader();
    if (header == 0) {
      state = 0;
    } else if (header == -2) {
      state = SkipDamagedEntry();
    } else if (header != 1) {
      state = -1;
    } else {
      state = RestoreEntry(&run, table);
      if (ReturnToStartDir() != 0) state = -1;
    }
  }
  if (opened == 1) ArcCloseReading();
  ArcFree();
  if (state < 0) run.PutBack();
  run.RemoveEmptyBackupDirs();
  ReturnToStartDir();
  auto own = run.backupDirs.find(home);
  if (backupName && own != run.backupDirs.end() && PlatFileExists(own->second.c_str()))
    std::memcpy(backupName, own->second.c_str() + own->second.size() - 6, 7);   // "Bak%03i" and the NUL
  return state == 0 ? 1 : 0;
}

int ReadArchiveInfo(const char* archivePath, char* text, int size, char* date) {
  const std::string path = ArchiveDiskName(archivePath);
  if (size > 0) text[0] = '\0';
  date[0] = '\0';
  if (!ArcAlloc(path.c_str(), nullptr, nullptr)) return 0;
  int found = 0;
  if (ArcOpenReading(path.c_str()) == 1) {
    if (ArcReadHeader() == 1) {
      const ArcHeader* header = ArcHeaderPtr();
      if (size > 0) std::snprintf(text, static_cast<size_t>(size), "%.*s", ARC_OWNER_SIZE - 1, header->owner);
      std::snprintf(date, ARC_DATE_SIZE, "%.*s", ARC_DATE_SIZE - 1, header->date);
      found = 1;
    }
    ArcCloseReading();
  }
  ArcFree();
  return found;
}

int NewBackupDir(char* buffer) {
  for (int i = 1; i <= 999; ++i) {
    std::snprintf(buffer, 8, "Bak%03i", i);
    if (!PlatFileExists(buffer)) return PlatMkDir(buffer) == PLAT_OK ? 0 : -1;
  }
  return -1;
}
