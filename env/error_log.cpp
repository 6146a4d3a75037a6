#include "env/error_log.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "env/code_pages.h"
#include "env/env_state.h"
#include "env/error_codes.h"
#include "env/messages.h"
#include "env/paths.h"
#include "platform/clock.h"
#include "platform/dirs.h"
#include "platform/files.h"
#include "platform/program_dir.h"
#include "platform/screen_hook.h"

namespace {

constexpr const char* kBoxTitle = "Zelmor WIN";
constexpr size_t kNameMax = 14;          // the log's name as kept for display
constexpr size_t kHeaderNameMax = 23;

PlatFile logFile = PLAT_NO_FILE;
uint64_t logEnd = 0;
char logName[kNameMax + 1];

// Repeat state: the previous entry's code and time (whole seconds) and the
// number of entries of the current counted run.
int previousCode = 0;
int64_t previousSecond = 0;
unsigned repeatCount = 0;

bool fatalInProgress = false;
int shownFlags = 0;

struct CodeName {
  int code;
  const char* name;
};

constexpr CodeName kCodeNames[] = {
    {1, "Start"},     {2, "DrufisOpen"}, {3, "DrufisClose"}, {4, "ComWrite"},    {5, "ComRead"},
    {7, "UWAGA"},     {8, "PYTANIE"},    {9, "INFORMACJA"},  {10, "ALARM"},      {12, "Konwersja"},
    {13, "DirSet"},   {14, "Katalog"},   {18, "LockWait"},   {19, "Unlock"},     {23, "TryLock"},
    {24, "Koniec"},   {25, "Plik"},      {26, "Uruchom"},    {27, "ParWydr"},    {28, "KasfisOpen"},
    {29, "KasfisClose"}, {50, "BrakPliku"}, {54, "Skopiowano"},
};

int64_t DaysFromCivil(int y, int m, int d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

int64_t WholeSeconds(const PlatDateTime& t) {
  return DaysFromCivil(t.year, t.month, t.day) * 86400 + t.hour * 3600 + t.minute * 60 + t.second;
}

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const char* format, ...) {
  char buffer[1024];
  va_list args;
  va_start(args, format);
  vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  return buffer;
}

// The log is code page 1250; entries are built in the system's character set.
std::string ToLogCharset(std::string text) {
  if (!text.empty()) ConvChars(text.data(), static_cast<int>(text.size()), MazToWindowsPairs, 0);
  return text;
}

std::string CurrentDirText() {
  std::string cwd = PlatGetCwd();
  if (cwd.size() > 1 && cwd.back() == '/') cwd.pop_back();
  return Utf8ToMazText(cwd.c_str());
}

bool WriteLog(const std::string& bytes) {
  if (logFile == PLAT_NO_FILE || bytes.empty()) return logFile != PLAT_NO_FILE;
  if (PlatFileWrite(logFile, logEnd, bytes.data(), bytes.size()) != PLAT_OK) return false;
  logEnd += bytes.size();
  return true;
}

void SystemBox(const std::string& text) { ScreenMessageBox(SCREEN_BOX_ERROR, kBoxTitle, text.c_str()); }

// Appends `more` while the entry stays within its buffer.
void AppendBounded(std::string& entry, const std::string& more) {
  size_t room = ERR_LOG_ENTRY_MAX - 1 > entry.size() ? ERR_LOG_ENTRY_MAX - 1 - entry.size() : 0;
  entry.append(more, 0, std::min(room, more.size()));
}

// Mode 3: the named file's size, date and contents, written straight after the entry.
std::string FileAppendix(const char* systemName) {
  std::string path = EnvToDiskPath(systemName);
  PlatFile file = PLAT_NO_FILE;
  if (PlatFileOpen(path.c_str(), PLAT_READ, PLAT_OPEN_EXISTING, &file) != PLAT_OK) {
    int error = errno;
    return ToLogCharset(Format(", %s (%i), %s", std::strerror(error), error, CurrentDirText().c_str()));
  }
  uint64_t length = 0;
  PlatFileLength(file, &length);
  std::string contents(length, '\0');
  size_t done = 0;
  if (length > 0) PlatFileRead(file, 0, contents.data(), contents.size(), &done);
  contents.resize(done);
  PlatFileClose(file);

  int64_t modified = 0;
  std::string resolved = PlatResolveName(path.c_str());
  size_t slash = resolved.find_last_of('/');
  std::string dir = slash == std::string::npos ? "." : resolved.substr(0, slash + 1);
  std::string base = slash == std::string::npos ? resolved : resolved.substr(slash + 1);
  std::vector<PlatDirEntry> entries;
  if (PlatListDir(dir.c_str(), base.c_str(), &entries) == PLAT_OK) {
    for (const PlatDirEntry& e : entries)
      if (e.name == base) modified = e.modified;
  }
  time_t t = static_cast<time_t>(modified);
  tm parts{};
  localtime_r(&t, &parts);
  return Format(", rozmiar(%ld), modyfikacja(%u-%02u-%02u, %02u:%02u:%02u)\r\n", static_cast<long>(length),
                static_cast<unsigned>(parts.tm_year + 1900), static_cast<unsigned>(parts.tm_mon + 1),
                static_cast<unsigned>(parts.tm_mday), static_cast<unsigned>(parts.tm_hour),
                static_cast<unsigned>(parts.tm_min), static_cast<unsigned>(parts.tm_sec)) +
         contents;
}

// The critical-error window: the entry from the code's name on, with the
// footer naming the log.
void ShowCriticalError(const std::string& entry, size_t nameStart, int flags) {
  std::string text = entry.substr(nameStart);
  std::string display;
  for (size_t i = 0; i < text.size(); i++) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    display += text[i];
  }
  if (display.empty() || display.back() != '\n') display += '\n';
  if (logFile != PLAT_NO_FILE || (flags & EL_WRITE_FAILED)) {
    std::string footer = (flags & EL_WRITE_FAILED) ? Utf8ToMazText("(BŁĄD ZAPISU do pliku ") + logName + ")"
                                                   : Format("(zapisano w pliku %s)", logName);
    if (display.size() + footer.size() < ERR_LOG_ENTRY_MAX) display += footer;
  }
  shownFlags = flags;
  ScreenCriticalError(display.c_str());
  shownFlags = 0;
  if (flags & EL_FATAL) {
    if (!fatalInProgress) {
      fatalInProgress = true;
      // Close the engine's files without writing anything pending: a fatal
      // stop may come in the middle of a change.
      ErrRunFatalCleanup();
    }
    ScreenFatalStop(1, display.c_str());
  }
}

