#include "sales/recipient_window.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "app/document_seeks.h"
#include "app/option_sets.h"
#include "app/prompts.h"
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/messages.h"
#include "env/session/field_text.h"
#include "masterdata/contractors.h"
#include "masterdata/tax_number_checks.h"
#include "sales/background_screen.h"
#include "sales/register_actions.h"
#include "sales/sales_context.h"
#include "tables/masterdata_tables.h"
#include "tables/sales_tables.h"
#include "ui/browse.h"
#include "ui/coded_field.h"
#include "ui/definition_lists.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"
#include "ui/record_stamp.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace {

constexpr int KIND_WITHOUT_INVOICE = 5;
constexpr int CONTRACTOR_RECIPIENT = 5;
constexpr int MSG_CONTRACTORS = 20082, MSG_NO_CONTRACTOR = 20180;
constexpr int16_t RES_RECIPIENT = 64;
// Rows 0 to 8 of the form inside the title and the bottom frame.
constexpr int WINDOW_ROW = 10, WINDOW_COL = 1, WINDOW_ROWS = 11, WINDOW_COLS = 78;
constexpr int LIST_ROW = 5;
constexpr int FIELD_ATTRIBUTE = 0x70;
constexpr int KEY_F4 = 0x3E00, KEY_F6 = 0x4000, KEY_F8 = 0x4200;
constexpr int SEEK_NOT_FOUND = 2, SEEK_EOF = 3;
// Z5KHNT fields and tags of the list.
constexpr int KHNT_KOD = 0, KHNT_NA1 = 1, KHNT_MIA = 5;
constexpr int KHNT_BY_NAME = 0, KHNT_BY_CODE = 1;
// Z5SPRO fields of the window, by their place in the file.
enum RecipientField { R_KNA = 1, R_NIP, R_NA1, R_NA2, R_KOP, R_MIA, R_ULI, R_KRA };

const char* const kTakenOver[] = {"NIP", "NA1", "NA2", "KOP", "MIA", "ULI", "KRA"};

DbField* Recipient(const char* name) { return d4field(Z5SPRO.table, name); }
DbField* Contractor(const char* name) { return d4field(Z5KHNT.table, name); }
DbField** Slot(RecipientField field) { return &Z5SPRO.field[field]; }

std::string Trimmed(const char* text, int length) {
  std::string s(text, strnlen(text, static_cast<size_t>(length)));
  s.erase(s.find_last_not_of(' ') + 1);
  return s;
}

// The contractor's name, address and NIP into the recipient.
void TakeOverContractor() {
  for (const char* name : kTakenOver) ToFieldCopyMaxField(Recipient(name), Contractor(name));
  OdswiezGety();
}

int PickRecipient(char* buffer, int width) {
  PoleKodowane list[4];
  ResetPoleKodowaneDefinition(list, sizeof list);
  DefinePoleKodowane(0, "kod", &Z5KHNT.field[KHNT_KOD], &Z5KHNT.tag[KHNT_BY_CODE], 1, -1);
  DefinePoleKodowane(0, "nazwa", &Z5KHNT.field[KHNT_NA1], &Z5KHNT.tag[KHNT_BY_NAME], 0, -1);
  DefinePoleKodowane(0, "miasto", &Z5KHNT.field[KHNT_MIA], nullptr, 0, -1);
  int key = pole_kodowane_fun(kartoteka_kontrahentow_z_dokumentu, MSG_CONTRACTORS, list, filtr_odbiorcow, LIST_ROW,
                              0, Z5KHNT.table);
  if (key == KEY_ENTER) {
    std::memset(buffer, ' ', static_cast<size_t>(width));
    DbField* code = Contractor("KOD");
    std::memcpy(buffer, f4ptr(code), std::min<size_t>(f4len(code), static_cast<size_t>(width)));
    TakeOverContractor();
  }
  return key;
}

// The window's gets over the recipient's record buffer.
void DefineFields(EditCtrl* edits, int bytes) {
  ResetEditCtrlDefinition(edits, bytes);
  DefineEditCtrl(1, 15, Slot(R_KNA), EDIT_DATE | EDIT_UPPER)->keyRoutine = pole_kodu_odbiorcy;
  DefineEditCtrl(2, 15, Slot(R_NIP), EDIT_DATE)->keyRoutine = pole_nip_odbiorcy;
  DefineEditCtrl(4, 2, Slot(R_NA1), EDIT_DATE);
  DefineEditCtrl(5, 2, Slot(R_NA2), EDIT_DATE);
  DefineEditCtrl(6, 19, Slot(R_KOP), EDIT_DATE);
  DefineEditCtrl(6, 26, Slot(R_MIA), EDIT_DATE);
  DefineEditCtrl(7, 9, Slot(R_ULI), EDIT_DATE);
  DefineEditCtrl(8, 9, Slot(R_KRA), EDIT_DATE);
}

