// Every operation of the POSNET-family driver once, for the fuzz target and
// for the test that keeps its seeds equal to the simulated printer's answers.
#pragma once

struct PosnetFuzzMode {
  int type;          // printer type
  char online;       // POSNET parameter 29
  const char* name;  // the seed's file name
};
constexpr int POSNET_FUZZ_MODES = 5;
extern const PosnetFuzzMode kPosnetFuzzModes[POSNET_FUZZ_MODES];

// The mode's printer type and protocol, COM1, the buyer's NIP printed.
void SetPosnetFuzzMode(int mode);
// Opens the port, runs every operation (and the two routines without a
// caller) as a day at the desk would, and closes the port.
void RunEveryPosnetOperation();
