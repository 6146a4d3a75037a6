// The register totals shown on the year's form in the page viewer and
// printed on F2.
#include <cstdio>
#include <cstring>
#include <string>

#include "app/document_kinds.h"
#include "db/db_lock.h"
#include "env/dates.h"
#include "env/session/environment.h"
#include "print/char_output.h"
#include "print/page_viewer.h"
#include "print/patterns.h"
#include "print/printer.h"
#include "printouts/register_source.h"
#include "printouts/register_totals.h"
#include "sales/vat_register.h"
#include "tables/catalogue.h"
#include "tables/sales_tables.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"
#include "ui/window4.h"

namespace {

constexpr int PRINT_FLAGS = 0x900;
constexpr int FORM_2024 = 77;
constexpr size_t HEADING_MAX = 228;

// The block of the last run.
sumy_rejestru_vat totals;
int shownForm;

int16_t FormResource() { return static_cast<int16_t>(shownForm); }

// The title and each active date, structure and delivery item.
std::string HeadingLine(kontekst_ewidencji* c, const std::string& title) {
  std::string line = title + " ";
  struct DateItem {
    int item;
    const char* label;
  } dates[] = {{FE_OD_DATY_VAT, "Od daty VAT:"},
               {FE_DO_DATY_VAT, " do daty VAT:"},
               {FE_OD_DATY_WYST, "od daty wyst:"},
               {FE_DO_DATY_WYST, " do daty wyst:"}};
  for (const DateItem& d : dates) {
    FilterItem* item = c->elementy[d.item];
    if (item && item->active) line += std::string(d.label) + DateQStr(item->date);
  }
  FilterItem* structure = c->elementy[FE_STRUKTURA];
  if (structure && structure->active) line += " czy w strukturze? TAK";
  FilterItem* delivery = c->elementy[FE_TYP_DOSTAWY];
  if (delivery && delivery->active) {
    char status[HEADING_MAX + 1] = {};
    AddFilterItemStatus(delivery, status);
    line += status;
  }
  if (line.size() > HEADING_MAX) line.resize(HEADING_MAX);
  return line;
}

void PrintPage(const char* pattern, const char* page, int lines, int width, std::string heading) {
  if (init_prn(Z5SPRE.table, "SUM", Sys("Sumy rejestru sprzedaży"), width, PRINT_FLAGS) != 0) return;
  conv_str(heading.data(), static_cast<int>(heading.size()));
  Environment* env = EnvCurrent();
  for (;;) {
    if (drukuj_top_margin() != 0 || drukuj_nazwa_wlasciciela() != 0 || drukuj(heading.c_str()) != 0 ||
        drukuj_line_feed(1) != 0 || print_lines(pattern, page, width, 0, lines, 0, -1) != 0 ||
        drukuj_bez_marginesu("\x0c") != 0)
      break;
    if (env->copiesLeft-- <= 0) break;
  }
  deinit_prn();
}

int RegisterTotals(int check, int form) {
  kontekst_ewidencji* c = kontekstEwidencji;
  if (!c) return -1;
  int window = w4select(-1);
  DbTable* lines = Z5SPRE.table;
  if (d4lock_all(lines) != 0) return -1;
  ZrodloRejestruVat source = RegisterSource(c);
  OpcjeSumRejestru options{ProFormaItemOn(c), check, 0};
  int summed = licz_sumy_rejestru(&totals, &source, &options);
  d4unlock(lines);
  if (summed != 0) {
    // partial figures are never shown as whole
    if (!options.przerwano) Uwaga(Sys("Błąd odczytu danych - sumy nie zostały policzone."));
    w4select(window);
    return -1;
  }
  shownForm = form;
  int rows = wiersze_formularza_sum(form), width = kolumny_formularza_sum(form);
  char *pattern = nullptr, *page = nullptr;
  if (print_alloc(&pattern, &page, rows * width, FormResource) == 0) {
    wypelnij_strone_sum(&totals, page, form);
    char title[128];
    std::snprintf(title, sizeof title, "%s w %s",
                  Sys(c->rejestr == 1 ? "Sumy rejestru sprzedaży" : "Sumy rejestru sprzedaży pomocniczej"),
                  ReportCurrency(c).c_str());
    if (edytuj_memory(pattern, page, rows, width, title, 1, 1, 0) == KEY_F2)
      PrintPage(pattern, page, rows, width, HeadingLine(c, title));
  }
  print_free(&pattern, &page);
  w4select(window);
  return 0;
}

}  // namespace

int sumy_rejestru_sprzedazy(int check) { return RegisterTotals(check, formularz_sum_rejestru(WorkingYear())); }

int sumy_rejestru_sprzedazy_2024(int check) { return RegisterTotals(check, FORM_2024); }