// Runs the window over the recipient's buffer; the key that closed it.
int EditRecipient() {
  EditCtrl edits[9];
  DefineFields(edits, sizeof edits);
  int previous = w4select(-1);
  int window = DefineBroAppeWindow(WINDOW_ROW, WINDOW_COL, WINDOW_ROWS, WINDOW_COLS, "ODBIORCA", 0, nullptr, nullptr);
  if (window < 0) return KEY_ESC;
  w4activate(window);
  pokaz_tlo(RES_RECIPIENT, 1, 1);
  int key = EditUntilSaved(edits, FIELD_ATTRIBUTE);
  w4deactivate(window);
  w4close(window);
  w4select(previous);
  return key;
}

// Appends the new recipient of the header, or writes the existing one
// (locked by the caller) and releases it.
int StoreRecipient(bool exists, int rejestr, long header) {
  DbTable* table = Z5SPRO.table;
  set_pass_inf(exists ? 1 : 0, Recipient("INF"));
  int result;
  if (exists) {
    result = write_and_unlock(table);
  } else {
    f4assign_long(Recipient("SPR"), rejestr);
    f4assign_long(Recipient("REK"), header);
    f4assign_long(Recipient("REC"), d4reccount(table) + 1);
    result = d4append(table);
  }
  d4flush(table);
  return result;
}

}  // namespace

int filtr_odbiorcow(intptr_t) { return f4int(Contractor("TYP")) == CONTRACTOR_RECIPIENT ? X4_ACCEPT : X4_REJECT; }

int pole_kodu_odbiorcy(Get4* get, char* buffer, int32_t) {
  set_fun_help("F4", "Lista", 5);
  int key = g4char();
  if (key == KEY_F4 && PickRecipient(buffer, get->dataWidth) == KEY_ENTER) key = KEY_ENTER;
  if (!WigetCtrlKey(key)) return key;
  remove_fun_help("F4");
  std::string code = Trimmed(buffer, get->dataWidth);
  if (code.empty()) return key;
  c4upper(code.data());
  int found = SeekKontrahentByKod(code.c_str());
  if (found == SEEK_NOT_FOUND || found == SEEK_EOF) {
    Uwaga(MSG_NO_CONTRACTOR);
    std::memset(buffer, ' ', static_cast<size_t>(get->dataWidth));
    OdswiezGety();
  } else if (found == 0 && key == KEY_ENTER) {
    TakeOverContractor();
  }
  return key;
}

int pole_nip_odbiorcy(Get4* get, char* buffer, int32_t) {
  bool online = mainOptions.onlineNipCheck == 'T';
  if (online) {
    set_fun_help("F6", "GUS", 5);
    set_fun_help("F8", "weryfikuj NIP", 7);
  }
  int key = g4char();
  std::string nip = Trimmed(buffer, get->dataWidth);
  if (online && key == KEY_F6) {
    GusTargets targets{Recipient("NA1"), Recipient("NA2"), Recipient("KOP"), Recipient("MIA"), Recipient("ULI"),
                       nullptr,          Recipient("KRA"), nullptr,          nullptr,          nullptr,
                       nullptr};
    szukaj_nip_gus(nip.data(), nullptr, nullptr, &targets);
    OdswiezGety();
  } else if (online && key == KEY_F8) {
    sprawdz_nip_kontrahenta(nip.c_str(), 0);
  }
  if (WigetCtrlKey(key)) {
    remove_fun_help("F6");
    remove_fun_help("F8");
  }
  return key;
}

int okno_odbiorcy() {
  if (EmptyBrowseWarning(CurrentBrowse) != 0) return 0;
  DbTable* headers = Z5SPRZ.table;
  DbTable* table = Z5SPRO.table;
  if (!table || f4int(d4field(headers, "TYV")) == KIND_WITHOUT_INVOICE) return 0;
  long record = d4recno(headers);
  int rejestr = salesContext ? salesContext->rejestr : 1;
  long header = f4long(d4field(headers, "REC"));
  int sought = szukaj_odbiorcy(rejestr, header);
  if (sought < 0) return -1;
  bool exists = sought == 0;
  // A document without a recipient starts a new record: the one a failed
  // seek stands on is another document's.
  if (exists ? go_and_lock(table, d4recno(table)) != 0 : d4append_start(table, 0) != 0)
    return browse_call(0, record);
  if (!exists) d4blank(table);
  bool opened = Z5KHNT.table == nullptr;
  if (opened && OpenZ5KHNT(0) != 0) {
    if (exists) d4unlock(table);
    return browse_call(0, record);
  }
  if (EditRecipient() == KEY_F2) {
    StoreRecipient(exists, rejestr, header);
  } else if (exists) {
    // Nothing typed may reach the record.
    d4changed(table, 0);
    d4unlock(table);
    d4go(table, d4recno(table));
  }
  if (opened) {
    d4close(Z5KHNT.table);
    Z5KHNT.table = nullptr;
  }
  return browse_call(0, record);
}