std::string CountText() { return Format(", EL_CNT(%u)", repeatCount); }

}  // namespace

int OpenErrLog(int argc, char** argv) {
  if (logFile != PLAT_NO_FILE) return 0;
  std::string dir = PlatProgramDir();
  if (dir.empty()) {
    SystemBox(dir + "\nERRCODE(0)");
    return -1;
  }
  char hash[5], dollar[23];
  EnvFindDashOption(argc, argv, '#', hash, 2);
  EnvFindDashOption(argc, argv, '$', dollar, 20);
  std::string hashPart = hash[2] ? std::string("#") + (hash + 2) : "";
  std::string dollarPart = dollar[2] ? std::string("$") + (dollar + 2) : "";

  for (int attempt = 1; attempt <= 100 && logFile == PLAT_NO_FILE; attempt++) {
    if (attempt > 1) dollarPart = "$" + std::to_string(attempt - 1);
    std::string name = "ER" + hashPart + dollarPart + ".Log";
    std::string path = dir + name;
    PlatFile file = PLAT_NO_FILE;
    PlatResult r = PlatFileExists(path.c_str()) ? PlatFileOpen(path.c_str(), PLAT_WRITE, PLAT_OPEN_EXISTING, &file)
                                                : PlatFileOpen(path.c_str(), PLAT_WRITE, PLAT_CREATE_NEW, &file);
    if (r == PLAT_OK) {
      // Another running copy holds its log locked; Linux has no share modes.
      r = PlatFileLock(file, ERR_LOG_LOCK_OFFSET, ERR_LOG_LOCK_LENGTH, true);
      if (r == PLAT_NO_LOCKS) r = PLAT_OK;
      if (r != PLAT_OK) PlatFileClose(file);
    }
    if (r == PLAT_OK) {
      uint64_t length = 0;
      PlatFileLength(file, &length);
      logFile = file;
      logEnd = length;
      std::snprintf(logName, sizeof logName, "%s", name.c_str());
    } else if (r == PLAT_LOCKED || r == PLAT_ACCESS || r == PLAT_EXISTS) {
      // In use, or created by another copy starting at the same moment: the next name.
      continue;
    } else {
      int error = errno;
      SystemBox(Format("ERRCODE(73): %s, clone(%i)\nerrno(%i): %s\nDIR: %s\n", name.c_str(), attempt, error,
                       PlatLastErrorText(), dir.c_str()));
      break;
    }
  }
  return 0;
}

