#include "platform/screen_hook.h"

#include <cstdio>
#include <cstdlib>

#include "platform/clock.h"

namespace {

const char* Text(const char* text) { return text ? text : ""; }

void DefaultMessageBox(int, const char* title, const char* text) {
  std::fprintf(stderr, "%s: %s\n", Text(title), Text(text));
}
int DefaultQuestion(const char*, const char*) { return SCREEN_KEY_ESC; }
void DefaultNoticeOn(const char*, const char*) {}
void DefaultNoticeOff() {}
int DefaultWaitKey() { return SCREEN_KEY_ESC; }
int DefaultReadKey() { return 0; }
int DefaultCriticalError(const char* text) {
  std::fprintf(stderr, "critical error: %s\n", Text(text));
  return SCREEN_KEY_ESC;
}
void DefaultFatalStop(int exitCode, const char* text) {
  std::fprintf(stderr, "%s\n", Text(text));
  std::exit(exitCode);
}

const ScreenHook defaultHook = {
    DefaultMessageBox, DefaultQuestion, DefaultNoticeOn, DefaultNoticeOff, DefaultWaitKey,
    DefaultReadKey,    PlatWaitMs,      DefaultCriticalError, DefaultFatalStop,
};

const ScreenHook* currentHook = &defaultHook;

}  // namespace

const ScreenHook* ScreenHookGet() { return currentHook; }
void ScreenHookSet(const ScreenHook* hook) { currentHook = hook ? hook : &defaultHook; }
const ScreenHook* ScreenHookDefault() { return &defaultHook; }

// A hook may leave an entry empty; the default's answer stands in for it.
#define SCREEN_CALL(member) (currentHook->member ? currentHook->member : defaultHook.member)

void ScreenMessageBox(int kind, const char* title, const char* text) { SCREEN_CALL(messageBox)(kind, title, text); }
int ScreenQuestion(const char* title, const char* text) { return SCREEN_CALL(question)(title, text); }
void ScreenNoticeOn(const char* title, const char* text) { SCREEN_CALL(noticeOn)(title, text); }
void ScreenNoticeOff() { SCREEN_CALL(noticeOff)(); }
int ScreenWaitKey() { return SCREEN_CALL(waitKey)(); }
int ScreenReadKey() { return SCREEN_CALL(readKey)(); }
void ScreenWaitMs(int milliseconds) { SCREEN_CALL(waitMs)(milliseconds); }
int ScreenCriticalError(const char* text) { return SCREEN_CALL(criticalError)(text); }

void ScreenFatalStop(int exitCode, const char* text) {
  SCREEN_CALL(fatalStop)(exitCode, text);
  std::exit(exitCode);
}
