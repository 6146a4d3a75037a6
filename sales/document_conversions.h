// Links between sales documents made from one another: the gathered
// documents of a final or collective invoice (auxiliary register, second
// set) and the pair of a pro forma and the invoice made from it.
#pragma once
#include <string>

struct DbField;
struct DbTable;

// The number of the current header of `t` as a link field holds it: the
// fixed-width standard number, or the free number cut to the link's width.
std::string LinkNumber(DbTable* t, DbField* link);
// The invoice `recFaktury` of the main register is about to go: its gathered
// documents become free again.
void odlacz_dokumenty_zrodlowe(long recFaktury);
// The invoice's number or issue date changed: its gathered documents get them.
void aktualizuj_powiazania_zrodel(long recFaktury);
// After a change (usun 0) or before the deletion (usun 1) of the current
// header, updates or clears its pro forma partner's link. 0 done or nothing to
// do, 1 the partner is missing (the operator was told), -1 a table error.
int synchronizuj_powiazanie_proformy(int usun);
