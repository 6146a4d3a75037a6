#include "masterdata/descriptions.h"

#include <cstring>
#include <iterator>
#include <string>

#include "app/module_entries.h"
#include "db/dbf_table.h"
#include "env/session/field_text.h"
#include "env/temp_strings.h"
#include "masterdata/catalogue_browse.h"
#include "tables/masterdata_tables.h"
#include "ui/definition_lists.h"
#include "ui/get4.h"

namespace {

constexpr int OPIS_OP1 = 0, OPIS_OP2 = 1, OPIS_KOD = 2, OPIS_INF = 3;
constexpr int BY_TEXT = 0, BY_KOD = 1;
constexpr int MSG_TITLE = 20086;
constexpr int MSG_DUPLICATE = 20153;
constexpr int16_t RES_FORM = 252;
constexpr int FORM_LINES = 3;
constexpr int FIELD_COLUMN = 7;

DbField* Field(int n) { return Z5OPIS.field[n]; }

// Codes are kept in capitals whatever the keyboard gave.
bool CodeRefused() {
  DbField* code = Field(OPIS_KOD);
  f4assign_n(code, QuickStr(f4ptr(code), static_cast<int>(f4len(code)), QS_UPPER), f4len(code));
  if (EmptyRefused(FieldIsEmpty(code))) return true;
  std::string key(f4ptr(code), f4len(code));
  return DuplicateRefused(Z5OPIS.table, Z5OPIS.tag[BY_KOD], key.c_str(), MSG_DUPLICATE) != 0;
}

int ValidCode(Get4*) { return CodeRefused() ? 1 : 0; }

int ValidFirstLine(Get4*) { return EmptyRefused(FieldIsEmpty(Field(OPIS_OP1))); }

int CompleteDescription() { return CodeRefused() || ValidFirstLine(nullptr) ? -1 : 0; }

const CatalogueAction ACTIONS[] = {
    {" Dopisz ", 6310, 'd', 0, CatalogueAppend},
    {" Modyfikuj ", 6320, 'm', 0, CatalogueModify},
    {" Usu\xA4 ", 6330, 's', 1, CatalogueDelete},
};

}  // namespace

int kartoteka_opisow() {
  static ScrollColumn columns[3];
  ResetScrollDefinition(columns, sizeof columns);
  DefineScrollColumn(&Z5OPIS.field[OPIS_KOD], 0, "kod")->tag = &Z5OPIS.tag[BY_KOD];
  DefineScrollColumn(&Z5OPIS.field[OPIS_OP1], 0, "opis")->tag = &Z5OPIS.tag[BY_TEXT];
  static TextCtrl texts[4];
  ResetTextCtrlDefinition(texts, sizeof texts);
  DefineTextCtrl(0, FIELD_COLUMN, &Z5OPIS.field[OPIS_KOD], 0);
  DefineTextCtrl(1, FIELD_COLUMN, &Z5OPIS.field[OPIS_OP1], 0);
  DefineTextCtrl(2, FIELD_COLUMN, &Z5OPIS.field[OPIS_OP2], 0);
  static EditCtrl edits[4];
  ResetEditCtrlDefinition(edits, sizeof edits);
  DefineEditCtrl(0, FIELD_COLUMN, &Z5OPIS.field[OPIS_KOD], EDIT_DATE | EDIT_UPPER)->validator = ValidCode;
  DefineEditCtrl(1, FIELD_COLUMN, &Z5OPIS.field[OPIS_OP1], EDIT_DATE)->validator = ValidFirstLine;
  DefineEditCtrl(2, FIELD_COLUMN, &Z5OPIS.field[OPIS_OP2], EDIT_DATE);

  CatalogueBrowse spec{};
  spec.table = Z5OPIS.table;
  spec.tag = Z5OPIS.tag[BY_KOD];
  spec.columns = columns;
  spec.edits = edits;
  spec.texts = texts;
  spec.formResource = RES_FORM;
  spec.formLines = FORM_LINES;
  spec.title = MSG_TITLE;
  spec.stamp = Field(OPIS_INF);
  spec.actions = ACTIONS;
  spec.actionCount = static_cast<int>(std::size(ACTIONS));
  spec.appendRight = 6310;
  spec.modifyRight = 6320;
  spec.deleteRight = 6330;
  spec.complete = CompleteDescription;
  return RunCatalogueBrowse(spec);
}

int kartoteka_opisow_z_listy() { return RunFromList(kartoteka_opisow); }
