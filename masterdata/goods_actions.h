// Actions of the goods catalogue over its filtered list: the minimum-stock
// filter, clearing the marks, the searches, the group printout, the stock
// values and the stocktaking sheet. Each works on the current goods browse
// and the running catalogue's context; each returns -1 on an engine error,
// else the result of redisplaying the browse.
#pragma once
#include <cstdint>

struct DbField;
struct DbTable;

// The own test of the filter "ilość <= minim...": accepts (45) goods whose
// minimum stock is not below their stock, else rejects them (40).
int filtr_minimum(DbField* field, DbTable* table);
int usun_znaczniki_towarow(int32_t unused);
// 1 by code, 2 by name, 3 the marked goods.
int szukaj_towaru(int32_t kind);
int drukuj_towary_grupami(int32_t unused);
int wartosc_spisu(int32_t unused);
int spis_z_natury(int32_t unused);
