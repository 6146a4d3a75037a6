#include <cstring>
#include <deque>
#include <random>

#include "app/operator_block.h"
#include "app/operator_windows.h"
#include "env/session/environment.h"
#include "platform/clock.h"
#include "ui/desktop.h"
#include "ui/keyboard.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace {

constexpr int MINUTE_MS = 60000;
constexpr int DOTS = 50;
constexpr int DOTS_KEPT = DOTS - 1;
constexpr int TICK_MS = 100;
constexpr int ATTR_DOT = 9;
constexpr int ATTR_PLUS = 7;
constexpr int ATTR_STAR = 15;
constexpr int ATTR_BLANK = 7;

struct Dot {
  int row, col;
  char shape;
};

struct LockScreen {
  int window = -1;
  std::deque<Dot> dots;   // oldest first
  std::minstd_rand random;
  bool active = false;
};
LockScreen lock;

int Below(int span) { return span > 0 ? static_cast<int>(lock.random() % static_cast<unsigned>(span)) : 0; }

void Put(int row, int col, char shape, int attr) {
  char text[2] = {shape, '\0'};
  w4num_att(row, col, text, 1, attr);
}

void AddDot() {
  Dot dot{Below(w4height() - 2), Below(w4width() - 2), '.'};
  lock.dots.push_back(dot);
  Put(dot.row, dot.col, dot.shape, ATTR_DOT);
}

void RemoveDot(size_t i) {
  Put(lock.dots[i].row, lock.dots[i].col, ' ', ATTR_BLANK);
  lock.dots.erase(lock.dots.begin() + static_cast<long>(i));
}

// One twinkle: the oldest dot goes, one dot grows ('.' to '+' to '*') or
// goes, and new dots fill up again.
void Tick(int32_t) {
  int previous = w4select(lock.window);
  if (!lock.dots.empty()) RemoveDot(0);
  size_t count = lock.dots.size() < DOTS_KEPT ? lock.dots.size() : DOTS_KEPT;
  if (count > 0) {
    size_t i = static_cast<size_t>(Below(static_cast<int>(count)));
    Dot& dot = lock.dots[i];
    if (dot.shape == '.') {
      dot.shape = '+';
      Put(dot.row, dot.col, dot.shape, ATTR_PLUS);
    } else if (dot.shape == '+') {
      dot.shape = '*';
      Put(dot.row, dot.col, dot.shape, ATTR_STAR);
    } else {
      RemoveDot(i);
    }
  }
  while (lock.dots.size() < DOTS_KEPT) AddDot();
  w4select(previous);
}

void WaitForKey() {
  int timer = AllocTimer(0, TICK_MS, Tick, 0);
  g4char();
  if (timer) FreeTimer(&timer);
}

bool Unlocked(const Environment* env, const char* entry) {
  return std::memcmp(entry, env->operatorPassword, OPERATOR_PASSWORD_BYTES) == 0 ||
         std::memcmp(entry, env->firstOperatorPassword, OPERATOR_PASSWORD_BYTES) == 0;
}

void LockOnTimer(int32_t) { ScreenSaverLock(); }

}  // namespace

void ScreenSaverLock() {
  Environment* env = EnvCurrent();
  // Over a chart, and from within the lock itself, there is nothing to do.
  if (!env || env->exclusiveToolActive || lock.active) return;
  lock.active = true;
  struct Release {
    ~Release() { lock.active = false; }
  } release;
  DesktopHideCaret();
  int previous = w4select(-1);
  lock.window = DefineBlackWindow();
  w4activate(lock.window);
  PlatDateTime now;
  PlatNow(&now);
  lock.random.seed(static_cast<unsigned>(((now.hour * 60 + now.minute) * 60 + now.second) * 1000 + now.millisecond + 1));
  lock.dots.clear();
  while (lock.dots.size() < DOTS) AddDot();

  for (;;) {
    WaitForKey();
    if (env->passwordAfterBlanking == 'N' || env->operatorNumber == 0) break;
    char name[OPERATOR_NAME_BYTES];
    char entry[OPERATOR_PASSWORD_BYTES];
    std::memcpy(name, env->operatorName, OPERATOR_NAME_BYTES);
    std::memset(entry, ' ', sizeof entry);
    PasswordWindow(name, entry, PW_NAME_FIXED, 0);
    w4select(lock.window);
    if (Unlocked(env, entry)) break;
  }

  while (!lock.dots.empty()) RemoveDot(lock.dots.size() - 1);
  w4deactivate(lock.window);
  w4close(lock.window);
  lock.window = -1;
  w4select(previous);
  DesktopShowCaret();
  clr_key_buf();
}

void StartLockTimer(int minutes) {
  Environment* env = EnvCurrent();
  if (!env) return;
  if (env->blankingTimer) FreeTimer(&env->blankingTimer);
  if (minutes > 0) env->blankingTimer = AllocTimer(TIMER_IDLE, minutes * MINUTE_MS, LockOnTimer, 0);
}
