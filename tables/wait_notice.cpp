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

void HideWaitNotice(int previousWindow) {
  Environment* env = EnvCurrent();
  if (env->messageWindow >= 0) w4deactivate(env->messageWindow);
  w4select(previousWindow);
}
