// Zelsetup: installs the product from its script "Instaluj.dat" and the LHA
// archives it names, and makes the program's shortcut.
#include "installer/front.h"
#include "installer/main_form.h"
#include "platform/dirs.h"

int main() {
  FrontInstallTerminalHook();
  TMainForm form;
  form.baseDir = PlatGetCwd();
  if (!form.FormCreate()) return 1;
  RunTextFront(&form);
  form.FormDestroy();
  // A script must tell a failed installation from a done one.
  return form.failed ? 1 : 0;
}
