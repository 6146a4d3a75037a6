// The cash-register and data-collector services the goods catalogue offers in
// its " Kasa " and " Kolektor " menus. Each runs with the goods browse current
// and works on its filtered list.
#pragma once

int KasaCennik();
int KasaRaport();
int KasaZerowanie();
int KasaWeryfikacja();
int KasaUsun();
int KasaOpcje();
int KolektorZerowanie();
int KolektorAktualizacja();
