// The fiscal printer's answers from outside: every operation of the
// POSNET-family driver over one protocol (the first byte chooses the printer
// type and protocol), the printer answering with the input's bytes and
// falling silent when they run out. Questions and error boxes are answered
// with Esc, so every wait ends.
#include "fiscal/fiscal_printer.h"
#include "fiscal/posnet.h"
#include "fuzz/posnet_operations.h"
#include "fuzz/printer_line.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) { return FuzzPrinterLineSetup(); }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  SetPosnetFuzzMode(data[0] % POSNET_FUZZ_MODES);
  FuzzPrinterLine(data + 1, size - 1, RunEveryPosnetOperation, [] { PosnetCmd(2 | DF_QUIET); });
  return 0;
}
