// The account summary of the receipt position register: the filtered
// positions summed per account in Z5KONTE, copied with the chosen grouping
// into Z5KONTES and shown as a list that prints itself.
#include <cstdio>

#include "db/db_index.h"
#include "db/db_scan.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "print/tabulogram.h"
#include "printouts/account_sums.h"
#include "retail/position_register.h"
#include "sales/document_kinds.h"
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
constexpr int TAG_REC = 1;
constexpr int NAME_WIDTH = 14;

DbField* P(const char* name) { return d4field(Z5PARE.table, name); }

DbField** Slot(const char* name) {
  DbField* field = d4field(Z5KONTES.table, name);
  for (DbField*& bound : Z5KONTES.field)
    if (bound == field) return &bound;
  return nullptr;
}

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
  kontekst_ewidencji_paragonow* c = kontekstEwidencjiParagonow;
  static ScrollColumn columns[7];
  static TabuColumn tabulogram[8];
  static char subtitle[256];
  ResetScrollDefinition(columns, sizeof columns);
  DefineScrollColumn(Slot("NUM"), 0, "numer");
  if (ScrollColumn* name = DefineScrollColumn(Slot("NAZ"), SCROLL_FIXED_WIDTH, "nazwa")) name->width = NAME_WIDTH;
  DefineScrollColumn(Slot("NET"), 0, "netto");
  DefineScrollColumn(Slot("VAT"), 0, "VAT");
  DefineScrollColumn(Slot("NIV"), 0, "netto+VAT");
  DefineScrollColumn(Slot("BRU"), 0, "brutto");
  kolumny_struktury_kont(tabulogram, sizeof tabulogram);
  subtitle[0] = '\0';
  if (c) opis_filtrow_ewidencji(subtitle, sizeof subtitle);
  int bar = DefineMainMenuWindow();
  MenuDefineItem(" Drukuj ", 1292, 'd', 0, [](int32_t) -> int32_t { return browse_drukuj(); }, nullptr);
  BrowseContext* browse = nullptr;
  int result = allocate_browse(&browse, Z5KONTES.table, nullptr, columns, bar);
  if (result == 0) {
    static const char* title = Sys("Konta paragonów");
    browse->title = title;
    browse->print_title = title;
    browse->print_subtitle = subtitle;
    browse->print_columns = tabulogram;
    result = zrob_browse(0, 0, 0);
    free_browse(&browse);
  }
  w4close(bar);
  return result;
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
