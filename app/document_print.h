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
// The date of a reprinted document ("CCYYMMDD"), set by the printouts
// while they print a duplicate; blank or empty otherwise.
extern char duplicateDate[9];

// 1 when the printer takes the character path: neither HP family and no
// page orientation set.
int DrukarkaZnakowa();
// Writes the original/copy mark so that it ends at `end`; returns where it
// begins (`end` when there is no mark).
char* OryginalKopiaQStr(char* end, int original);
// Writes the title (the two texts and the duplicate mark) centred into the
// line of `width` characters, cut at the line's end; no NUL is written.
char* DuplikatQStr(char* line, int width, const char* text1, const char* text2);
// How many of the six name fields of an item are filled (NULL ones count as empty).
int LiczbaLiniiPozycji(DbField* name1, DbField* name2, DbField* name3, DbField* name4, DbField* name5,
                       DbField* name6);
