#include "tables/wait_notice.h"

#include "env/messages.h"
#include "env/session/environment.h"
#include "ui/window4.h"

namespace {
constexpr int MSG_PLEASE_WAIT = 50030;
}

int ShowWaitNotice() {
  Environment* env = EnvCurrent();
  int previous = w4select(-1);
  if (env->messageWindow >= 0) {
    w4activate(env->messageWindow);
    w4select(env->messageWindow);
    w4centre(1, RcQStr(MSG_PLEASE_WAIT));
  }
  return previous;
}

int ShowWaitLines(TextRef row0, TextRef row1, TextRef row2) {
  Environment* env = EnvCurrent();
  int previous = w4select(-1);
  if (env->messageWindow >= 0) {
    w4activate(env->messageWindow);
    w4select(env->messageWindow);
    const TextRef rows[] = {row0, row1, row2};
    for (int row = 0; row < 3; row++) {
      w4clear(row);
      if (!rows[row].IsEmpty()) w4centre(row, EnvFindString(rows[row]));
    }
  }
  return previous;
}

void HideWaitNotice(int previousWindow) {
  Environment* env = EnvCurrent();
  if (env->messageWindow >= 0) w4deactivate(env->messageWindow);
  w4select(previousWindow);
}
