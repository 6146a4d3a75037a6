// Help files from outside, shown through the help key on the headless screen
// with a fixed run of keys (pages, links, back). The input is the topic to
// show (two bytes), the length of the index (two bytes), the index ZELM.IND
// and the text ZELM.HLP.
#include <stdexcept>
#include <string>

#include "fuzz/fuzz_support.h"
#include "platform/byte_order.h"
#include "platform/program_dir.h"
#include "ui/desktop.h"
#include "ui/display.h"
#include "ui/help.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace {

struct KeysEnded : std::runtime_error {
  KeysEnded() : std::runtime_error("keys ended") {}
};

const char kKeys[] = "{PGDN}{ENTER}{TAB}{ENTER}{DOWN}{PGUP}{ESC}{TAB}{TAB}{ENTER}{ESC}{ESC}{ESC}{ESC}";
int g_context = -1;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FuzzSetup();
  DisplaySelect(DisplayHeadless());
  HeadlessOnExhausted([] { throw KeysEnded(); });
  if (HeadlessSetScript(kKeys) != 0) return 1;
  HeadlessSetScript("");
  HeadlessSetClientSize(640, 480);
  if (w4init_video(1) != 0) return 1;
  init_help_line();
  open_envr_win();
  g_context = w4define(1, 1, 3, 20);
  w4activate(g_context);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  size_t indexLength = GetLe16(data + 2);
  if (indexLength > size - 4) return 0;
  FuzzNewInput();
  std::string dir = PlatProgramDir();
  if (!FuzzWriteFile(dir + "ZELM.IND", data + 4, indexLength) ||
      !FuzzWriteFile(dir + "ZELM.HLP", data + 4 + indexLength, size - 4 - indexLength))
    return 0;
  while (Desktop.topWindow >= 0 && Desktop.topWindow != g_context) w4close(Desktop.topWindow);
  w4select(g_context);
  w4record(g_context)->helpTopic = GetLe16(data);
  HeadlessSetScript(kKeys);
  try {
    help_key(0x23, 0);
  } catch (const KeysEnded&) {
  }
  return 0;
}
