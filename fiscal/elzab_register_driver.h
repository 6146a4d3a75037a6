// The ELZAB cash registers through ELZAB's communication programs: what the
// driver exposes besides its entry in the register layer.
#pragma once
#include <string>

// The PLU number text of a goods code ("%05ld"), or NULL after its message.
const char* ElzabKasaKod(const char* code, int length, long record);
// Line `number` of "Koment.txt" in the current directory, as shown: blanks
// for TABs and line ends, at most 72 characters (the last two dots when cut),
// in the program's character set.
std::string ElzabKasaKomentarz(int number);
