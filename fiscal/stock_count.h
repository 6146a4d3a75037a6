// What the register report and the collector's count share: the count
// table (the temporary goods-layout table, one record per counted code), its
// browse, and the stock update of the browse's filtered goods from it.
#pragma once

struct BrowseContext;

// Appends a count record: code, name, quantity and value; 0 or -1.
int KFDopiszSpis(const char* code, const char* name, double quantity, double value);
// The count browse: menu " Drukuj " and " Usuń ", columns kod, nazwa, ilość, wartość.
void KFPokazSpis();
// Seeks the code among the browse's filtered goods: 0 found (the goods
// record is current), 1 not found, -1 on an error.
int KFSzukajTowaru(BrowseContext* browse, const char* code);
// Adds sign x each counted quantity to the stock of its goods record under
// the record's lock (read again after locking) and sets the eight stock
// values to price x the new stock (0 when it is not positive). With `check`
// every code must be found first, else nothing changes; without it a
// missing code is skipped. Asks message 172 first; 0 or -1.
int KFAktualizujStan(BrowseContext* browse, int sign, bool check);
