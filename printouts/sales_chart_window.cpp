// The window of the sales chart's lines: an item code, a contractor code
// and an account number for each of the four chart lines.
#include <cstring>
#include <string>

#include "app/option_sets.h"
#include "db/dbf_table.h"
#include "masterdata/accounts.h"
#include "printouts/sales_chart.h"
#include "sales/background_screen.h"
#include "sales/buyer.h"
#include "sales/line_code.h"
#include "sales/vat_register.h"
#include "tables/masterdata_tables.h"
#include "tables/sales_tables.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace {

constexpr int16_t RES_CHART_LINES = 53;
constexpr int WINDOW_TOP = 8;
constexpr int FIRST_ROW = 4, ROW_STEP = 2;
constexpr int CODE_COL = 11, CONTRACTOR_COL = 30, ACCOUNT_COL = 51;
constexpr int GET_ATTRIBUTE = 143;
constexpr int ACCOUNT_WIDTH = 8;   // "999-9999"
constexpr int ACCOUNT_DASH = 3;

parametry_wykresu* shown;
// The catalogue of each chart line's last pick and the code it gave.
int pickedOrigin[LINIE_WYKRESU];
std::string pickedCode[LINIE_WYKRESU];

int Width(DbTable* table, const char* name, int otherwise) {
  DbField* field = table ? d4field(table, name) : nullptr;
  return field ? static_cast<int>(f4len(field)) : otherwise;
}

void Blank(char* buffer, int width) {
  std::memset(buffer, 0, POLE_LINII_WYKRESU);
  std::memset(buffer, ' ', static_cast<size_t>(width));
}

std::string Trimmed(const char* text) {
  std::string s(text, strnlen(text, POLE_LINII_WYKRESU));
  s.erase(s.find_last_not_of(' ') + 1);
  return s;
}

bool IsBlank(const char* text) { return Trimmed(text).empty(); }

int CodeKey(Get4* get, char* buffer, int32_t line) {
  int key = pole_towar_usluga(get, buffer, POLE_WYKRESU);
  if (wartosciPozycji.rodzajKartoteki != 0) {
    pickedOrigin[line] = wartosciPozycji.rodzajKartoteki;
    pickedCode[line] = Trimmed(buffer);
  }
  return key;
}

int AccountCheck(Get4* get) {
  for (int i = 0; i < LINIE_WYKRESU; i++)
    if (get->data == shown->konto[i]) return valid_konto(get, nullptr, nullptr, shown->nazwa_konta[i]);
  return -1;
}

// A code typed over a pick, or never picked, is looked for in the catalogue
// the sales options name first.
int Origin(const parametry_wykresu& p, int i) {
  if (pickedOrigin[i] != 0 && pickedCode[i] == Trimmed(p.kod[i])) return pickedOrigin[i];
  return salesOptions.list44 == 2 ? 2 : 1;
}

void DefineLine(parametry_wykresu* p, int i) {
  int row = FIRST_ROW + ROW_STEP * i;
  g4(row, CODE_COL, p->kod[i]);
  g4upper();
  g4call(CodeKey, i);
  g4valid(waliduj_kod_pozycji);
  g4(row, CONTRACTOR_COL, p->kontrahent[i]);
  g4upper();
  g4call(pole_kontrahenta, POLE_WYKRESU_KONTRAHENTA);
  g4valid(waliduj_kontrahenta);
  g4(row, ACCOUNT_COL, p->konto[i]);
  g4picture("999-9999");
  g4call(konto_f4_lista, 0);
  g4valid(AccountCheck);
}

int EditLines(parametry_wykresu* p) {
  int previous = w4select(-1);
  int window = OpenFiltryWindow(WINDOW_TOP);
  if (window < 0) return KEY_ESC;
  pokaz_tlo(RES_CHART_LINES, 0, 0);
  g4attribute(GET_ATTRIBUTE);
  for (int i = 0; i < LINIE_WYKRESU; i++) DefineLine(p, i);
  int key = ReadGetsUntilSaved();
  w4deactivate(window);
  w4close(window);
  w4select(previous);
  return key;
}

}  // namespace

int ustaw_linie_wykresu(parametry_wykresu* p) {
  int codeWidth = Width(Z5SPRE.table, "KOT", 0), contractorWidth = Width(Z5SPRZ.table, "KNA", 0);
  int accountWidth = Width(Z5KONT.table, "NUM", ACCOUNT_WIDTH);
  for (int i = 0; i < LINIE_WYKRESU; i++) {
    Blank(p->kod[i], codeWidth);
    Blank(p->kontrahent[i], contractorWidth);
    Blank(p->konto[i], accountWidth);
    p->zrodlo[i] = 0;
    pickedOrigin[i] = 0;
    pickedCode[i].clear();
  }
  shown = p;
  int key = EditLines(p);
  shown = nullptr;
  if (key != KEY_F2) return -1;
  bool any = false;
  for (int i = 0; i < LINIE_WYKRESU; i++) {
    p->zrodlo[i] = Origin(*p, i);
    p->jest_kod[i] = !IsBlank(p->kod[i]);
    p->jest_kontrahent[i] = !IsBlank(p->kontrahent[i]);
    std::string account(p->konto[i]);
    if (account.size() > ACCOUNT_DASH && account[ACCOUNT_DASH] == '-') account[ACCOUNT_DASH] = ' ';
    p->jest_konto[i] = !IsBlank(account.c_str());
    if (p->jest_kontrahent[i] && kontekstEwidencji) kontekstEwidencji->z_naglowkiem = 1;
    any = any || p->jest_kod[i] || p->jest_kontrahent[i] || p->jest_konto[i];
  }
  return any ? 0 : -1;
}
