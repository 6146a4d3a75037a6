// The fiscal printer's answers from outside: every operation of the
// POSNET-family driver over one protocol (the first byte chooses the printer
// type and protocol), the printer answering with the input's bytes and
// falling silent when they run out. Questions and error boxes are answered
// with Esc, so every wait ends.
#include "fiscal/fiscal_printer.h"
#include "fiscal/posnet.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/posnet_operations.h"
#include "fuzz/serial_answers.h"

namespace {

void Cut() { PosnetCmd(2 | DF_QUIET); }

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) { return SerialFuzzInitialize(); }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  FuzzNewInput();
  SetPosnetFuzzMode(data[0] % POSNET_FUZZ_MODES);
  SerialFuzzAnswers(data + 1, size - 1);
  return SerialFuzzRun(RunEveryPosnetOperation, Cut);
}
