#include "sales/register_actions.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "db/db_index.h"
#include "db/dbf_records.h"
#include "db/db_lock.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/session/field_text.h"
#include "printouts/invoice_print.h"
#include "sales/sales_context.h"
#include "tables/sales_tables.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"
#include "ui/std_windows.h"
#include "ui/validators.h"
#include "ui/window4.h"

namespace {

constexpr int DATE_ROW = 13, DATE_COL = 24, DATE_ROWS = 4, DATE_COLS = 32;
constexpr int WINDOW_ATTRIBUTE = 142, DATE_ATTRIBUTE = 143;
// Tag STR(SPR,1,0)+STR(REK,7,0) of Z5SPRO.
constexpr int RECIPIENT_BY_DOCUMENT = 0;
constexpr int DUPLICATE_OF_SHEET_REFUSED = 5;

std::string Sys(const char* utf8) { return Utf8ToMazText(utf8); }
DbField* Header(const char* name) { return d4field(Z5SPRZ.table, name); }
bool Blank(DbField* field) {
  for (int i = 0; i < static_cast<int>(f4len(field)); i++)
    if (f4ptr(field)[i] != ' ') return false;
  return true;
}

// The duplicate's date, from DDU or the working date; false when left with Esc.
void AskDuplicateDate(char date[9]) {
  if (Blank(Header("DDU")))
    std::memcpy(date, salesContext ? salesContext->workingDate : f4ptr(Header("DAW")), 8);
  else
    std::memcpy(date, f4ptr(Header("DDU")), 8);
  date[8] = '\0';
  int previous = w4select(-1);
  int window = DefineWprowadzWindow(DATE_ROW, DATE_COL, DATE_ROWS, DATE_COLS, nullptr, nullptr, nullptr);
  if (window < 0) return;
  w4attribute(WINDOW_ATTRIBUTE);
  w4activate(window);
  w4(1, 1, "Data duplikatu:");
  g4attribute(DATE_ATTRIBUTE);
  g4date(1, 17, date);
  g4picture("DD-MM/YY");
  g4valid(test_daty_niepustej);
  g4read();
  w4deactivate(window);
  w4close(window);
  w4select(previous);
}

}  // namespace

int szukaj_odbiorcy(int rejestr, long record) {
  DbTable* table = Z5SPRO.table;
  if (!table) return -1;
  d4tag_select(table, Z5SPRO.tag[RECIPIENT_BY_DOCUMENT]);
  char key[16];
  std::snprintf(key, sizeof key, "%1d%7ld", rejestr, record);
  return d4seek(table, key);
}

int drukuj_dokument_z_rejestru(int duplicate) {
  int kind = f4int(Header("TYV"));
  if (duplicate && kind == DUPLICATE_OF_SHEET_REFUSED) {
    Uwaga(Sys("Dla tego dokumentu nie drukujemy duplikatu.").c_str());
    return 0;
  }
  if (!Blank(Header("DDU"))) {
    std::string printed = Sys("Wydrukowano duplikat w dniu ") + FldFullDateQStr(Header("DDU"));
    int key = MessageWindow(MB_QUESTION | MB_YES_ESC, printed.c_str(), Sys("Czy drukować duplikat ?").c_str());
    if (key == 'T' || key == 't')
      duplicate = 1;
    else if (duplicate)
      return 0;
  }
  char date[9] = {};
  if (duplicate) AskDuplicateDate(date);
  int rejestr = salesContext ? salesContext->rejestr : 1;
  int result = drukuj_dokument_sprzedazy(kind, Z5SPRZ.table, duplicate, date, rejestr);
  if (duplicate && result == 1 && go_and_lock(Z5SPRZ.table, d4recno(Z5SPRZ.table)) == 0) {
    f4assign(Header("DDU"), date);
    write_and_unlock(Z5SPRZ.table);
  }
  return result;
}
