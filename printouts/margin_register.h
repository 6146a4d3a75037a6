// The margin register printout: one row per document of the register's
// accepted lines in the per-run table Z5ESMAyy with its margin amounts, then
// a totals row of '*'.
#pragma once
#include <string>

struct ZrodloRejestruVat;

// Amounts of a row and of the totals: gross sale, purchase value, margin,
// net, VAT.
constexpr int MARZA_BRU = 0, MARZA_ZAK = 1, MARZA_MAR = 2, MARZA_NET = 3, MARZA_VAT = 4, MARZA_KWOTY = 5;

struct wiersz_rejestru_marzy {
  std::string num, dav;
  double wiersz[MARZA_KWOTY];
  double suma[MARZA_KWOTY];
  long lpo;   // the running number of the next row, from 1
  long rek;   // the current document; -1 before the first
};

// One line of the register (current lines record); a new document appends
// the finished row first. 0, or -1 on an append error.
int dodaj_pozycje_marzy(wiersz_rejestru_marzy* row, const ZrodloRejestruVat* source);
// Walks the accepted lines and appends the rows and, when any line was
// accepted, the totals row; 0 or -1.
int dopisz_dokumenty_marzy(wiersz_rejestru_marzy* row, const ZrodloRejestruVat* source);
int dopisz_sume_marzy(const wiersz_rejestru_marzy* row);
// Locks the lines, creates Z5ESMAyy anew and writes its rows; the table stays
// open for printing. 0; -1 on an append error (the table open, its rows not
// whole, never to be printed); REGISTER_NOT_BUILT when the lock or the
// creation was refused.
int zbuduj_rejestr_marzy(wiersz_rejestru_marzy* row, const ZrodloRejestruVat* source);

struct TabuColumn;
// The tabulogram columns of Z5ESMAyy.
void kolumny_rejestru_marzy(TabuColumn* columns, int size);
// Prints the open Z5ESMAyy in record order under the title of register 1
// (main) or 2.
int drukuj_tabele_marzy(int rejestr);
// " Rejestr Marża " of the running VAT register: builds, prints and deletes
// Z5ESMAyy, or says that an append error stopped it; 0 or -1.
int drukuj_rejestr_marzy();
