// The goods catalogue as the documents reach it: the whole catalogue from a
// pick list, and new goods added on the spot for a code the catalogue lacks.
#include <cstring>

#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/session/environment.h"
#include "env/session/field_text.h"
#include "masterdata/catalogue_browse.h"
#include "masterdata/goods_catalogue.h"
#include "masterdata/goods_form.h"
#include "tables/masterdata_tables.h"
#include "ui/browse.h"
#include "ui/desktop.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"
#include "ui/record_stamp.h"
#include "ui/rights.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

#include "app/module_entries.h"

namespace {

constexpr int RIGHT_WAREHOUSE = 7000, RIGHT_GOODS = 7500;
constexpr int MSG_UNKNOWN_CODE = 20127;
constexpr int MSG_ADD_GOODS = 20039;
constexpr int FORM_LINES = 24, FORM_WIDTH = 78;
constexpr int FORM_ATTR = 31;

// Cursor, current window and the last key of the caller, given back at the end.
class CallerState {
 public:
  CallerState() : env(EnvCurrent()), row(env->caretRow), col(env->caretColumn), key(env->lastGetKey),
                  window(w4select(-1)) {}
  ~CallerState() {
    w4select(window);
    w4cursor(row, col);
    env->lastGetKey = key;
  }

 private:
  Environment* env;
  int row, col, key, window;
};

}  // namespace

int kartoteka_towarow_z_dokumentu() {
  if (!pass_tab_test(RIGHT_WAREHOUSE) || !pass_tab_test(RIGHT_GOODS)) return 0;
  return RunFromList(kartoteka_towarow);
}

int formularz_nowego_towaru(const char* code) {
  kontekst_kartoteki_towarow* c = KontekstTowarow;
  DbTable* table = Z5TOWA.table;
  if (!c || !table) return -1;
  int previous = w4select(-1);
  int window = DefineBroAppeWindow(3, 0, FORM_LINES + 2, 80, nullptr, 0, nullptr, nullptr);
  w4activate(window);
  d4blank(table);
  d4changed(table, 0);
  nowy_towar_domyslne();
  ToFieldCopyDouble(Z5TOWA.field[TOWA_ILO], 0);
  ToFieldCopyMaxString(Z5TOWA.field[TOWA_KOD], code);
  c->schowek_pelny = 0;
  RefreshGoodsChoiceTexts(c);
  write_to_screen(c->tekst_formularza.c_str(), 0, FORM_WIDTH, 0, FORM_LINES, FORM_ATTR);
  RedrawGoodsForm();
  BrowseContext* browse = CurrentBrowse;
  uint8_t modifying = browse ? browse->modify_mode : 0;
  if (browse) browse->modify_mode = 0;
  add_help_line();
  set_fun_help("F2", "Zapisz", 2);
  int left = build_get_struct(BGS_NEW_ITEM, c->pola, 0x70);
  remove_help_line();
  if (browse) browse->modify_mode = modifying;
  int result = 1;
  if (left == 0) {
    przed_zapisem_towaru();
    set_pass_inf(0, Z5TOWA.field[TOWA_INF]);
    if (lock_and_append(table, nullptr, nullptr) != 0) result = -1;
  } else {
    d4changed(table, 0);
  }
  w4deactivate(window);
  w4close(window);
  w4select(previous);
  return result;
}

int dopisz_towar_z_dokumentu(const char* code) {
  CallerState caller;
  if (MessageWindow(MB_QUESTION | MB_YES_ESC, MSG_UNKNOWN_CODE, MSG_ADD_GOODS) == KEY_ESC) return -1;
  GoodsAccounts accounts;
  kontekst_kartoteki_towarow* c = definicja_kartoteki_towarow(0);
  if (!c) return -1;
  int result = formularz_nowego_towaru(code);
  zwolnij_definicje_kartoteki_towarow(c);
  return result;
}
