#include "sales/marks_dialogs.h"

#include <cstring>
#include <iterator>
#include <string>

#include "app/option_sets.h"
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "sales/background_screen.h"
#include "tables/catalogue.h"
#include "tables/sales_tables.h"
#include "ui/browse.h"
#include "ui/keyboard.h"
#include "ui/record_stamp.h"
#include "ui/std_windows.h"
#include "ui/wiget.h"
#include "ui/wiget_edit.h"
#include "ui/window4.h"

namespace {

constexpr int FIRST_YEAR_2022 = 2022, FIRST_YEAR_2024 = 2024;
constexpr int16_t RES_GTU = 176, RES_GTU_2022 = 191, RES_PROCEDURES = 177, RES_PROCEDURES_2022 = 192;
constexpr int16_t RES_KEYS = 62, RES_KEYS_AUXILIARY = 198, RES_KEYS_MAIN = 199;
constexpr int MARKS = 13;
constexpr int TT_WNT = 3;          // procedure position 4, 0-based
constexpr int FIRST_MARK_ROW = 2;
// The screens' marks stand at column 2 of their lines.
constexpr int SCREEN_MARK_COL = 2;

struct Dialog {
  const char* title;
  int row, col, height, width;
  DbField* field;
  int first;            // the field's position of the first mark, from 0
  int16_t resource;
  int markCol;
  int count;            // positions with a widget
  int fixed;            // the field position never changed here, or -1
};

// The window over the marks field; Esc puts the field back as it was.
int RunDialog(const Dialog& d, bool displayOnly) {
  DbField* field = d.field;
  static DbField* bound;
  bound = field;
  std::string before(f4ptr(field), f4len(field));
  Wiget list[MARKS + 2]{};
  // Rows and columns count from the window's frame.
  ResetWigetsDefinition(list, static_cast<int>(std::size(list)) * WIGET_BYTES, 1);
  // The descriptions are part of the form, which clears its window.
  int backgroundCol = d.markCol - SCREEN_MARK_COL;
  // Inside the frame, counted from it.
  std::string background = tekst_tla(d.resource, d.width - 1 - backgroundCol);
  DefineWigetEx(FIRST_MARK_ROW, backgroundCol, WigetMsg(background.c_str()), 0, W_STATIC);
  for (int i = 0; i < d.count; i++) {
    bool readOnly = displayOnly || d.first + i == d.fixed;
    uint32_t flags = W_FIELD_YESNO | WF_LONG | (readOnly ? WF_DISPLAY_ONLY : 0);
    DefineWigetEx(FIRST_MARK_ROW + i, d.markCol, WigetFld(&bound), d.first + i, flags);
  }
  int previous = w4select(-1);
  std::string title = Utf8ToMazText(d.title);
  int window = DefineWprowadzWindow(d.row, d.col, d.height, d.width, title.c_str(), list, nullptr);
  int key = KEY_ESC;
  if (window >= 0) {
    w4activate(window);
    w4select(window);
    // The form draws its fixed texts only when it starts shown only.
    DisplayPageWigets(w4record(window), list, 0, 0, WD_ALL);
    add_help_line();
    if (!displayOnly) set_fun_help("F2", "Zapisz", 1);
    key = ActivateWindow(window, nullptr, nullptr, AW_NO_QUESTIONS | (displayOnly ? AW_DISPLAY : 0));
    remove_help_line();
    w4deactivate(window);
    w4close(window);
  }
  w4select(previous);
  FreeWigets(list);
  if (!displayOnly && key != KEY_F2) std::memcpy(f4assign_ptr(field), before.data(), before.size());
  return key;
}

bool From2022() { return WorkingYear() >= FIRST_YEAR_2022; }

}  // namespace

int okno_gtu_pola(DbField* field, int first, int tylko_podglad) {
  Dialog d{"OZNACZENIA TOWARÓW I USŁUG (GTU)", 4, 1, 18, 78, field, first,
           From2022() ? RES_GTU_2022 : RES_GTU, 5, MARKS, -1};
  return RunDialog(d, tylko_podglad != 0);
}

int okno_procedur_pola(DbField* field, int first, int tylko_podglad) {
  bool from2022 = From2022();
  // From 2022 the split-payment mark is set in the header itself.
  Dialog d{"PROCEDURY", 4, 0, 17, 80, field, first, from2022 ? RES_PROCEDURES_2022 : RES_PROCEDURES,
           from2022 ? 11 : 5, from2022 ? MARKS - 1 : MARKS, first + TT_WNT};
  return RunDialog(d, tylko_podglad != 0);
}

int oznaczenia_gtu(int tylko_podglad) { return okno_gtu_pola(d4field(Z5SPRZ.table, "NKK"), 0, tylko_podglad); }

int procedury(int tylko_podglad) { return okno_procedur_pola(d4field(Z5SPRZ.table, "NKV"), 0, tylko_podglad); }

void skroty_klawiszowe(int rejestr) {
  bool from2024 = WorkingYear() >= FIRST_YEAR_2024;
  int16_t resource = !from2024 ? RES_KEYS : rejestr == 2 ? RES_KEYS_AUXILIARY : RES_KEYS_MAIN;
  int rows = from2024 ? 26 : 25;
  int previous = w4select(-1);
  int window = DefineDialogWindow(2, 1, rows, 78, Utf8ToMazText("Skróty klawiszowe").c_str());
  if (window < 0) return;
  w4activate(window);
  w4select(window);
  pokaz_tlo(resource, 0, 0, rows);
  g4char();
  w4deactivate(window);
  w4close(window);
  w4select(previous);
}

void oznaczenia_dokumentu(int gtu) {
  DbTable* headers = Z5SPRZ.table;
  long record = d4recno(headers);
  if (record <= 0 || go_and_lock(headers, record) != 0) return;
  int key = gtu ? oznaczenia_gtu(0) : procedury(0);
  if (key == KEY_F2) {
    set_pass_inf(STAMP_KIND_MODIFIED, d4field(headers, "INF"));
    d4write(headers, record);
    d4flush(headers);
  }
  d4unlock(headers);
  browse_call(0, record);
}
