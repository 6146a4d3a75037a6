// The payment demand of the sales register's current document: the unpaid
// rest with the interest for the delay, or the interest alone for a document
// paid late; a window to adjust it, then the letter shown in the page viewer
// and printed twice on one sheet (original and copy). Nothing is stored.
#pragma once

// The interest routine the demand computes with (that of finance/interest.h
// unless replaced): arguments and result as LiczOdsetki.
using LiczenieOdsetekWezwania = int (*)(const char* due, const char* paid, double amount, double* taxInterest,
                                        double* statutoryInterest, int* days);
extern LiczenieOdsetekWezwania liczOdsetkiWezwania;

// " Wezwanie " and Ctrl+E of the sales register (the argument is ignored):
// " Brak pozycji !" on an empty browse, else the window. 0.
int wezwanie_do_zaplaty(int);
// The window over the current header; F2 (or the last get) and the
// question lead to the letter. 0.
int okno_wezwania();
// The amount the demand runs on and its type (1 the rest due with interest,
// 2 the interest on a document paid in full); 0 when no demand can be made
// for the current header, else 1.
int kwota_wezwania(double* amount, int* type);
// Days late, interest and total of the open window's demand, computed and
// shown; 0, -1 on a calculation error, -2 when a rate table cannot be opened.
int przelicz_odsetki_wezwania();
// Fills the letter of the open window's demand, shows it, prints it on F2. 0.
int drukuj_wezwanie();
