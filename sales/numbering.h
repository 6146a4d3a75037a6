// Numbers of sales documents: the next number of a series (kind, prefix,
// suffix) in the headers table of the register, the duplicate checks, and
// the number window of a new document, which returns with the headers table
// locked so that no other workstation can take the same number before the
// caller appends the header.
#pragma once

struct DbField;
struct numer_dokumentu;

// The number entry of a new document of the context's kind: standard numbers
// (prefix, number, suffix) or, without standard numbering, a free number into
// the context. skipCurrent: the free-number check passes over the current
// header; askDate: the issue date is asked too, into the context's new issue
// date. 0 accepted (standard numbers: the headers table stays locked, unless
// the number is taken at save time), -1 abandoned.
int podaj_numer_dokumentu(int standardNumbering, int skipCurrent, int askDate);
// The one window of a copy or correction: its number, issue date and, when
// `advance` is given (a copied advance invoice), the advance amount, above 0
// and not above `gross`. As above, always asked (automatic numbering then
// renumbers at the append); 0 accepted, -1 abandoned.
int podaj_numer_kopii(int standardNumbering, double* advance, double gross);
// The next number of the context's series into the context; the window of
// the number is redrawn when asked. 0, or -1 on a table error.
int nastepny_numer_dokumentu(int redisplay);
// 1 when a header of the context's kind, prefix, suffix and number exists
// (message shown), 0 when not, -1 on a table error.
int sprawdz_duplikat_numeru();
// -1 with "Wypełnij numer dokumentu." when the context's number is 0, else 0.
int sprawdz_numer_niezerowy();
// Fills a number record from texts of the widths of PRE (4) and POS (9).
void zapamietaj_numer(numer_dokumentu* record, const char* prefix, long number, const char* suffix);
void wpisz_numer_do_naglowka(DbField* pre, DbField* nrv, DbField* pos, const numer_dokumentu* record);
// Trims the text and moves it to the right end of its width, blanks before it.
void wyrownaj_do_prawej(char* buffer, int width);

// The window of standard numbers under `title` over the context's
// next-number record, which takes what was typed when the window is left
// with Enter or F2. The key that closed it (Esc also after a table error).
int okno_numeru_dokumentu(const char* title);
// The free-number window under `title`, its entry (40 characters and a NUL)
// starting at `number` and left there; the key that closed it.
int okno_numeru_swobodnego(const char* title, char* number);
// 1 when a header of the context's kind holds the free number (letter case
// and trailing blanks aside; the current header passed over when the
// context says so), with "Podany numer już istnieje!"; 0 when not, -1 on a
// table error. The headers table may then stand on another record.
int sprawdz_duplikat_numeru_swobodnego(const char* number);
