#include "app/operator_list.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/operator_block.h"
#include "app/operator_login.h"
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/messages.h"
#include "platform/clock.h"
#include "tables/firm_tables.h"
#include "ui/browse.h"
#include "ui/coded_field.h"
#include "ui/definition_lists.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/menu.h"
#include "ui/message_box.h"
#include "ui/window4.h"

namespace {

constexpr int MSG_TITLE = 17;
constexpr int MSG_CHIEF_NOT_DELETED = 16;
constexpr int16_t RES_RECORD_LINES = 103;
constexpr int16_t RES_EDIT_LINES = 104;
constexpr int FORM_LINES = 2;
constexpr int FIELD_COLUMN = 25;

DbField* NameField() { return OperatorRecords.field[OPERATOR_A]; }
DbField* BlockField() { return OperatorRecords.field[OPERATOR_B]; }
DbField* FullNameField() { return OperatorFullNames.field[FULL_NAME_NAZ]; }

// Buffer changes that are never to be written: the shown name and the full
// name of the row go into the record buffers without marking them changed.
void PutInBuffer(DbField* field, const char* text, size_t length) {
  char* at = f4ptr(field);
  std::memset(at, ' ', f4len(field));
  std::memcpy(at, text, std::min<size_t>(length, f4len(field)));
}

void ShowFullNameOf(long record) {
  if (!SeekOperatorFullName(record)) PutInBuffer(FullNameField(), "", 0);
}

int DisplayFilter(intptr_t) {
  if (!CurrentBrowse || !CurrentBrowse->edit_mode) {
    // The blank buffer of an empty list holds no block to unscramble.
    const char* block = f4ptr(BlockField());
    const unsigned length = f4len(BlockField());
    if (std::all_of(block, block + length, [](char c) { return c == ' '; })) {
      PutInBuffer(NameField(), "", 0);
    } else {
      char name[OPERATOR_NAME_BYTES];
      OperatorBlockName(block, name);
      PutInBuffer(NameField(), name, sizeof name);
    }
    ShowFullNameOf(d4recno(OperatorRecords.table));
  }
  return X4_ACCEPT;
}

int NameNotEmpty(Get4* get) {
  const char* text = static_cast<const char*>(get->data);
  for (int i = 0; i < get->dataWidth; i++)
    if (text[i] != ' ' && text[i] != '\0') return 0;
  return 1;
}

int BeforeNew() {
  f4assign(NameField(), "");
  PutInBuffer(FullNameField(), "", 0);
  return 0;
}

// The name typed goes into the scrambled block; a new operator has every
// right and no password.
int BeforeAppendWrite(int) {
  PlatDateTime now;
  PlatNow(&now);
  char name[OPERATOR_NAME_BYTES];
  std::memcpy(name, f4ptr(NameField()), sizeof name);
  NewOperatorBlock(f4assign_ptr(BlockField()), name, now.millisecond / 10);
  f4assign(NameField(), "");
  return 0;
}

// The full name typed for operator `record`, into its own record or a new one.
int StoreFullName(long record) {
  std::string typed(f4ptr(FullNameField()), f4len(FullNameField()));
  DbTable* names = OperatorFullNames.table;
  d4changed(names, 0);   // the buffer may be another operator's record
  if (SeekOperatorFullName(record)) {
    if (go_and_lock(names, d4recno(names)) != 0) return -1;
    f4assign(FullNameField(), typed.c_str());
    return write_and_unlock(names) == 0 ? 0 : -1;
  }
  if (set_lock(names, 0) != 0) return -1;
  int result = d4append_start(names, 0);
  if (result == 0) {
    d4blank(names);
    f4assign(FullNameField(), typed.c_str());
    f4assign_long(OperatorFullNames.field[FULL_NAME_REK], record);
    result = d4append(names);
  }
  d4unlock(names);
  return result == 0 ? 0 : -1;
}

int AfterAppendWrite(int appended) {
  if (appended) StoreFullName(d4recno(OperatorRecords.table));
  return 0;
}

int OnCancel() {
  f4assign(NameField(), "");
  return 0;
}

// The record was read again under the lock: its name is shown for editing.
int BeforeModify() {
  char name[OPERATOR_NAME_BYTES];
  OperatorBlockName(f4ptr(BlockField()), name);
  f4assign_n(NameField(), name, sizeof name);
  ShowFullNameOf(d4recno(OperatorRecords.table));
  return 0;
}

int SaveModified() {
  char name[OPERATOR_NAME_BYTES];
  std::memcpy(name, f4ptr(NameField()), sizeof name);
  OperatorBlockSetName(f4assign_ptr(BlockField()), name);
  f4assign(NameField(), "");
  return StoreFullName(d4recno(OperatorRecords.table)) == 0 ? 0 : -1;
}

int BeforeDelete() {
  if (d4recno(OperatorRecords.table) != 1) return 0;
  Uwaga(MSG_CHIEF_NOT_DELETED);
  return 1;
}

int32_t NewPassword(int32_t) {
  if (EmptyBrowseWarning(CurrentBrowse) != 0) return 0;
  DbTable* table = OperatorRecords.table;
  long record = d4recno(table);
  if (go_and_lock(table, record) != 0) return 0;   // read again: the name shown is not stored
  ChangePassword(table);
  d4unlock(table);
  return browse_call(0, record) < 0 ? -1 : 0;
}

// ---- the firms of one operator

constexpr int MSG_FIRMS_TITLE = 11;
constexpr int MSG_CHIEF_UNRESTRICTED = 15;
constexpr int MSG_NO_FIRMS = 10;
constexpr int MSG_PICK_FIRM = 20081;
constexpr int16_t RES_FIRM_LINES = 86;
constexpr int FIRM_FIELD_COLUMN = 8;
constexpr int PICKER_ROW = 3;

int accessOperator = 0;
char chosenFirm[21];   // the firm's name shown in the append form
DbField* firmNameField;

DbField* PairOperator() { return d4field(Z5KAPA.table, "JK"); }
DbField* PairFirm() { return d4field(Z5KAPA.table, "WM"); }
DbField* FirmName() { return d4field(Z5KATA.table, "NAZ"); }

int OwnPairs(intptr_t) { return f4long(PairOperator()) == accessOperator ? X4_ACCEPT : X4_REJECT; }

// The name of the pair's firm, or a row of "?" when that firm is gone.
void PairFirmName(ColumnValue* value) {
  DbField* name = FirmName();
  value->type = 'C';
  value->length = static_cast<uint8_t>(f4len(name));
  long firm = f4long(PairFirm());
  if (firm >= 1 && firm <= d4reccount(Z5KATA.table) && d4go(Z5KATA.table, firm) == 0 && !d4deleted(Z5KATA.table))
    std::memcpy(value->text, f4ptr(name), value->length);
  else
    std::memset(value->text, '?', value->length);
}

int BeforeNewPair() {
  std::memset(chosenFirm, ' ', sizeof chosenFirm - 1);
  f4assign_long(PairOperator(), accessOperator);
  return 0;
}

// Entering the firm's field opens the firm picker; the firm chosen is the pair's.
int PickFirm(Get4* get, char* editBuffer, int32_t) {
  if (d4reccount(Z5KATA.table) == 0) {
    Uwaga(MSG_NO_FIRMS);
    return KEY_ESC;
  }
  static PoleKodowane picker[2];
  ResetPoleKodowaneDefinition(picker, sizeof picker);
  DefinePoleKodowane(0, "Nazwa", &firmNameField, &Z5KATA.tag[0], 1, -1);
  if (pole_kodowane_fun(nullptr, MSG_PICK_FIRM, picker, nullptr, PICKER_ROW, 0, Z5KATA.table) != KEY_ENTER)
    return KEY_ESC;
  f4assign_long(PairFirm(), d4recno(Z5KATA.table));
  std::memcpy(editBuffer, f4ptr(FirmName()), std::min<size_t>(static_cast<size_t>(get->dataWidth), f4len(FirmName())));
  return KEY_ENTER;
}

}  // namespace

