// The cash book's browse as its parts share it: the browse context (the
// payment request, the entry form's run, the filters, search and column
// definitions), the entry form, the printouts and the lists that name an
// entry's source and account.
#pragma once
#include <cstdint>
#include <string>

#include "app/browse_search.h"
#include "ui/definition_lists.h"
#include "ui/filters.h"

struct PlatnoscKasowa;
struct Get4;
struct TabuValue;
struct DbTable;

struct KontekstKasy {
  int menu, printMenu;
  int mode;                   // of the entry form: 0 append, 1 change
  char kind;                  // of the entry being added
  PlatnoscKasowa* request;    // NULL: the whole cash book
  double previousAmount;      // of the entry being changed
  long lastDate;              // day number of the entry last appended in this run of the form
  int lastAccount;
  long lastNumber;
  int savedInRun;
  double requestSum;          // of the request's cash entries
  char note[61];              // the payment description
  bool cashMethod;            // working year 2025 on and option 144 'T'
  FilterSet filters;
  FilterItem filterItems[10];
  SearchContext search;
  SearchField searchFields[7];
  char searchDate[9], searchDocument[31], searchContractor[21], searchName[31], searchTitle[31];
  int32_t searchNumber;
  ScrollColumn columns[7];
  TextCtrl detail[14];
  TabuColumn tabulogram[13];
};
extern KontekstKasy* kontekstKasy;

// Lists of the source (TYZ 1, 4, none) and of the statement accounts (1-6),
// a blank width entry first, ended by NULL; the item of a TYZ value.
extern const char* const* ZRODLA_KASY;
extern const char* const* KONTA_KASY;
int pozycja_zrodla_kasy(int typ);
int typ_zrodla_z_pozycji(int item);
// The "typ" column text of the current entry.
const char* typ_zapisu_kasy_tekst();

// A computed tabulogram column of `table` holding the text.
void tekst_kolumny_tabulogramu(TabuValue* v, DbTable* table, const char* alias, const std::string& text, int width);

// The entry form over the current browse: append of `kind` or change
// (mode 1) of the current entry, the whole cash book locked meanwhile. 0,
// or -3 when the browse cannot be shown again.
int formularz_kasy(int mode, char kind);
// F4 "Lista" of a contractor code field: the contractors list without the
// internal ones, the recipients and the inactive; Alt+K empties the code.
// The key that ended it.
int lista_kontrahentow_kasy(Get4* get, char* buffer, int32_t data);
// 1 when an entry other than record `skip` holds the number of the current
// desk, kind, account and year.
bool NumerKasyZajety(char kind, int account, int year, long number, long skip);

// The printouts of the browse's submenu: the statement line, the summary
// and the tabulogram.
int drukuj_wyciag_kasy();
int suma_kasy(int32_t);
int tabulogram_kasy(int32_t);
