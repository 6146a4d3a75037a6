#include "ui/keyboard.h"

#include <cstdlib>
#include <vector>
#include "db/block_cache.h"
#include "env/charset_map.h"
#include "env/code_pages.h"
#include "env/error_codes.h"
#include "env/session/environment.h"
#include "platform/end_signals.h"
#include "ui/desktop.h"

namespace {

constexpr int kStackSize = 10;

struct KeyState {
  int keyReady = 0;
  int readyKey = 0;
  int keyMods = 0;
  int timedOut = 0;
  int stack[kStackSize] = {};
  int stackTop = -1;
};
KeyState keys;

// Entries per virtual key: the key code in the low 16 bits, the modifier
// state it needs (DisplayMods) from bit 16.
using KeyTable = std::vector<std::vector<uint32_t>>;

uint32_t Entry(int code, int mods) { return static_cast<uint32_t>(code) | static_cast<uint32_t>(mods) << 16; }

KeyTable BuildKeyTable() {
  KeyTable t(DK_COUNT);
  const int S = DM_SHIFT, A = DM_ALT, C = DM_CTRL;
  t[DK_BACKSPACE] = {Entry(8, 0)};
  t[DK_TAB] = {Entry(9, 0), Entry(0x0F00, S)};
  t[DK_ENTER] = {Entry(13, 0)};
  t[DK_ESC] = {Entry(27, 0)};
  t[DK_PAGE_UP] = {Entry(0x4900, 0), Entry(0x8400, C)};
  t[DK_PAGE_DOWN] = {Entry(0x5100, 0), Entry(0x7600, C)};
  t[DK_END] = {Entry(0x4F00, 0), Entry(0x7500, C)};
  t[DK_HOME] = {Entry(0x4700, 0), Entry(0x7700, C)};
  t[DK_LEFT] = {Entry(0x4B00, 0), Entry(0x8700, S), Entry(0x7300, C), Entry(0x8B00, S | C)};
  t[DK_UP] = {Entry(0x4800, 0), Entry(0x8500, S), Entry(0x4C00, C), Entry(0x8900, S | C)};
  t[DK_RIGHT] = {Entry(0x4D00, 0), Entry(0x8800, S), Entry(0x7400, C), Entry(0x8C00, S | C)};
  t[DK_DOWN] = {Entry(0x5000, 0), Entry(0x8600, S), Entry(0x4A00, C), Entry(0x8A00, S | C)};
  t[DK_INSERT] = {Entry(0x5200, 0)};
  t[DK_DELETE] = {Entry(0x5300, 0)};
  for (int d = 1; d <= 9; d++) t['0' + d] = {Entry(0x7800 + (d - 1) * 0x100, A)};
  t['0'] = {Entry(0x8100, A)};
  // PC scan codes of the letters A..Z.
  static const int scan[26] = {0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17, 0x24, 0x25, 0x26, 0x32,
                               0x31, 0x18, 0x19, 0x10, 0x13, 0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C};
  for (int i = 0; i < 26; i++) t['A' + i] = {Entry(i + 1, C), Entry(scan[i] << 8, A)};
  for (int f = 0; f < 10; f++)
    t[DK_F1 + f] = {Entry(0x3B00 + f * 0x100, 0), Entry(0x5400 + f * 0x100, S), Entry(0x5E00 + f * 0x100, C),
                    Entry(0x6800 + f * 0x100, A)};
  return t;
}

const KeyTable& Table() {
  static const KeyTable table = BuildKeyTable();
  return table;
}

bool KeyPending() { return keys.keyReady || keys.stackTop >= 0; }

// Asked to end by a signal: every key wait answers Esc, as an operator leaving
// each window would, until the main bar ends the program. A screen that keeps
// refusing Esc does not hold the end forever: the files are abandoned unchanged.
constexpr int kEndingEscLimit = 200;

void AnswerEndingWithEsc() {
  static int given = 0;
  if (++given > kEndingEscLimit) {
    ErrRunFatalCleanup();
    std::exit(128 + PlatEndRequested());
  }
  PlatEndProgress();
  KeySetReady(KEY_ESC);
}

void OnKeyDown(int key, int mods) {
  keys.keyMods = (mods & 7) << 16;
  int code = KeyFromTable(key, mods & 7);
  if (code) KeySetReady(code);
  Environment* env = EnvCurrent();
  if (env && env->noPauseKey) keys.keyMods |= KEYMOD_NO_PAUSE;
}

// One typed character: UTF-8, or a lone byte of the keyboard's code page.
void OnText(const char* text) {
  unsigned char first = static_cast<unsigned char>(text[0]);
  int code;
  if (first < 0x80) {
    code = first;
  } else {
    char32_t u = 0;
    int extra = first >= 0xF0 ? 3 : first >= 0xE0 ? 2 : first >= 0xC0 ? 1 : -1;
    bool valid = extra > 0;
    if (valid) {
      u = first & (0x3F >> extra);
      for (int i = 1; i <= extra; i++) {
        unsigned char b = static_cast<unsigned char>(text[i]);
        if ((b & 0xC0) != 0x80) {
          valid = false;
          break;
        }
        u = u << 6 | (b & 0x3F);
      }
    }
    Environment* env = EnvCurrent();
    code = valid ? CharsetFromUnicode(u) : KeyFromCodePage(first, env ? env->keyboardCodePage : 0);
  }
  if (code >= 32) KeySetReady(code & 0xFF);
}

int ReadKey() {
  WaitFor(1, 0);
  if (keys.stackTop >= 0) {
    int key = keys.stack[keys.stackTop--];
    if (key) return key;
  }
  keys.keyReady = 0;
  return keys.readyKey;
}

// Runs the key's hot-key routine; false when it is not a free hot key.
bool RunHotKey(int key) {
  Environment* env = EnvCurrent();
  int high = (key >> 8) & 0xFF;
  if (!env || high == 0 || high >= HOT_KEYS) return false;
  HotKeyEntry& entry = env->hotKeys[high];
  if (!entry.routine || entry.busy) return false;
  entry.busy = 1;
  entry.routine(high, 0);
  entry.busy = 0;
  return true;
}

}  // namespace

