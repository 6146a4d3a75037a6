// Services of the VAT registers that the frame and the sales options call.
#pragma once

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
// 1 when the transaction kind (CZO) of the current purchase line is '4', '8'
// or '9', else 0. The purchase lines are open and positioned.
int czy_czynnosc_zakupu_4_8_9();

// The names of the 14 VAT-rate codes as the rate menu (wybierz_stawke_vat)
// takes them: a blank width entry, then item i for code i, ended by NULL.
extern const char* const NAZWY_STAWEK_VAT[];
