#include "printouts/sales_chart.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "app/document_kinds.h"
#include "db/db_lock.h"
#include "db/db_scan.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/memory.h"
#include "env/numbers.h"
#include "env/session/field_text.h"
#include "printouts/register_source.h"
#include "sales/register_filters.h"
#include "sales/vat_register.h"
#include "tables/catalogue.h"
#include "tables/masterdata_tables.h"
#include "tables/sales_tables.h"
#include "ui/browse.h"
#include "ui/chart.h"
#include "ui/filters.h"
#include "ui/menu.h"
#include "ui/message_box.h"

namespace {

constexpr int QUANTITIES = 1;

DbField* LineField(const char* name) { return d4field(Z5SPRE.table, name); }

// The criterion, blank-padded, against the field over the field's width.
bool Equal(const char* criterion, DbField* field) {
  if (!field) return false;
  std::string text(criterion, strnlen(criterion, POLE_LINII_WYKRESU));
  text.resize(f4len(field), ' ');
  return std::memcmp(text.data(), f4ptr(field), text.size()) == 0;
}

bool Matches(const parametry_wykresu& p, int i) {
  if (!p.jest_kod[i] && !p.jest_kontrahent[i] && !p.jest_konto[i]) return false;
  if (p.jest_kod[i] && (!Equal(p.kod[i], LineField("KOT")) || f4int(LineField("ZRP")) != p.zrodlo[i])) return false;
  if (p.jest_kontrahent[i] && !Equal(p.kontrahent[i], d4field(Z5SPRZ.table, "KNA"))) return false;
  if (p.jest_konto[i] && !(Z5KONT.table && Equal(p.konto[i], d4field(Z5KONT.table, "NUM")))) return false;
  return true;
}

// The chart's menu: 1 quantities, 2 values, -1 Esc.
int ChooseKind() {
  static const char* const items[] = {Sys("2. WARTOŚCIOWY"), Sys("1. ILOŚCIOWY  "), Sys("2. WARTOŚCIOWY"), nullptr};
  return get_menu_function(" WYBIERZ ", items, 1, -1, -1);
}

void Draw(const parametry_wykresu& p, int kind, const std::string& unit) {
  Wykres* chart = init_wykres();
  if (!chart) return;
  char names[LINIE_WYKRESU][POLE_LINII_WYKRESU];
  for (int i = 0; i < LINIE_WYKRESU; i++) {
    WykresSeries& s = chart->series[i];
    s.chosen = p.jest_kod[i] || p.jest_kontrahent[i] || p.jest_konto[i] ? 1 : 0;
    // The legend keeps what fits.
    const std::string legend = std::string("  ") + p.kod[i] + " " + p.kontrahent[i] + " " + p.nazwa_konta[i];
    std::snprintf(names[i], sizeof names[i], "%s", legend.c_str());
    s.legend = names[i];
    const double* sums = kind == QUANTITIES ? p.ilosci[i] : p.wartosci[i];
    for (int m = 0; m < MIESIACE_WYKRESU; m++) s.values[m] = sums[m];
  }
  rysuj_wykres(chart, WorkingYear(), MIESIACE_WYKRESU, kind == QUANTITIES ? "" : unit.c_str());
  free_mem(&chart);
}

}  // namespace

int sumuj_wykres(DbScanCtx* scan, kontekst_ewidencji* context, parametry_wykresu* p, std::string* unit) {
  FilterItem* currency = context ? context->elementy[FE_WALUTA] : nullptr;
  *unit = context ? ReportCurrency(context) : "PLN";
  int year = WorkingYear();
  int r;
  for (r = x4top(scan); r == 0; r = x4skip(scan, 1)) {
    const char* date = f4ptr(LineField("DAW"));
    int month = c4atoi(date + 4, 2);
    if (c4atoi(date, 4) != year || month < 1 || month > MIESIACE_WYKRESU) continue;
    double factor = kurs_raportu(currency, LineField("KVA"));
    double value = 0, quantity = 0;
    int kind = f4int(LineField("TYV"));
    if (kind == 1 || kind == 2 || kind == 5 || kind == 7 || kind == 8) {
      value = ROUND(f4double(LineField("WNE")) * factor, 2);
      quantity = f4double(LineField("ILO"));
    } else if (kind == 3 || kind == 4) {
      value = ROUND(f4double(LineField("KRN")) * factor, 2);
      quantity = f4double(LineField("ILK"));
    }
    for (int i = 0; i < LINIE_WYKRESU; i++) {
      if (!Matches(*p, i)) continue;
      p->wartosci[i][month - 1] += value;
      p->ilosci[i][month - 1] += quantity;
    }
  }
  return r < 0 ? -1 : 0;
}

int wykres_sprzedazy(DbTable* lines, int) {
  kontekst_ewidencji* c = kontekstEwidencji;
  if (!c || !CurrentBrowse) return 0;
  int kind = ChooseKind();
  if (kind < 1) return 0;
  auto* p = static_cast<parametry_wykresu*>(take_mem(sizeof(parametry_wykresu)));
  if (!p) return 0;
  if (ustaw_linie_wykresu(p) == 0 && d4lock_all(lines) == 0) {
    std::string unit;
    int summed = sumuj_wykres(&CurrentBrowse->scan, c, p, &unit);
    d4unlock(lines);
    // A chart of a scan cut short would show part of the year's sales as all of it.
    if (summed != 0)
      Uwaga(Sys("Błąd dokumentów !"));
    else
      Draw(*p, kind, unit);
  }
  free_mem(&p);
  c->z_naglowkiem = 0;
  return 0;
}

int wykres_z_ewidencji() {
  kontekst_ewidencji* c = kontekstEwidencji;
  if (!c) return -1;
  long shown = d4recno(Z5SPRE.table);
  okno_filtrow_ewidencji(c, 0);
  if (c->filtry.changed) {
    wykres_sprzedazy(Z5SPRE.table, 1);
    AskResetFilter(&c->filtry);
  }
  return browse_call(0, shown) < 0 ? -1 : 0;
}
