// Every operation of the serial cash-register drivers once, per protocol
// family, for the fuzz targets (the register's answers from the input) and
// for the test that keeps their seeds equal to the simulated registers'
// answers.
#pragma once
#include <cstddef>
#include <cstdint>

struct RegisterFuzzMode {
  int type;          // register type
  const char* name;  // the seed's file name
};

// The families: each target takes its mode from the first byte of the input.
struct RegisterFuzzFamily {
  const char* corpus;   // the corpus folder's name
  const RegisterFuzzMode* modes;
  int count;
};
extern const RegisterFuzzFamily kAdaxFuzz, kDsaFuzz, kCr280Fuzz, kOmronFuzz, kPs2000Fuzz;
extern const RegisterFuzzFamily* const kRegisterFuzzFamilies[5];

// The mode's type on COM1 with the register settings of a fresh table.
void SetRegisterFuzzMode(const RegisterFuzzMode& mode);
// Opens the connection, runs every operation a job can (a price list of two
// goods, a deletion, a report of two codes, the PLU list, zeroing, the code
// check) and closes it.
void RunEveryRegisterOperation();
