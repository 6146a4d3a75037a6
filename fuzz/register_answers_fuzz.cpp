// The cash registers' answers from outside: every operation of the register
// layer for one protocol family (the first byte chooses it), the register
// answering with the input's bytes and falling silent when they run out.
// Questions and error boxes are answered with Esc, so every wait ends.
#include <string>

#include "fiscal/cash_register_layer.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/register_operations.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FuzzSetup();
  if (!FuzzStartScreen()) return 1;
  FuzzUseAnsweringPort();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  FuzzNewInput();
  SetRegisterFuzzMode(data[0] % REGISTER_FUZZ_MODES);
  FuzzPortAnswers(data + 1, size - 1);
  static const std::string keys = FuzzEscapes(256);
  FuzzScreenKeys(keys.c_str());
  try {
    RunEveryRegisterOperation();
  } catch (const FuzzKeysEnded&) {
    KFClose();
  }
  return 0;
}
