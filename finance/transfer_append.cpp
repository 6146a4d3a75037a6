// A new transfer order in its own window "PRZELEW", as made from a document.
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "finance/transfers.h"
#include "tables/cash_tables.h"
#include "tables/firm_tables.h"
#include "ui/definition_lists.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"
#include "ui/opened_window.h"
#include "ui/record_stamp.h"
#include "sales/background_screen.h"
#include "ui/std_windows.h"

namespace {

constexpr int WINDOW_ROW = 3, WINDOW_COL = 0, WINDOW_ROWS = 25, WINDOW_COLS = 80;
constexpr int FIELD_ATTRIBUTE = 0x70;
constexpr int MSG_START_PRINT = 20051;   // " Czy rozpocząć wydruk ?"
constexpr int FORM_ENTRIES = 40;

void Close(TableHandles& t) {
  if (t.table) d4close(t.table);
  t.table = nullptr;
}

// The form until F2 (true) or Esc.
bool Edit(int16_t screen, EditCtrl* edits) {
  OpenedWindow window([] {
    return DefineWprowadzWindow(WINDOW_ROW, WINDOW_COL, WINDOW_ROWS, WINDOW_COLS, "PRZELEW", nullptr, nullptr);
  });
  if (window.handle < 0) return false;
  pokaz_tlo(screen, 0, 0);
  return EditUntilSaved(edits, FIELD_ATTRIBUTE) == KEY_F2;
}

}  // namespace

int DopiszPrzelew(int kind, void (*fill)(), double* amount, int openFirm) {
  *amount = -1;
  if (openFirm && OpenZ5PAWL() != 0) return -1;
  int result = -1;
  if (OpenZ5PLEW(0) == 0) {
    void (*outer)() = OdswiezFormularzPrzelewu;
    OdswiezFormularzPrzelewu = OdswiezTekstyPrzelewu;
    DbTable* t = Z5PLEW.table;
    d4blank(t);
    f4assign_long(Z5PLEW.field[PLEW_TYP], kind);
    if (fill) fill();
    OdswiezTekstyPrzelewu();
    f4assign_char(Z5PLEW.field[PLEW_DRU], 'T');
    EditCtrl edits[FORM_ENTRIES];
    int16_t screen = DefineTransferForm(kind, edits, sizeof edits, 0);
    if (screen != 0 && Edit(screen, edits)) {
      set_pass_inf(0, Z5PLEW.field[PLEW_INF]);
      if (lock_and_append(t, nullptr, nullptr) == 0) {
        if (Pytanie(MSG_START_PRINT) != KEY_ESC) DrukujJedenPrzelew();
        *amount = f4double(Z5PLEW.field[PLEW_KWO]);
        result = 0;
      }
    }
    OdswiezFormularzPrzelewu = outer;
    Close(Z5PLEW);
  }
  if (openFirm) Close(Z5PAWL);
  return result;
}
