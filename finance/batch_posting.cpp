// The batch posting: every document from the current one to the end of the
// register that may be posted without an entry form, with a progress line
// for each in the window "KSIĘGOWANIE".
#include <cstring>
#include <string>

#include "app/document_kinds.h"
#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/db_scan.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/dates.h"
#include "env/session/field_text.h"
#include "env/temp_strings.h"
#include "finance/payments.h"
#include "finance/posting.h"
#include "finance/posting_internal.h"
#include "sales/document_totals.h"
#include "tables/cash_tables.h"
#include "tables/sales_tables.h"
#include "ui/browse.h"
#include "ui/keyboard.h"
#include "ui/menu.h"
#include "ui/message_box.h"
#include "ui/opened_window.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace {

constexpr int MSG_NOT_FOR_AUXILIARY = 110;   // "Funkcja niedostępna dla sprzedaży pomocniczej."
constexpr int MSG_POST_ALL = 111, MSG_FOLLOWING = 112;
constexpr int MSG_OTHER_YEAR = 50132, MSG_NO_AUTOMATIC = 107;
constexpr int MSG_CONTINUE = 50006;          // "Czy kontynuować ?"
constexpr int SOURCE_KEY_LENGTH = 12;
constexpr const char* MENU_CAPTION = " Księguj ";
constexpr int PROGRESS_ROWS = 11;

DbField* H(const char* name) { return d4field(Z5SPRZ.table, name); }
DbField* K(const char* name) { return d4field(Z5KASA.table, name); }

const char* const KIND_NAMES[] = {"1. FV", "2. RU", "3. FK", "4. RK", "5. BR", "6. PF", "7. MP",
                                  "8. FM", "9. FP", "a. ZP", "b. FZ", "c. DW", "d. KW", "e. KP"};

// False (with a word when the caption differs) unless run from " Księguj ".
bool RunFromItsMenuItem() {
  Window4* window = w4record(w4select(-1));
  if (window == nullptr || window->firstItem < 0) return false;
  MenuItem4* item = n4record(window->startItem);
  if (item != nullptr && item->text != nullptr && std::strcmp(item->text, Sys(MENU_CAPTION)) != 0) {
    Uwaga(PrintfQStr("'%s' nie rowne '%s'", item->text, Sys(MENU_CAPTION)));
    return false;
  }
  return true;
}

// The first not yet posted cash entry of the current header: its record, or 0.
long UnpostedCashEntry(double* paid, char* paidOn) {
  DbTable* cash = Z5KASA.table;
  d4tag_select(cash, Z5KASA.tag[CASH_TAG_SOURCE]);
  for (int rc = d4seek_n(cash, KluczDokumentuWKasie(), SOURCE_KEY_LENGTH); rc == 0 && !d4eof(cash);
       rc = d4skip(cash, 1)) {
    if (!WpisDokumentu()) break;
    if (d4deleted(cash) || f4int(K("KSI")) != 0) continue;
    *paid = f4double(K("KWO"));
    std::memcpy(paidOn, f4ptr(K("DAT")), 8);
    return *paid != 0 ? d4recno(cash) : 0;
  }
  return 0;
}

void Progress(const std::string& line) {
  w4scroll(1);
  w4clear(PROGRESS_ROWS - 1);
  w4(PROGRESS_ROWS - 1, 0, line.c_str());
}

std::string DocumentLine(const ZapisKsiegowy* z) {
  int kind = f4int(H("TYV"));
  std::string kindName = kind >= 1 && kind <= 14 ? KIND_NAMES[kind - 1] + 3 : "";
  return std::string("Data - ") + FldDateQStr(H("DAS")) + " " + kindName + " " + z->nrDokumentu;
}

enum class Outcome { NEXT, STOP, FAILED };

