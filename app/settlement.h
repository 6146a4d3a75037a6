// Amounts to settle of sales and purchase documents.
#pragma once

// 1 when `paid` settles `due` (both taken to 6 decimals): nothing is due, or
// the payment reaches the amount due in its direction; else 0.
int KwotyRozliczone(double due, double paid);

// On the current purchase line: its VAT at its rate, KRN x VAS %, to grosze.
double KwotaVat();
// The amount to settle of the current sales header: the corrections (kinds 3
// and 4) their change KRN + KRV, the others the gross. The kind into *kind
// when given.
double KwotaDoRozliczenia(int* kind);
// The amount of the current purchase header: net or, with gross amounts
// (STM 1), gross; for the corrections their net change, or with gross
// amounts the whole change.
double KwotaZakupuNaglowka(int* kind);
// The amount to settle of the current purchase header, summed over its lines;
// 0 with a warning when it has none, -1 when the lines cannot be read.
double KwotaZakupuDoRozliczenia(int* kind);
