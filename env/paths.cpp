#include "env/paths.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "env/code_pages.h"
#include "env/error_log.h"
#include "env/messages.h"
#include "env/temp_strings.h"
#include "platform/dirs.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/screen_hook.h"

namespace {

constexpr int MSG_BAD_DATA_PATH = 50001;
constexpr int MSG_NO_SHARED_CATALOGUE_DIR = 50028;
constexpr int MSG_CHECK_MAIN_OPTIONS = 50029;
constexpr int MSG_NO_PRINT_SETTINGS_DIR = 50131;

constexpr int LOG_BAD_SWITCH_KIND = 48;
constexpr int LOG_RESTORE_DIR = 304;
constexpr int LOG_PROGRAM_DIR = 306;
constexpr int LOG_FILE_ACCESS = 117;

constexpr int OPTION_DIR_MAX = 127;

PathRecord* savedDir = nullptr;

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

void CopyBounded(char* to, size_t size, const char* from, size_t length) {
  if (length >= size) length = size - 1;
  std::memcpy(to, from, length);
  to[length] = '\0';
}

// The parts of a path the way the system splits them: "X:" drive, directory
// up to and with the last separator, name up to the last point, extension
// from it.
struct PathParts {
  std::string drive, dir, name, ext;
};

PathParts SplitPath(const char* path) {
  PathParts parts;
  std::string text = path ? path : "";
  size_t start = 0;
  if (text.size() >= 2 && text[1] == ':') {
    parts.drive = text.substr(0, 2);
    start = 2;
  }
  size_t last = std::string::npos;
  for (size_t i = start; i < text.size(); ++i)
    if (IsSeparator(text[i])) last = i;
  size_t nameStart = start;
  if (last != std::string::npos) {
    parts.dir = text.substr(start, last + 1 - start);
    nameStart = last + 1;
  }
  std::string file = text.substr(nameStart);
  size_t point = file.rfind('.');
  if (point == std::string::npos) {
    parts.name = file;
  } else {
    parts.name = file.substr(0, point);
    parts.ext = file.substr(point);
  }
  return parts;
}

std::string RightTrimmed(const char* text, size_t length) {
  while (length > 0 && text[length - 1] == ' ') --length;
  return std::string(text, length);
}

void ShowBox(int kind, const char* utf8Title, const std::string& text) {
  ScreenMessageBox(kind, Utf8ToMazText(utf8Title).c_str(), text.c_str());
}

}  // namespace

std::string EnvToDiskPath(const char* path) { return PlatTranslatePath(MazToUtf8Text(path ? path : "").c_str()); }

std::string EnvFromDiskPath(const std::string& diskPath) {
  return Utf8ToMazText(PlatToWindowsPath(diskPath.c_str()).c_str());
}

std::string EnvShownPath(const std::string& diskPath) { return Utf8ToMazText(diskPath.c_str()); }

PathRecord* TransDir(const char* directory, PathRecord* path) {
  std::memset(path, 0, sizeof *path);
  std::string text = directory ? directory : "";
  // An empty text names no directory; appending a backslash would make it the root.
  if (text.empty()) return path;
  if (!IsSeparator(text.back())) text += '\\';
  PathParts parts = SplitPath(text.c_str());
  CopyBounded(path->drive, sizeof path->drive, parts.drive.data(), parts.drive.size());
  CopyBounded(path->dir, sizeof path->dir, parts.dir.data(), parts.dir.size());
  CopyBounded(path->name, sizeof path->name, parts.name.data(), parts.name.size());
  CopyBounded(path->ext, sizeof path->ext, parts.ext.data(), parts.ext.size());
  if (path->drive[0]) path->parts |= PATH_HAS_DRIVE;
  if (path->dir[0]) path->parts |= PATH_HAS_DIR;
  if (path->name[0]) path->parts |= PATH_HAS_NAME;
  if (path->ext[0]) path->parts |= PATH_HAS_EXT;
  return path;
}

int ChangeDir(PathRecord* path, int logCode, int flags) {
  size_t dirLength = std::strlen(path->dir);
  if (dirLength > 1 && IsSeparator(path->dir[dirLength - 1])) path->dir[--dirLength] = '\0';

  // Without drives the drive letter is part of the translated path.
  const std::string where = std::string(path->drive) + path->dir;
  const std::string disk = EnvToDiskPath(dirLength ? where.c_str() : (where + "\\").c_str());
  const char* failedStep = nullptr;
  if (dirLength == 0 && !path->drive[0]) {
    failedStep = "chdir";
  } else {
    if (PlatChDir(disk.c_str()) != PLAT_OK) {
      if (PlatMkDir(disk.c_str()) != PLAT_OK)
        failedStep = "mkdir";
      else if (PlatChDir(disk.c_str()) != PLAT_OK)
        failedStep = "chdir";
    }
  }

  if (!failedStep) {
    if (const EnvState* env = EnvCurrentState()) *env->currentPath = path;
    if (flags & CHDIR_LOG)
      ErrLogMessage(EL_FORMAT | EL_BLANK_BEFORE, LOG_DIRSET, "%s", EnvShownPath(disk).c_str());
    return 0;
  }
  if (!(flags & CHDIR_QUIET)) {
    static const std::string format = Utf8ToMazText("Błąd ścieżki do danych, %s(%s)");
    const std::string shown = EnvShownPath(disk);
    ErrLogMessage(EL_FORMAT | EL_ERRNO | EL_BLANK_BEFORE | EL_NEW_HEADER, logCode, format.c_str(), failedStep,
                  shown.c_str());
    ShowBox(SCREEN_BOX_ALARM, "BŁĄD", std::string(EnvFindString(MSG_BAD_DATA_PATH)) + "\n" + shown);
  }
  return -1;
}

