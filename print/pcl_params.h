// The parameters of a PCL command as the library writes them: numbers of at
// most 15 characters with an optional sign and decimal point, each ended by
// a letter; the command goes on while that letter is lower case.
#pragma once
#include <cstddef>

struct PclParam {
  double value;
  char letter;       // upper-cased
  bool last;         // the letter was upper case: the command ends
};

// The largest value a parameter is given (beyond it the value is held there).
constexpr double kPclValueLimit = 2147483647.0;

// Reads one parameter at `pos`; the position after its letter, or `length`
// when the data ends first (no parameter then).
size_t ReadPclParam(const unsigned char* data, size_t length, size_t pos, PclParam* out);
// Big-endian 16-bit word.
inline unsigned PclWord(const unsigned char* p) { return static_cast<unsigned>(p[0] << 8 | p[1]); }
