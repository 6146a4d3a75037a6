// The JPK_FA export of the sales registers: the schema variant of the
// working date, the work table of invoice ('S') and row ('W') records built
// from the documents of a period, and the XML file written from it, entered
// in the register of exported files and copied to the export directory.
#pragma once
#include "jpk/jpk_context.h"

// The JPK_FA variant of a "CCYYMMDD" date: 1 before 2019-07-01, 2 to
// 2019-10-31, 3 to 2022-03-31, 4 from 2022-04-01.
int wariant_jpk_fa(const char* date);

// The menu item " JPK_FA eksport " of the register (1 main, 2 auxiliary).
void eksport_jpk_fa(int rejestr);

// The invoice record of the current document of the pass's slot (1 current,
// 2 second): 0, -1 when the append failed, or the number (1-6) of the first
// required field found empty, nothing appended then.
int zapisz_fakture_jpk(kontekst_jpk* c, int przebieg, int wariant);
// The same for an OSS document of the current slot.
int zapisz_fakture_oss_jpk(kontekst_jpk* c);
// The row record of the current line of the pass's slot; the keep-currency
// flag (variants 3-4) leaves the amounts in the document's currency. 0 or -1.
int zapisz_wiersz_jpk(int przebieg, int waluta);
// The current line of an OSS document (current slot) into the OSS sums.
void sumuj_pozycje_oss_jpk(kontekst_jpk* c);

// The default file name (a temporary string).
char* nazwa_pliku_jpk_fa(int rok, int miesiac, int wersja);
// The name of a required field by its number 1-6.
const char* nazwa_pustego_pola(int kod);
