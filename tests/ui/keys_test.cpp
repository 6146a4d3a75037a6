#include <SDL.h>

#include <vector>
#include "tests/ui/ui_fixture.h"

namespace {

struct KeyCase {
  int key, mods, code;
};

TEST(KeyTable, ModifierStatesGiveTheirCodes) {
  const int S = DM_SHIFT, A = DM_ALT, C = DM_CTRL;
  const KeyCase cases[] = {
      {DK_TAB, S, 0x0F00},   {DK_TAB, 0, 9},          {DK_UP, C, 0x4C00},      {DK_DOWN, C, 0x4A00},
      {DK_LEFT, S, 0x8700},  {DK_RIGHT, S | C, 0x8C00}, {DK_PAGE_UP, C, 0x8400}, {DK_PAGE_DOWN, C, 0x7600},
      {'A', A, 0x1E00},      {'Z', A, 0x2C00},        {'M', A, 0x3200},        {'A', C, 1},
      {'Z', C, 26},          {'1', A, 0x7800},        {'9', A, 0x8000},        {'0', A, 0x8100},
      {DK_F1, 0, 0x3B00},    {DK_F10, S, 0x5D00},     {DK_F1, C, 0x5E00},      {DK_F10, A, 0x7100},
      // Only the exact modifier state counts.
      {'A', C | A, 0},       {'A', S | A, 0},         {'A', 0, 0},             {DK_ENTER, S, 0},
      {DK_F11, 0, 0},        {DK_F12, A, 0},          {DK_INSERT, C, 0},
  };
  for (const KeyCase& c : cases)
    EXPECT_EQ(KeyFromTable(c.key, c.mods), c.code) << "key " << c.key << " mods " << c.mods;
}

TEST(KeyTable, CodePagesOfTypedCharacters) {
  const KeyCase cases[] = {
      {0xB9, 3, 0x86}, {0x8C, 3, 0x98}, {0xA3, 3, 0x9C}, {0xF3, 3, 0xA2},   // 1250: ą Ś Ł ó
      {0xA5, 1, 0x86}, {0x9D, 1, 0x9C}, {0xBE, 1, 0xA7}, {0xE0, 1, 0xA3},   // 852: ą Ł ż Ó
      {0xB9, 0, 0xB9}, {'a', 3, 'a'},
  };
  for (const KeyCase& c : cases) EXPECT_EQ(KeyFromCodePage(c.key, c.mods), c.code) << c.key << " cp " << c.mods;
}

TEST(KeyTable, RightAltIsAltGrNotAlt) {
  EXPECT_EQ(DisplayModsFromSdl(KMOD_RALT), 0);
  EXPECT_EQ(DisplayModsFromSdl(KMOD_LALT), DM_ALT);
  EXPECT_EQ(DisplayModsFromSdl(KMOD_LALT | KMOD_RALT), 0);
  EXPECT_EQ(DisplayModsFromSdl(KMOD_LCTRL | KMOD_RSHIFT), DM_CTRL | DM_SHIFT);
}

using KeyReading = UiTest;

std::vector<int> ReadKeys(int n) {
  std::vector<int> keys;
  for (int i = 0; i < n; i++) keys.push_back(g4char());
  return keys;
}

TEST_F(KeyReading, ScriptTokensArriveAsKeyCodes) {
  ASSERT_EQ(HeadlessSetScript("a{ALT+A}{CTRL+A}{SHIFT+TAB}{CTRL+UP}{ALTGR+a}{ALTGR+Z}ż{F2}{{{ESC}"), 0);
  EXPECT_EQ(ReadKeys(10), (std::vector<int>{'a', 0x1E00, 1, 0x0F00, 0x4C00, 0x86, 0xA1, 0xA7, 0x3C00, '{'}));
  EXPECT_EQ(g4char(), 27);
  EXPECT_THROW(g4char(), ScriptEnded);
}

TEST_F(KeyReading, BadScriptTokenIsRefused) {
  EXPECT_EQ(HeadlessSetScript("{NOSUCHKEY}"), -1);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
}

TEST_F(KeyReading, LoneCodePageByteIsTranslated) {
  env->keyboardCodePage = 3;
  DisplayEvent e{};
  e.kind = DE_TEXT;
  e.text[0] = static_cast<char>(0xB9);
  DesktopHandleEvent(&e);
  EXPECT_EQ(g4char(), 0x86);
}

TEST_F(KeyReading, PushedKeysComeFirstAndANewKeyReplacesAnUnreadOne) {
  DisplayEvent x{};
  x.kind = DE_TEXT;
  x.text[0] = 'x';
  DisplayEvent y = x;
  y.text[0] = 'y';
  DesktopHandleEvent(&x);
  DesktopHandleEvent(&y);
  EXPECT_EQ(PushKeyMessage(13, 3), 3);
  EXPECT_EQ(ReadKeys(4), (std::vector<int>{13, 13, 13, 'y'}));
  PushKeyMessage('k', 12);   // only ten fit
  HeadlessSetScript("z");
  std::vector<int> expected(10, 'k');
  expected.push_back('z');
  EXPECT_EQ(ReadKeys(11), expected);
}

TEST_F(KeyReading, CtrlBPausesUntilCtrlCOrEsc) {
  HeadlessSetScript("{CTRL+B}x{CTRL+C}q");
  EXPECT_EQ(g4char(), 3);
  EXPECT_EQ(g4char(), 'q');
  env->noPauseKey = 1;
  HeadlessSetScript("{CTRL+B}");
  EXPECT_EQ(g4char(), 2);
  EXPECT_TRUE(KeyMods() & KEYMOD_NO_PAUSE);
}

int hotRuns = 0;
int hotInner = 0;
int HotKey(int32_t high, int32_t) {
  hotRuns++;
  EXPECT_EQ(high, 0x43);
  if (hotRuns == 1) hotInner = g4char();   // F9 again while this runs: an ordinary key
  return 0;
}

TEST_F(KeyReading, HotKeysRunAndABusyOneIsAnOrdinaryKey) {
  hotRuns = 0;
  EXPECT_EQ(g4set_key_to(0x9000, HotKey), 0x90);
  EXPECT_EQ(g4set_key_to(0x4300, HotKey), 0x43);
  HeadlessSetScript("{F9}{F9}a{F9}b");
  EXPECT_EQ(g4char(), 'a');
  EXPECT_EQ(hotInner, 0x4300);
  EXPECT_EQ(g4char(), 'b');
  EXPECT_EQ(hotRuns, 2);
  g4set_key_to(0x4300, nullptr);
  HeadlessSetScript("{F9}");
  EXPECT_EQ(g4char(), 0x4300);
}

TEST_F(KeyReading, BoundedWaitEndsOnTheVirtualClock) {
  int64_t start = PlatMonotonicMs();
  WaitFor(1, 5000);
  EXPECT_EQ(PlatMonotonicMs() - start, 5000);
  EXPECT_EQ(KeyPressed(), 0);
  WaitFor(2, 0);   // a poll returns at once
  EXPECT_EQ(PlatMonotonicMs() - start, 5000);
}

// ---- timers run from the key wait

int idleTicks = 0;
void IdleTick(int32_t) { idleTicks++; }

TEST_F(KeyReading, IdleTimerCountsFromTheLastKey) {
  idleTicks = 0;
  int slot = AllocTimer(TIMER_IDLE, 1000, IdleTick, 0);
  ASSERT_GT(slot, 0);
  HeadlessSetScript("{WAIT 600}a{WAIT 600}b{WAIT 1500}c");
  EXPECT_EQ(g4char(), 'a');
  EXPECT_EQ(g4char(), 'b');
  EXPECT_EQ(idleTicks, 0);   // 1200 ms passed, never 1000 without a key
  EXPECT_EQ(g4char(), 'c');
  EXPECT_EQ(idleTicks, 1);
  FreeTimer(&slot);
}

int slowCalls = 0, slowNested = 0;
bool slowInside = false;
void SlowTick(int32_t) {
  if (slowInside) slowNested++;
  slowInside = true;
  slowCalls++;
  if (slowCalls == 1) WaitFor(0, 350);   // ticks due meanwhile are dropped
  slowInside = false;
}

TEST_F(KeyReading, TickWhileTheCallbackRunsIsDropped) {
  slowCalls = slowNested = 0;
  int slot = AllocTimer(TIMER_PERIODIC, 100, SlowTick, 0);
  ASSERT_GT(slot, 0);
  WaitFor(0, 460);
  EXPECT_EQ(slowNested, 0);
  EXPECT_EQ(slowCalls, 1);   // ticks at 200, 300, 400 fell inside the first call
  FreeTimer(&slot);
}

TEST_F(KeyReading, EleventhTimerIsRefused) {
  std::vector<int> slots;
  ASSERT_GT(Desktop.caretTimer, 0);   // the caret blink holds one slot
  for (int i = 0; i < 9; i++) {
    slots.push_back(AllocTimer(TIMER_PERIODIC, 1000, IdleTick, i));
    EXPECT_GT(slots.back(), 0);
  }
  EXPECT_EQ(AllocTimer(TIMER_PERIODIC, 1000, IdleTick, 0), 0);
  for (int& s : slots) FreeTimer(&s);
}

}  // namespace
