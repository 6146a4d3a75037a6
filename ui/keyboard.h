// Keys: translation of the display's key events into the system's 16-bit key
// codes, the one-key buffer and the stack of pushed-back keys, global hot
// keys, the key wait that runs the program's event loop and timers.
#pragma once
#include <cstdint>
#include "ui/display.h"

// Key codes: 1..26 Ctrl with a letter, 8, 9, 13, 27; 32..255 typed characters
// of the system's set; extended keys carry a PC scan code in the high byte.
enum KeyCode4 {
  KEY_CTRL_B = 2, KEY_CTRL_C = 3, KEY_BACKSPACE = 8, KEY_TAB = 9, KEY_ENTER = 13, KEY_ESC = 27,
  KEY_SHIFT_TAB = 0x0F00,
  KEY_ALT_A = 0x1E00,
  KEY_F1 = 0x3B00, KEY_F2 = 0x3C00, KEY_F9 = 0x4300, KEY_F10 = 0x4400,
  KEY_HOME = 0x4700, KEY_UP = 0x4800, KEY_PGUP = 0x4900, KEY_CTRL_DOWN = 0x4A00, KEY_LEFT = 0x4B00,
  KEY_CTRL_UP = 0x4C00, KEY_RIGHT = 0x4D00, KEY_END = 0x4F00, KEY_DOWN = 0x5000, KEY_PGDN = 0x5100,
  KEY_INS = 0x5200, KEY_DEL = 0x5300, KEY_SHIFT_F1 = 0x5400, KEY_CTRL_F1 = 0x5E00, KEY_ALT_F1 = 0x6800,
  KEY_CTRL_LEFT = 0x7300, KEY_CTRL_RIGHT = 0x7400, KEY_CTRL_END = 0x7500, KEY_CTRL_PGDN = 0x7600,
  KEY_CTRL_HOME = 0x7700, KEY_ALT_1 = 0x7800, KEY_ALT_0 = 0x8100, KEY_CTRL_PGUP = 0x8400,
  KEY_SHIFT_UP = 0x8500, KEY_SHIFT_DOWN = 0x8600, KEY_SHIFT_LEFT = 0x8700, KEY_SHIFT_RIGHT = 0x8800,
  KEY_SHIFT_CTRL_UP = 0x8900, KEY_SHIFT_CTRL_DOWN = 0x8A00, KEY_SHIFT_CTRL_LEFT = 0x8B00,
  KEY_SHIFT_CTRL_RIGHT = 0x8C00,
};

// Modifier bits of keyMods.
constexpr int KEYMOD_SHIFT = 1 << 16;
constexpr int KEYMOD_ALT = 1 << 17;
constexpr int KEYMOD_CTRL = 1 << 18;
constexpr int KEYMOD_NO_PAUSE = 1 << 19;

// The key table: the key code of a virtual key with an exact modifier state
// (DisplayMods bits), or 0 when that combination gives no key.
int KeyFromTable(int displayKey, int mods);
// A typed character of the keyboard's code page (1 = 852, 3 = 1250) in the
// system's set; other code pages leave it as it is.
int KeyFromCodePage(int character, int codePage);

// The window procedure: one event of the display.
void DesktopHandleEvent(const DisplayEvent* event);

int g4char();
int WaitFor(int flags, int milliseconds);   // flag 1 wait for a key, flag 2 return once the queue is empty
int KeyPressed();
void clr_key_buf();
int PushKeyMessage(int key, int count);
void ClearKeyMessages();
int g4set_key_to(int key, int (*routine)(int32_t highByte, int32_t zero));
int KeyMods();                 // modifier bits of the last key-down (KEYMOD_*)
// Makes `key` the ready key, as if typed (the resize at the main menu injects Esc).
void KeySetReady(int key);
