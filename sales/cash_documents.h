// Alt+F5 of the sales register: cash-book entries for the listed documents
// that have none yet.
#pragma once

struct DbScanCtx;

// Asks, then writes the entries for the documents of the browse's list and
// redisplays it. 0.
int dopisz_dokumenty_kasowe();
// The same over the documents of `list`, without redisplaying; the count of
// entries written, or -1 when the questions were left with Esc or the
// headers could not be locked.
int dopisz_dokumenty_kasowe_listy(DbScanCtx* list);