int KeyFromTable(int displayKey, int mods) {
  if (displayKey < 0 || displayKey >= DK_COUNT) return 0;
  for (uint32_t entry : Table()[displayKey])
    if (static_cast<int>(entry >> 16) == mods) return static_cast<int>(entry & 0xFFFF);
  return 0;
}

int KeyFromCodePage(int character, int codePage) {
  if (codePage == 3) return ConvChar(character, MazToWindowsPairs, CONV_REVERSE);
  if (codePage == 1) return ConvChar(character, MazTo852Pairs, CONV_REVERSE);
  return character;
}

void KeySetReady(int key) {
  keys.keyReady = 1;
  keys.readyKey = key;
}

int KeyMods() { return keys.keyMods; }

void DesktopHandleEvent(const DisplayEvent* event) {
  DisplayBackend* display = DisplayCurrent();
  Environment* env = EnvCurrent();
  switch (event->kind) {
    case DE_KEY_DOWN:
      OnKeyDown(event->key, event->mods);
      break;
    case DE_TEXT:
      OnText(event->text);
      break;
    case DE_RESIZE: {
      if (!env || (env->clientWidth == static_cast<uint32_t>(event->width) &&
                   env->clientHeight == static_cast<uint32_t>(event->height)))
        break;
      int w = event->width, h = event->height;
      if (DesktopKeepsGrid(w, h)) {   // a restore or a frame change: no new grid
        DesktopPaint();
        break;
      }
      if (!DesktopSnapClientSize(&w, &h)) {
        display->setClientSize(static_cast<int>(env->clientWidth), static_cast<int>(env->clientHeight));
        break;
      }
      if (w != event->width || h != event->height) display->setClientSize(w, h);
      DesktopOnSize(w, h);
      break;
    }
    case DE_MAXIMISE:
      if (Desktop.menuLevel >= 2) {
        DesktopRefuseResize();
        display->setMaximised(!event->width);
      }
      break;
    case DE_FOCUS_IN:
      DesktopShowCaret();
      break;
    case DE_FOCUS_OUT:
      DesktopHideCaret();
      break;
    case DE_EXPOSE:
      DesktopPaint();
      break;
    default:   // the window is not closed from its frame
      break;
  }
}

