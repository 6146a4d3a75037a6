// The VAT register of a sales register: a browse over the document lines
// with its line filters, searches, amount views and the register printouts.
// Its context lives while the browse runs; the printouts read it.
#pragma once
#include <cstdint>

#include "ui/definition_lists.h"
#include "ui/filters.h"

// The line filter items, in the order of the "FILTRY" window.
enum ElementFiltraEwidencji {
  FE_OD_DATY_VAT, FE_DO_DATY_VAT, FE_OD_DATY_WYST, FE_DO_DATY_WYST, FE_PREFIKS, FE_KOD_POZYCJI, FE_TYP_POZYCJI,
  FE_KOD_KONTRAHENTA, FE_NUMER_KONTA, FE_FV, FE_MP, FE_FM, FE_FZ, FE_ZP, FE_FP, FE_PF, FE_FK, FE_BR, FE_RU, FE_RK,
  FE_TYP_PRZYCHODU, FE_TYP_DOSTAWY, FE_STAWKA_VAT, FE_STAWKA_RYCZALT, FE_STRUKTURA, FE_ODWROTNE, FE_WALUTA,
  FE_LICZBA
};

constexpr int EWIDENCJA_KOLUMNY = 6;
constexpr int EWIDENCJA_TABULOGRAM = 26;
constexpr int EWIDENCJA_PANEL = 34;

struct kontekst_ewidencji {
  int32_t menu_glowne, menu_szukaj, menu_nazwa, menu_drukuj;
  int rejestr;                   // 1 main, 2 auxiliary
  int widok_waluty;              // 0 rate for VAT, 1 rate for bookkeeping, 2 the document's currency
  FilterItem* elementy[FE_LICZBA];
  FilterSet filtry;
  uint8_t z_kontem;              // each shown line is related to its account
  uint8_t z_naglowkiem;          // each line is also related to its header
  int tryb_przeliczenia;         // of a printout, as widok_waluty
  int rodzaj_wydruku;            // 0 general, 1 goods, 2 services, 3 margin register
  char nazwa_pozycji[41];        // shown beside "kod pozycji"
  char nazwa_kontrahenta[71];    // shown beside "kod kontrahenta"
  char nazwa_konta[35];          // shown beside "numer konta"
  ScrollColumn kolumny[EWIDENCJA_KOLUMNY];
  TabuColumn tabulogram[EWIDENCJA_TABULOGRAM];
  TextCtrl panel[EWIDENCJA_PANEL];
  FilterItem pamiec_filtrow[FE_LICZBA];
};

// The context of the running VAT register; NULL outside it.
extern kontekst_ewidencji* kontekstEwidencji;

// " Ewidencja ": the VAT register of the current sales register; -1 when it
// cannot be built.
int ewidencja_sprzedazy();
// Allocates and fills the context (menus, columns, tabulogram, filters).
int definiuj_ewidencje(kontekst_ewidencji** out, int rejestr);
void zwolnij_ewidencje(kontekst_ewidencji** context);
// The Szukaj menu: 1 date, 2 name, 3 number, 4 name pattern, 6 number pattern.
int szukaj_w_ewidencji(int kind);
// The record test of the browse and the printouts: 45 accept, 40 reject.
int filtr_ewidencji();
// The Drukuj menu, kinds 1 to 6; -1 for any other.
int drukuj_ewidencje(int kind);
// The delete guard: 0 when the current line may go (its header is gone).
int czy_mozna_usunac_pozycje_ewidencji();
// Deletes the current line after the guard, giving its stock back when it
// had been taken; 0 deleted, -1 refused or failed.
int usun_pozycje_ewidencji();
// The key hook of the browse (F5 amount view, Alt+K stamp, Del guard).
int klawisze_ewidencji(int key);
