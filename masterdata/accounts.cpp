#include "masterdata/accounts.h"

#include <algorithm>
#include <iterator>
#include <cstring>
#include <string>

#include "app/module_entries.h"
#include "app/prompts.h"
#include "db/dbf_table.h"
#include "env/session/field_text.h"
#include "masterdata/catalogue_browse.h"
#include "print/tabulogram.h"
#include "tables/masterdata_tables.h"
#include "ui/coded_field.h"
#include "ui/definition_lists.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"
#include "ui/std_windows.h"

namespace {

constexpr int KONT_NAZ = 0, KONT_NUM = 1, KONT_REC = 7, KONT_INF = 8;
constexpr int BY_NUM = 0, BY_NAZ = 2;   // tags 0 and 2; tag 1 orders by REC
constexpr int MSG_TITLE = 20084;
constexpr int MSG_UNDEFINED = 20129;
constexpr int MSG_DUPLICATE = 20156;
constexpr int16_t RES_FORM = 251;
constexpr int FORM_LINES = 2;
constexpr int FIELD_COLUMN = 14;
constexpr int LIST_ROW = 5;
constexpr int KEY_F4 = 0x3E00;
constexpr int NUMBER_DASH = 3;   // the dash of the picture "999-9999"

DbField* Field(int n) { return Z5KONT.field[n]; }

// Blank but for the picture's dash: no account.
bool NoAccount(const char* text, int length) {
  for (int i = 0; i < length; i++)
    if (text[i] != ' ' && text[i] != '\0' && !(i == NUMBER_DASH && text[i] == '-')) return false;
  return true;
}

bool NumberRefused(const char* text, int length) {
  if (EmptyRefused(NoAccount(text, length))) return true;
  std::string key(text, static_cast<size_t>(length));
  return DuplicateRefused(Z5KONT.table, Z5KONT.tag[BY_NUM], key.c_str(), MSG_DUPLICATE) != 0;
}

int ValidNumber(Get4* get) { return NumberRefused(static_cast<const char*>(get->data), get->dataWidth) ? 1 : 0; }

int ValidName(Get4*) { return EmptyRefused(FieldIsEmpty(Field(KONT_NAZ))); }

// The record as a whole, for F2 pressed before every field was visited.
int CompleteAccount() {
  DbField* number = Field(KONT_NUM);
  if (NumberRefused(f4ptr(number), static_cast<int>(f4len(number)))) return -1;
  return ValidName(nullptr) ? -1 : 0;
}

// Counted under the append lock, so two workstations never share an identity.
int GiveIdentity(int) {
  f4assign_long(Field(KONT_REC), d4reccount(Z5KONT.table) + 1);
  return 0;
}

const CatalogueAction ACTIONS[] = {
    {" Dopisz ", 6110, 'd', 0, CatalogueAppend},
    {" Modyfikuj ", 6130, 'm', 0, CatalogueModify},
    {" Drukuj ", 6120, 'r', 0, CataloguePrint},
    {" Usu\xA4 ", 6140, 'u', 1, CatalogueDelete},
};

// The outputs of valid_konto: the account the table stands on, or none.
void GiveAccount(bool found, DbField* identField, long* identOut, char* nameBuffer) {
  DbField* name = Field(KONT_NAZ);
  if (identField) {
    if (found)
      ToFieldCopyField(identField, Field(KONT_REC));
    else
      EmptyField(identField);
  }
  if (identOut) *identOut = found ? f4long(Field(KONT_REC)) : 0;
  if (nameBuffer) {
    if (found)
      ToMemCopyMaxField(nameBuffer, name);
    else
      EmptyMemSizeOfField(nameBuffer, name);
  }
}

int ListAccounts() { return RunFromList(kartoteka_kont); }

}  // namespace

