// The account summary of the receipt position register: the filtered
// positions summed per account in Z5KONTE, copied with the chosen grouping
// into Z5KONTES and shown as a list that prints itself.
#include <cstdio>

#include "app/document_kinds.h"
#include "db/db_index.h"
#include "db/db_scan.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "print/tabulogram.h"
#include "printouts/account_sums.h"
#include "retail/position_register.h"
#include "tables/exchange_tables.h"
#include "tables/masterdata_tables.h"
#include "tables/receipt_tables.h"
#include "tables/wait_notice.h"
#include "ui/browse.h"
#include "ui/keyboard.h"
#include "ui/menu.h"
#include "ui/message_box.h"
#include "ui/window4.h"

namespace retail {

namespace {

constexpr int MSG_BUILD_QUESTION = 88;   // "Czy budować strukturę kont ?"
constexpr long NO_ACCOUNT = 99999;
constexpr int NAME_WIDTH = 14;
constexpr int TAG_REC = 1;

DbField* P(const char* name) { return d4field(Z5PARE.table, name); }

// The filtered positions into their account rows, then the totals row;
// nothing at all for an empty scan. 0 or -1.
int SumPositions() {
  d4tag_select(Z5KONTE.table, Z5KONTE.tag[TAG_REC]);
  DbScanCtx scan{};
  x4init(&scan, Z5PARE.table, filtr_ewidencji_paragonow, 0);
  double totals[KONTA_KWOTY] = {};
  bool any = false;
  for (int r = x4top(&scan); r == 0 && !d4eof(Z5PARE.table); r = x4skip(&scan, 1)) {
    long rec = f4long(P("KON"));
    if (rec == 0) rec = NO_ACCOUNT;
    char key[8];
    std::snprintf(key, sizeof key, "%5ld", rec);
    int found = d4seek(Z5KONTE.table, key);
    if (found < 0) return -1;
    if (found != 0 && dopisz_konto_sumy(rec) != 0) return -1;
    double net = f4double(P("WNE")), vat = f4double(P("WAV")), gross = f4double(P("WAB"));
    totals[0] += net;
    totals[1] += vat;
    totals[2] += net + vat;
    totals[3] += gross;
    if (dodaj_pozycje_do_konta(net, vat, gross) != 0) return -1;
    any = true;
  }
  return any ? dopisz_sume_kont(totals) : 0;
}

int Show() {
  static char subtitle[256];
  subtitle[0] = '\0';
  if (kontekstEwidencjiParagonow) opis_filtrow_ewidencji(subtitle, sizeof subtitle);
  static const char* title = Sys("Konta paragonów");
  return pokaz_liste_kont(title, subtitle, NAME_WIDTH);
}

}  // namespace

int struktura_kont(int grouping) {
  if (CreateZ5KONTES() != 0) return -1;
  int notice = ShowWaitNotice();
  int result = przepisz_konta_z_grupami(grouping);
  HideWaitNotice(notice);
  if (result == 0) Show();
  if (d4close(Z5KONTES.table) != 0) result = -1;
  return result;
}

int zestawienie_kont() {
  static const char* const groupings[] = {"1. BEZ GRUP     ", "1. BEZ GRUP     ", "2. GRUPA 1      ",
                                          "3. GRUPA 2      ", "4. GRUPA 1 i 2  ", nullptr};
  int chosen = get_menu_function(" WYBIERZ ", groupings, 1, -1, -1);
  if (chosen < 1 || chosen > 4) return 0;
  if (Pytanie(MSG_BUILD_QUESTION) == KEY_ESC) return 0;
  if (CreateZ5KONTE() != 0) return -1;
  int window = w4select(-1);
  int notice = ShowWaitNotice();
  int result = SumPositions();
  HideWaitNotice(notice);
  if (result == 0) result = struktura_kont(chosen - 1);
  w4select(window);
  if (d4close(Z5KONTE.table) != 0) result = -1;
  return result;
}

}  // namespace retail