int FirmAccessList(int operatorNumber, const char* name) {
  if (operatorNumber == 1) {
    Uwaga(MSG_CHIEF_UNRESTRICTED);
    return -1;
  }
  if (OpenZ5KATA(0) != 0) return -1;
  if (OpenZ5KAPA(0) != 0) {
    d4close(Z5KATA.table);
    return -1;
  }
  accessOperator = operatorNumber;
  static char title[80];
  std::snprintf(title, sizeof title, EnvFindString(MSG_FIRMS_TITLE), name);
  firmNameField = FirmName();
  static ScrollColumn columns[2];
  static TextCtrl background[2];
  static EditCtrl edits[2];
  ResetScrollDefinition(columns, sizeof columns);
  DefineScrollColumn(&firmNameField, 0, "klient ")->valueRoutine = PairFirmName;
  // nothing of the pair to show but the form's background line
  ResetTextCtrlDefinition(background, sizeof background);
  DefineTextCtrl(0, FIRM_FIELD_COLUMN, &firmNameField, TEXT_HIDDEN);
  ResetEditCtrlDefinition(edits, sizeof edits);
  EditCtrl* firm = DefineEditCtrl(0, FIRM_FIELD_COLUMN, chosenFirm, EDIT_TEXT | EDIT_DIRECT);
  firm->keyRoutine = PickFirm;

  int bar = DefineMainMenuWindow();
  MenuDefineItem(" Dopisz ", 35, 'd', 1, browse_dopisz, nullptr);
  MenuDefineItem(" Usu\xA4 ", 36, 'u', 1, browse_skasuj, nullptr);
  BrowseContext* ctx = nullptr;
  int result = allocate_browse(&ctx, Z5KAPA.table, nullptr, columns, bar);
  if (result == 0) {
    ctx->append_edits = edits;
    ctx->edit_texts = background;
    ctx->edit_lines_source = []() -> int16_t { return RES_FIRM_LINES; };
    ctx->edit_lines_count = 1;
    ctx->title = title;
    ctx->filter_fn = OwnPairs;
    ctx->before_new = BeforeNewPair;
    zrob_browse(0, 1, 0);
    free_browse(&ctx);
  }
  w4close(bar);
  d4close(Z5KAPA.table);
  d4close(Z5KATA.table);
  return result == 0 ? 0 : -1;
}

