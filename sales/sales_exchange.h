// The sales exchange between installations: " Export " copies the current
// register's headers, lines and recipients of a period into the exchange
// tables of a directory; " Import " appends those of another installation
// to the current register with new record numbers, taking the goods out of
// stock when the options say so.
#pragma once

// Export choices.
enum { WG_DATY_WYSTAWIENIA = 1, WG_DATY_VAT = 2, BEZ_DATY_VAT = 3 };

// The menu items: they redisplay the browse; 0.
int eksport_sprzedazy();
int import_sprzedazy();

// The export of the current register's documents of the choice and period
// (dates "CCYYMMDD", unused for choice 3) into `katalog`: the number of
// documents written, or -1 after "Eksport zakończony błędnie.".
long EksportujSprzedaz(int wybor, const char* od, const char* do_, const char* katalog);
// The import of the exchange tables of year `rok` in `katalog` into the
// current register: the number of documents stored, -1 after " Brak pozycji !"
// for no lines, -2 after "Import zakończony błędnie.". A refused import
// stores nothing.
long ImportujSprzedaz(int rok, const char* katalog);
