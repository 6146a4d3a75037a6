// Help files from outside, shown through the help key on the headless screen
// with a fixed run of keys (pages, links, back). The input is the topic to
// show (two bytes), the length of the index (two bytes), the index ZELM.IND
// and the text ZELM.HLP.
#include <string>

#include "fuzz/fuzz_support.h"
#include "platform/byte_order.h"
#include "platform/program_dir.h"
#include "ui/help.h"
#include "ui/window4.h"

namespace {

const char kKeys[] = "{PGDN}{ENTER}{TAB}{ENTER}{DOWN}{PGUP}{ESC}{TAB}{TAB}{ENTER}{ESC}{ESC}{ESC}{ESC}";

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FuzzSetup();
  return FuzzStartScreen() ? 0 : 1;
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
  FuzzScreenKeys(kKeys);
  w4record(w4select(-1))->helpTopic = GetLe16(data);
  try {
    help_key(0x23, 0);
  } catch (const FuzzKeysEnded&) {
  }
  return 0;
}
