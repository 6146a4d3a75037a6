// Exchange rates of foreign currencies against the złoty, shared by all
// firms ("Z5KURS" in the common directory): the lookup documents and
// postings call for a currency on a day. The catalogue is a module entry
// (app/module_entries.h).
#pragma once
#include <cstdint>

// The rate of `code` (its first three characters, in any letter case) on
// the julian `day` into *rate: the day's own rate, an earlier one the
// operator accepts, or one typed in the window "Szukaj / Dopisz kurs %s",
// which is then stored. `booking` only words the boxes ("księgowania", else
// "VAT"); `redisplay` redraws the caller's gets afterwards. 0 for "PLN"
// (nothing looked up, *rate as it was), 1 when *rate was set, -1 when the
// operator gave up or the table could not be opened or written.
int kurs_waluty(const char* code, int32_t day, double* rate, int redisplay, int booking);
