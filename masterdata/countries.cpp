// The countries catalogue over the open "Z5KRAJ": codes and currencies in
// capital letters, every name once.
#include "app/module_entries.h"

#include <cstdint>
#include <cstring>

#include "db/db_scan.h"
#include "db/dbf_table.h"
#include "env/temp_strings.h"
#include "masterdata/countries.h"
#include "tables/masterdata_tables.h"
#include "ui/browse.h"
#include "ui/definition_lists.h"
#include "ui/get4.h"
#include "ui/menu.h"
#include "ui/message_box.h"
#include "ui/validators.h"
#include "ui/window4.h"

namespace {

constexpr int KRAJ_SUE = 0, KRAJ_KKR = 1, KRAJ_KRA = 2, KRAJ_KOD = 3;
constexpr int BY_KKR = 0, BY_KRA = 1, BY_KOD = 2;
constexpr int MSG_TITLE = 20085;
constexpr int MSG_COUNTRY_EXISTS = 20174;
constexpr int MSG_ONLY_LETTERS = 20177;
constexpr int RIGHT_COUNTRIES = 131;
constexpr int16_t RES_FORM = 241;
constexpr int FORM_LINES = 4;
constexpr int FIELD_COLUMN = 25;

void UnionColumn(ColumnValue* value) {
  value->type = 'C';
  value->length = 3;
  bool member = f4char(Z5KRAJ.field[KRAJ_SUE]) == 'T';
  std::memcpy(value->text, member ? " \x9D " : "   ", 3);   // the mark between blanks
}

int LettersOnly(Get4* get) {
  const char* text = static_cast<const char*>(get->data);
  for (int i = 0; i < get->dataWidth; i++) {
    if (text[i] == ' ' || (text[i] >= 'A' && text[i] <= 'Z')) continue;
    Uwaga(MSG_ONLY_LETTERS);
    return -1;
  }
  return 0;
}

int UniqueName(Get4* get) {
  if (valid_empty_get(get) != 0) return -1;
  const char* key = QuickStr(static_cast<const char*>(get->data), get->dataWidth, QS_UPPER);
  int modifying = CurrentBrowse && CurrentBrowse->modify_mode;
  return ValidUniqueTag(Z5KRAJ.table, Z5KRAJ.tag[BY_KRA], key, modifying, MSG_COUNTRY_EXISTS) ? -1 : 0;
}

int CountryKeys(int key) {
  hot_keys(key, 1, RIGHT_COUNTRIES, 0, RIGHT_COUNTRIES, 1, RIGHT_COUNTRIES, nullptr);
  return 0;
}

}  // namespace

int kartoteka_krajow() {
  static ScrollColumn columns[5];
  static TextCtrl texts[5];
  static EditCtrl edits[5];
  ResetScrollDefinition(columns, sizeof columns);
  DefineScrollColumn(&Z5KRAJ.field[KRAJ_KKR], 0, "kod")->tag = &Z5KRAJ.tag[BY_KKR];
  DefineScrollColumn(&Z5KRAJ.field[KRAJ_SUE], 0, "UE")->valueRoutine = UnionColumn;
  DefineScrollColumn(&Z5KRAJ.field[KRAJ_KRA], 0, "kraj")->tag = &Z5KRAJ.tag[BY_KRA];
  DefineScrollColumn(&Z5KRAJ.field[KRAJ_KOD], 0, "waluta")->tag = &Z5KRAJ.tag[BY_KOD];
  ResetTextCtrlDefinition(texts, sizeof texts);
  for (int row = 0; row < FORM_LINES; row++) DefineTextCtrl(row, FIELD_COLUMN, &Z5KRAJ.field[row], 0);
  ResetEditCtrlDefinition(edits, sizeof edits);
  DefineEditCtrl(0, FIELD_COLUMN, &Z5KRAJ.field[KRAJ_SUE], EDIT_DATE)->keyRoutine = wybierz_tak_nie;
  DefineEditCtrl(1, FIELD_COLUMN, &Z5KRAJ.field[KRAJ_KKR], EDIT_DATE | EDIT_UPPER)->validator = LettersOnly;
  DefineEditCtrl(2, FIELD_COLUMN, &Z5KRAJ.field[KRAJ_KRA], EDIT_DATE | EDIT_UPPER)->validator = UniqueName;
  DefineEditCtrl(3, FIELD_COLUMN, &Z5KRAJ.field[KRAJ_KOD], EDIT_DATE | EDIT_UPPER)->validator = LettersOnly;

  int bar = DefineMainMenuWindow();
  MenuDefineItem(" Modyfikuj ", RIGHT_COUNTRIES, 'm', 0, browse_modyfikuj, nullptr);
  BrowseContext* ctx = nullptr;
  if (allocate_browse(&ctx, Z5KRAJ.table, Z5KRAJ.tag[BY_KRA], columns, bar) == 0) {
    ctx->record_texts = texts;
    ctx->append_edits = edits;
    ctx->record_lines_source = []() -> int16_t { return RES_FORM; };
    ctx->record_lines_count = FORM_LINES;
    ctx->title = MSG_TITLE;
    ctx->print_title = MSG_TITLE;
    ctx->pre_key_hook = CountryKeys;
    zrob_browse(FORM_LINES, FORM_LINES, -1);
    free_browse(&ctx);
  }
  w4close(bar);
  return 0;
}
