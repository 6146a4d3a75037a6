// The sales chart of the VAT register: the working year's sales month by
// month, in quantities or net values, for up to four chart lines each set
// by an item code, a contractor code and an account number.
#pragma once
#include <cstdint>
#include <string>

struct DbScanCtx;
struct DbTable;
struct kontekst_ewidencji;

constexpr int LINIE_WYKRESU = 4;
constexpr int MIESIACE_WYKRESU = 12;
constexpr int POLE_LINII_WYKRESU = 80;

struct parametry_wykresu {
  double wartosci[LINIE_WYKRESU][MIESIACE_WYKRESU];
  double ilosci[LINIE_WYKRESU][MIESIACE_WYKRESU];
  char jest_kod[LINIE_WYKRESU];                        // 1: the chart line has an item code
  char kod[LINIE_WYKRESU][POLE_LINII_WYKRESU];
  int32_t zrodlo[LINIE_WYKRESU];                       // 1 goods, 2 services
  char jest_kontrahent[LINIE_WYKRESU];
  char kontrahent[LINIE_WYKRESU][POLE_LINII_WYKRESU];
  char jest_konto[LINIE_WYKRESU];
  char konto[LINIE_WYKRESU][POLE_LINII_WYKRESU];       // "999-9999"
  char nazwa_konta[LINIE_WYKRESU][POLE_LINII_WYKRESU];
};

// " Wykres " of the VAT register: the filter window, the chart, then the
// question about the filters. 0, -1 when the list cannot be shown again.
int wykres_z_ewidencji();
// The chart over the lines the register's browse accepts (`sales` is
// always 1). 0.
int wykres_sprzedazy(DbTable* lines, int sales);
// The window of the chart lines' criteria; sets the flags and, with a
// contractor code, relates the scan's lines to their headers. 0 with at
// least one criterion, -1 after Esc or with none.
int ustaw_linie_wykresu(parametry_wykresu* p);
// Adds every line the scan accepts into the chart lines' monthly sums;
// `unit` receives the currency label. 0, or -1 when the scan stopped on an
// error (the sums are then those gathered so far).
int sumuj_wykres(DbScanCtx* scan, kontekst_ewidencji* context, parametry_wykresu* p, std::string* unit);
