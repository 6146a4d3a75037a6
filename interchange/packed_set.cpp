#include "interchange/packed_set.h"

#include <string>
#include <strings.h>
#include <vector>

#include "env/code_pages.h"
#include "env/messages.h"
#include "env/paths.h"
#include "interchange/archive.h"
#include "platform/dirs.h"
#include "platform/files.h"
#include "platform/screen_hook.h"

namespace {

constexpr int MSG_PATH_NOT_FOUND = 50034;
constexpr int MSG_CRC_ERROR = 50039;

// Packs one file found on disk; true when its entry is complete.
bool PackFile(ArcContext* ctx, const std::string& diskName) {
  std::string name = EnvFromDiskPath(diskName);
  if (ArcOpenReading(ctx, name.c_str()) != 1) return false;
  bool ok = ArcHeaInit(ctx, name.c_str(), 0) == 1 && ArcWriteHeader(ctx, 0) == 1 && ArcEncode(ctx) == 1;
  ArcCloseReading(ctx);
  if (!ok) return false;
  ArcHeaSetFileCRC(ctx);
  return ArcWriteHeader(ctx, 1) == 1;
}

void DeletePacked(const std::vector<std::string>& packed) {
  for (const std::string& name : packed) {
    size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && strcasecmp(name.c_str() + dot + 1, "DBF") == 0) {
      PlatFileDelete((name.substr(0, dot) + ".MDX").c_str());
      PlatFileDelete((name.substr(0, dot) + ".MRK").c_str());   // the change marks beside an indexed table
    }
    PlatFileDelete(name.c_str());
  }
}

// Unpacks the current entry beside its target under a fresh temporary name
// and puts it in place only when it is whole: 1 done, 0 damaged (nothing
// changed), -1 failed.
int UnpackEntry(ArcContext* ctx) {
  std::string target = EnvToDiskPath(ArcEntryName(&ctx->header).c_str());
  std::string temp;
  PlatFile file;
  if (PlatCreateTempFile("", "temp", ".$$$", &temp, &file) != PLAT_OK) return -1;
  PlatFileClose(file);
  bool written = ArcOpenWriting(ctx, temp.c_str()) == 1 && ArcDecode(ctx) == 1;
  if (ArcCloseWriting_D(ctx) != 1) written = false;
  int result = -1;
  if (written) result = ArcHeaFileCRCError(ctx) ? 0 : 1;
  if (result == 1 && PlatFileRename(temp.c_str(), target.c_str()) != PLAT_OK) result = -1;
  if (result != 1) PlatFileDelete(temp.c_str());
  return result;
}

}  // namespace

int Compress2(const PackedFileMask* masks, const char* archivePath, int deleteFiles) {
  ArcContext* ctx = ArcContextAlloc(archivePath, nullptr, nullptr);
  if (!ctx) return 0;
  bool ok = ArcOpenWriting(ctx, archivePath) == 1;
  // A mask may match the archive itself: it is neither packed nor deleted.
  std::string self = ctx->archivePath;
  if (self.empty() || self[0] != '/') self = PlatGetCwd() + self;
  std::vector<std::string> packed;
  for (const PackedFileMask* m = masks; ok && m && m->mask; m++) {
    std::vector<PlatDirEntry> found;
    if (PlatListDir(".", MazToUtf8Text(m->mask).c_str(), &found) != PLAT_OK) {
      ok = false;
      break;
    }
    for (const PlatDirEntry& entry : found) {
      if (entry.isDirectory || strcasecmp((PlatGetCwd() + entry.name).c_str(), self.c_str()) == 0) continue;
      if (!PackFile(ctx, entry.name)) {
        ok = false;
        break;
      }
      packed.push_back(entry.name);
    }
  }
  if (ok) ok = ArcPutC_K(ctx, 0) == 1;
  if (ArcCloseWriting_K(ctx) != 1) ok = false;
  ArcContextFree(ctx);
  // The tables go only once the archive holding them is complete on disk.
  if (ok && deleteFiles) DeletePacked(packed);
  return ok ? 1 : 0;
}

int Decompress2(const char* archivePath) {
  ArcContext* ctx = ArcContextAlloc(archivePath, nullptr, nullptr);
  if (!ctx) return 0;
  int opened = ArcOpenReading(ctx, archivePath);
  if (opened != 1) {
    if (opened == 0) {
      std::string text = std::string(EnvFindString(MSG_PATH_NOT_FOUND)) + " " + (archivePath ? archivePath : "");
      ScreenMessageBox(SCREEN_BOX_WARNING, nullptr, text.c_str());
    }
    ArcContextFree(ctx);
    return 0;
  }
  int result = 0;
  for (;;) {
    int r = ArcReadHeader(ctx);
    if (r == 0) {
      result = 1;
      break;
    }
    if (r == 1) r = UnpackEntry(ctx);
    if (r == 1) continue;
    if (r == -1) break;
    // A damaged header or damaged data: the operator may go on with the next sound entry.
    if (!ArcAskContinue(MSG_CRC_ERROR) || ArcNextFile(ctx) != 1) break;
  }
  ArcCloseReading(ctx);
  ArcCloseWriting_D(ctx);
  ArcContextFree(ctx);
  return result;
}
