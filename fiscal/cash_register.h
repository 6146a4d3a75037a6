// The cash-register and data-collector services the goods catalogue offers in
// its " Kasa " and " Kolektor " menus. Each runs with the goods browse current
// and works on its filtered list.
#pragma once
#include <cstdio>

int KasaCennik();
// Appends a goods record per line of the open price list ("cennik.cen":
// code, name, VAT-rate character, gross price, department, TAB-separated);
// 0, or -1 at a short line, an append or a read that failed.
int KasaDopiszCennik(FILE* file);
int KasaRaport();
int KasaZerowanie();
int KasaWeryfikacja();
int KasaUsun();
int KasaOpcje();
int KolektorZerowanie();
int KolektorAktualizacja();
