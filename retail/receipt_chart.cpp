// The chart of receipt positions: four chart lines, each set by a goods
// code and/or an account, summed month by month over the working year in
// quantities or net values, drawn by the library's chart.
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
#include "masterdata/accounts.h"
#include "retail/position_register.h"
#include "retail/receipt_filters.h"
#include "retail/receipt_positions.h"
#include "sales/background_screen.h"
#include "tables/masterdata_tables.h"
#include "tables/receipt_tables.h"
#include "ui/browse.h"
#include "ui/chart.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/menu.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace retail {

namespace {

constexpr int QUANTITIES = 1;
constexpr int16_t RES_CHART_LINES = 45;
constexpr int WINDOW_TOP = 8;
constexpr int FIRST_ROW = 4, ROW_STEP = 2, CODE_COL = 11, ACCOUNT_COL = 30;
constexpr int FORM_ATTRIBUTE = 142;
constexpr int CODE_WIDTH = 18, ACCOUNT_WIDTH = 8, ACCOUNT_DASH = 3;
constexpr size_t LEGEND_MAX = 80;

linie_wykresu_paragonow* shown = nullptr;

DbField* P(const char* name) { return d4field(Z5PARE.table, name); }

std::string Trimmed(const char* text, size_t max) {
  std::string s(text, strnlen(text, max));
  s.erase(s.find_last_not_of(' ') + 1);
  return s;
}

// The criterion, blank-padded, against the field over the field's width.
bool Equal(const char* criterion, size_t max, DbField* field) {
  if (!field) return false;
  std::string text(criterion, strnlen(criterion, max));
  text.resize(f4len(field), ' ');
  return std::memcmp(text.data(), f4ptr(field), text.size()) == 0;
}

bool Matches(const linie_wykresu_paragonow& p, int i) {
  if (!p.jest_kod[i] && !p.jest_konto[i]) return false;
  if (p.jest_kod[i] && !Equal(p.kod[i], sizeof p.kod[i], P("KOT"))) return false;
  if (p.jest_konto[i] && !(Z5KONT.table && Equal(p.konto[i], sizeof p.konto[i], d4field(Z5KONT.table, "NUM"))))
    return false;
  return true;
}

int AccountCheck(Get4* get) {
  for (int i = 0; i < LINIE_WYKRESU_PARAGONOW; i++)
    if (get->data == shown->konto[i]) return valid_konto(get, nullptr, nullptr, shown->nazwa_konta[i]);
  return -1;
}

int EditLines(linie_wykresu_paragonow* p) {
  int previous = w4select(-1);
  int window = OpenFiltryWindow(WINDOW_TOP);
  if (window < 0) return KEY_ESC;
  int attribute = w4attribute(-1);
  w4attribute(FORM_ATTRIBUTE);
  pokaz_tlo(RES_CHART_LINES, 0, 0);
  w4attribute(attribute);
  int savedMode = stanKoduPozycji.tryb;
  stanKoduPozycji.tryb = KOD_WYKRESU;
  for (int i = 0; i < LINIE_WYKRESU_PARAGONOW; i++) {
    int row = FIRST_ROW + ROW_STEP * i;
    g4(row, CODE_COL, p->kod[i]);
    g4upper();
    g4call(klawisz_kodu_pozycji, KOD_WYKRESU);
    g4valid(sprawdz_kod_filtru);
    g4(row, ACCOUNT_COL, p->konto[i]);
    g4picture("999-9999");
    g4call(konto_f4_lista, 0);
    g4valid(AccountCheck);
  }
  int key = ReadGetsUntilSaved();
  stanKoduPozycji.tryb = savedMode;
  w4deactivate(window);
  w4close(window);
  w4select(previous);
  return key;
}

// 1 quantities, 2 values, -1 Esc.
int ChooseKind() {
  static const char* const items[] = {Sys("2. WARTOŚCIOWY"), Sys("1. ILOŚCIOWY  "), Sys("2. WARTOŚCIOWY"), nullptr};
  return get_menu_function(" WYBIERZ ", items, 1, -1, -1);
}

void Draw(const linie_wykresu_paragonow& p, int kind) {
  Wykres* chart = init_wykres();
  if (!chart) return;
  char legends[LINIE_WYKRESU_PARAGONOW][LEGEND_MAX + 1];
  for (int i = 0; i < LINIE_WYKRESU_PARAGONOW; i++) {
    WykresSeries& s = chart->series[i];
    s.chosen = p.jest_kod[i] || p.jest_konto[i] ? 1 : 0;
    std::snprintf(legends[i], sizeof legends[i], "  %s %s", Trimmed(p.kod[i], sizeof p.kod[i]).c_str(),
                  Trimmed(p.nazwa_konta[i], sizeof p.nazwa_konta[i]).c_str());
    s.legend = legends[i];
    const double* sums = kind == QUANTITIES ? p.ilosci[i] : p.wartosci[i];
    for (int m = 0; m < MIESIACE; m++) s.values[m] = sums[m];
  }
  rysuj_wykres(chart, WorkingYear(), MIESIACE, kind == QUANTITIES ? "" : Sys("zł"));
  free_mem(&chart);
}

}  // namespace

