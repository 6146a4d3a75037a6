// The lines of one sales document: the line browse the document entry opens,
// its context, the defaults of a new line, the stock a goods line takes when
// it is added, changed or deleted, the GTU key and the per-document discount.
// The line form is sales/line_form.h, the arithmetic sales/line_fields.h and
// the code field sales/line_code.h.
#pragma once
#include <cstdint>

#include "ui/definition_lists.h"

struct DbField;

// The context of one run of the line browse; `kontekstPozycji` names it while
// the browse runs (NULL otherwise).
struct kontekst_pozycji {
  int okno_menu;
  int rodzaj;                 // document kind
  int cena;                   // price entry: 1 net, 2 gross (the header's TRY)
  int formularz_skrocony;     // the compact form
  int korekta;                // kinds 3 and 4
  int zmiana;                 // a line was added, changed or deleted
  int wartosc_zakupu;         // margin document, or a correction of one
  int domyslny_kod_vat;       // of new lines
  int stawki_oss;             // OSS rates of the buyer's country, 0 outside OSS
  // the line being changed, as it was before the form
  int zapamietany_rodzaj_kartoteki;
  double zapamietana_ilosc;
  char zapamietany_status;
  char zapamietany_kod[31];
  char zapamietana_nazwa[41];
  char kod_przy_otwarciu[19];   // the code when the form opened
  char kod_kopii_korekty[19];   // the code when the correction copy was taken
  // display texts of the form
  char tekst_konta[40];
  char tekst_vat[40];
  char tekst_typu[40];
  char tekst_ryczaltu[40];
  char tekst_kartoteki[40];
  char tekst_vat_korekty[40];
  char tekst_odwrotnego[40];
  char tekst_odwrotnego_korekty[40];
  char tekst_dostawy[40];
  char tekst_towaru[8];
  char tekst_gtu[71];
  int zapamietany_stm;          // the line's delivery type when the form opened
  int zapamietany_kod_vat_stm;  // and its VAT code
  // definition lists handed to the browse
  ScrollColumn kolumny[6];
  TextCtrl panel[34];
  TextCtrl panel_skrocony[19];
  TextCtrl teksty[8];
  EditCtrl pola[43];
  TextCtrl teksty_skrocone[5];
  EditCtrl pola_skrocone[23];
};
extern kontekst_pozycji* kontekstPozycji;

// The document discount in percent for new lines: the buyer's at the buyer
// pick, the header's UPU when the lines are opened from " Pozycje ".
extern double rabatDokumentu;

// Runs the line browse of the current header. 1 when a line was added,
// changed or deleted, the browse result otherwise (0 after a normal end),
// -1 when the context or the browse could not be set up.
int pozycje_dokumentu(int takeDiscount, int kind, int priceEntry, int viewOnly, int rejestr);
// Fills the context for the current header: defaults, menu and lists.
// 0, or -1 when the menu could not be built.
int definicja_pozycji(kontekst_pozycji* c, int kind, int priceEntry, int viewOnly);

// The handle's own slot of a field of the lines table: the lists and gets
// keep pointers to it.
DbField** pole_pozycji(const char* name);

// The VAT code a new line of the current header starts with.
int domyslny_kod_vat_pozycji();

// The quantity of the current line that moves stock: the correction's change
// ILK for kinds 3 and 4, the quantity ILO for every other kind. Every path
// (append, change, delete of a line or of a document) moves this quantity.
double ilosc_magazynowa_pozycji(int kind);

// 1 when the current line of `kind` with the current header takes stock at
// all by the options (option 22 aside, which the callers test).
int czy_pozycja_zaliczkowa(int kind);

// The number of non-zero OSS rates of the country `country` (0 with a box
// when it is not found), and the rate of index 1 to 4 (0 when not found).
// The countries table must be open.
int liczba_stawek_oss(const char* country);
double stawka_oss(const char* country, int index);
// The OSS rate index a domestic VAT code maps to (2 to 2, 8 to 4, 9 to 3,
// else 1), at most `rates` (the country's count; at least 1).
int indeks_stawki_oss(int code, int rates);

// Hooks of the line browse, on the current line of the lines table.
int przed_dopisaniem_pozycji();
int nadaj_numer_pozycji(int appended);
int waliduj_pozycje();
int po_dopisaniu_pozycji();
int przed_modyfikacja_pozycji();
int po_modyfikacji_pozycji();
int przed_usunieciem_pozycji();
// Gives the stock of the current line back when it had been taken (STA 'T'),
// by the quantity of the kind; 1 when the stock update refused it.
int oddaj_ilosc_pozycji(int kind);
// The F8 key of the list: the GTU mark of the current line.
int klawisz_gtu_pozycji(int key);
// " Rabat ": raises the discount of every line of the document.
int32_t rabat_dokumentu(int32_t unused);
