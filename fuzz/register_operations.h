// Every operation of the cash-register layer once for one protocol family,
// for the fuzz target of the registers' answers and for the test that keeps
// its seeds equal to the simulated registers' answers. A family's driver adds
// its line to kRegisterFuzzModes.
#pragma once

struct RegisterFuzzMode {
  int type;          // register type
  const char* name;  // the seed's file name
};
constexpr int REGISTER_FUZZ_MODES = 13;
extern const RegisterFuzzMode kRegisterFuzzModes[REGISTER_FUZZ_MODES];

// The mode's register type on COM1 with its default settings.
void SetRegisterFuzzMode(int mode);
// The operations of the goods jobs: a price list of two records, a deletion,
// the goods list read, the sales report with two lookups, zeroing.
void RunEveryRegisterOperation();
