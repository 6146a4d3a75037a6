// Alt+F8 of the contractors catalogue: every NIP of the filtered list
// against the registers, the VAT-payer marks set by the answers, with
// counters in the window "Sprawdzanie NIP".
#include <string>

#include "db/db_lock.h"
#include "db/db_scan.h"
#include "db/db_index.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/messages.h"
#include "env/temp_strings.h"
#include "masterdata/contractor_catalogue.h"
#include "masterdata/contractors.h"
#include "masterdata/tax_number_checks.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace {

constexpr int MSG_CONTINUE = 50006;
constexpr int MSG_PRESS_ANY_KEY = 50011;
constexpr int END_WAIT_MS = 15000;
constexpr int WINDOW_WIDTH = 50;

struct Counters {
  int active = 0, noToYes = 0, inactive = 0, bad = 0, yesToNo = 0;
};

std::string NipOfRecord() {
  DbField* field = Khnt(KHNT_NIP);
  std::string text(f4ptr(field), f4len(field));
  text.erase(text.find_last_not_of(' ') + 1);
  text.erase(0, text.find_first_not_of(' '));
  return text;
}

void ShowCounters(const Counters& n) {
  static const std::string bad = Utf8ToMazText("BŁĘDNY lub nie NIP:          %5i");
  w4(3, 1, PrintfQStr("AKTYWNY:                     %5i", n.active));
  w4(4, 1, PrintfQStr("  podatnik VAT Nie->Tak      %5i", n.noToYes));
  w4(6, 1, PrintfQStr("NIEAKTYWNY:                  %5i", n.inactive));
  w4(7, 1, PrintfQStr(bad.c_str(), n.bad));
  w4(8, 1, PrintfQStr("  podatnik VAT Tak->Nie      %5i", n.yesToNo));
}

enum class Step { NEXT, STOP, STOP_ASKED };

// The record's NIP checked silently and its mark set by the answer.
Step CheckRecord(Counters* n) {
  int result = sprawdz_nip_kontrahenta(NipOfRecord().c_str(), 1);
  if (NipRegisterUnreachable(result)) return Pytanie(MSG_CONTINUE) == KEY_ESC ? Step::STOP : Step::NEXT;
  char mark = *f4ptr(Khnt(KHNT_CZV));
  char wanted = NipIsVatPayer(result) ? 'T' : 'N';
  if (wanted == 'T') {
    n->active++;
    if (mark != 'T') n->noToYes++;
  } else {
    if (mark != 'N') n->yesToNo++;
    (result >= 0 ? n->inactive : n->bad)++;
  }
  if (mark != wanted) {
    f4assign_char(Khnt(KHNT_CZV), wanted);
    if (write_and_unlock(Z5KHNT.table) != 0) return Step::STOP;
  }
  ShowCounters(*n);
  if (KeyPressed() && g4char() == KEY_ESC) {
    static const std::string stop = Utf8ToMazText("Przerwać operację?");
    if (Pytanie(stop.c_str()) != KEY_ESC) return Step::STOP_ASKED;
  }
  return Step::NEXT;
}

}  // namespace

int sprawdz_nip_kontrahentow() {
  BrowseContext* c = CurrentBrowse;
  kontekst_kartoteki_kontrahentow* ctx = contractorCatalogue;
  if (!c || !ctx) return 0;
  OpenFiltersWindow(&ctx->filters);
  if (!ctx->filters.changed) return browse_call(0, d4recno(Z5KHNT.table));

  DbTable* table = Z5KHNT.table;
  long remembered = d4recno(table);
  int previous = w4select(-1);
  int window = DefineDialogWindow(3, 15, 15, WINDOW_WIDTH, "Sprawdzanie NIP");
  if (window < 0) {
    static const std::string failed = Utf8ToMazText("Błąd utworzenia okna szukania!");
    Alarm(failed.c_str());
    return 0;
  }
  w4activate(window);
  w4select(window);
  w4(1, 1, "Sprawdzam NIP:");
  w4centre(12, " ESC - Przerwij ");

  int total = 0;
  for (int r = x4top(&c->scan); r == 0; r = x4skip(&c->scan, 1)) total++;
  Counters counters;
  Step step = Step::NEXT;
  long stoppedAt = 0;
  int done = 0;
  for (int r = x4top(&c->scan); r == 0 && step == Step::NEXT; r = x4skip(&c->scan, 1)) {
    w4select(window);
    w4(1, 16, PrintfQStr("%-20s", NipOfRecord().c_str()));
    w4(10, 1, PrintfQStr("RAZEM sprawdzone:            %5i z %i", ++done, total));
    step = CheckRecord(&counters);
    if (step != Step::NEXT) stoppedAt = d4recno(table);
  }

  if (remembered > 0) d4go(table, remembered);
  d4unlock(table);
  w4select(window);
  if (step != Step::STOP_ASKED) {
    w4repeat(1, 0, ' ', WINDOW_WIDTH);
    w4centre(12, RcQStr(MSG_PRESS_ANY_KEY));
    WaitFor(1, END_WAIT_MS);
    if (KeyPressed()) g4char();
  }
  w4deactivate(window);
  w4close(window);
  w4select(previous);
  AskResetFilter(&ctx->filters);
  return browse_call(0, stoppedAt ? stoppedAt : remembered) < 0 ? -1 : 0;
}
