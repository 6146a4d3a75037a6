// Bank transfer orders: the checks of their codes and symbols, the names of
// their forms and the routines that fill a party of the current order.
#pragma once

struct DbField;
struct Get4;

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
// The tax office under the cursor of "Z5USKA" into the payee of the current
// order, with the account held by the own-firm field `account`; the
// PIT/VAT choice is not used.
void UrzadDoPrzelewu(int pitOrVat, DbField* account);
