// Alt+F8 of the contractors catalogue: every NIP of the filtered list
// against the registers, the VAT-payer marks set by the answers, with
// counters in the window "Sprawdzanie NIP".
#include <optional>
#include <string>

#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/temp_strings.h"
#include "masterdata/contractor_catalogue.h"
#include "masterdata/contractors.h"
#include "masterdata/nip_check_window.h"
#include "masterdata/tax_number_checks.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"
#include "ui/window4.h"

namespace {

constexpr int MSG_CONTINUE = 50006;
constexpr int WINDOW_ROW = 3, WINDOW_COL = 15;

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

// The record's NIP checked silently and its mark set by the answer.
NipCheckStep CheckRecord(Counters* n) {
  int result = sprawdz_nip_kontrahenta(NipOfRecord().c_str(), 1);
  if (NipRegisterUnreachable(result))
    return Pytanie(MSG_CONTINUE) == KEY_ESC ? NipCheckStep::STOP : NipCheckStep::NEXT;
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
    if (write_and_unlock(Z5KHNT.table) != 0) return NipCheckStep::STOP;
  }
  ShowCounters(*n);
  if (KeyPressed() && g4char() == KEY_ESC) {
    static const std::string stop = Utf8ToMazText("Przerwać operację?");
    if (Pytanie(stop.c_str()) != KEY_ESC) return NipCheckStep::STOP_QUIET;
  }
  return NipCheckStep::NEXT;
}

}  // namespace

int sprawdz_nip_kontrahentow() {
  BrowseContext* c = CurrentBrowse;
  kontekst_kartoteki_kontrahentow* ctx = contractorCatalogue;
  if (!c || !ctx) return 0;
  OpenFiltersWindow(&ctx->filters);
  if (!ctx->filters.changed) return browse_call(0, d4recno(Z5KHNT.table));

  Counters counters;
  std::optional<long> shown = CheckNipsInWindow(&c->scan, Z5KHNT.table, {WINDOW_ROW, WINDOW_COL, nullptr, true},
                                                NipOfRecord, [&counters] { return CheckRecord(&counters); });
  if (!shown) return 0;
  AskResetFilter(&ctx->filters);
  return browse_call(0, *shown) < 0 ? -1 : 0;
}
