// "USTALENIE CEN SPRZEDAŻY": the selling prices of the current goods record
// set after a new purchase price, with the catalogue form's price rules.
#include <string>
#include <vector>

#include "env/code_pages.h"
#include "masterdata/goods_catalogue.h"
#include "masterdata/goods_form.h"
#include "masterdata/price_arithmetic.h"
#include "tables/masterdata_tables.h"
#include "ui/definition_lists.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

#include "env/form_text.h"

namespace {

constexpr int16_t RES_FORM = 20;
constexpr int FIRST_LEVEL_ROW = 13;

DbField** P(int i) { return &Z5TOWA.field[i]; }

}  // namespace

int ustal_ceny_sprzedazy() {
  static TextCtrl texts[24];
  static EditCtrl edits[10];
  const uint8_t margins = GoodsMarginsOn() ? 0 : TEXT_HIDDEN;
  ResetTextCtrlDefinition(texts, sizeof texts);
  DefineTextCtrl(0, 8, P(TOWA_KOD), 0);
  for (int i = 0; i < 6; i++) DefineTextCtrl(2 + i, 1, P(TOWA_NA1 + i), 0);
  DefineTextCtrl(9, 20, P(TOWA_CZN), 0);
  DefineTextCtrl(9, 43, P(TOWA_CZB), 0);
  DefineTextCtrl(10, 72, P(TOWA_TRC), 0);
  ResetEditCtrlDefinition(edits, sizeof edits);
  for (int level = 0; level < 3; level++) {
    int row = FIRST_LEVEL_ROW + level;
    DefineTextCtrl(row, 3, P(GOODS_PRICE_LEVELS[level][0]), margins);
    DefineTextCtrl(row, 10, P(GOODS_PRICE_LEVELS[level][1]), 0);
    DefineTextCtrl(row, 25, P(GOODS_PRICE_LEVELS[level][2]), 0);
    EditCtrl* margin = DefineEditCtrl(row, 3, P(GOODS_PRICE_LEVELS[level][0]), EDIT_DATE | (margins ? EDIT_SKIP : 0));
    margin->keyRoutine = GoodsMarginKeys;
    margin->routineData = level;
    DefineEditCtrl(row, 10, P(GOODS_PRICE_LEVELS[level][1]), EDIT_DATE)->validator = GoodsSellingNetLeft;
    DefineEditCtrl(row, 25, P(GOODS_PRICE_LEVELS[level][2]), EDIT_DATE)->validator = GoodsSellingGrossLeft;
  }

  static const std::string title = Utf8ToMazText("USTALENIE CEN SPRZEDAŻY");
  int previous = w4select(-1);
  int window = DefineBroAppeWindow(2, 0, 20, 80, title.c_str(), 0, nullptr, nullptr);
  w4activate(window);
  std::vector<std::string> lines = ResourceLines([] { return RES_FORM; });
  for (size_t row = 0; row < lines.size(); row++) w4(static_cast<int>(row), 0, lines[row].c_str());
  for (TextCtrl* t = texts;; t++) {
    DrawTextCtrl(t);
    if (t->flags & DEF_LAST) break;
  }
  add_help_line();
  set_fun_help("F2", "Zapisz", 2);
  int key;
  do {
    key = build_get_struct(BGS_ONCE, edits, 0x70);
  } while (key != KEY_F2 && key != KEY_ESC);
  remove_help_line();
  w4deactivate(window);
  w4close(window);
  w4select(previous);
  return key == KEY_F2 ? 0 : -1;
}
