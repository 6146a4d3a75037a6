// The one way the library's lower layers (environment, engine, printing,
// interchange) reach the operator. The screen installs the real hook at
// start-up; until then the default answers every question with Esc and writes
// to standard error. Texts are in the system's 8-bit character set.
#pragma once

enum ScreenBoxKind {
  SCREEN_BOX_INFO = 0,      // Informacja
  SCREEN_BOX_WARNING = 1,   // Uwaga
  SCREEN_BOX_ALARM = 2,     // Alarm
  SCREEN_BOX_ERROR = 3,     // BŁĄD
};

constexpr int SCREEN_KEY_ESC = 27;

struct ScreenHook {
  void (*messageBox)(int kind, const char* title, const char* text);   // waits for a key
  int (*question)(const char* title, const char* text);                // 'T', 'N' or 27
  void (*noticeOn)(const char* title, const char* text);               // stays until noticeOff
  void (*noticeOff)();
  int (*waitKey)();                 // blocks; the key code
  int (*readKey)();                 // does not block; 0 when no key waits
  void (*waitMs)(int milliseconds); // keeps the program responsive while it waits
  int (*criticalError)(const char* text);   // the critical-error window; the key that closed it
  void (*fatalStop)(int exitCode, const char* text);   // must not return
};

const ScreenHook* ScreenHookGet();
void ScreenHookSet(const ScreenHook* hook);     // NULL puts the default back
const ScreenHook* ScreenHookDefault();

// Calls through the current hook.
void ScreenMessageBox(int kind, const char* title, const char* text);
int ScreenQuestion(const char* title, const char* text);
void ScreenNoticeOn(const char* title, const char* text);
void ScreenNoticeOff();
int ScreenWaitKey();
int ScreenReadKey();
void ScreenWaitMs(int milliseconds);
int ScreenCriticalError(const char* text);
[[noreturn]] void ScreenFatalStop(int exitCode, const char* text);   // exits when the hook returns
