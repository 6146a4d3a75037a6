// A file named in an error log entry (the log's tail: its size, date and
// whole contents written after the entry), as any file of the program's
// folders may be; the log must then end with exactly the file's bytes.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "env/error_log.h"
#include "fuzz/fuzz_support.h"
#include "platform/program_dir.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FuzzSetup();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!FuzzInputFile("ZELSAL.DAT", data, size)) return 0;
  if (OpenErrLog(0, nullptr) != 0) return 0;
  std::string log = PlatProgramDir() + ErrLogFileName();
  ErrLogMessage(EL_FILE, 1000, TextRef("ZELSAL.DAT"));
  CloseErrLog();
  std::string written = FuzzReadFile(log);
  std::remove(log.c_str());
  std::string input(reinterpret_cast<const char*>(data), size);
  if (written.size() < size || written.compare(written.size() - size, size, input) != 0) std::abort();
  return 0;
}
