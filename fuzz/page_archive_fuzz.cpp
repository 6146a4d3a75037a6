// Print archives ("41000000.B25": the page spool's header and its records
// packed in runs) from outside, opened as the archive's viewer opens them:
// unpacked into a new spool "tmp<n>.$$$", its page records read and shown
// page by page on the headless screen with a fixed run of keys, then left
// with Esc and stored back.
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "print/page_spool.h"

namespace {

const char kKeys[] = "{CTRL+PGDN}{DOWN}x{CTRL+PGDN}{CTRL+PGUP}{END}{ESC}{ESC}{ESC}{ESC}{ESC}";
const PageArchiveKey kKey{4, 1, 0, 1, 25};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FuzzSetup();
  return FuzzStartScreen() ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!FuzzInputFile(PageArchiveName(&kKey, false).c_str(), data, size)) return 0;
  FuzzScreenKeys(kKeys);
  try {
    edytuj_i_drukuj_archiwum(nullptr, &kKey, "TST", "Archiwum", 0);
  } catch (const FuzzKeysEnded&) {
    close_tmp_edit_file(nullptr, -1);
  }
  return 0;
}
