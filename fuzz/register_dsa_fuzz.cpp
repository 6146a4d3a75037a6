// The answers of DSA40, DSA100, DSA4000S and MAŁA from outside: every register operation with the
// register answering the input's bytes, silent when they run out.
#include "fuzz/register_fuzz.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) { return SerialFuzzInitialize(); }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return RegisterFuzzInput(kDsaFuzz, data, size);
}
