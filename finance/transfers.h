// Bank transfer orders: the checks of their codes and symbols, the names of
// their forms and the routines that fill a party of the current order.
#pragma once

#include <cstdint>
#include <string>

struct DbField;
struct EditCtrl;
struct Get4;

// The fields of "Z5PLEW" by their place in the record.
enum TransferField {
  PLEW_DAP, PLEW_TYP, PLEW_SOZ, PLEW_TYB, PLEW_KOZ, PLEW_NZ1, PLEW_NZ2, PLEW_AZ1, PLEW_AZ2, PLEW_BAZ, PLEW_KNZ,
  PLEW_SOO, PLEW_KOO, PLEW_NO1, PLEW_NO2, PLEW_AO1, PLEW_AO2, PLEW_BAO, PLEW_KNO, PLEW_KWO, PLEW_TY1, PLEW_TY2,
  PLEW_ROW, PLEW_DRU, PLEW_NIP, PLEW_IDD, PLEW_NRD, PLEW_TWP, PLEW_DEK, PLEW_SYP, PLEW_IZO, PLEW_INF, PLEW_RE1,
  PLEW_RE2
};

// The texts the order forms show and nobody edits, refilled from the
// current order by OdswiezTekstyPrzelewu.
constexpr int TRANSFER_TEXT_WIDTH = 12;
struct TransferTexts {
  char accountKind[TRANSFER_TEXT_WIDTH + 1];   // the payer's, from TYB
  char payeeKind[TRANSFER_TEXT_WIDTH + 1];     // SOO
  char payerKind[TRANSFER_TEXT_WIDTH + 1];     // SOZ
  char orderKind[TRANSFER_TEXT_WIDTH + 1];     // TYP
};
void OdswiezTekstyPrzelewu();
// The current order goes to ZUS: from 2018 (working year or date) with the payee code "ZUS".
bool PrzelewDoZus();
// The field list of the form of an order of `kind` (1 to 4) into `edits`
// (`size` bytes), the party-code fields with their keys when `withKeys`;
// the screen resource, or 0 for another kind.
int16_t DefineTransferForm(int kind, EditCtrl* edits, int size, int withKeys);

// Called after a routine filled a party of the current order: the window
// showing the order redraws it. NULL when no such window is open.
extern void (*OdswiezFormularzPrzelewu)();

// 1 when the insurance title code begins with one that is kept off the
// partner chooser ("0511", "0521", "0531", "0542"), else 0.
int KodTytuluWykluczony(const char* text);
// "Przelew" for kind 'P', "Wpłata" for any other; with `oryg` the same
// followed by " oryg.".
const char* NazwaFormularzaPrzelewu(char kind, int oryg);
// 1 when the payment symbol begins with a reserved one, else 0.
int SymbolZarezerwowany(const char* text);
// Get validator of the payment symbol: a reserved one is refused (-1) with a warning.
int SprawdzSymbolPlatnosci(Get4* get);
// Get validator of a tax order's date: a valid date fills the payee with the
// tax office under the cursor of "Z5USKA" and the own firm's tax account
// ZN3 (the payee stays when the tax offices are not open); 0, or -1
// keeping the cursor.
int DataPrzelewuUrzedu(Get4* get);
// `text` broken at blanks into the two fields.
void DwieLinie(const std::string& text, DbField* first, DbField* second);
// The own firm's account chosen from the list " WYBIERZ ": its number (1 to
// 6, *name the kind's name) or 0 after Esc.
int WybierzKontoFirmy(std::string* name);
// The own firm into the payee of the current order, with the account the
// operator chooses (Esc: the basic one).
void FirmaDoOdbiorcy();
// Variants of the own firm as the payer: which name, NIP, identifier and ZUS account it takes.
enum TransferPayerVariant {
  TRANSFER_ORDINARY = 0, TRANSFER_TAX = 1, TRANSFER_ZUS_BEFORE_2018 = 2, TRANSFER_ZUS_FROM_2018 = 3, TRANSFER_VAT = 4
};
// The own firm into the payer of the current order: with `choose` the
// account the operator chooses, else the basic one.
void FirmaDoZleceniodawcy(int choose, int variant);
// The own firm as the payer of a split-payment order: a chosen account, no NIP or identifier.
void FirmaDoZleceniodawcyVat();
// The partner under the cursor of "Z5WSPL" into the payer; with `nipFirst`
// the identifier is the NIP when there is one, else the NIP goes into NIP.
void WspolnikDoZleceniodawcy(int choose, int nipFirst);
// The partner under the cursor of "Z5WSPL" into the payee.
void WspolnikDoOdbiorcy();
// The own firm's PIT-4 tax office into the payee, with the micro-account from 2020.
void UrzadPit4DoOdbiorcy();
// Fill routine of an order paying the current purchase document: the
// supplier from the contractors (open), else from the document.
void WypelnijPrzelewZZakupu();
// The tax office under the cursor of "Z5USKA" into the payee of the current
// order, with the account held by the own-firm field `account`; the
// PIT/VAT choice is not used.
void UrzadDoPrzelewu(int pitOrVat, DbField* account);

