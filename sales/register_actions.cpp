#include "sales/register_actions.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "app/document_kinds.h"
#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/dates.h"
#include "env/messages.h"
#include "env/session/field_text.h"
#include "env/temp_strings.h"
#include "env/text_buffers.h"
#include "printouts/invoice_print.h"
#include "sales/date_checks.h"
#include "sales/document_header.h"
#include "sales/sales_context.h"
#include "tables/sales_tables.h"
#include "ui/browse.h"
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
constexpr int MSG_CHANGE_INVOICE_KIND = 120;
constexpr int KIND_FV = 1, KIND_MP = 7, KIND_FP = 9, KIND_ADVANCE_TO_RECEIPT = 10, KIND_ADVANCE = 11;
constexpr int32_t MP_VAT_DATE_DAYS = 179;
constexpr int KEY_CTRL_F = 6, KEY_CTRL_J = 10;
constexpr int VAT_DATE_ROWS = 2, VAT_DATE_COLS = 30;

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

// The short kind names of the questions, " FV" for kind 1.
const char* ShortKind(int kind) {
  static const char* const* list =
      CodeList({"1. FV", "2. RU", "3. FK", "4. RK", "5. BR", "6. PF", "7. MP", "8. FM", "9. FP", "a. ZP", "b. FZ"});
  return KodAsPopupMenuString(kind, list);
}

bool AskKindChange(int from, int to) {
  std::string from_text = ShortKind(from);
  int answer = Pytanie(PrintfQStr(EnvMessageText(MSG_CHANGE_INVOICE_KIND), from_text.c_str(), ShortKind(to)));
  return answer == 'T' || answer == 't';
}

void Redisplay() { browse_call(0, d4recno(Z5SPRZ.table)); }

// Sets the kind (and the VAT date when given) of the current header under
// its record lock and carries it into the lines.
void StoreKind(int kind, const char* vatDate) {
  if (go_and_lock(Z5SPRZ.table, d4recno(Z5SPRZ.table)) != 0) return;
  f4assign_int(Header("TYV"), kind);
  if (vatDate) f4assign(Header("DAV"), vatDate);
  zapisz_naglowek_z_pozycjami();
  d4unlock(Z5SPRZ.table);
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
  if (EmptyBrowseWarning(CurrentBrowse) != 0) return 0;
  int kind = f4int(Header("TYV"));
  if (duplicate && kind == DUPLICATE_OF_SHEET_REFUSED) {
    Uwaga(Sys("Dla tego dokumentu nie drukujemy duplikatu."));
    return 0;
  }
  if (!Blank(Header("DDU"))) {
    std::string printed = std::string(Sys("Wydrukowano duplikat w dniu ")) + FldFullDateQStr(Header("DDU"));
    int key = MessageWindow(MB_QUESTION | MB_YES_ESC, printed.c_str(), Sys("Czy drukować duplikat ?"));
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

int zapisz_naglowek_z_pozycjami() {
  DbTable* lines = Z5SPRE.table;
  if (set_lock(lines, -1) != 0) return -1;
  int result = d4write(Z5SPRZ.table, d4recno(Z5SPRZ.table)) == 0 ? sprawdz_pozycje_dokumentu(f4int(Header("TYV"))) : -1;
  d4flush(Z5SPRZ.table);
  d4unlock(lines);
  return result == 0 ? 0 : -1;
}

int zamien_fakture_maly_podatnik(int) {
  if (EmptyBrowseWarning(CurrentBrowse) != 0) return 0;
  int kind = f4int(Header("TYV"));
  char vatDate[9] = {};
  int to;
  if (kind == KIND_FV) {
    to = KIND_MP;
    date4assign(vatDate, date4long(f4ptr(Header("DAS"))) + MP_VAT_DATE_DAYS);
  } else if (kind == KIND_MP) {
    to = KIND_FV;
    std::memcpy(vatDate, f4ptr(Header("DAW")), 8);
  } else {
    return 0;
  }
  if (!AskKindChange(kind, to)) return 0;
  StoreKind(to, vatDate);
  Redisplay();
  return 0;
}

int zamien_rodzaj_faktury(int key) {
  if (EmptyBrowseWarning(CurrentBrowse) != 0) return 0;
  int kind = f4int(Header("TYV"));
  int other = key == KEY_CTRL_F ? KIND_FV : key == KEY_CTRL_J ? KIND_MP : 0;
  int to = kind == other ? KIND_FP : kind == KIND_FP && other ? other : 0;
  if (to == 0 || !AskKindChange(kind, to)) return 0;
  StoreKind(to, nullptr);
  Redisplay();
  return 0;
}

int zamien_rodzaj_zaliczkowej(int) {
  if (EmptyBrowseWarning(CurrentBrowse) != 0) return 0;
  int kind = f4int(Header("TYV"));
  if (kind != KIND_ADVANCE && kind != KIND_ADVANCE_TO_RECEIPT) return 0;
  if (go_and_lock(Z5SPRZ.table, d4recno(Z5SPRZ.table)) != 0) return 0;
  bool toReceipt = kind == KIND_ADVANCE;
  f4assign_int(Header("TYV"), toReceipt ? KIND_ADVANCE_TO_RECEIPT : KIND_ADVANCE);
  zapisz_naglowek_z_pozycjami();
  MessageWindow(MB_INFO | MB_ANY_KEY, "Faktura", toReceipt ? "ZALICZKOWA" : "ZALICZKOWA do paragonu",
                Sys("została zmieniona w"), toReceipt ? Sys("ZALICZKOWĄ do paragonu.") : Sys("ZALICZKOWĄ."), " ");
  d4unlock(Z5SPRZ.table);
  Redisplay();
  return 0;
}

int zmien_date_vat() {
  if (EmptyBrowseWarning(CurrentBrowse) != 0) return 0;
  char date[9];
  std::memcpy(date, f4ptr(Header("DAV")), 8);
  date[8] = '\0';
  int previous = w4select(-1);
  int window = DefineWprowadzWindow(-1, -1, VAT_DATE_ROWS, VAT_DATE_COLS, "Aktualizacja daty VAT", nullptr, nullptr);
  if (window < 0) return 0;
  w4attribute(DATE_ATTRIBUTE);
  w4activate(window);
  w4(0, 0, "Poprzednia :");
  w4(0, 13, DateQStr(date));
  w4(1, 0, "Nowa       :");
  g4date(1, 13, date);
  g4picture("DD-MM/YY");
  g4valid(waliduj_date_vat);
  int key = g4read();
  w4deactivate(window);
  w4close(window);
  w4select(previous);
  if ((key != KEY_ENTER && key != KEY_F2) || go_and_lock(Z5SPRZ.table, d4recno(Z5SPRZ.table)) != 0) return 0;
  f4assign(Header("DAV"), date);
  if (zapisz_naglowek_z_pozycjami() == 0) d4write(Z5SPRZ.table, d4recno(Z5SPRZ.table));
  d4unlock(Z5SPRZ.table);
  Redisplay();
  return 0;
}
