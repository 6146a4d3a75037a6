// Every operation of the ELZAB, ORHMET, SPARK 482G and TP Line drivers once,
// for the fuzz target and for the test that keeps its seeds equal to the
// simulated printers' answers.
#pragma once

struct PrinterFuzzMode {
  int type;          // printer type
  const char* name;  // the seed's file name
};
constexpr int PRINTER_FUZZ_MODES = 4;
extern const PrinterFuzzMode kPrinterFuzzModes[PRINTER_FUZZ_MODES];

// The mode's printer type on COM1.
void SetPrinterFuzzMode(int mode);
// Opens the port, runs every operation of the mode's driver (service
// records and status reads included) and closes the port.
void RunEveryPrinterOperation(int mode);
