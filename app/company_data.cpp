#include <cstring>
#include <string>

#include "app/module_entries.h"
#include "app/option_forms.h"
#include "app/sales_options.h"
#include "app/validators.h"
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "tables/firm_tables.h"
#include "tables/masterdata_tables.h"
#include "ui/coded_field.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/rights.h"
#include "ui/std_windows.h"
#include "ui/wiget.h"
#include "ui/wiget_edit.h"
#include "ui/window4.h"

namespace {

constexpr int SAVED = 0x3C00;
constexpr int KEY_F4 = 0x3E00;
constexpr int ROWS = 25;
constexpr int COLS = 78;
constexpr int FORM_ELEMENTS = 48;
constexpr int VALUE_COL = 20;
constexpr int ACCOUNT_COL = 16;
constexpr int POSTAL_CODE_COL = 17;
constexpr int RIGHT_SAVE = 9301;
constexpr int MSG_OFFICES_TITLE = 20087;
constexpr int OFFICE_LIST_ROW = 3;
constexpr int32_t COUNTRY_NAME = 0x10;   // the countries list yields the name

int16_t FirstPage() { return 94; }
int16_t SecondPage() { return 95; }

// The own firm's fields the form shows, by name.
const char* const kShown[] = {"NA1", "NA2", "SKN", "NIP", "REG", "NUS", "KRA", "WOJ", "GMI", "POW", "ULI", "NRD",
                              "NRM", "MIA", "KOD", "POC", "TEL", "FAX", "UNAV", "BAN1", "NRR1", "BAN2", "NRR2",
                              "BAN3", "NRR3", "BAN4", "NRR4", "BAN5", "NRR5", "WWW", "EMA"};
constexpr int SHOWN = sizeof kShown / sizeof kShown[0];
DbField* shown[SHOWN];

DbField** Shown(const char* name) {
  for (int i = 0; i < SHOWN; i++)
    if (std::strcmp(kShown[i], name) == 0) return &shown[i];
  return nullptr;
}

Wiget* Field(int row, int col, const char* name) {
  return DefineWigetEx(row, col, WigetFld(Shown(name)), 0, W_FIELD);
}

std::string Text(DbField* field) { return std::string(f4ptr(field), f4len(field)); }

// The chosen tax office into the firm's VAT-office fields; the name through
// the form element, which shows it.
void CopyOffice(Wiget* nameElement) {
  DbTable* firm = Z5PAWL.table;
  auto From = [](const char* name) { return Text(d4field(Z5USKA.table, name)); };
  const char* const pairs[][2] = {{"UULV", "ULI"}, {"UDOV", "DOM"}, {"UKOV", "KDP"},
                                  {"UMIV", "MIA"}, {"UBAV", "BCP"}, {"UNRV", "KNV"}};
  for (const auto& pair : pairs) f4assign(d4field(firm, pair[0]), From(pair[1]).c_str());
  // the office's four-character code is kept at the head of TLX
  DbField* tlx = d4field(firm, "TLX");
  std::string code = From("XML");
  std::memcpy(f4assign_ptr(tlx), code.data(), code.size());
  WigetSetString(nameElement, From("NAZ").c_str());
}

// F4 offers the tax offices; the field itself is never typed into.
int TaxOffice(WigetEvent* event, Wiget* element, void*) {
  switch (event->code) {
    case WE_ENTER: {
      static const std::string office = Utf8ToMazText("Urząd");
      set_fun_help("F4", office.c_str(), 5);
      break;
    }
    case WE_LEAVE: remove_fun_help("F4"); break;
    case WE_KEY:
      if (event->key == KEY_F4) {
        event->key = 0;
        if (OpenZ5USKA(0) != 0) break;
        static PoleKodowane list[3];
        ResetPoleKodowaneDefinition(list, sizeof list);
        DefinePoleKodowane(0, "nazwa", &Z5USKA.field[1], &Z5USKA.tag[3], 1, -1);
        if (pole_kodowane_fun(kartoteka_urzedow, MSG_OFFICES_TITLE, list, nullptr, OFFICE_LIST_ROW, 0,
                              Z5USKA.table) == KEY_ENTER) {
          CopyOffice(element);
          event->key = KEY_ENTER;
        }
        d4close(Z5USKA.table);
      } else if (!WigetCtrlKey(event->key)) {
        event->key = KEY_HOME;
      }
      break;
    default: break;
  }
  return 0;
}

void BuildForm() {
  DefineWigetEx(0, 0, WigetRes(FirstPage), 0, W_STATIC);
  Field(4, 8, "NA1");
  Field(5, 8, "NA2");
  Field(6, 8, "SKN");
  Field(8, 8, "NIP")->hook = NipWigetValid;
  Field(8, 54, "REG");
  Field(9, VALUE_COL, "NUS");
  Wiget* country = Field(12, VALUE_COL, "KRA");
  country->hook = kraj_f4_wiget;
  std::memcpy(country->user_bytes, &COUNTRY_NAME, sizeof COUNTRY_NAME);
  int row = 13;
  for (const char* name : {"WOJ", "GMI", "POW", "ULI", "NRD", "NRM", "MIA"}) Field(row++, VALUE_COL, name);
  Field(20, POSTAL_CODE_COL, "KOD");   // ends before "poczta"
  Field(20, 32, "POC");
  Field(21, VALUE_COL, "TEL");
  Field(22, VALUE_COL, "FAX");
  Field(24, VALUE_COL, "UNAV")->hook = TaxOffice;
  DefineWigetEx(0, 0, WigetSource(), 0, W_PAGE);
  DefineWigetEx(0, 0, WigetRes(SecondPage), 0, W_STATIC);
  for (int i = 0; i < 5; i++) {
    std::string n = std::to_string(i + 1);
    Field(4 + 4 * i, ACCOUNT_COL, ("BAN" + n).c_str());
    Field(5 + 4 * i, ACCOUNT_COL, ("NRR" + n).c_str());
  }
  Field(23, ACCOUNT_COL, "WWW");
  Field(24, ACCOUNT_COL, "EMA");
}

}  // namespace

int CompanyDataWindow() {
  DbTable* table = Z5PAWL.table;
  for (int i = 0; i < SHOWN; i++) shown[i] = d4field(table, kShown[i]);
  Wiget list[FORM_ELEMENTS]{};
  ResetWigetsDefinition(list, FORM_ELEMENTS * WIGET_BYTES, 0);
  BuildForm();
  int key = KEY_ESC;
  int window = DefineOpcjeWindow(2, 0, ROWS + 2, COLS + 2, "SPRZEDAWCA", list, nullptr, 0);
  if (window >= 0) {
    ShowFirstOptionsPage(window, list);
    add_help_line();
    set_fun_help("F2", "Zapisz", 1);
    key = ActivateWindow(window, nullptr, nullptr, 0);
    remove_help_line();
    w4deactivate(window);
    w4close(window);
  }
  FreeWigets(list);
  long record = d4recno(table);
  if (key == SAVED && pass_tab_test_and_inform(RIGHT_SAVE)) {
    if (set_lock(table, record) == 0) {
      d4write(table, record);
      d4flush(table);
      d4unlock(table);
    }
  } else {
    // what the form left in the record buffer is never written
    d4changed(table, 0);
    d4go(table, record);
  }
  return key;
}
