// The ELZAB, ORHMET, SPARK 482G and TP Line printers' answers from outside:
// every operation of one driver (the first byte chooses it), service records
// and status reads included, the printer answering with the input's bytes and
// falling silent when they run out. Questions, boxes and service windows are
// answered with Esc, so every wait ends.
#include "fiscal/printer_drivers.h"
#include "fuzz/printer_line.h"
#include "fuzz/printer_operations.h"

namespace {

int g_mode = 0;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) { return FuzzPrinterLineSetup(); }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  g_mode = data[0] % PRINTER_FUZZ_MODES;
  SetPrinterFuzzMode(g_mode);
  FuzzPrinterLine(data + 1, size - 1, [] { RunEveryPrinterOperation(g_mode); }, [] {
    ElzabCmd(2);
    OrhmetCmd(2);
    SparkCmd(2);
    TpLineCmd(2);
  });
  return 0;
}
