// The JPK_FAKT export of the receipts module: the invoices issued to retail
// receipts in a period, turned into the work table's invoice and row records
// and written as the JPK_FA file of the working date's variant; no register
// entry and no copy.
#pragma once
#include "jpk/jpk_context.h"

// The menu item " JPK fakt." of the receipts (Z5PARA, Z5PARE and Z5PARO open).
void eksport_jpk_fakt();

// The invoice record of the current receipt (Z5PARA) from its buyer record
// (Z5PARO, current): 0, -1 when the append failed, or the number (1, 2) of
// the required field found empty, nothing appended then.
int zapisz_fakture_paragonu_jpk(kontekst_jpk* c, int wariant);
// The row record of the current receipt line (Z5PARE): 0 or -1.
int zapisz_wiersz_paragonu_jpk();

// The default file name (a temporary string).
char* nazwa_pliku_jpk_fakt(int rok, int miesiac, int wersja);