// One document of the batch; `written` gets its record when written back.
Outcome PostOne(bool cashMethod, long* written) {
  int kind = f4int(H("TYV"));
  int akt = f4int(H("AKT"));
  if (date4year(f4ptr(H("DAS"))) != WorkingYear()) {
    MessageWindow(MB_ERROR | MB_NO_PROMPT, MSG_OTHER_YEAR, MSG_NO_AUTOMATIC);
    return Outcome::NEXT;
  }
  if ((cashMethod && OdmowaMetodyKasowej(kind, akt)) || f4char(H("STV")) != 'T' || PomijanyWSerii(kind, akt))
    return Outcome::NEXT;
  if (KeyPressed() && g4char() == KEY_ESC && Pytanie(MSG_CONTINUE) == KEY_ESC) return Outcome::STOP;
  double rate = 1;
  if (KursKsiegowy(&rate) < 1) return Outcome::NEXT;
  DbTable* headers = Z5SPRZ.table;
  long record = d4recno(headers);
  if (go_and_lock(headers, record) != 0) return Outcome::STOP;
  struct Unlock {
    DbTable* t;
    ~Unlock() {
      d4changed(t, 0);
      d4unlock(t);
    }
  } unlock{headers};
  if (date4year(f4ptr(H("DZA"))) > 0) return Outcome::NEXT;
  bool byPayment = cashMethod && kind != 11 && czy_podzielona_platnosc(1) != 0;
  long cashEntry = 0;
  double paid = 0;
  char paidOn[8];
  if (byPayment) {
    cashEntry = UnpostedCashEntry(&paid, paidOn);
    if (cashEntry == 0) return Outcome::NEXT;
  }
  ZapisKsiegowy* z = zapisKsiegowy;
  *z = ZapisKsiegowy{};
  PoczatekZapisu(z);
  WypelnijDaneDokumentu(z, rate);
  if (WypelnijKwoty(z, rate, paid, byPayment, paidOn) != 0) return Outcome::FAILED;
  int result = KsiegujZapis(1);
  std::string line = DocumentLine(z);
  if (result < 0) {
    Progress(line + " " + Sys("Błąd !"));
    return Outcome::FAILED;
  }
  if (result > 0 || !z->zapisano) {
    Progress(line + Sys(" Niezaksięgowano !"));
    return Outcome::NEXT;
  }
  if (ZapiszDoDokumentu(byPayment) != 0 || (byPayment && ZapiszDoKasy(cashEntry) != 0)) {
    Progress(line + " " + Sys("Błąd !"));
    return Outcome::FAILED;
  }
  *written = record;
  Progress(line + " Lp.-" + PrintfQStr("%5u", z->lp));
  return Outcome::NEXT;
}

}  // namespace

int KsiegujSeryjnie() {
  bool cashMethod = MetodaKasowa();
  if (!cashMethod && RejestrSprzedazy() == 2) {
    Uwaga(MSG_NOT_FOR_AUXILIARY);
    return 0;
  }
  if (!RunFromItsMenuItem()) return 0;
  DbTable* headers = Z5SPRZ.table;
  if (d4reccount(headers) == 0 || (CurrentBrowse != nullptr && CurrentBrowse->is_empty)) return 0;
  if (MessageWindow(MB_QUESTION | MB_YES_ESC, MSG_POST_ALL, MSG_FOLLOWING) == KEY_ESC) return 0;
  ZapisKsiegowy record{};
  zapisKsiegowy = &record;
  long start = d4recno(headers), last = 0;
  bool failed = false;
  bool openedCash = cashMethod && Z5KASA.table == nullptr;
  if (openedCash && OpenZ5KASA(0) != 0) {
    zapisKsiegowy = nullptr;
    return -1;
  }
  {
    OpenedWindow window(
        [] { return DefineAutoModyfikacjaWindow(17, 0, PROGRESS_ROWS, 80, Sys("KSIĘGOWANIE")); });
    DbScanCtx own;
    DbScanCtx* scan = CurrentBrowse != nullptr ? &CurrentBrowse->scan : &own;
    if (scan == &own) x4init(&own, headers, nullptr, 0);
    for (;;) {
      Outcome outcome = PostOne(cashMethod, &last);
      if (outcome == Outcome::FAILED) failed = true;
      if (outcome != Outcome::NEXT) break;
      if (x4skip(scan, 1) != 0 || d4eof(headers)) break;
    }
  }
  if (openedCash) d4close(Z5KASA.table);
  zapisKsiegowy = nullptr;
  long shown = last != 0 ? last : start;
  d4go(headers, shown);
  if (CurrentBrowse != nullptr) browse_call(0, shown);
  return failed ? -1 : 0;
}
