// The description field: a code of the standard descriptions typed or a
// description picked with F4 fills the field and the record's two lines.
#include "masterdata/description_field.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "app/prompts.h"
#include "db/dbf_table.h"
#include "env/session/field_text.h"
#include "env/temp_strings.h"
#include "masterdata/descriptions.h"
#include "tables/masterdata_tables.h"
#include "ui/coded_field.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/std_windows.h"
#include "ui/validators.h"

DbField* cel_opisu_1 = nullptr;
DbField* cel_opisu_2 = nullptr;

namespace {

constexpr int OPIS_OP1 = 0, OPIS_OP2 = 1, OPIS_KOD = 2;
constexpr int BY_TEXT = 0, BY_KOD = 1;
constexpr int MSG_DESCRIPTIONS = 20167;
constexpr int KEY_F4 = 0x3E00;
constexpr int LIST_ROW = 5;
constexpr int CODE_MAX = 5;
enum Mode { BOTH_LINES_TO_TARGETS = 0, FIRST_LINE = 1, LINES_IN_ONE = 2 };

// The mode of the last key routine call, which the validator works in.
int lastMode = BOTH_LINES_TO_TARGETS;

std::string FieldText(int field) { return std::string(f4ptr(Z5OPIS.field[field]), f4len(Z5OPIS.field[field])); }

// The text into the first `width` characters of the field's buffer, blank-padded.
void Put(char* buffer, int width, const std::string& text) {
  std::string fitted = text.substr(0, static_cast<size_t>(std::max(width, 0)));
  fitted.resize(static_cast<size_t>(std::max(width, 0)), ' ');
  std::memcpy(buffer, fitted.data(), fitted.size());
}

// Fills from the description the table stands on.
void Fill(char* buffer, int width, int mode) {
  std::string first = FieldText(OPIS_OP1);
  if (mode == LINES_IN_ONE) {
    Put(buffer, width, first + FieldText(OPIS_OP2));
    return;
  }
  if (mode == BOTH_LINES_TO_TARGETS && cel_opisu_1) width = std::min(width, static_cast<int>(f4len(cel_opisu_1)));
  Put(buffer, width, first);
  if (mode != BOTH_LINES_TO_TARGETS) return;
  if (cel_opisu_1) ToMaxFieldCopyField(cel_opisu_1, Z5OPIS.field[OPIS_OP1]);
  if (cel_opisu_2) ToMaxFieldCopyField(cel_opisu_2, Z5OPIS.field[OPIS_OP2]);
}

// The pick list; 13 when a description was chosen (the table stands on it).
int PickDescription() {
  static PoleKodowane list[4];
  ResetPoleKodowaneDefinition(list, sizeof list);
  DefinePoleKodowane(0, "kod", &Z5OPIS.field[OPIS_KOD], &Z5OPIS.tag[BY_KOD], 0, -1);
  DefinePoleKodowane(0, "opis", &Z5OPIS.field[OPIS_OP1], &Z5OPIS.tag[BY_TEXT], 1, -1);
  DefinePoleKodowane(CODED_NO_COLUMN | CODED_BELOW, "", &Z5OPIS.field[OPIS_OP2], nullptr, 0, -1);
  return pole_kodowane_fun(kartoteka_opisow_z_listy, MSG_DESCRIPTIONS, list, nullptr, LIST_ROW, 0, Z5OPIS.table);
}

}  // namespace

int opis_f4_lista(Get4* get, char* editBuffer, int32_t mode) {
  lastMode = mode;
  set_fun_help("F4", "Lista", 4);
  int key = g4char();
  if (key == KEY_F4 && OpenZ5OPIS(0) == 0) {
    key = PickDescription();
    if (key == KEY_ENTER) {
      Fill(editBuffer, get->dataWidth, mode);
      OdswiezGety();
    }
    d4close(Z5OPIS.table);
  }
  if (WigetCtrlKey(key)) remove_fun_help("F4");
  return key;
}

int wybierz_opis_do_pol(DbField* first, DbField* second) {
  if (OpenZ5OPIS(0) != 0) return KEY_ESC;
  int key = PickDescription();
  if (key == KEY_ENTER) {
    ToMaxFieldCopyField(first, Z5OPIS.field[OPIS_OP1]);
    ToMaxFieldCopyField(second, Z5OPIS.field[OPIS_OP2]);
  }
  d4close(Z5OPIS.table);
  return key;
}

int opis_wg_kodu(Get4* get) {
  char* text = static_cast<char*>(get->data);
  std::string typed = QuickStr(text, get->dataWidth, QS_RTRIM | QS_LTRIM);
  if (typed.empty()) return lastMode == BOTH_LINES_TO_TARGETS && valid_empty_get(get) != 0 ? -1 : 0;
  if (typed.size() > CODE_MAX || lastMode == LINES_IN_ONE || OpenZ5OPIS(0) != 0) return 0;
  if (SeekOpisByKod(typed.c_str()) == 0) {
    Fill(text, get->dataWidth, lastMode);
    OdswiezGety();
  }
  d4close(Z5OPIS.table);
  return 0;
}
