// The totals of the current sales document and the record routines the sales
// code and the printouts share: the working sums its lines are added into,
// the spread of a paid advance over the lines of an advance invoice, the
// payment state of a header, the small-taxpayer VAT date, the cash-method
// PIT tests, the margin test, the currency-conversion choice and the account
// of a line. They work on the current header and lines of the register.
#pragma once
#include <cstdint>

struct DbField;
struct Get4;

// Working sums of one document, rebuilt for every document and read by the
// caller right after summing.
constexpr int SUM_NET = 0, SUM_VAT = 1, SUM_GROSS = 2, SUM_CORRECTION_NET = 3, SUM_CORRECTION_VAT = 4;
constexpr int DOCUMENT_SUMS = 12;
constexpr int INCOME_BOOK_COLUMNS = 4;   // by the line's income column TYP, 0 to 3
constexpr int LUMP_SUM_ROWS = 10;        // by the line's lump-sum rate code RYT, 1 to 9
struct SumyDokumentu {
  double document[DOCUMENT_SUMS];
  double incomeBook[INCOME_BOOK_COLUMNS];
  double lumpSum[LUMP_SUM_ROWS];
};
extern SumyDokumentu sumyDokumentu;

void wyczysc_sumy_dokumentu();
void wyczysc_sumy_kpir();      // and the income-book columns
void wyczysc_sumy_ryczaltu();  // and the lump-sum rows
// Adds the current line of the current header to the working sums; with
// recompute, the amounts of goods lines of invoices are worked out from the
// quantity and price.
void dodaj_pozycje_do_sum(int recompute);
// Sums every line of the current header and marks its GTU codes in NKK;
// 0, or -1 on a table error. The register's tables are the current set.
int sumuj_pozycje_dokumentu(int recompute, int rejestr);
// Compares the current header's totals with the summed lines, both rounded
// to 2 places (corrections KRN and KRV, other kinds NET, VAT and BRU). 0
// when they agree, when `skip` is set, or for a final or collective invoice
// (AKT non-zero, its header carries the settled totals); -1 otherwise.
int sprawdz_sumy_dokumentu(int kind, int skip);
// Spreads the paid amount of an advance invoice over its lines in proportion
// to their ordered gross; 0, or -1 on a table error.
int rozloz_zaliczke(double amount);

// The line entry of the current header: F4/F5 of a new document's header
// form (the price mode 1 net, 2 gross; the down-arrow key code, or -1) and
// " Pozycje " of a stored one (mode 0 also sums the lines again into the
// header; the line browse's result, or -1). Both store the header's totals
// into its buffer; the caller writes the header.
int wprowadz_pozycje_z_formularza(int kind, int priceMode, int rejestr);
// The keys F4/F5 of that entry on the help line from `order` on: gross only
// for a margin document, otherwise net and/or gross by option 128; and
// taken off again. The price mode the pressed key gives.
void ShowLineEntryHints(bool margin, int order);
void RemoveLineEntryHints();
int LineEntryPriceMode(bool margin, int key);
int wprowadz_pozycje_dokumentu(int mode, int kind, int rejestr);

// The position of the payment form field's text in the list "1. GOTÓWKA" ..
// "8. POLECENIE ZAPŁATY"; 9 for any other text.
int kod_formy_platnosci(DbField* field);
// The payment defaults of the current header by its payment form.
void ustaw_stan_zaplaty();
// ZAP by the amount due and the paid amount; the ZAP field.
DbField* ustaw_znacznik_zaplaty();
// The VAT date of a small taxpayer's invoice settled by the cash method,
// when the header is entered and after a payment.
void ustal_date_vat_mp();
void ustal_date_vat_mp_po_zaplacie();
// Validator of the buyer's VAT-payer answer (RE3) of a new small taxpayer's
// invoice under the cash method: the VAT date follows the answer. 0.
int data_vat_mp_wg_platnika(Get4* get);

// 1 for a margin document (summed at gross prices), else 0.
int czy_dokument_marzy();
// 1 when the current header is of kind 1, 7 or 8, or a correction of kind 1,
// 7, 8 or 11, and its STV is 'T'; with the flag its PKA must be 'T' too.
int czy_podzielona_platnosc(int flag);
// 1 when the document qualifies for the cash-method PIT (with flag, also
// marked for it), else 0.
int czy_dokument_pit_kasowego(int flag);
int czy_pit_kasowy_dozwolony();
// The currency mode of a report into *out: 2 in the document's currency
// without asking when documentCurrency is set; else the operator's choice of
// rate, 0 for VAT, 1 for bookkeeping. 1 when the operator left, else 0.
int wybierz_przeliczenie_walut(int* out, int documentCurrency);
// The quantity of the current purchase line for the document kind.
double ilosc_pozycji_zakupu(int kind);
// Row routine of the line list: the account of the current line, an empty
// account when there is none; 45, or -1 on an engine error.
int szukaj_konta_pozycji();
// A menu item with its value and action; key 0 or 1 no hot key (1 with a
// separator after it), another key its hot key, bit 0x80 F2.
int dodaj_pozycje_menu(const char* text, int row, int col, int32_t value, int32_t (*action)(int32_t), int key);
