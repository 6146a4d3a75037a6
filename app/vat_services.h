// The VAT-rate codes every line and catalogue entry stores: their names and
// rates, the rate menus, the fold into the code set from 2024, the deduction
// codes of catalogue entries and purchase lines, and the tests whether a cash
// or settlement record belongs to a document.
#pragma once

struct DbField;

// From this working year the lines and catalogues take the grouped codes,
// the 2024 rate menu and the three-item deduction menu.
constexpr int FIRST_YEAR_OF_GROUPED_CODES = 2024;

// The rate in percent of the code the field holds, from the current rate
// settings: 2 the first reduced rate, 8 the second, 9 the farmers' refund, 12
// the taxi lump sum, the zero and exempt codes 0; the empty code, 1, 14 (the
// margin scheme) and unknown codes the basic rate.
double wartosc_stawki_vat(DbField* field);

// The rate group of a VAT-rate code, as the lines from 2024 store it: the
// zero-rate kinds (5, 6, 13) read as 3, the not-taxed kinds (7, 10, 11) as 7.
int grupa_stawki_vat(int code);
// The rate menu of the lines from 2024 ("Wybierz stawkę VAT"): the short one
// of 7 rates, the long one (flag non-zero) adding "8. BEZ STAWKI", opened on
// the current code's item. The chosen rate's code, -1 on Esc.
int wybierz_kod_stawki_vat(int current, int longMenu);
// The menu item that stands for a code (the codes the menu lacks fold into a
// near one), and the code of a menu item (other numbers unchanged).
int pozycja_menu_stawki_vat(int code);
int kod_stawki_vat_z_menu(int item);

// The deduction lists (title " WYBIERZ "), a blank width entry first, ended
// by NULL: the nine stored codes, and the three-item menu of the years from
// 2024 ("1. TAK", "2. TAK 50%", "3. NIE"), which still stores the nine codes.
extern const char* const NAZWY_ODLICZEN_VAT[];
extern const char* const NAZWY_ODLICZEN_VAT_2024[];
// The item of the 2024 deduction menu that stands for a stored code (the
// fuel and 50 % kinds "2. TAK 50%", the vehicle and art. 28b kinds "1. TAK";
// other values unchanged), and the code a chosen item stores (other values,
// -1 for Esc among them, unchanged).
int odliczenie_na_pozycje_menu(int code);
int odliczenie_z_menu(int item);
// The deduction code chosen for a catalogue entry holding `code`: before
// 2024 from the nine codes, from 2024 through the three-item menu. -1 on Esc.
int wybierz_odliczenie_vat(int code, int workingYear);

// On the current purchase line (open and positioned): 1 when its deduction
// code CZO is any but "2. NIE", "3. Paliwa" and blank; 1 when it is one of
// the 50 % kinds '4', '8', '9'. Else 0.
int czy_czynnosc_zakupu_1_4_9();
int czy_czynnosc_zakupu_4_8_9();
// 1 when the current cash-book (or settlement) record belongs to the source
// document: its REK, TYZ and ROK are the record number, source type and
// year. The table is open and positioned; nothing moves.
int czy_zapis_kasy_dokumentu(int sourceType, int year, long record);
int czy_rozliczenie_dokumentu(int sourceType, int year, long record);
// KWO summed over the document's cash-book entries dated from `from` to `to`
// (day numbers, 0 an open side); 0 when both are 0 or one is negative, or
// when the document has none. The cash book is open; it is left on its
// source-document tag.
double suma_kasy_dokumentu(int sourceType, int year, long record, long from, long to);

// The names of the 14 VAT-rate codes as the rate menu (wybierz_stawke_vat)
// takes them: a blank width entry, then item i for code i, ended by NULL.
extern const char* const NAZWY_STAWEK_VAT[];