void SaveDir() {
  const EnvState* env = EnvCurrentState();
  savedDir = env ? *env->currentPath : nullptr;
}

int RestoreDir() {
  if (!savedDir) return -1;
  return ChangeDir(savedDir, LOG_RESTORE_DIR, 0);
}

int SwitchDir(int kind, int logCode) {
  if (kind != SWITCH_SHARED_CATALOGUE && kind != SWITCH_PRINT_SETTINGS) {
    ErrLogMessage(EL_ERROR, LOG_BAD_SWITCH_KIND, TextRef());
    return -1;
  }
  const EnvState* env = EnvCurrentState();
  if (!env) return -1;
  const char* option = kind == SWITCH_SHARED_CATALOGUE ? env->sharedCatalogueDir : env->printSettingsDir;
  const size_t optionSize =
      static_cast<size_t>(kind == SWITCH_SHARED_CATALOGUE ? env->sharedCatalogueDirSize : env->printSettingsDirSize);
  size_t length = 0;
  while (length < optionSize && length < OPTION_DIR_MAX && option[length]) ++length;
  const std::string text = RightTrimmed(option, length);
  if (!text.empty()) {
    // The record outlives the call: currentPath points at it after the change.
    static PathRecord optionPath[2];
    PathRecord* record = &optionPath[kind - SWITCH_SHARED_CATALOGUE];
    TransDir(text.c_str(), record);
    if (ChangeDir(record, logCode, 0) == 0) return 0;
    const int message = kind == SWITCH_SHARED_CATALOGUE ? MSG_NO_SHARED_CATALOGUE_DIR : MSG_NO_PRINT_SETTINGS_DIR;
    ShowBox(SCREEN_BOX_WARNING, "UWAGA",
            std::string(EnvFindString(message)) + "\n" + EnvFindString(MSG_CHECK_MAIN_OPTIONS));
  }
  return ChangeDir(env->programPath, LOG_PROGRAM_DIR, 0);
}

char* MergePath(char* buffer, int size, int flags, TextRef part1, TextRef part2, TextRef part3) {
  if (!buffer || size <= 0) return buffer;
  const TextRef parts[3] = {part1, part2, part3};
  int next = 0;
  size_t used = 0;
  const size_t room = static_cast<size_t>(size) - 1;
  buffer[0] = '\0';
  for (int flag : {MERGE_DIR, MERGE_DIR2, MERGE_NAME}) {
    if (!(flags & flag)) continue;
    const TextRef part = parts[next++];
    const char* text = part.IsEmpty() ? "" : EnvFindString(part);
    if (!text) text = "";
    std::string piece = RightTrimmed(text, std::strlen(text));
    if (flag != MERGE_NAME && !piece.empty() && !IsSeparator(piece.back())) piece += '\\';
    const size_t take = std::min(piece.size(), room - used);
    std::memcpy(buffer + used, piece.data(), take);
    used += take;
    buffer[used] = '\0';
    if (next == 3) break;
  }
  return buffer;
}

char* ExtractDirQStr(const char* path) {
  PathParts parts = SplitPath(path);
  const std::string dir = parts.drive + parts.dir;
  return QuickStr(dir.c_str(), static_cast<int>(dir.size()), 0);
}

char* WorkDirQStr() {
  std::string dir = EnvFromDiskPath(PlatGetCwd());
  const size_t rootLength = dir.size() >= 2 && dir[1] == ':' ? 3 : 1;
  if (dir.size() > rootLength && IsSeparator(dir.back())) dir.pop_back();
  return QuickStr(dir.c_str(), static_cast<int>(dir.size()), 0);
}

int PathEXTCmp(const char* path, const char* extension) {
  PathParts parts = SplitPath(path);
  const char* own = parts.ext.empty() ? "" : parts.ext.c_str() + 1;
  if (extension && *extension == '.') ++extension;
  return std::strcmp(own, extension ? extension : "") == 0 ? 1 : 0;
}

int EnvFileExists(const char* name) {
  if (!name || !*name) return 0;
  return PlatFileExists(EnvToDiskPath(name).c_str()) ? 1 : 0;
}

int EnvFileAccess(const char* name) {
  if (!name || !*name) return -1;
  switch (PlatFileAccess(EnvToDiskPath(name).c_str())) {
    case PLAT_OK:
      return 1;
    case PLAT_NOT_FOUND:
      return -1;
    case PLAT_ACCESS:
      return 0;
    default:
      ErrLogMessage(EL_TEXT | EL_ERROR | EL_BLANK_BEFORE | EL_WINDOW_LINES | EL_ERRNO, LOG_FILE_ACCESS, name);
      return 0;
  }
}

char* ConvXmlExportName(char* name) {
  ConvChars(name, -1, MazToAsciiPairs, 0);
  for (char* p = name; *p; ++p)
    if (std::strchr("/*?\"<>|&", *p)) *p = '\'';
  return name;
}
