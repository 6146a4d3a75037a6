// The register of receipt positions ("Ewidencja"): a browse over every
// position of the year in sale-date order with its filters, and the reports
// built from the filtered positions: the sales register from receipts and
// its sums, the goods turnover and the account summary.
#pragma once
#include <cstdint>

#include "app/browse_search.h"
#include "ui/definition_lists.h"
#include "ui/filters.h"

struct DbTable;

namespace retail {

// The filter items, in the order of the "FILTRY" window.
enum FiltrEwidencjiParagonow { FP_OD_DNIA, FP_DO_DNIA, FP_PREFIKS, FP_TOWAR, FP_NABYWCA, FP_KONTO, FP_STAWKA, FP_LICZBA };

struct kontekst_ewidencji_paragonow {
  int32_t menuGlowne, menuDrukuj;
  ScrollColumn kolumny[5];
  TextCtrl formularz[24];
  TabuColumn tabulogram[20];
  SearchContext szukaj;
  SearchField polaSzukania[4];
  char szukanaData[9];
  char szukanaNazwa[41];
  char szukanyWzor[41];
  int32_t szukanyNumer;
  uint8_t zKontem;        // each position passed is joined to its account
  uint8_t zNaglowkiem;    // ... and to its receipt header
  FilterSet filtry;       // off: the no-filter flag; changed: confirmed by "Zapamiętaj"
  FilterItem* elementy[FP_LICZBA];
  FilterItem pamiecFiltrow[FP_LICZBA];
  char opisFiltrow[256];  // the print subtitle
  char tytul[64];
};

// The running register's state; NULL outside it.
extern kontekst_ewidencji_paragonow* kontekstEwidencjiParagonow;

// " Ewidencja " of the receipt register: the browse's result, -1 when it
// cannot be set up.
int ewidencja_paragonow();
// " Ewidencja " as a menu action of the receipt register.
int32_t ewidencja_z_menu(int32_t unused);

// The browse filter: joins account (and header, with the buyer) to the
// position, then the confirmed filters. X4_ACCEPT, X4_REJECT or -1.
int filtr_ewidencji_paragonow(intptr_t data);
// The filter items of the context.
void definiuj_filtry_ewidencji_paragonow(kontekst_ewidencji_paragonow* c);
// The "FILTRY" window; 1 when closed with "Zapamiętaj", else 0.
int filtry_ewidencji_paragonow();
// The description of the confirmed filters into `text` (of `size` bytes).
void opis_filtrow_ewidencji(char* text, int size);
// The pre-delete hook: 0 when the current position's receipt no longer exists.
int usun_pozycje_ewidencji();
// The pre-key hook: append, modify and delete keys off, Alt+K the stamp.
int skroty_ewidencji(int key);

// Drukuj > Rejestr: the sales register from receipts into Z5ESPP and its
// tabulogram; 0, or -1 when the lock, the table or a row failed.
int rejestr_z_paragonow();
// The rows of the filtered positions (walked on the table's selected tag)
// into the open Z5ESPP from Lp `start`, then the totals row; an empty scan
// writes nothing. 0, or -1 when a row was not written.
int wiersze_rejestru_paragonow(long start);

// " Suma ": the filtered positions by rate and receipt class on form 36 in
// the page viewer "Sumy rejestru paragonów.", printed on F2. With `control`
// a position without its receipt header asks whether to go on. 0, or -1
// when the lock was refused, the operator stopped or the scan failed.
int sumy_rejestru_paragonow(int control);

// Drukuj > Obroty: the goods turnover of the filtered positions (KOT, WNE
// as the net); 0, or -1 when the catalogue, the table or a lock failed.
int obroty_towarow(DbTable* positions);

// Drukuj > Konta (the positions locked by the caller): the grouping menu,
// question 88, Z5KONTE built and its structure shown; 0, or -1 on a table
// error (also when another workstation holds the tables).
int zestawienie_kont();
// Z5KONTE (open) copied with grouping 0..3 into Z5KONTES and shown; 0 or -1.
int struktura_kont(int grouping);

}  // namespace retail
