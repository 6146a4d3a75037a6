#include "env/session/environment.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "db/db_errors.h"
#include "db/db_names.h"
#include "env/code_pages.h"
#include "env/error_log.h"
#include "env/memory.h"
#include "env/messages.h"
#include "env/paths.h"
#include "env/temp_strings.h"
#include "platform/clock.h"
#include "platform/dirs.h"
#include "platform/program_dir.h"
#include "platform/screen_hook.h"

// Generated with the library's resource table.
void RegisterResources_Zelkit5();

namespace {

EnvState currentState;

// Timer state kept beside the slots: when each slot is due next, and the
// ticks asked for by ForceTimer, in the order they were asked.
int64_t timerDue[TIMER_SLOTS];
constexpr int kForcedMax = 32;
int forcedQueue[kForcedMax];
int forcedCount = 0;

constexpr int kMinTimerPeriod = 10;   // a period below this would spin the loop

int64_t NextDue(int64_t now, int period) { return now + (period < kMinTimerPeriod ? kMinTimerPeriod : period); }

bool SlotInUse(const Environment* e, int slot) {
  return e && slot >= 1 && slot <= TIMER_SLOTS && e->timers[slot - 1].callback != nullptr;
}

void DropForced(int slot) {
  int kept = 0;
  for (int i = 0; i < forcedCount; i++)
    if (forcedQueue[i] != slot) forcedQueue[kept++] = forcedQueue[i];
  forcedCount = kept;
}

void RunSlot(Environment* e, int slot) {
  TimerSlot& t = e->timers[slot - 1];
  if (!t.callback || t.busy) return;   // a tick during the callback is dropped
  t.busy = 1;
  t.callback(t.user);
  t.busy = 0;
}

// Directory of the running program, with its separator.
std::string ProgramDirOf() {
  std::string path = EnvGetProgramPath();
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

void ErrorBox(const std::string& text) {
  ScreenMessageBox(SCREEN_BOX_ERROR, Utf8ToMazText("BŁĄD").c_str(), text.c_str());
}

void AlarmBox(const std::string& text) {
  ScreenMessageBox(SCREEN_BOX_ALARM, Utf8ToMazText("BŁĄD").c_str(), text.c_str());
}

// "Brak modułu %s": logged and shown.
void ReportMissingModule(const std::string& path) {
  std::string text = Utf8ToMazText("Brak modułu ") + EnvShownPath(path);
  ErrLogMessage(0x181, 10, text.c_str());
  AlarmBox(text);
}

// The memory routines stand below the engine; they reach a pool owner's
// engine through these.
void EngineSetError(Environment* e, int code) { e4set_code(&e->engine, code); }
int EngineErrorCode(const Environment* e) { return e->engine.error_code; }
void* EngineAllocRetry(Environment* e, unsigned size) { return u4alloc_retry(&e->engine, size); }
void EngineShowError(Environment* e, int code) { e4show_error(&e->engine, code); }

const MemEngineLink kMemEngineLink = {EngineSetError, EngineErrorCode, EngineAllocRetry, EngineShowError};

}  // namespace

Environment* CreateEnvironment(int argc, char** argv) {
  Environment* e = static_cast<Environment*>(std::calloc(1, sizeof(Environment)));
  char* ring = static_cast<char*>(std::calloc(1, CYCLE_BUFFER_SIZE));
  unsigned char* rights = static_cast<unsigned char*>(std::malloc(RIGHTS_BYTES));
  if (!e || !ring || !rights) {
    std::free(e);
    std::free(ring);
    std::free(rights);
    ErrLogMessage(EL_ERROR | EL_FATAL | EL_TEXT, 920, Utf8ToMazText("Brak pamięci !").c_str());
    return nullptr;
  }
  currentState = EnvState{&e->temporaryStrings,
                          e->messageTables,
                          &e->currentPath,
                          &e->programPath,
                          e->sharedCatalogueDir,
                          static_cast<int>(sizeof e->sharedCatalogueDir),
                          e->printSettingsDir,
                          static_cast<int>(sizeof e->printSettingsDir),
                          &e->printZeroValues,
                          &e->useSystemDate,
                          e->workingDate,
                          &e->refuseDamagedTables,
                          e->definitionArena};
  EnvSetCurrent(e, &currentState);
  MemSetEngineLink(&kMemEngineLink);
  for (int64_t& due : timerDue) due = 0;
  forcedCount = 0;

  e->kernelModule = "KERNEL32";
  e->argc = argc;
  e->argv = argv;
  e->libraryInstance = ENV_LIBRARY_MODULE;

  // Path records hold paths as the system writes them.
  std::string cwd = EnvFromDiskPath(PlatGetCwd());
  TransDir(cwd.c_str(), &e->startPath);
  std::string data = argc > 4 && argv && argv[1] ? EnvFromDiskPath(argv[1]) : cwd;
  TransDir(data.c_str(), &e->dataPath);
  // The program directory is where the program's own files live: on Linux the
  // writable program directory, not the folder of the executable.
  TransDir(EnvFromDiskPath(PlatProgramDir()).c_str(), &e->programPath);
  e->currentPath = &e->startPath;

  EnvFindDashOption(argc, argv, '#', e->hashOption, 2);
  EnvFindDashOption(argc, argv, '$', e->dollarOption, 20);

  if (!ErrLogIsOpen()) OpenErrLog(argc, argv);

  e->toAscii = MazToAsciiPairs;
  e->toWindows = MazToWindowsPairs;
  e->messageWindow = -1;
  e->statusWindow = -1;
  e->refuseDamagedTables = 1;
  e->printZeroValues = 'T';
  e->colourVariant = 'T';

  std::memset(rights, 0xFF, RIGHTS_BYTES);
  e->rights = rights;

  e->procLookup = PlatLibrarySymbol;
  std::srand(static_cast<unsigned>(std::time(nullptr)));

  e->temporaryStrings.base = ring;
  e->temporaryStrings.cur = ring;
  e->temporaryStrings.left = CYCLE_BUFFER_SIZE;
  e->temporaryStrings.made = 0;

  RegisterResources_Zelkit5();
  EnvAddRcsObj(LibraryMessagesId, RCS_KIND_LIBRARY);

  e->minFreeMemory = EnvMinCoreLeft();
  return e;
}

void DeleteEnvironment(Environment* e) {
  if (!e) return;
  std::free(e->temporaryStrings.base);
  e->temporaryStrings = CycleBuffer{};
  if (e->blankingTimer) FreeTimer(&e->blankingTimer);
  std::free(e->rights);
  e->rights = nullptr;
  EnvFreeRcsCaches(0);
  CloseErrLog();
  if (EnvCurrent() == e) EnvSetCurrent(nullptr, nullptr);
  forcedCount = 0;
  std::free(e);
}

const char* EnvGetProgramPath() {
  static char path[256];
  if (!path[0]) std::snprintf(path, sizeof path, "%s", PlatExecutablePath().c_str());
  return path;
}

void EnvSaveWindowMetrics(int outerWidth, int outerHeight, int clientWidth, int clientHeight) {
  Environment* e = EnvCurrent();
  if (!e) return;
  e->windowOuterWidth = outerWidth;
  e->windowOuterHeight = outerHeight;
  e->clientWidth = static_cast<uint32_t>(clientWidth);
  e->clientHeight = static_cast<uint32_t>(clientHeight);
  e->frameWidth = static_cast<uint32_t>(outerWidth - clientWidth);
  e->frameHeight = static_cast<uint32_t>(outerHeight - clientHeight);
}

PlatLibrary EnvLoadLibrary(const char* name) {
  PlatLibrary library = nullptr;
  PlatResult r = PlatLibraryLoad(name, &library);
  if (r == PLAT_OK) return library;

  std::string path = ProgramDirOf() + PlatLibraryFileName(name);
  std::string shown = EnvShownPath(path);
  if (r != PLAT_NOT_FOUND) {
    ErrLogMessage(0x691, 110, shown.c_str());
    return nullptr;
  }
  int access = EnvFileAccess(shown.c_str());
  if (access == 0) {
    ErrLogMessage(0x181, 82, shown.c_str());
    ErrorBox(Utf8ToMazText("Brak dostępu do pliku") + "\n" + shown);
    return nullptr;
  }
  if (access == 1) {
    r = PlatLibraryLoad(path.c_str(), &library);
    if (r == PLAT_OK) {
      ErrLogMessage(0x91, 109, shown.c_str());
      return library;
    }
    if (r != PLAT_NOT_FOUND) {
      // The file is there but does not load: its own libraries are missing
      // or its start-up failed.
      ErrLogMessage(0x181, 81, shown.c_str());
      ErrorBox(Utf8ToMazText("Nie można załadować modułu") + "\n" + shown + "\n" +
               Utf8ToMazText("z powodu braku wymaganych blibliotek lub problemu z inicjalizacją."));
      return nullptr;
    }
  }
  ReportMissingModule(path);
  return nullptr;
}

void EnvLoadModule(const char* name) {
  Environment* e = EnvCurrent();
  if (!e || !name || !name[0]) return;
  std::string file = std::string(name) + ".DLL";
  if (file.size() > 1) file[1] = 'w';
  PlatLibrary library = nullptr;
  PlatResult r = PlatLibraryLoad(file.c_str(), &library);
  if (r != PLAT_OK) {
    std::string path = ProgramDirOf() + PlatLibraryFileName(file.c_str());
    if (r == PLAT_NOT_FOUND)
      ReportMissingModule(path);
    else
      ErrLogMessage(0x691, 100, EnvShownPath(path).c_str());
    return;
  }
  typedef int (*ModuleProc)(Environment*, int);
  ModuleProc proc = reinterpret_cast<ModuleProc>(PlatLibrarySymbol(library, "_ModuleProc"));
  if (proc) {
    // The module's resources are registered under its own name.
    std::string moduleName = file.substr(0, file.size() - 4);
    EnvModule savedInstance = EnvActiveInstance();
    RcsObjSlot savedSlots[RCS_SLOTS];
    std::memcpy(savedSlots, e->messageTables, sizeof savedSlots);
    HotKeyEntry* savedKeys = static_cast<HotKeyEntry*>(std::malloc(sizeof e->hotKeys));
    if (savedKeys) std::memcpy(savedKeys, e->hotKeys, sizeof e->hotKeys);

    EnvSetActiveInstance(moduleName.c_str());
    EnvClearRcsSlots(RCS_KIND_INSTANCE);
    proc(e, 0);

    if (savedKeys) std::memcpy(e->hotKeys, savedKeys, sizeof e->hotKeys);
    std::free(savedKeys);
    EnvFreeRcsCaches(RCS_KIND_INSTANCE);
    std::memcpy(e->messageTables, savedSlots, sizeof savedSlots);
    EnvSetActiveInstance(savedInstance);
  }
  PlatLibraryFree(library);
}

int AllocTimer(int kind, int period, TimerCallback callback, int32_t user) {
  Environment* e = EnvCurrent();
  if (!e || !callback) return 0;
  for (int slot = 1; slot <= TIMER_SLOTS; slot++) {
    TimerSlot& t = e->timers[slot - 1];
    if (t.callback) continue;
    t.kind = static_cast<uint8_t>(kind);
    t.busy = 0;
    t.callback = callback;
    t.user = user;
    t.period = period;
    timerDue[slot - 1] = NextDue(PlatMonotonicMs(), period);
    return slot;
  }
  return 0;
}

void FreeTimer(int* slot) {
  Environment* e = EnvCurrent();
  if (!slot || !SlotInUse(e, *slot)) {
    ErrLogMessage(EL_ERROR, LOG_BAD_TIMER, TextRef());
    return;
  }
  e->timers[*slot - 1] = TimerSlot{};
  DropForced(*slot);
  *slot = 0;
}

void ForceTimer(int slot) {
  Environment* e = EnvCurrent();
  if (!SlotInUse(e, slot)) {
    ErrLogMessage(EL_ERROR, LOG_BAD_TIMER, TextRef());
    return;
  }
  if (forcedCount < kForcedMax) forcedQueue[forcedCount++] = slot;
}

void EnvDispatchTimers(int64_t nowMs) {
  Environment* e = EnvCurrent();
  if (!e) return;
  // Only the ticks queued before this turn; a callback that forces again runs next turn.
  int queued = forcedCount;
  while (queued-- > 0 && forcedCount > 0) {
    int slot = forcedQueue[0];
    forcedCount--;
    std::memmove(forcedQueue, forcedQueue + 1, sizeof(int) * static_cast<size_t>(forcedCount));
    RunSlot(e, slot);
    if (EnvCurrent() != e) return;
  }
  for (int slot = 1; slot <= TIMER_SLOTS; slot++) {
    TimerSlot& t = e->timers[slot - 1];
    if (!t.callback || nowMs < timerDue[slot - 1]) continue;
    timerDue[slot - 1] = NextDue(nowMs, t.period);
    RunSlot(e, slot);
    if (EnvCurrent() != e) return;
  }
}

void EnvTimerKeyPressed(int64_t nowMs) {
  Environment* e = EnvCurrent();
  if (!e) return;
  for (int slot = 1; slot <= TIMER_SLOTS; slot++) {
    const TimerSlot& t = e->timers[slot - 1];
    if (t.callback && t.kind == TIMER_IDLE) timerDue[slot - 1] = NextDue(nowMs, t.period);
  }
}

int64_t EnvNextTimerDueMs() {
  Environment* e = EnvCurrent();
  if (!e) return -1;
  if (forcedCount > 0) return 0;
  int64_t next = -1;
  for (int slot = 1; slot <= TIMER_SLOTS; slot++)
    if (e->timers[slot - 1].callback && (next < 0 || timerDue[slot - 1] < next)) next = timerDue[slot - 1];
  return next;
}

void EnvSleep(int milliseconds) { PlatWaitMs(milliseconds); }

void beep() {}

void write_beep() {}

int32_t EnvMinCoreLeft() { return MIN_CORE_LEFT; }
