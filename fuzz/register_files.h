// The files the register and collector jobs read, each taken in as the jobs
// do over a small goods table in the current directory, for the fuzz target
// and for the test that runs its seeds.
#pragma once
#include <string>

enum RegisterFileKind {
  RF_PRICE_LIST,    // "cennik.cen" added to the goods
  RF_STOCK_COUNT,   // a collector's "*.inw" taken in by " Aktualizacja "
  RF_ELZAB_LIST,    // "ses600.plu" of the ELZAB goods list
  RF_ELZAB_SALES,   // "res600.plu" of the ELZAB sales of one PLU
  RF_ELZAB_COMMENT, // "Koment.txt", the line of the content's first byte
  RF_KINDS
};
extern const char* const kRegisterFileNames[RF_KINDS];

// The keys the jobs are given: the file picked, every question answered,
// every box closed.
extern const char* const kRegisterFileKeys;
// Reads `content` as the file of `kind`; the goods table is opened (and
// seeded) in the current directory, the ELZAB programs stand in the
// program directory as scripts that succeed and leave the files alone.
void ReadRegisterFile(int kind, const std::string& content);
