// The library's process-wide state: one Environment record per process,
// created at start-up from the command line and deleted last. It owns the
// engine; what the layers below read of it they reach through env/env_state.h.
// Also the ten timer slots with their dispatcher, and the loading of outside
// modules.
#pragma once
#include <cstdint>
#include "db/db_engine.h"
#include "env/env_state.h"
#include "platform/dynlib.h"

typedef void (*TimerCallback)(int32_t user);
typedef int (*HotKeyRoutine)(int32_t highByte, int32_t zero);

// Slot n (1..10) is timer n.
constexpr int TIMER_SLOTS = 10;
constexpr int TIMER_PERIODIC = 0;
constexpr int TIMER_IDLE = 1;     // started again after every key

struct TimerSlot {
  uint8_t kind;            // TIMER_PERIODIC or TIMER_IDLE
  uint8_t busy;            // 1 while the callback runs; ticks meanwhile are dropped
  TimerCallback callback;  // NULL = slot free
  int32_t user;
  int32_t period;          // milliseconds
};

struct HotKeyEntry {
  HotKeyRoutine routine;
  uint8_t busy;
};

constexpr int HOT_KEYS = 144;
constexpr int SCREEN_FONT_BYTES = 12288;
constexpr int RIGHTS_BYTES = 2000;
constexpr int DEVICE_SETTINGS_BYTES = 256;
constexpr int32_t MIN_CORE_LEFT = 1000000;

struct Environment {
  DbEngine engine;
  EnvModule libraryInstance;
  int32_t keyboardCodePage;        // 1 = 852, 3 = 1250, else no translation
  int32_t settlementYear;
  void* (*procLookup)(PlatLibrary library, const char* name);
  int32_t windowOuterWidth, windowOuterHeight;
  uint32_t clientWidth, clientHeight;
  uint32_t frameWidth, frameHeight;
  int32_t gridSpareX, gridSpareY;
  uint8_t windowShown;
  int (*menuKeyRoutine)();
  int (*tabuPageHook)();
  int32_t helpContext;
  int32_t keyCount;
  int32_t lastGetKey;
  int32_t getKeyCount;
  int32_t messageWindow;           // -1 when closed
  int32_t statusWindow;            // -1 when closed
  EnvModule kernelModule;
  PathRecord* currentPath;
  int32_t operatorNumber;
  char operatorName[16];
  char operatorPassword[10];
  char firstOperatorPassword[10];
  char operatorFullName[34];
  unsigned char* rights;           // RIGHTS_BYTES; right n is bit 128 >> (n & 7) of byte n / 8
  int32_t codedFieldMemory;
  int32_t refuseDamagedTables;
  uint8_t exclusiveToolActive;
  int32_t minFreeMemory;
  int32_t blankingTimer;           // timer slot, 0 = none
  int32_t tabuPrintActive;
  int32_t copiesLeft;
  char printZeroValues;
  char noPauseKey;
  char codedFieldRemember;
  char calculatorSwitch;
  int32_t caretRow, caretColumn;
  char workingDate[9];             // "CCYYMMDD"
  char confirmSave;
  char useSystemDate;
  char printToMainDir;
  char menuHistory;
  char passwordAfterBlanking;
  char colourVariant;
  unsigned char deviceSettings[DEVICE_SETTINGS_BYTES];
  char separatePrintSettings;
  char sharedCatalogueDir[35];
  char printSettingsDir[35];
  char ownerName[80];
  char ownerName2[80];
  char ownerNip[14];
  int32_t mainProgramWindow, mainProgramValue;
  char noStretchBlt;
  const uint16_t* toAscii;         // pair table: (from, to) pairs ended by from 0
  const uint16_t* toWindows;
  RcsObjSlot messageTables[RCS_SLOTS];
  CycleBuffer temporaryStrings;
  TimerSlot timers[TIMER_SLOTS];
  PathRecord programPath;
  PathRecord startPath;
  PathRecord dataPath;
  HotKeyEntry hotKeys[HOT_KEYS];
  unsigned char screenFont[SCREEN_FONT_BYTES];
  unsigned char definitionArena[DEFINITION_ARENA_BYTES];
  int32_t argc;
  char** argv;                     // not copied
  char hashOption[5];              // "-#" and at most two characters
  char dollarOption[23];           // "-$" and at most twenty characters
};

Environment* CreateEnvironment(int argc, char** argv);
void DeleteEnvironment(Environment* environment);

// Full path of the running program file.
const char* EnvGetProgramPath();

// Stores the main window's outer and client sizes and their difference;
// the screen calls it when the window is created and after every resize.
void EnvSaveWindowMetrics(int outerWidth, int outerHeight, int clientWidth, int clientHeight);

// NULL when the library cannot be loaded; every failure is logged and shown.
PlatLibrary EnvLoadLibrary(const char* name);
// Runs an add-on module's "_ModuleProc" with the environment.
void EnvLoadModule(const char* name);

// Timers: slot 1..10, or 0 when all ten are in use.
int AllocTimer(int kind, int period, TimerCallback callback, int32_t user);
// Frees *slot and sets it to 0; a bad or free slot logs code 22 and changes nothing.
void FreeTimer(int* slot);
// Runs the slot's callback at the next dispatch; a bad or free slot logs code 22.
void ForceTimer(int slot);

// Called by the screen's event loop: runs every forced tick, then every slot
// whose time has come (monotonic milliseconds, platform/clock.h). A slot whose
// callback is running drops the tick.
void EnvDispatchTimers(int64_t nowMs);
// Called by the key wait after every key: idle timers count from this key.
void EnvTimerKeyPressed(int64_t nowMs);
// Monotonic time of the next due tick, or -1 when no timer runs; a forced
// tick is due at once.
int64_t EnvNextTimerDueMs();

void EnvSleep(int milliseconds);
void beep();
void write_beep();
int32_t EnvMinCoreLeft();