void CloseErrLog() {
  if (logFile != PLAT_NO_FILE) {
    // A counted run still open at the end keeps its count.
    if (repeatCount > 1) WriteLog(CountText());
    PlatFileFlush(logFile);
    PlatFileClose(logFile);
  }
  logFile = PLAT_NO_FILE;
  logEnd = 0;
  logName[0] = '\0';
  previousCode = 0;
  previousSecond = 0;
  repeatCount = 0;
  fatalInProgress = false;
  shownFlags = 0;
}

int ErrLogShownFlags() { return shownFlags; }

bool ErrLogIsOpen() { return logFile != PLAT_NO_FILE; }

const char* ErrLogFileName() { return logName; }

int ErrLogMessage(int flags, int code, TextRef text, ...) {
  const int runtimeError = errno;
  const int systemError = errno;
  PlatDateTime now{};
  PlatNow(&now);
  const int64_t second = WholeSeconds(now);

  std::string out;      // what goes to the file, in the system's set
  std::string entry;    // the entry proper, at most 499 characters
  size_t nameStart = 0;

  // An entry without the counting flag ends a counted run of its code
  // instead of being swallowed by it.
  bool endsRun = repeatCount != 0 && !(flags & EL_COUNT);
  bool headerDue = (flags & (EL_ERROR | EL_NEW_HEADER)) || code != previousCode ||
                   second - previousSecond >= 2 || endsRun;
  if (headerDue) {
    if (repeatCount > 1) out += CountText();
    repeatCount = 0;
    char name[kHeaderNameMax + 1];
    const char* known = nullptr;
    if (!(flags & EL_ERROR))
      for (const CodeName& c : kCodeNames)
        if (c.code == code) known = c.name;
    if (known)
      std::snprintf(name, sizeof name, "%s", known);
    else
      std::snprintf(name, sizeof name, (flags & EL_ERROR) ? "ERRCODE(%u)" : "LGM(%u)", static_cast<unsigned>(code));
    entry = Format("\r\n%s#%02d:%02d:%02d ", (flags & (EL_ERROR | EL_NEW_HEADER)) ? "\r\n" : "", now.hour,
                   now.minute, now.second);
    nameStart = entry.size();
    entry += name;
    entry += ':';
    if (flags & EL_BLANK_AFTER_HEADER) entry += ' ';
  }

  if (repeatCount == 0) {
    if (flags & EL_BLANK_BEFORE) AppendBounded(entry, " ");
    int mode = flags & EL_MODE_MASK;
    const char* resolved = mode != EL_NO_TEXT ? EnvFindString(text) : nullptr;
    if (mode == EL_FORMAT && resolved) {
      char formatted[ERR_LOG_ENTRY_MAX];
      va_list args;
      va_start(args, text);
      vsnprintf(formatted, sizeof formatted, resolved, args);
      va_end(args);
      AppendBounded(entry, formatted);
    } else if (resolved) {
      AppendBounded(entry, resolved);
    }
    if (flags & EL_ERRNO)
      AppendBounded(entry, Format("\r\nerrno(%i): %s, _doserrno(%i)", runtimeError, std::strerror(runtimeError),
                                  systemError));
    if (flags & EL_CWD) {
      if (entry.size() < 491) entry += "\r\nCWDIR: ";
      std::string cwd = CurrentDirText();
      if (entry.size() + cwd.size() < ERR_LOG_ENTRY_MAX) entry += cwd;
    }
    if (flags & EL_SYSTEM_ERROR) {
      if (entry.size() < 480) entry += Format("\r\nWINSYS(%i): ", systemError);
      std::string why = Utf8ToMazText(std::strerror(systemError));
      if (entry.size() + why.size() < ERR_LOG_ENTRY_MAX) entry += why;
    }

    if (logFile != PLAT_NO_FILE) {
      std::string bytes = ToLogCharset(out + entry);
      if (mode == EL_FILE && resolved) bytes += FileAppendix(resolved);
      bool ok = WriteLog(bytes);
      if (ok && (flags & (EL_ERROR | EL_FLUSH))) ok = PlatFileFlush(logFile) == PLAT_OK;
      if (!ok) flags |= EL_WRITE_FAILED;
    }
    if (flags & EL_ERROR) ShowCriticalError(entry, nameStart, flags);
  }

  if (flags & EL_COUNT) repeatCount++;
  previousCode = code;
  previousSecond = second;
  return 0;
}
