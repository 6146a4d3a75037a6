// The receipt register's filters (the "FILTRY" window over nine conditions),
// the tabulogram and the sums of the filtered receipts, and the chart of
// receipt positions the position register draws.
#pragma once
#include <cstdint>
#include <string>

struct DbScanCtx;
struct DbTable;
struct FilterSet;

namespace retail {

// The nine filters of one run of the register, all off; freed at its end.
void definiuj_filtry_paragonow();
void zwolnij_filtry_paragonow();
// The set the filter tests (NULL outside the register).
FilterSet* filtry_paragonow();

// The window; afterwards the set's `changed` tells that it was left with
// "Zapamiętaj" (or F2). 0.
int okno_filtrow_paragonow();
// " Filtry " (redisplay 1) and the first step of the tabulogram and sums
// (redisplay 0): the window and the "FILTR !!!" mark.
int32_t filtry_z_menu(int32_t redisplay);
// Question 50010 when a filter is on; unless Esc, all filters go off.
void zapytaj_usun_filtry();
// The confirmed filters in words for the tabulogram's subtitle.
std::string opis_filtrow_paragonow();
// " Drukuj " > " Tabulogram " and " Suma ".
int32_t tabulogram_paragonow(int32_t item);
int32_t suma_z_menu(int32_t item);
// The sums of the filtered receipts in the window "Sumy paragonów"; 0, -1
// when the operator stopped at a faulty receipt or the positions could not
// be read.
int sumy_paragonow();

// A page of sums: screen form `form` (rows x columns) filled by `fill`,
// shown in the page viewer titled `title`; F2 prints it under report code
// "SUM" (settings of `table`) with `period` below the title. 0, -1 when the
// page could not be allocated.
int strona_sum(DbTable* table, const char* title, const std::string& period, int16_t (*form)(), int rows,
               int columns, void (*fill)(char* page, const void* data), const void* data);

// ---- the chart of receipt positions

constexpr int LINIE_WYKRESU_PARAGONOW = 4;
constexpr int MIESIACE = 12;

struct linie_wykresu_paragonow {
  char kod[LINIE_WYKRESU_PARAGONOW][19];          // KOT's width
  char konto[LINIE_WYKRESU_PARAGONOW][9];         // "999-9999"
  char nazwa_konta[LINIE_WYKRESU_PARAGONOW][81];
  char jest_kod[LINIE_WYKRESU_PARAGONOW];
  char jest_konto[LINIE_WYKRESU_PARAGONOW];
  double wartosci[LINIE_WYKRESU_PARAGONOW][MIESIACE];   // WNE
  double ilosci[LINIE_WYKRESU_PARAGONOW][MIESIACE];     // ILO
};

// " Wykres " of the position register over its browse's scan; `positions`
// is locked while summing. Always 0.
int wykres_paragonow(DbTable* positions);
// The window of the four chart lines (form 45): 0 with at least one line
// given, -1 after Esc or with none.
int filtry_wykresu(linie_wykresu_paragonow* p);
// Adds each position the scan accepts and whose DAV lies in the working
// year to the lines it matches (the account from the current `Z5KONT`
// record, which the register's filter positions). 0, -1 on a scan error.
int sumuj_wykres(DbScanCtx* scan, linie_wykresu_paragonow* p);

}  // namespace retail