int filtry_wykresu(linie_wykresu_paragonow* p) {
  for (int i = 0; i < LINIE_WYKRESU_PARAGONOW; i++) {
    std::memset(p->kod[i], 0, sizeof p->kod[i]);
    std::memset(p->kod[i], ' ', CODE_WIDTH);
    std::memset(p->konto[i], 0, sizeof p->konto[i]);
    std::memset(p->konto[i], ' ', ACCOUNT_WIDTH);
    std::memset(p->nazwa_konta[i], 0, sizeof p->nazwa_konta[i]);
  }
  shown = p;
  int key = EditLines(p);
  shown = nullptr;
  if (key != KEY_F2) return -1;
  bool any = false;
  for (int i = 0; i < LINIE_WYKRESU_PARAGONOW; i++) {
    p->jest_kod[i] = !Trimmed(p->kod[i], sizeof p->kod[i]).empty();
    std::string account(p->konto[i], strnlen(p->konto[i], sizeof p->konto[i]));
    // the empty picture "   -    " is no account
    if (account.size() > ACCOUNT_DASH && account[ACCOUNT_DASH] == '-') account[ACCOUNT_DASH] = ' ';
    p->jest_konto[i] = !Trimmed(account.c_str(), account.size()).empty();
    any = any || p->jest_kod[i] || p->jest_konto[i];
  }
  return any ? 0 : -1;
}

int sumuj_wykres(DbScanCtx* scan, linie_wykresu_paragonow* p) {
  int year = WorkingYear();
  int r;
  for (r = x4top(scan); r == 0; r = x4skip(scan, 1)) {
    const char* date = f4ptr(P("DAV"));
    int month = c4atoi(date + 4, 2);
    if (c4atoi(date, 4) != year || month < 1 || month > MIESIACE) continue;
    for (int i = 0; i < LINIE_WYKRESU_PARAGONOW; i++) {
      if (!Matches(*p, i)) continue;
      p->wartosci[i][month - 1] += f4double(P("WNE"));
      p->ilosci[i][month - 1] += f4double(P("ILO"));
    }
  }
  return r < 0 ? -1 : 0;
}

namespace {

void Chart(DbTable* positions) {
  if (!CurrentBrowse) return;
  int kind = ChooseKind();
  if (kind < 1) return;
  auto* p = static_cast<linie_wykresu_paragonow*>(take_mem(sizeof(linie_wykresu_paragonow)));
  if (!p) return;
  std::memset(p, 0, sizeof *p);
  if (filtry_wykresu(p) == 0 && set_lock(positions, -1) == 0) {
    int summed = sumuj_wykres(&CurrentBrowse->scan, p);
    d4unlock(positions);
    if (summed == 0) Draw(*p, kind);
  }
  free_mem(&p);
}

}  // namespace

int wykres_paragonow(DbTable* positions) {
  Chart(positions);
  // the register relates each position to its receipt header only for the call
  if (kontekstEwidencjiParagonow) kontekstEwidencjiParagonow->zNaglowkiem = 0;
  return 0;
}

}  // namespace retail
