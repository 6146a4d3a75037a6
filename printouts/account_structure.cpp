// " Konta " of the VAT register: the sums per account built, copied with
// the chosen grouping into Z5KONTES and shown as a list that prints itself.
#include <cstdio>
#include <string>

#include "app/document_kinds.h"
#include "db/db_index.h"
#include "db/dbf_table.h"
#include "env/messages.h"
#include "print/tabulogram.h"
#include "printouts/account_sums.h"
#include "printouts/register_source.h"
#include "sales/currency_view.h"
#include "sales/vat_register.h"
#include "tables/exchange_tables.h"
#include "tables/sales_tables.h"
#include "tables/wait_notice.h"
#include "ui/browse.h"
#include "ui/keyboard.h"
#include "ui/menu.h"
#include "ui/message_box.h"
#include "ui/window4.h"

namespace {

constexpr int MSG_MAIN_TITLE = 82, MSG_AUX_TITLE = 83, MSG_BUILD_QUESTION = 88;
constexpr int NAME_WIDTH = 22;
constexpr int COLUMNS = 8, TABU_COLUMNS = 8;
constexpr int TITLE_SIZE = 160, SUBTITLE_SIZE = 400;

DbField** Slot(const char* name) {
  DbField* field = d4field(Z5KONTES.table, name);
  for (DbField*& bound : Z5KONTES.field)
    if (bound == field) return &bound;
  return nullptr;
}

double LineRate() {
  kontekst_ewidencji* c = kontekstEwidencji;
  return kurs_widoku(c ? c->tryb_przeliczenia : 2, d4field(Z5SPRE.table, "KVA"), d4field(Z5SPRE.table, "KKS"));
}

}  // namespace

void kolumny_struktury_kont(TabuColumn* columns, int size) {
  ResetTabuDefinition(columns, size);
  DefineTabuColumn("nazwa", "konta", Slot("NAZ"), TABU_CHOSEN, 1);
  DefineTabuColumn("numer", "konta", Slot("NUM"), TABU_CHOSEN, 2);
  DefineTabuColumn(Sys("wartość"), "netto", Slot("NET"), TABU_CHOSEN, 3);
  DefineTabuColumn(Sys("wartość"), "VAT", Slot("VAT"), TABU_CHOSEN, 4);
  DefineTabuColumn(Sys("wartość"), "netto+VAT", Slot("NIV"), TABU_CHOSEN, 5);
  DefineTabuColumn(Sys("wartość"), "brutto", Slot("BRU"), TABU_CHOSEN, 6);
}

int pokaz_liste_kont(const char* title, const char* subtitle, int nameWidth) {
  static ScrollColumn columns[COLUMNS];
  static TabuColumn tabulogram[TABU_COLUMNS];
  ResetScrollDefinition(columns, sizeof columns);
  DefineScrollColumn(Slot("NUM"), 0, "numer");
  if (ScrollColumn* name = DefineScrollColumn(Slot("NAZ"), SCROLL_FIXED_WIDTH, "nazwa")) name->width = static_cast<int8_t>(nameWidth);
  DefineScrollColumn(Slot("NET"), 0, "netto");
  DefineScrollColumn(Slot("VAT"), 0, "VAT");
  DefineScrollColumn(Slot("NIV"), 0, "netto+VAT");
  DefineScrollColumn(Slot("BRU"), 0, "brutto");
  kolumny_struktury_kont(tabulogram, sizeof tabulogram);
  int bar = DefineMainMenuWindow();
  MenuDefineItem(" Drukuj ", 1292, 'd', 0, [](int32_t) -> int32_t { return browse_drukuj(); }, nullptr);
  BrowseContext* browse = nullptr;
  int result = allocate_browse(&browse, Z5KONTES.table, nullptr, columns, bar);
  if (result == 0) {
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

int pokaz_strukture_kont(int, int rejestr) {
  kontekst_ewidencji* c = kontekstEwidencji;
  static char title[TITLE_SIZE], subtitle[SUBTITLE_SIZE];
  int mode = c ? c->tryb_przeliczenia : 2;
  std::string currency = c ? ReportCurrency(c) : std::string("PLN");
  std::snprintf(title, sizeof title, "%s w %s", EnvMessageText(rejestr == 1 ? MSG_MAIN_TITLE : MSG_AUX_TITLE),
                nazwa_widoku_waluty(mode, currency.c_str()));
  std::snprintf(subtitle, sizeof subtitle, "%s", c ? FilterStatusText(c, 0).c_str() : "");
  dopisz_opis_widoku_waluty(subtitle, sizeof subtitle, mode, currency.c_str());
  return pokaz_liste_kont(title, subtitle, NAME_WIDTH);
}

int zbuduj_strukture_kont(int grouping, int flag, int rejestr) {
  if (CreateZ5KONTES() != 0) return -1;
  int result = przepisz_konta_z_grupami(grouping);
  if (result == 0) pokaz_strukture_kont(flag, rejestr);
  if (d4close(Z5KONTES.table) != 0) result = -1;
  return result;
}

int sumy_wg_kont() {
  kontekst_ewidencji* c = kontekstEwidencji;
  if (!c) return -1;
  static const char* const groupings[] = {"4. GRUPA 1 i 2", "1. BEZ GRUP", "2. GRUPA 1", "3. GRUPA 2",
                                          "4. GRUPA 1 i 2", nullptr};
  int chosen = get_menu_function(" WYBIERZ ", groupings, 1, -1, -1);
  if (chosen < 1) return 0;
  if (Pytanie(MSG_BUILD_QUESTION) == KEY_ESC) return 0;
  if (CreateZ5KONTE() != 0) return -1;
  int window = w4select(-1);
  int notice = ShowWaitNotice();
  ZrodloRejestruVat source = RegisterSource(c);
  OpcjeSumKont options{LineRate, ProFormaItemOn(c)};
  int result = sumuj_konta_rejestru(&source, &options);
  HideWaitNotice(notice);
  if (result == 0)
    result = zbuduj_strukture_kont(chosen - 1, 1, c->rejestr);
  else
    Uwaga(Sys("Błąd odczytu danych - sumy nie zostały policzone."));
  w4select(window);
  if (d4close(Z5KONTE.table) != 0) result = -1;
  return result;
}