// The window "PRZELEW": a new order of `kind` filled by `fill`, edited with
// its codes typed, and appended on F2 (the table locked only for the
// append). 0 saved, *amount its KWO; -1 otherwise (also for a kind
// without a form, nothing shown), *amount -1. With
// `openFirm` the own-firm table is opened and closed here.
int DopiszPrzelew(int kind, void (*fill)(), double* amount, int openFirm);

// Fill routine of DopiszPrzelew from the current sales header: the amount
// to settle in PLN, the own firm as payee, the buyer as payer, the title.
void WypelnijPrzelewZDokumentu();
// The sales register's " Przelew ": after the question, a new order for the
// current document in the window "PRZELEW".
int32_t PrzelewDokumentuSprzedazy(int32_t);
// The window "OPCJE PRZELEWÓW" over the transfer print options; F2 saves them.
int OpcjePrzelewow();

// Printing of the transfer forms: only ordinary orders (kind 1) have one.
bool PrzelewMaFormularz(int kind);
// Opens the print job of orders of `kind` over "Z5PLEW": 0, or -1.
int OtworzWydrukPrzelewu(int kind);
// Prints the current order of kind 1 on the form the options choose; with
// `correctFirst` the page is shown for correction and printed on F2. A
// complete pass marks the order printed (DRU 'N'). 0 (also when nothing was
// printed on purpose), 1 a refused print mode or printer, -1 no memory or a
// failed write.
int DrukujPrzelew(int correctFirst, int kind);
void ZamknijWydrukPrzelewu();
// The kind an order of kind `typ` prints as: a tax order as an ordinary one when option 51 says so.
int RodzajWydrukuPrzelewu(long typ);
// The current order in a print job of its own, shown for correction first.
void DrukujJedenPrzelew();
int DrukujNaOryginale2(int correctFirst);
int DrukujNaOryginale4(int correctFirst);

// The text routines of the forms. Character pages are rows of `width`
// characters; the boxes factor (2 when characters go in separate boxes on
// pre-printed forms, else 1) is the step between printed characters.
void UstawKratkiPrzelewu(int step);
// `text` without trailing blanks, one character every `step` positions, blanks written as `blank`.
void TekstRozstrzelony(char* destination, const char* text, char blank, int step);
// The amount in short words, `width` characters and flags & 15 decimals
// formatted first; flag 0x10: nothing for a zero amount.
void KwotaSlownieNaFormularz(char* destination, double amount, int width, int flags, int step);
// The full date (10 characters) of a non-empty field, else 10 blanks.
void DataNaFormularz(char* destination, DbField* date);
// `text` framed on both sides by the characters of options 35 and 36.
std::string KwotaZeZnakami(const std::string& text);
// The order's amount with two decimals after a comma, framed; empty for a zero amount.
std::string KwotaPrzelewuNaFormularz();
// Blanks and hyphens removed; the first three characters kept when the third is one.
void UsunSeparatoryKonta(char* text);
// The digits in groups of four (the check digits kept apart), at most 64 characters.
std::string NumerKontaCzworkami(const char* text);
// An account number on a page line (`line` at column 0 of a page `width`
// wide): check digits, the rest, the split of option 37 and what does not
// fit before `endCol` on the line `continuation` rows lower.
void KontoNaFormularz(char* line, int width, int checkCol, int restCol, int splitCol, int endCol, int continuation,
                      DbField* field);
// The payer's (payee's) name and address on two lines of `length` characters.
void ZleceniodawcaNaFormularz(char* line1, char* line2, int length);
void OdbiorcaNaFormularz(char* line1, char* line2, int length);
// Where the fields of a pre-printed section go.
struct TransferSection {
  int width, split, amount, transferMark, depositMark;
};
// One pre-printed section (19 rows of `s.width`) of the current order.
void WypelnijOdcinek(char* section, const TransferSection& s);
// `rows` rows of the section copied into the sheet at (row, col).
void PowielOdcinek(const char* section, char* sheet, int rows, int width, int sheetWidth, int row, int col);

// Key routines of the party-code and symbol fields of the order forms.
int KodOdbiorcyZwyklego(Get4* get, char* buffer, int32_t data);
int KodZleceniodawcyZwyklego(Get4* get, char* buffer, int32_t data);
int KodOdbiorcyVat(Get4* get, char* buffer, int32_t data);
int KodZleceniodawcyVat(Get4* get, char* buffer, int32_t data);
int KodUrzedu(Get4* get, char* buffer, int32_t data);
// The payer of a tax order (`data` 1) or of a ZUS order (0).
int KodZleceniodawcyUrzedowego(Get4* get, char* buffer, int32_t data);
int SymbolPodatku(Get4* get, char* buffer, int32_t data);
// Entering the symbol of a ZUS order: the list of payment types (Esc goes back a field).
int TypWplatyZus(Get4* get, char* buffer, int32_t data);
// F4 "Lista": the chooser of the party kind of the payee (`payer` 0) or the
// payer (1) puts its code into the field; Alt+K blanks it.
int WybierzKodStrony(Get4* get, char* buffer, int32_t payer);