int WaitFor(int flags, int milliseconds) {
  DisplayBackend* display = DisplayCurrent();
  Environment* env = EnvCurrent();
  if ((flags & 1) && env && !env->windowShown) {
    env->windowShown = 1;
    display->show();
    DesktopPaint();
  }
  int64_t end = milliseconds > 0 ? display->nowMs() + milliseconds : -1;
  for (;;) {
    if ((flags & 1) && !KeyPending() && PlatEndRequested()) AnswerEndingWithEsc();
    if ((flags & 1) && KeyPending()) break;
    if (milliseconds > 0 && keys.timedOut) break;
    if (milliseconds > 0 && PlatEndRequested()) break;
    DisplayEvent event{};
    if (display->poll(&event)) {
      DesktopHandleEvent(&event);
      continue;
    }
    int64_t now = display->nowMs();
    if (end >= 0 && now >= end) {
      keys.timedOut = 1;
      continue;
    }
    int64_t due = EnvNextTimerDueMs();
    if (due >= 0 && due <= now) {
      EnvDispatchTimers(now);
      continue;
    }
    DesktopFlush();
    if (flags & 2) break;
    display->wait(due, end, flags & 1);
  }
  if (keys.keyReady) {
    EnvTimerKeyPressed(display->nowMs());
    if (env) {
      env->keyCount++;
      // What other workstations saved before the key is what its work sees.
      opt4new_view(&env->engine);
    }
  }
  keys.timedOut = 0;
  if (Desktop.restart) DesktopApplyPendingSize();
  return KeyPending() ? 1 : 0;
}

int KeyPressed() {
  DisplayBackend* display = DisplayCurrent();
  DisplayEvent event{};
  if (PlatEndRequested()) KeySetReady(KEY_ESC);
  while (!keys.keyReady) {
    if (display->poll(&event)) {
      DesktopHandleEvent(&event);
      continue;
    }
    int64_t now = display->nowMs(), due = EnvNextTimerDueMs();
    if (due < 0 || due > now) break;
    EnvDispatchTimers(now);
  }
  DesktopFlush();
  return keys.keyReady;
}

void clr_key_buf() { keys.keyReady = 0; }

int PushKeyMessage(int key, int count) {
  for (int i = 0; i < count && keys.stackTop < kStackSize - 1; i++) keys.stack[++keys.stackTop] = key;
  return count;
}

void ClearKeyMessages() { keys.stackTop = -1; }

int g4set_key_to(int key, int (*routine)(int32_t, int32_t)) {
  int high = (key >> 8) & 0xFF;
  Environment* env = EnvCurrent();
  if (env && high > 0 && high < HOT_KEYS) {
    env->hotKeys[high].routine = routine;
    env->hotKeys[high].busy = 0;
  }
  return key >> 8;
}

int g4char() {
  Environment* env = EnvCurrent();
  for (;;) {
    int key = ReadKey();
    if (RunHotKey(key)) continue;
    if (key == KEY_CTRL_B && !(env && env->noPauseKey)) {
      for (;;) {
        key = ReadKey();
        if (RunHotKey(key)) continue;
        if (key == KEY_CTRL_C || key == KEY_ESC) return key;
      }
    }
    return key;
  }
}
