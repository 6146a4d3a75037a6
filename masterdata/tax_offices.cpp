// The tax-office catalogue over the open "Z5USKA", also the list routine of
// the tax-office fields of other forms.
#include "app/module_entries.h"

#include <cstdint>

#include "db/dbf_table.h"
#include "print/tabulogram.h"
#include "tables/masterdata_tables.h"
#include "ui/browse.h"
#include "ui/definition_lists.h"
#include "ui/keyboard.h"
#include "ui/menu.h"
#include "ui/window4.h"

namespace {

enum UskaField {
  USKA_SKN, USKA_NAZ, USKA_ULI, USKA_DOM, USKA_KDP, USKA_MIA, USKA_BCP, USKA_KNC, USKA_KNV, USKA_KOD, USKA_UWA,
  USKA_XML, USKA_INF
};
constexpr int BY_SKN = 2, BY_NAZ = 3;
constexpr int MSG_TITLE = 20087;
constexpr int RIGHT_APPEND = 6410, RIGHT_PRINT = 6420, RIGHT_MODIFY = 6430;
constexpr int16_t RES_FORM = 242;
constexpr int FORM_LINES = 11;
constexpr int FIELD_COLUMN = 17;

// Form rows in order; the first three are typed only into a new office.
constexpr UskaField kFormFields[FORM_LINES] = {USKA_XML, USKA_NAZ, USKA_SKN, USKA_ULI, USKA_DOM, USKA_KDP,
                                              USKA_MIA, USKA_BCP, USKA_KNC, USKA_KNV, USKA_UWA};
constexpr int NAMING_FIELDS = 3;

EditCtrl edits[FORM_LINES + 1];

void NamingEditable(bool editable) {
  for (int i = 0; i < NAMING_FIELDS; i++) set_is_format(edits, &Z5USKA.field[kFormFields[i]], editable ? 0 : 0x80);
}

int BeforeNew() {
  NamingEditable(true);
  return 0;
}

// The running number is counted under the append lock: two workstations
// appending at once never get the same one.
int NumberInsideLock(int) {
  long count = d4reccount(Z5USKA.table);
  if (count < 0) return -1;
  f4assign_long(Z5USKA.field[USKA_KOD], count + 1);
  return 0;
}

int BeforeModify() {
  NamingEditable(false);
  return 0;
}

int OfficeKeys(int key) {
  hot_keys(key, 1, RIGHT_APPEND, 0, RIGHT_MODIFY, KEY_ESC, -1, Z5USKA.field[USKA_INF]);
  return 0;
}

}  // namespace

int kartoteka_urzedow() {
  static ScrollColumn columns[3];
  static TextCtrl texts[FORM_LINES + 1];
  static TabuColumn printed[11];
  ResetScrollDefinition(columns, sizeof columns);
  DefineScrollColumn(&Z5USKA.field[USKA_SKN], 0, "nazwa skr\xA2" "cona")->tag = &Z5USKA.tag[BY_SKN];
  DefineScrollColumn(&Z5USKA.field[USKA_NAZ], 0, "nazwa")->tag = &Z5USKA.tag[BY_NAZ];
  ResetTextCtrlDefinition(texts, sizeof texts);
  ResetEditCtrlDefinition(edits, sizeof edits);
  for (int row = 0; row < FORM_LINES; row++) {
    DefineTextCtrl(row, FIELD_COLUMN, &Z5USKA.field[kFormFields[row]], 0);
    EditCtrl* edit = DefineEditCtrl(row, FIELD_COLUMN, &Z5USKA.field[kFormFields[row]], EDIT_DATE);
    if (kFormFields[row] == USKA_KDP) edit->picture = "99-999";
  }
  ResetTabuDefinition(printed, sizeof printed);
  struct Printed {
    const char* heading;
    UskaField field;
  };
  const Printed kPrinted[] = {{"kod", USKA_KOD},   {"nazwa", USKA_SKN},         {"kod", USKA_KDP},
                              {"miasto", USKA_MIA}, {"ulica", USKA_ULI},         {"nr domu", USKA_DOM},
                              {"bank", USKA_BCP},  {"konto dla PIT", USKA_KNC}, {"konto dla VAT", USKA_KNV},
                              {"uwagi", USKA_UWA}};
  int column = 1;
  for (const Printed& p : kPrinted) DefineTabuColumn(p.heading, nullptr, &Z5USKA.field[p.field], TABU_CHOSEN, column++);

  int previous = w4select(-1);
  int bar = DefineMainMenuWindow();
  MenuDefineItem(" Modyfikuj ", RIGHT_MODIFY, 'm', 0, browse_modyfikuj, nullptr);
  MenuDefineItem(" Drukuj ", RIGHT_PRINT, 'r', 0, [](int32_t) { return browse_drukuj(); }, nullptr);
  BrowseContext* ctx = nullptr;
  int result = -1;
  if (allocate_browse(&ctx, Z5USKA.table, Z5USKA.tag[BY_SKN], columns, bar) == 0) {
    ctx->record_texts = texts;
    ctx->append_edits = edits;
    ctx->record_lines_source = []() -> int16_t { return RES_FORM; };
    ctx->record_lines_count = FORM_LINES;
    ctx->print_columns = printed;
    ctx->title = MSG_TITLE;
    ctx->print_title = MSG_TITLE;
    ctx->stamp_field = Z5USKA.field[USKA_INF];
    ctx->before_new = BeforeNew;
    ctx->before_write = NumberInsideLock;
    ctx->modify_hooks[MODIFY_BEFORE] = BeforeModify;
    ctx->pre_key_hook = OfficeKeys;
    result = zrob_browse(FORM_LINES, FORM_LINES, 0);
    free_browse(&ctx);
  }
  w4close(bar);
  w4select(previous);
  return result;
}