int kartoteka_kont() {
  static ScrollColumn columns[4];
  ResetScrollDefinition(columns, sizeof columns);
  DefineScrollColumn(&Z5KONT.field[KONT_REC], 0, "ident.");
  DefineScrollColumn(&Z5KONT.field[KONT_NUM], 0, "numer")->tag = &Z5KONT.tag[BY_NUM];
  DefineScrollColumn(&Z5KONT.field[KONT_NAZ], 0, "nazwa")->tag = &Z5KONT.tag[BY_NAZ];
  static TabuColumn printed[4];
  ResetTabuDefinition(printed, sizeof printed);
  DefineTabuColumn("ident.", nullptr, &Z5KONT.field[KONT_REC], TABU_CHOSEN, 1);
  DefineTabuColumn("numer", nullptr, &Z5KONT.field[KONT_NUM], TABU_CHOSEN, 2);
  DefineTabuColumn("nazwa", nullptr, &Z5KONT.field[KONT_NAZ], TABU_CHOSEN, 3);
  static TextCtrl texts[3];
  ResetTextCtrlDefinition(texts, sizeof texts);
  DefineTextCtrl(0, FIELD_COLUMN, &Z5KONT.field[KONT_NUM], 0);
  DefineTextCtrl(1, FIELD_COLUMN, &Z5KONT.field[KONT_NAZ], 0);
  static EditCtrl edits[3];
  ResetEditCtrlDefinition(edits, sizeof edits);
  EditCtrl* number = DefineEditCtrl(0, FIELD_COLUMN, &Z5KONT.field[KONT_NUM], EDIT_DATE);
  number->picture = "999-9999";
  number->validator = ValidNumber;
  DefineEditCtrl(1, FIELD_COLUMN, &Z5KONT.field[KONT_NAZ], EDIT_DATE)->validator = ValidName;

  CatalogueBrowse spec{};
  spec.table = Z5KONT.table;
  spec.tag = Z5KONT.tag[BY_NUM];
  spec.columns = columns;
  spec.printColumns = printed;
  spec.edits = edits;
  spec.texts = texts;
  spec.formResource = RES_FORM;
  spec.formLines = FORM_LINES;
  spec.title = MSG_TITLE;
  spec.stamp = Field(KONT_INF);
  spec.actions = ACTIONS;
  spec.actionCount = static_cast<int>(std::size(ACTIONS));
  spec.appendRight = 6110;
  spec.modifyRight = 6130;
  spec.deleteRight = 6140;
  spec.complete = CompleteAccount;
  spec.beforeAppend = GiveIdentity;
  return RunCatalogueBrowse(spec);
}

int valid_konto(Get4* get, DbField* identField, long* identOut, char* nameBuffer) {
  const char* text = static_cast<const char*>(get->data);
  int result = 0;
  bool found = false;
  if (!NoAccount(text, get->dataWidth)) {
    std::string key(text, static_cast<size_t>(get->dataWidth));
    int seek = SeekKontoByNum(key.c_str());
    if (seek < 0) return -1;   // the engine has reported it
    found = seek == 0;
    if (!found) {
      Uwaga(MSG_UNDEFINED);
      result = -1;
    }
  }
  GiveAccount(found, identField, identOut, nameBuffer);
  OdswiezGety();
  return result;
}

int konto_f4_lista(Get4*, char* buffer, int32_t) {
  set_fun_help("F4", "Lista", 4);
  int key = g4char();
  if (key == KEY_F4) {
    static PoleKodowane list[3];
    ResetPoleKodowaneDefinition(list, sizeof list);
    DefinePoleKodowane(0, "numer", &Z5KONT.field[KONT_NUM], &Z5KONT.tag[BY_NUM], 1, -1);
    DefinePoleKodowane(0, "nazwa", &Z5KONT.field[KONT_NAZ], &Z5KONT.tag[BY_NAZ], 0, -1);
    if (pole_kodowane_fun(ListAccounts, MSG_TITLE, list, nullptr, LIST_ROW, 0, Z5KONT.table) == KEY_ENTER) {
      std::memcpy(buffer, f4ptr(Field(KONT_NUM)), f4len(Field(KONT_NUM)));
      key = KEY_ENTER;
    } else {
      key = -1;   // the field stays as it was
    }
  }
  if (WigetCtrlKey(key)) remove_fun_help("F4");
  return key;
}

void numer_konta_wg_rec(char* buffer, int size, DbField* identField) {
  if (!buffer || size <= 0) return;
  std::memset(buffer, 0, static_cast<size_t>(size));
  DbField* number = Field(KONT_NUM);
  size_t length = std::min<size_t>(f4len(number), static_cast<size_t>(size - 1));
  if (SeekKontoByRec(f4long(identField)) == 0)
    std::memcpy(buffer, f4ptr(number), length);
  else
    std::memset(buffer, ' ', length);
}
