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
// The field list of the form of an order of `kind` into `edits` (`size`
// bytes); the screen resource, or 0 when that kind has no form yet.
int16_t DefineTransferForm(int kind, EditCtrl* edits, int size);

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
// ZN3; 0, or -1 keeping the cursor.
int DataPrzelewuUrzedu(Get4* get);
// `text` broken at blanks into the two fields.
void DwieLinie(const std::string& text, DbField* first, DbField* second);
// The own firm into the payee of the current order, with the account the
// operator chooses (Esc: the basic one).
void FirmaDoOdbiorcy();
// The tax office under the cursor of "Z5USKA" into the payee of the current
// order, with the account held by the own-firm field `account`; the
// PIT/VAT choice is not used.
void UrzadDoPrzelewu(int pitOrVat, DbField* account);

// The window "PRZELEW": a new order of `kind` filled by `fill`, edited with
// its codes typed, and appended on F2 (the table locked only for the
// append). 0 saved, *amount its KWO; -1 otherwise, *amount -1. With
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
