// The actions of the sales register on its list as a whole: the searches
// and the tabulogram of the filtered list.
#pragma once

// " Suma " (0) and the searches of the Szukaj menu (1 date, 2 buyer's name,
// 3 number, 4 pattern in the buyer's name, 5 in the NIP, 6 in the free
// number). The browse's redisplay, or -1 on a table error.
int szukaj_w_rejestrze(unsigned kind);
// " Tabulogram ": the filtered list printed in the issue-date order, its
// amounts in the currency mode chosen. The browse's redisplay.
int tabulogram_rejestru();

// The texts the pattern searches look in: OSM, NA1, the NIP without its
// separators (temporary strings).
const char* tekst_numeru_swobodnego();
const char* tekst_nazwy_nabywcy();
const char* tekst_nip_nabywcy();
