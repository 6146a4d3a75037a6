// The retail receipt module: the register of the year's receipts (headers
// "Z5PARA", positions "Z5PARE", buyers of invoices issued to receipts
// "Z5PARO"), the entry, numbering and closing of a receipt, the number
// window shared with the invoice to a receipt, and the fiscal print of a
// saved receipt. The module's entry `paragony` is declared for the frame in
// app/module_entries.h.
#pragma once
#include <cstdint>

#include "app/browse_search.h"
#include "ui/definition_lists.h"

struct Get4;

namespace retail {

// Modes of the number window: the invoice number (PRF, NRF, POF) or the
// receipt number (PRE, NRV, POS).
constexpr int NUMER_FAKTURY = 0, NUMER_PARAGONU = 1;

// What the number window edits: the prefix right-aligned in PRE's four
// characters, the number, the suffix in POS's nine.
struct numer_paragonu {
  int32_t mode;
  int32_t invoiceKind;   // TYF, compared first in the invoice mode
  char prefix[5];
  int32_t number;
  char suffix[10];
  int32_t buyerExists;   // the invoice's buyer record is already written
};

// The state of one run of the register, from `paragony`'s start to its end.
struct kontekst_paragonow {
  int menus[6];   // main bar, " Modyfikuj ", " Opis ", " Numer ", " Usuń ", " Drukuj "
  ScrollColumn columns[5];
  ScrollColumn positionColumns[4];
  TextCtrl formTexts[28];
  EditCtrl form[3];
  SearchContext search;
  SearchField searchFields[4];
  char searchDate[9];
  char searchName[36];
  int32_t searchReceipt, searchInvoice;
  TabuColumn tabulogram[14];
  numer_paragonu numer;
  int32_t relateBuyer;   // the filter positions the buyer record of every receipt it passes
  char title[41];
};

// The running register's state; NULL outside it.
extern kontekst_paragonow* kontekstParagonow;

// ---- the register

// " Usuń " > " Paragon ": the pre-delete hook; positions (goods back to
// stock) and buyer record go, 0 lets the library delete the header.
int usun_paragon();
// " Usuń " > " Faktura ": the invoice's buyer record and number go.
int32_t odlacz_fakture(int32_t item);
// Deletes the current receipt's buyer record when there is one; 0, or the
// seek's error.
int usun_dane_faktury();
// The browse filter: positions (or blanks) the buyer record of the receipt
// the scan passes, then applies the confirmed filters; X4_ACCEPT, X4_REJECT,
// or -1 on a seek error.
int filtr_paragonow(intptr_t data);
// Column routine of the position register: the receipt number of the
// current position in fixed-width parts.
void numer_paragonu_pozycji(ColumnValue* value);

// ---- entry, numbering and closing

// The browse hooks of a new receipt and of the modify action.
int dopisz_paragon();
int nadaj_rec_paragonu(int appended);
int zapisz_paragon();
int anuluj_paragon();
int zamknij_paragon();
int przed_modyfikacja_paragonu();
int po_modyfikacji_paragonu();

// The header form's slots: the date runs the positions, the remarks, the NIP.
int klawisz_daty_paragonu(Get4* get, char* buffer, int32_t data);
int klawisz_uwag_paragonu(Get4* get, char* buffer, int32_t data);
int sprawdz_nip_paragonu(Get4* get);

// The positions window of the current receipt (mode 0 a new one, with the
// fiscal output; 1 a saved one), its correction and its totals into the
// header's record buffer: 1 summed, 0 not.
int pozycje_i_sumy_paragonu(int mode);
// True when a new receipt prints position by position as it is entered:
// receipt option 11 'T', a driver and print mode 1.
bool paragon_online();
// The change window "Rozliczenie" over the amount due: paid and change,
// both 0 unless Enter; 0.
int rozliczenie_wplaty(double due, double* paid, double* change);
// WYD := 'T' written under the headers' lock after the printer ended the
// receipt; a lock given up tells the operator the mark is missing.
void MarkPrinted();

// Menu actions.
int32_t modyfikuj_pozycje_paragonu(int32_t item);
int32_t modyfikuj_opis(int32_t item);
int32_t zmien_numer(int32_t item);

// The number window on the context's `numer`: with `automatic` the prefix
// proposes the next number. The key that ended it (Enter and F2 accept).
int okno_numeru_paragonu(int automatic);
// The window's key routines of the prefix, number and suffix.
int klawisz_prefiksu(Get4* get, char* buffer, int32_t data);
int klawisz_numeru(Get4* get, char* buffer, int32_t data);
int klawisz_sufiksu(Get4* get, char* buffer, int32_t data);
// Number 0: "Wypełnij numer dokumentu." and 1; else 0.
int wymagaj_numeru();
// The next free number of the prefix and suffix into `numer.number`; 0, or
// -1 on a seek error.
int kolejny_numer(int redisplay);
// 1 when the number is taken (with the message), 0 free, -1 a seek error.
int sprawdz_numer();
// The trimmed text at the right end of a blank-padded field of `width`.
void wyrownaj_w_prawo(char* text, int width);

// ---- printing a saved receipt

// " Drukuj " > " Dokument ": the chooser "DRUKUJ" starting at `start`; 0.
int32_t drukuj_z_menu(int32_t start);
// Kind 0 the receipt, 1 the invoice to it; 0.
int drukuj_paragon(int kind);
// The current receipt's saved positions on the fiscal printer; 0 printed, -1 not.
int paragon_fiskalny();
// The count of the current receipt's positions the printer gets (all but
// the correction positions) and the sum of their gross values, the total
// the printer is given; 0, 1 when the receipt has no positions, -1 an error.
int pozycje_do_druku(int* count, double* total);

}  // namespace retail
