// The files the register and collector jobs read from outside: the first
// byte chooses which (the price list "cennik.cen", a collector's stock file,
// the ELZAB programs' "ses600.plu" and "res600.plu", "Koment.txt"), the rest
// is its content, taken in over a small goods table in the working directory.
#include <string>

#include "fuzz/fuzz_support.h"
#include "fuzz/register_files.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FuzzSetup();
  return FuzzStartScreen() ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  FuzzNewInput();
  d4close_all(FuzzEngine());
  FuzzClearWorkDir();
  FuzzScreenKeys(kRegisterFileKeys);
  try {
    ReadRegisterFile(data[0] % RF_KINDS, std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
  } catch (const FuzzKeysEnded&) {
  }
  d4close_all(FuzzEngine());
  return 0;
}
