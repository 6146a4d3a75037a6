// A packed file set from outside, unpacked whole into the working directory;
// nothing may land outside it.
#include "fuzz/fuzz_support.h"
#include "interchange/packed_set.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!FuzzInputFile("IN.CP1", data, size)) return 0;
  Decompress2("IN.CP1");
  FuzzCheckNothingEscaped();
  return 0;
}
