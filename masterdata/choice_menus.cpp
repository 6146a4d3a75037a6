#include "masterdata/choice_menus.h"

#include <cstdint>
#include <cstring>

#include "app/module_entries.h"
#include "tables/catalogue.h"
#include "ui/desktop.h"
#include "ui/menu.h"

namespace {

// Purchases cannot take the export and the not-taxed-with-deduction rates;
// the main register has no taxi rate.
constexpr uint64_t PURCHASE_SKIPPED = 1u << 5 | 1u << 10 | 1u << 11;
constexpr uint64_t TAXI_SKIPPED = 1u << 12;

constexpr int ADVERTISING_COLUMN = 3;
constexpr int LAST_YEAR_OF_ADVERTISING = 2006;

// The menu of `items` under `title`, centred when the row is negative: the
// rows above it a quarter of those the items leave free, the columns split
// evenly around the width entry.
int ChoiceMenu(const char* title, const char* const* items, int start, int row, int col, uint64_t skipped) {
  if (row < 0) {
    int count = 0;
    while (items[count + 1]) count++;
    int width = static_cast<int>(std::strlen(items[0]));
    row = (29 - (count + 1)) / 4 + (Desktop.rows - 30) / 2;
    col = (Desktop.cols - 1 - width) / 2;
  }
  return get_menu_function_skipping(title, items, start, row, col, skipped);
}

}  // namespace

const char* const EXPENSE_COLUMNS[] = {
    "                 ", "1. ZAKUP HANDL.  ", "2. KOSZT ZAKUPU  ", "3. KOSZT REKLAMY ", "4. WYNAGRODZENIA ",
    "5. INNE          ", "6. ZAKUP PRODUK. ", "7. INNE 75%      ", "8. INNE 20%      ", nullptr,
};

int wybierz_stawke_vat(const char* const* items, int start, int row, int col, int kind) {
  const char* title = nullptr;
  uint64_t skipped = 0;
  switch (kind) {
    case 5: title = "SPRZEDA\xA1"; break;
    case 6:
      title = "ZAKUP";
      skipped = PURCHASE_SKIPPED;
      break;
    case 1: skipped = TAXI_SKIPPED; break;
    default: break;
  }
  return ChoiceMenu(title, items, start, row, col, skipped);
}

int wybierz_kolumne_kosztow(int start, int row, int col) {
  uint64_t skipped = WorkingYear() > LAST_YEAR_OF_ADVERTISING ? uint64_t{1} << ADVERTISING_COLUMN : 0;
  return ChoiceMenu(nullptr, EXPENSE_COLUMNS, start, row, col, skipped);
}
