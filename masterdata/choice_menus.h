// The choice menus that entry forms open: the VAT rate (declared with the
// module entries, as the frame calls it too) and the expense column of the
// income and expense book.
#pragma once

// The expense columns "1. ZAKUP HANDL." to "8. INNE 20%" under "WYBIERZ",
// starting on column `start` (1 to 8; 0 the first); "3. KOSZT REKLAMY"
// cannot be chosen after 2006. A negative row centres the menu. 1 to 8, -1
// on Esc.
int wybierz_kolumne_kosztow(int start, int row, int col);
// Its items (the first only gives the width), for the texts of stored columns.
extern const char* const EXPENSE_COLUMNS[];
