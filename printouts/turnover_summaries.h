// Turnover summaries of the sales registers: quantity and value sold per
// goods entry and per service over the VAT register's accepted lines (added
// into temporary copies of the catalogues), and value sold per contractor
// over the register's accepted headers (added into the contractors' NET,
// VAT and BRU). Each is shown as a browse with a threshold filter and the
// tabulogram printout.
#pragma once

struct DbScanCtx;
struct DbTable;
struct FilterItem;
struct FilterSet;

// " Towary " and " Usługi " of the VAT register's print menu (`sales` is
// always 1; `rejestr` 1 main, 2 auxiliary chooses the title). 0.
int zestawienie_towarow(DbTable* lines, int sales, int rejestr);
int zestawienie_uslug(DbTable* lines, int sales, int rejestr);
// The contractor turnover over the register's headers; the filter set
// feeds the printout's heading, the currency item the currency mode. 0.
int obrot_kontrahentow(DbTable* headers, int sales, int rejestr, FilterSet* filters, FilterItem* currency);
// " Obroty " of the sales register: the filter window, the turnover, then
// the question about the filters. 0.
int obroty_z_rejestru();

// The summation passes: every line (header) the scan accepts added into the
// open temporary goods or services table (the open contractors table),
// amounts converted by the currency mode; pro forma lines count with
// `proForma`. 0, or -1 on a write error.
int sumuj_towary(DbScanCtx* scan, int mode, int proForma);
int sumuj_uslugi(DbScanCtx* scan, int mode, int proForma);
int sumuj_obroty_kontrahentow(DbScanCtx* scan, int mode);
// Zeroes every contractor's NET, VAT and BRU; 0 or -1.
int zeruj_obroty_kontrahentow();
