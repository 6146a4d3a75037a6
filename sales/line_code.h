// The code field of a sales line: its key routine and validator (also used
// by the register filter "kod pozycji" and the item choice of the sales
// chart), the goods and services pickers and the filling of a line from a
// catalogue.
#pragma once
#include <cstdint>

struct Get4;

// Field-set kinds, the data of the code field's definition.
constexpr int POLE_POZYCJI_NETTO = 3;
constexpr int POLE_POZYCJI_BRUTTO = 4;
constexpr int POLE_FILTRA_KODU = 5;
constexpr int POLE_WYKRESU = 8;

// Values the line form's handlers share while a form is open.
struct WartosciPozycji {
  int rodzajPola;           // field-set kind of the current code field
  int rodzajKartoteki;      // 0 none, 1 goods, 2 services
  char poziomCeny;          // 'A' .. 'D'
  double dostepnaIlosc;     // available stock of the current goods line
  int zapamietanyKodVat;    // also restored by the reverse-charge fields
  int pustyKod;             // the code is all blanks
};
extern WartosciPozycji wartosciPozycji;

// The contractor's price level letter (TYC), 'A' while no buyer was picked.
extern char poziomCenKontrahenta;

// The register filter "kod pozycji" the code field serves in kind 5: its
// catalogue ('1' goods, '2' services) and its name display.
struct FiltrKoduPozycji {
  char kartoteka;
  char nazwa[41];
};
extern FiltrKoduPozycji filtrKoduPozycji;

// Key routine of a code field; `kind` is the field-set kind.
int pole_towar_usluga(Get4* get, char* code, int32_t kind);
// Validator of the same fields: 0 accept, -1 refuse.
int waliduj_kod_pozycji(Get4* get);
int waliduj_kod_towaru(Get4* get);
int wypelnij_z_uslugi(Get4* get);
// The goods fill of the current line: 0 done or accepted, -1 refused.
int wypelnij_z_towaru(const char* code, int refill, int kind, char priceLevel);
// The pickers: Enter (13) when a code was copied into the buffer, Esc when
// the table does not open.
int wybierz_towar(char* code);
int wybierz_usluge(char* code);
// The pickers' record filters: records with STA 'N' are left out.
int filtr_aktywnych_towarow(intptr_t data);
int filtr_aktywnych_uslug(intptr_t data);
