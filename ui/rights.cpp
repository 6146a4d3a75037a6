#include "ui/rights.h"

#include "env/session/environment.h"
#include "env/messages.h"
#include "platform/screen_hook.h"

namespace {
constexpr int MSG_ACCESS_DENIED = 50054;
}

int pass_tab_test(int n) {
  Environment* env = EnvCurrent();
  // A negative number would index before the table.
  if (n < 0 || n / 8 >= RIGHTS_BYTES || env == nullptr || env->rights == nullptr) return 0;
  return env->rights[n / 8] & (0x80 >> (n % 8));
}

int pass_tab_test_and_inform(int n) {
  if (pass_tab_test(n)) return 1;
  ScreenMessageBox(SCREEN_BOX_WARNING, nullptr, EnvFindString(MSG_ACCESS_DENIED));
  return 0;
}