int UsersList() {
  if (OpenOperatorTables() != 0) return -1;
  static ScrollColumn columns[3];
  static TextCtrl texts[3];
  static EditCtrl edits[3];
  ResetScrollDefinition(columns, sizeof columns);
  DefineScrollColumn(&OperatorRecords.field[OPERATOR_A], 0, "Nazwa u\xA7ytkownika");
  DefineScrollColumn(&OperatorFullNames.field[FULL_NAME_NAZ], 0, "Imi\x91 i nazwisko");
  ResetTextCtrlDefinition(texts, sizeof texts);
  DefineTextCtrl(0, FIELD_COLUMN, &OperatorRecords.field[OPERATOR_A], 0);
  DefineTextCtrl(1, FIELD_COLUMN, &OperatorFullNames.field[FULL_NAME_NAZ], 0);
  ResetEditCtrlDefinition(edits, sizeof edits);
  DefineEditCtrl(0, FIELD_COLUMN, &OperatorRecords.field[OPERATOR_A], EDIT_DATE)->validator = NameNotEmpty;
  DefineEditCtrl(1, FIELD_COLUMN, &OperatorFullNames.field[FULL_NAME_NAZ], EDIT_DATE);

  int bar = DefineMainMenuWindow();
  MenuDefineItem(" Dopisz ", 31, 'd', 1, browse_dopisz, nullptr);
  MenuDefineItem(" Modyfikuj ", 32, 'm', 0, browse_modyfikuj, nullptr);
  MenuDefineItem(" Usu\xA4 ", 32, 'u', 1, browse_skasuj, nullptr);
  MenuDefineItem(" Has\x92o ", 33, 'h', 0, NewPassword, nullptr);
  BrowseContext* ctx = nullptr;
  int result = allocate_browse(&ctx, OperatorRecords.table, OperatorRecords.tag[0], columns, bar);
  if (result == 0) {
    ctx->record_texts = texts;
    ctx->append_edits = edits;
    ctx->record_lines_source = []() -> int16_t { return RES_RECORD_LINES; };
    ctx->record_lines_count = FORM_LINES;
    ctx->edit_lines_source = []() -> int16_t { return RES_EDIT_LINES; };
    ctx->edit_lines_count = FORM_LINES;
    ctx->title = MSG_TITLE;
    ctx->filter_fn = DisplayFilter;
    ctx->before_new = BeforeNew;
    ctx->before_write = BeforeAppendWrite;
    ctx->after_write = AfterAppendWrite;
    ctx->on_cancel = OnCancel;
    ctx->modify_hooks[MODIFY_BEFORE] = BeforeModify;
    ctx->modify_hooks[MODIFY_SAVE] = SaveModified;
    ctx->before_delete = BeforeDelete;
    zrob_browse(FORM_LINES, FORM_LINES, 0);
    free_browse(&ctx);
  }
  w4close(bar);
  CloseOperatorTables();
  return result == 0 ? 0 : -1;
}
