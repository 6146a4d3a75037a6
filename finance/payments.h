// The cash book and the settlements as the sales documents use them: the
// payment request a document hands over, the settlement entry of a document,
// the cash entries of a document, the transfer of the cash sums back into the
// paid document, its cash-method VAT date, the numbering and reference text
// of cash entries, and the guard on changing final invoices.
#pragma once
#include <cstdint>

// A payment of a sales document for the cash book or the settlements. Texts
// are NUL-terminated within their space; amounts are in PLN.
struct PlatnoscKasowa {
  char rodzaj;               // cash book: '1' KP, '2' KW, '3' statement, '4' sum of advances;
                             // settlement: 'N' receivable, 'Z' liability
  int32_t kod_banku;         // bank 1..6 of a statement
  int32_t typ_zrodla;        // 1 main sales register, 4 auxiliary one (TYZ)
  int32_t rok;               // the working year (ROK)
  int32_t rekord;            // the header's record number (REK)
  double kwota;              // the entry's amount, or the amount due of a settlement
  double kurs_kwoty;         // 1
  double kwota_zaplacona;    // paid so far (settlement)
  double kurs_zaplaty;       // 1
  char data[9];              // the entry's date, or the issue date of a settlement
  char termin[9];            // the due date of a settlement
  char waluta[4];            // "PLN"
  char numer_dokumentu[31];
  char tytul[71];
  char kod_kontrahenta[21];
  char nazwa1[71];
  char nazwa2[71];
  char kod_pocztowy[7];
  char miasto[26];
  char ulica[65];
  char opis_platnosci[61];   // the header's payment note; the cash book writes the new one back
  int32_t tylko_podglad;     // the caller's view-only flag for PrzegladajKase
  double kurs;               // the document's bookkeeping exchange rate (KKS)
};

// Source types of the cash book and the settlements.
constexpr int SOURCE_SALES = 1;
constexpr int SOURCE_PURCHASES = 2;
constexpr int SOURCE_BOOK = 3;
constexpr int SOURCE_AUXILIARY_SALES = 4;

// Writes the document's settlement entry (added, or overwritten by its key).
// 1 without writing when the request is settled, `wymus` is 0 and the
// document has no entry yet; else 0, or the error of the settlements.
int ZapiszRozliczenie(int wymus, PlatnoscKasowa* request);
// Deletes the document's settlement entry.
void UsunRozliczenie(int typ, int rok, int rekord);
// On the open cash book: asks "Czy usunąć zapisy z kasy?" when the document
// has entries and deletes them on yes.
void UsunZapisyKasy(int typ, int rok, int rekord);

// Flags of the transfer: open (and close) the sales tables of the entry's
// year, the purchase tables, the book of the year; append the text to the
// payment note instead of replacing it.
constexpr int TRANSFER_OPEN_SALES = 1;
constexpr int TRANSFER_OPEN_PURCHASES = 2;
constexpr int TRANSFER_APPEND_NOTE = 4;
constexpr int TRANSFER_OPEN_BOOK = 8;
constexpr int TRANSFER_OPEN_ALL = TRANSFER_OPEN_SALES | TRANSFER_OPEN_PURCHASES | TRANSFER_OPEN_BOOK;
// For the current cash entry: the sum of its document's entries plus
// `amount` becomes the paid amount of its source: a sales document (KZA,
// ZAP, the note, the cash-method VAT date, an advance invoice's lines), a
// purchase, a book entry, and the settlement entry. A deleted current entry
// is already out of the sum, so the amount standing for it is not added.
// 0, or -1 with a box naming the document when it could not be reached.
int PrzeniesPlatnoscDoZrodla(double amount, const char* text, int flags);
// The payment description of the current cash entry's source (OZA of the
// sales or purchase header); empty for other sources or any failure.
char* OpisPlatnosciZrodla();
// The VAT date of the current sales header and its lines becomes the payment
// date under the cash method (option 93) when the document is paid and the
// date falls between DAW and the current DAV. Flag 1 opens the lines table.
void KorygujDateVatPlatnosci(const char* date, int flags);
// From 2024: 0 with a box for a final invoice or an advance invoice that has
// one (changes not advised); 1 otherwise.
int SprawdzFaktureKoncowa(int kind, int akt);
// 1 when the current sales header is an invoice (kind 1 or 7) with AKT 2.
int CzyFakturaAkt2();

// The highest NUM of the current cash desk's entries of the entry kind (the
// character '1'..'4'), bank digit and year; 0 when none. The cash book's
// record, record buffer and tag stay as they were.
long OstatniNrKasy(int typ, int bank, int year);
// Appends the request's cash entry, numbered (`OstatniNrKasy` + 1) under a
// lock of the whole cash book (the caller's, when it holds one); the entry
// stays current. 0, or -1 when the lock was refused or the append failed.
int dopisz_wpis_kasy(const PlatnoscKasowa* request);
// The same on a cash book opened and closed here, with "Dopisano do kasy.";
// 0, or -1 when the cash book cannot be opened or the entry written.
int DopiszDoKasy(PlatnoscKasowa* request);
// KWO summed over the live cash entries of one document, under the whole
// cash book's lock; 0 for record 0. The record, buffer and tag stay.
double SumaKasyDokumentu(int typ, int rok, long rekord);
// The cash entry of the current entry of the income and expense book (open,
// of the working year): mode 0 shows its payments in the cash book, modes 1
// and 2 append an entry. 0.
int ZapisKsiegiDoKasy(int mode);
// "KP", "KW", "Wyciąg", "Suma zaliczek" for an entry kind; "" otherwise.
const char* RodzajZapisuKasyText(char kind);
// The kind text of the current cash entry.
char* RodzajZapisuKasyQStr();
// "*KP 12 05-03-2026": the current cash entry's kind, number and date.
char* ZrodloKasyQStr();

// Prints the current cash entry as KP or KW; 0, or -1.
int DrukujKPKW(int unused);
