// Pieces of a printed document page that several printouts share: the VAT
// rate text, the page number, the month and year of a date, and the number
// of lines an item takes.
#pragma once

struct DbField;

// Writes " zw." (code 4), " np." (codes 7, 10, 11) or the rate field's full
// text into the line at `destination`; no NUL is written.
void StawkaVatTekst(char* destination, DbField* rateField, int rateCode);
// Writes "str." (or "page") and the page number as two digits five
// characters on; no NUL is written. Returns `destination`.
char* NumerStronyQStr(char* destination, int page, int english);
// "Styczeń 2025" of a "CCYYMMDD" date field.
char* MiesiacRokQStr(DbField* dateField);
// How many of the six name fields of an item are filled (NULL ones count as empty).
int LiczbaLiniiPozycji(DbField* name1, DbField* name2, DbField* name3, DbField* name4, DbField* name5,
                       DbField* name6);
