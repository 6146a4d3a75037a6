// The VAT sales register printout: one row per document of the register's
// accepted lines in the per-run table Z5ESPPyy, numbered in date and number
// order and closed by a totals row of '*'.
#pragma once
#include <string>

// Amount positions are the field positions of Z5ESPPyy (0-based).
constexpr int ESPP_FIELDS = 79;
constexpr int ESPP_ITEM_NAMES = 6;

struct wiersz_rejestru_vat {
  int rodzaj;            // document kind of the row
  long rek;              // document link of the row; -1 before the first one
  long lpk;              // the document's ordinal
  std::string num, daw, das, dav, na1, na2, ad1, ad2, nip, uw1, uw2, pro, gtu, ozn;
  std::string towary[ESPP_ITEM_NAMES];
  int liczba_towarow;
  double kwoty[ESPP_FIELDS];   // by field position; N0E is written from WDT
};

// How a pass reads the register: the record test of the register's filters
// (45 accept, anything else rejects) and whether amounts are converted by the
// line's VAT rate (0 when the report is in the documents' own currency).
struct ZrodloRejestruVat {
  int (*filtr)();
  int przeliczenie;
  int rejestr;                 // 1 main, 2 auxiliary
  // The "od daty VAT" and "do daty VAT" items (CCYYMMDD), NULL while off;
  // either on brings in the reverse-charge purchases of the main register.
  const char* od_daty_vat;
  const char* do_daty_vat;
  // The register's filter set applied to a line of the auxiliary register
  // (second table set), as `filtr`.
  int (*filtr_pomocniczy)();
};

// Positions the document header of the current line by its link: 1 found, 0
// not (the header's fields then read blank to the printouts).
int ustaw_naglowek_pozycji();
// The factor of the current line's amounts: its VAT rate when converting.
double czynnik_pozycji(const ZrodloRejestruVat* source);
// Walks the current lines table in VAT-date order, handing each accepted line
// to `each` (nonzero stops the walk with -1); 0 or -1.
int przejdz_pozycje_rejestru(const ZrodloRejestruVat* source, int (*each)(void*), void* data);

void zeruj_wiersz_rejestru(wiersz_rejestru_vat* row);

// Rate placement of one line's net and VAT by its VAT-rate code: before 2024
// (`kind` chooses code 6's column), and from 2024 by the delivery type STM.
void dodaj_do_kolumn_stawek(wiersz_rejestru_vat* row, int code, int kind, double net, double vat);
void dodaj_do_kolumn_stawek_2024(wiersz_rejestru_vat* row, int code, int delivery, double net, double vat);
// The lump-sum column of code `ryt` (0 adds nothing) in the accounting year.
void dodaj_do_kolumny_ryczaltu(wiersz_rejestru_vat* row, int ryt, int year, double net);
// 17 characters of the 13 flags of a marks field: '1'..'9', then "10".."13".
std::string tekst_znacznikow(const char* flags, int length);

// One line of the register (current lines record; its header is sought by
// the link). A new document appends the finished row first. 0 or -1.
int dodaj_pozycje_sprzedazy(wiersz_rejestru_vat* row, const ZrodloRejestruVat* source);
// Pass 1 over the current lines table in VAT-date order; 0 or -1.
int dopisz_dokumenty_rejestru(wiersz_rejestru_vat* row, const ZrodloRejestruVat* source);
// Pass 2, main register only: the invoices to receipts and advance invoices
// of the auxiliary register (its tables open in the second set). The kind
// test of its lines (45 accept, 40 reject), one line, the pass; 0 or -1.
int filtr_pozycji_pomocniczych(const ZrodloRejestruVat* source);
int dodaj_pozycje_pomocnicza(wiersz_rejestru_vat* row, const ZrodloRejestruVat* source);
int dopisz_dokumenty_pomocnicze(wiersz_rejestru_vat* row, const ZrodloRejestruVat* source);
// Pass 3: the reverse-charge purchase lines of the VAT-date items, one line
// (Z5ZAKE and Z5ZAKU open) and the pass; 0 or -1.
int dodaj_pozycje_zakupu(wiersz_rejestru_vat* row, const ZrodloRejestruVat* source);
int dopisz_zakupy_odwrotne(wiersz_rejestru_vat* row, const ZrodloRejestruVat* source);
// Numbers the rows of Z5ESPPyy and appends the totals row; 0 or -1.
int numeruj_rejestr_vat(wiersz_rejestru_vat* row);
int dopisz_wiersz_sumy(const wiersz_rejestru_vat* row);
// Locks the lines, creates Z5ESPPyy anew with its tag selected, runs the
// register's pass, in the main register the auxiliary pass and the purchases pass while a VAT-date
// item is on (purchase tables that cannot be opened or locked leave it
// out), and the numbering; the table stays open for printing.
// 0; -1 when a pass failed (the table open, its rows not whole); or
// REGISTER_NOT_BUILT when the lock or the creation was refused.
constexpr int REGISTER_NOT_BUILT = -2;
int zbuduj_rejestr_vat(wiersz_rejestru_vat* row, const ZrodloRejestruVat* source);

struct TabuColumn;
// The tabulogram columns of Z5ESPPyy in the accounting year's layout.
void kolumny_rejestru_vat(TabuColumn* columns, int size, int year);
// Prints the open Z5ESPPyy under the title of register 1 (main) or 2.
int drukuj_tabele_rejestru(int rejestr);
// " Rejestr " of the running VAT register: builds Z5ESPPyy and prints it,
// or says that a table error stopped it; 0 or -1.
int drukuj_rejestr_vat();
