// The countries with their codes, currencies and membership of the Union
// (the common "Z5KRAJ"): the currency check of a form field and the country
// and currency pickers of forms and filters. The catalogue itself and the
// widget routine are module entries (app/module_entries.h).
#pragma once
#include <cstdint>

struct Get4;

// The flags word of the pickers: the low four bits choose the rows, the
// bits above what a picker yields.
constexpr int KRAJ_Z_WALUTA = 1;        // countries with a currency
constexpr int KRAJ_UE = 2;              // members of the Union
constexpr int KRAJ_UE_Z_WALUTA = 3;
constexpr int KRAJ_POZA_UE = 4;
constexpr int KRAJ_POZA_UE_Z_WALUTA = 5;
constexpr int KRAJ_UE_BEZ_EURO = 6;     // members whose currency is not "EUR", blank included
constexpr int KRAJ_DAJ_NAZWE = 0x10;    // yield the name KRA
constexpr int KRAJ_DAJ_KOD_KRAJU = 0x20;  // else the country code KKR; neither: the currency KOD

// Validator of a currency code: 0 accepts "PLN" or a currency of a country,
// -1 refuses a blank code silently, an unknown one with "Niezdefiniowany kod
// waluty.", and any failure of the table silently.
int valid_waluta(Get4* get);

// The list "KRAJE" of the countries the flags let through; on a choice
// *text points to a temporary copy of the field the flags name, in its full
// width, and the result is 0. -1 when left or when the table cannot be
// opened; 27 when the list failed or no country passed.
int wybierz_kraj(int flags, char** text);

// Key routine of a text field (the routine's data is the flags word): F4
// opens the currency list and copies the chosen text into the edit buffer.
// Returns the key, 0 when the table cannot be opened.
int kraj_f4_lista(Get4* get, char* editBuffer, int32_t flags);
