#include "sales/vat_summary_entry.h"

#include <cstdint>
#include <cstring>
#include <string>

#include "app/option_sets.h"
#include "app/option_values.h"
#include "app/vat_summary.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/numbers.h"
#include "masterdata/accounts.h"
#include "masterdata/catalogue_lists.h"
#include "sales/document_header.h"
#include "sales/document_totals.h"
#include "sales/header_form.h"
#include "tables/catalogue.h"
#include "tables/sales_tables.h"
#include "ui/desktop.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/menu.h"
#include "ui/record_stamp.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

podsumowanie_vat_dokumentu* podsumowanieVat = nullptr;

namespace {

constexpr int FIRST_YEAR_OF_GROUPED_ROWS = 2024;
constexpr int FIRST_YEAR_OF_RTY = 2022;
constexpr int FIRST_YEAR_OF_RATE_LISTS = 2016;

constexpr int WINDOW_ROW = 8, WINDOW_ROWS = 20, WINDOW_COLS = 80;
constexpr int MENU_ROWS = 15, MENU_COLS = 19;
constexpr int HEADER_ATTRIBUTE = 23;
constexpr int TOTALS_ROW = 15, TOTALS_ROW_2024 = 11;
constexpr int RULE_COL = 21, RULE_WIDTH = 57;
constexpr int AMOUNT_WIDTH = 11, ACCOUNT_WIDTH = 8, NAME_WIDTH = 12;
constexpr char AMOUNT_PICTURE[] = "########.##";
constexpr char ACCOUNT_PICTURE[] = "999-9999";
constexpr char NO_ACCOUNT[] = "   -    ";
constexpr int HINT_ORDER = 4;
constexpr int KEY_F4 = 0x3E00, KEY_F5 = 0x3F00;

// Screen columns of a row.
constexpr int ENTERED_COL = 20, ACCOUNT_COL = 32, CHOICE_COL = 41, NAME_COL = 42, VAT_COL = 55, OTHER_COL = 67;

// Indexes of the amounts in the edit buffer and the totals.
constexpr int NET = SUM_NET, VAT = SUM_VAT, GROSS = SUM_GROSS, CORRECTION_NET = SUM_CORRECTION_NET,
              CORRECTION_VAT = SUM_CORRECTION_VAT;
// Further entries of the screen columns.
constexpr int ACCOUNT = 5, NAME = 6;

// From 2024 the menu and the screen show these rows, in this order.
constexpr int ROWS_2024[] = {0, 1, 2, 8, 3, 4, 7, 6, 9, 12};
constexpr int ITEMS_2024 = 9;
constexpr int ITEMS = 13;
constexpr int ZERO_ITEM_2024 = 4, NOT_TAXED_ITEM_2024 = 6;

podsumowanie_vat_dokumentu& S() { return *podsumowanieVat; }

bool From2024() { return WorkingYear() >= FIRST_YEAR_OF_GROUPED_ROWS; }
double Round2(double x) { return ROUND(x, 2); }

std::string Maz(const char* utf8) { return Utf8ToMazText(utf8); }

const char* const MENU_BEFORE_2024[] = {
    "1.podstawowa......", "2.obniżona 1......", "3.zero ...........", "4.zwolnione.......", "5.zero eksport....",
    "6.bez stawki......", "7.nie podlega.....", "8.obniżona 2......", "9.zwrot RR........", "A.nie podl. z odl.",
    "B.eksport usł. UE.", "C.ryczałt TAXI....", "D.zero zwrot......",
};
const char* const MENU_2024[] = {
    "1.podstawowa......", "2.obniżona 1......", "3.obniżona 2......", "4.zero ...........", "5.zwolnione.......",
    "6.nie podlega.....", "7.bez stawki......", "8.zwrot RR........", "9.ryczałt TAXI....",
};

// The screen row of summary row r; 0 when the period does not show it.
int ScreenRow(int r) {
  if (!From2024()) return r;
  for (int i = 1; i <= ITEMS_2024; i++)
    if (ROWS_2024[i] == r) return i;
  return 0;
}

bool HasAmount(int r) {
  const podsumowanie_vat_dokumentu& s = S();
  if (s.correctionMode) return s.correctionNet[r] != 0 || s.correctionVat[r] != 0;
  return s.net[r] != 0 || s.vat[r] != 0 || s.gross[r] != 0;
}

bool AnyAmount(int r) {
  const podsumowanie_vat_dokumentu& s = S();
  return s.net[r] != 0 || s.vat[r] != 0 || s.gross[r] != 0 || s.correctionNet[r] != 0 || s.correctionVat[r] != 0;
}

void ComputeTotals() {
  podsumowanie_vat_dokumentu& s = S();
  for (double& t : s.totals) t = 0;
  for (int r = 1; r < SUMMARY_ROWS; r++) {
    s.totals[NET] += s.net[r];
    s.totals[VAT] += s.vat[r];
    s.totals[GROSS] += s.gross[r];
    s.totals[CORRECTION_NET] += s.correctionNet[r];
    s.totals[CORRECTION_VAT] += s.correctionVat[r];
  }
}

int DefaultLumpSum() {
  return WorkingYear() >= FIRST_YEAR_OF_RTY ? salesOptions.usualLumpSum2022 : salesOptions.usualLumpSum;
}

// The name of the row's income column or lump-sum rate without its number.
const char* RowName(int r) {
  const podsumowanie_vat_dokumentu& s = S();
  int code = s.flatRateBooks ? s.lumpSumCode[r] : s.incomeColumn[r];
  if (code <= 0) return "";
  if (s.flatRateBooks && WorkingYear() < FIRST_YEAR_OF_RATE_LISTS) return "";
  const char* const* list = s.flatRateBooks ? ListaStawekRyczaltu(WorkingYear()) : ListaTypuPrzychodu();
  for (int i = 1; i <= code; i++)
    if (!list[i]) return "";
  return list[code] + 2;
}

void SetColumns() {
  podsumowanie_vat_dokumentu& s = S();
  for (int& c : s.screenColumns) c = -1;
  if (s.correctionMode) {
    s.screenColumns[CORRECTION_NET] = ENTERED_COL;
    s.screenColumns[CORRECTION_VAT] = VAT_COL;
  } else {
    s.screenColumns[s.grossEntry ? GROSS : NET] = ENTERED_COL;
    s.screenColumns[VAT] = VAT_COL;
    s.screenColumns[s.grossEntry ? NET : GROSS] = OTHER_COL;
  }
  if (salesOptions.useAccounts != 'N') s.screenColumns[ACCOUNT] = ACCOUNT_COL;
  s.screenColumns[NAME] = NAME_COL;
}

void DrawAmount(int row, int which, double value) {
  int col = S().screenColumns[which];
  if (col >= 0) w4double(row, col, value, AMOUNT_WIDTH, 2);
}

void DrawRow(int r) {
  const podsumowanie_vat_dokumentu& s = S();
  int row = ScreenRow(r);
  if (row <= 0) return;
  w4repeat(row, MENU_COLS, ' ', WINDOW_COLS - MENU_COLS);
  if (s.screenColumns[ACCOUNT] >= 0) w4(row, ACCOUNT_COL, s.accountText[r]);
  std::string name(RowName(r));
  name.resize(NAME_WIDTH, ' ');
  w4(row, NAME_COL, name.c_str());
  if (s.correctionMode) {
    DrawAmount(row, CORRECTION_NET, s.correctionNet[r]);
    DrawAmount(row, CORRECTION_VAT, s.correctionVat[r]);
    return;
  }
  DrawAmount(row, NET, s.net[r]);
  DrawAmount(row, GROSS, s.gross[r]);
  // Zero-rate rows have no VAT.
  if (stawka_wiersza_podsumowania(r) != 0) DrawAmount(row, VAT, s.vat[r]);
}

void DrawTotals() {
  const podsumowanie_vat_dokumentu& s = S();
  w4repeat(s.totalsRow - 1, RULE_COL, static_cast<unsigned char>(Maz("─")[0]), RULE_WIDTH);
  for (int i = 0; i < SUMMARY_AMOUNTS; i++) {
    bool shown = s.correctionMode ? (i == CORRECTION_NET || i == CORRECTION_VAT) : i <= GROSS;
    if (shown) DrawAmount(s.totalsRow, i, s.totals[i]);
  }
}

void DrawColumnHeader() {
  const podsumowanie_vat_dokumentu& s = S();
  int attr = w4attribute(HEADER_ATTRIBUTE);
  w4repeat(0, MENU_COLS, ' ', WINDOW_COLS - MENU_COLS);
  auto label = [&](int which, const char* text) {
    int col = s.screenColumns[which];
    if (col >= 0) w4(0, col + AMOUNT_WIDTH - static_cast<int>(std::strlen(text)), text);
  };
  if (s.correctionMode) {
    label(CORRECTION_NET, "k.netto");
    label(CORRECTION_VAT, "k.VAT");
  } else {
    label(GROSS, "brutto");
    label(VAT, "VAT");
    label(NET, "netto");
  }
  if (s.screenColumns[ACCOUNT] >= 0) w4(0, ACCOUNT_COL, "nr konta");
  w4(0, NAME_COL, Maz(s.flatRateBooks ? "ryczałt" : "przychód").c_str());
  w4attribute(attr);
}

// Redraws every row and the totals in the summary window; the window
// current before stays current.
void DrawAll() {
  int previous = w4select(S().summaryWindow);
  ComputeTotals();
  for (int r = 1; r < SUMMARY_ROWS; r++) DrawRow(r);
  DrawTotals();
  w4select(previous);
}

// The get editor's redraw of the row after a recomputed amount.
void RedrawEditedRow() { g4display(); }

int LeaveEnteredAmount(Get4*) {
  podsumowanie_vat_dokumentu& s = S();
  double* e = s.edit;
  double rate = s.rowRate;
  if (s.correctionMode) {
    e[CORRECTION_VAT] = Round2(e[CORRECTION_NET] * rate * 0.01);
  } else if (s.grossEntry) {
    e[VAT] = Round2(e[GROSS] * rate / (rate + 100));
    e[NET] = e[GROSS] - e[VAT];
  } else {
    e[VAT] = Round2(e[NET] * rate * 0.01);
    e[GROSS] = e[NET] + e[VAT];
  }
  RedrawEditedRow();
  return 0;
}

int LeaveVat(Get4*) {
  double* e = S().edit;
  if (S().grossEntry)
    e[NET] = e[GROSS] - e[VAT];
  else
    e[GROSS] = e[NET] + e[VAT];
  RedrawEditedRow();
  return 0;
}

int LeaveAccount(Get4* get) {
  long ident = 0;
  int refused = valid_konto(get, nullptr, &ident, nullptr);
  if (!refused) S().accountIdent[S().currentRow] = static_cast<int>(ident);
  return refused;
}

// The one-character get of the income column or lump-sum rate: the choice
// list opens as soon as the get is entered.
int ChooseColumn(Get4*, char*, int32_t) {
  podsumowanie_vat_dokumentu& s = S();
  int r = s.currentRow;
  int chosen;
  if (s.flatRateBooks)
    chosen = get_menu_function(" WYBIERZ ", ListaStawekRyczaltu(WorkingYear()), DefaultLumpSum(), -1, 0);
  else
    chosen = get_menu_function(" WYBIERZ ", ListaTypuPrzychodu(), s.incomeColumn[r], -1, 0);
  if (chosen > 0) {
    (s.flatRateBooks ? s.lumpSumCode : s.incomeColumn)[r] = chosen;
    DrawAll();
  }
  return KEY_ENTER;
}

int32_t EditRow(int32_t r) {
  podsumowanie_vat_dokumentu& s = S();
  set_fun_help("F2", "Zapisz", HINT_ORDER);
  s.currentRow = r;
  s.rowRate = stawka_wiersza_podsumowania(r);
  if (s.incomeColumn[r] == 0) s.incomeColumn[r] = 1;
  if (s.flatRateBooks && s.lumpSumCode[r] == 0) s.lumpSumCode[r] = DefaultLumpSum();
  double* amounts[SUMMARY_AMOUNTS] = {s.net, s.vat, s.gross, s.correctionNet, s.correctionVat};
  for (int i = 0; i < SUMMARY_AMOUNTS; i++) s.edit[i] = amounts[i][r];
  if (s.accountText[r][0] == '\0') std::memcpy(s.accountText[r], NO_ACCOUNT, sizeof NO_ACCOUNT);
  int row = ScreenRow(r);
  int menu = w4select(s.summaryWindow);
  DrawAll();

  auto amount = [&](int col, int which, GetValidator leave) {
    g4double(row, col, &s.edit[which]);
    g4picture(AMOUNT_PICTURE);
    g4width(AMOUNT_WIDTH, AMOUNT_WIDTH);
    if (leave) g4valid(leave);
  };
  int entered = s.correctionMode ? CORRECTION_NET : s.grossEntry ? GROSS : NET;
  amount(ENTERED_COL, entered, LeaveEnteredAmount);
  if (salesOptions.useAccounts != 'N') {
    g4(row, ACCOUNT_COL, s.accountText[r]);
    g4picture(ACCOUNT_PICTURE);
    g4width(ACCOUNT_WIDTH, ACCOUNT_WIDTH);
    g4call(konto_f4_lista, 0);
    g4valid(LeaveAccount);
  }
  static char choice[2] = " ";
  g4(row, CHOICE_COL, choice);
  g4width(1, 1);
  g4call(ChooseColumn, 0);
  if (s.rowRate != 0) {
    if (s.correctionMode) {
      amount(VAT_COL, CORRECTION_VAT, nullptr);
    } else {
      amount(VAT_COL, VAT, LeaveVat);
      amount(OTHER_COL, s.grossEntry ? NET : GROSS, nullptr);
    }
  }
  g4read();

  for (int i = 0; i < SUMMARY_AMOUNTS; i++) amounts[i][r] = s.edit[i];
  if (!HasAmount(r)) {
    s.incomeColumn[r] = 0;
    s.lumpSumCode[r] = 0;
    s.accountIdent[r] = 0;
    s.accountText[r][0] = '\0';
  } else if (std::strcmp(s.accountText[r], NO_ACCOUNT) == 0) {
    s.accountText[r][0] = '\0';
  }
  remove_fun_help("F2");
  DrawAll();
  w4select(menu);
  return 0;
}

int F2AndF1AsEsc() {
  int key = g4char();
  return key == KEY_F2 || key == KEY_F1 ? KEY_ESC : key;
}

// Hot keys 1-9, then a-d.
int HotKey(int item) { return item <= 9 ? '0' + item : 'a' + item - 10; }

// Items of the rate menu; from 2024 some delivery types allow one item only.
void DefineRateMenu() {
  bool grouped = From2024();
  int count = grouped ? ITEMS_2024 : ITEMS;
  int only = 0;
  if (grouped) {
    switch (f4char(d4field(Z5SPRZ.table, "STM"))) {
      case '2': case '3': case '7': case '8': case '9': only = ZERO_ITEM_2024; break;
      case '5': case '6': only = NOT_TAXED_ITEM_2024; break;
      default: break;
    }
  }
  int first = -1;
  for (int item = 1; item <= count; item++) {
    // The menu keeps the texts, not copies.
    static std::string before2024[ITEMS], from2024[ITEMS_2024];
    std::string& text = grouped ? from2024[item - 1] : before2024[item - 1];
    if (text.empty()) text = Maz(grouped ? MENU_2024[item - 1] : MENU_BEFORE_2024[item - 1]);
    int h = n4item(item - 1, 0, text.c_str());
    if (h < 0) return;
    n4key(HotKey(item), 1, 0);
    n4action(EditRow);
    n4parm(grouped ? ROWS_2024[item] : item);
    if (only && item != only)
      n4skip_over(h, 1);
    else if (first < 0)
      first = h;
  }
  if (first >= 0) n4start_item(first);
}

// The summary window with its rate menu, run until Esc.
void RunSummary() {
  podsumowanie_vat_dokumentu& s = S();
  int window = w4define(WINDOW_ROW, 0, WINDOW_ROW + WINDOW_ROWS - 1, WINDOW_COLS - 1);
  if (window < 0) return;
  s.summaryWindow = window;
  s.totalsRow = From2024() ? TOTALS_ROW_2024 : TOTALS_ROW;
  SetColumns();
  w4popup();
  w4activate(window);
  DrawColumnHeader();
  DrawAll();
  int menu = w4define(WINDOW_ROW + 1, 0, WINDOW_ROW + MENU_ROWS, MENU_COLS - 1);
  if (menu >= 0) {
    DefineRateMenu();
    MenuKeySource previous = n4char_routine(F2AndF1AsEsc);
    w4cursor(-1, -1);
    n4activate(menu, 0, nullptr, nullptr, 1);
    n4char_routine(previous);
    w4close(menu);
  }
  w4deactivate(window);
  w4close(window);
  s.summaryWindow = 0;
}

}  // namespace

double stawka_wiersza_podsumowania(int row) {
  switch (row) {
    case 2: return currentVatRates[VAT_REDUCED_1];
    case 8: return currentVatRates[VAT_REDUCED_2];
    case 9: return currentVatRates[VAT_RR_REFUND];
    case 12: return mainOptions.taxiLumpSum;
    case 3: case 4: case 5: case 6: case 7: case 10: case 11: case 13: return 0;
    default: return currentVatRates[VAT_BASIC];
  }
}

void zeruj_wiersz_podsumowania(int row) {
  if (!podsumowanieVat || row < 1 || row >= SUMMARY_ROWS) return;
  podsumowanie_vat_dokumentu& s = S();
  s.incomeColumn[row] = 0;
  s.lumpSumCode[row] = 0;
  s.accountIdent[row] = 0;
  s.accountText[row][0] = '\0';
  s.net[row] = s.vat[row] = s.gross[row] = s.correctionNet[row] = s.correctionVat[row] = 0;
}

int wprowadz_podsumowanie_vat(int kind, int key) {
  ShowLineEntryHints(czy_dokument_marzy() != 0, HINT_ORDER);
  if (key < 1) key = g4char();
  if ((key != KEY_F4 && key != KEY_F5) || !podsumowanieVat) {
    if (WigetCtrlKey(key)) RemoveLineEntryHints();
    return key;
  }
  RemoveLineEntryHints();
  podsumowanie_vat_dokumentu& s = S();
  s.flatRateBooks = salesOptions.taxation != 1;
  s.correctionMode = kind == 3 || kind == 4;
  s.grossEntry = key == KEY_F5 || czy_dokument_marzy();
  s.savedWindow = w4select(-1);
  for (int r = 1; r < SUMMARY_ROWS; r++) zeruj_wiersz_podsumowania(r);
  ComputeTotals();
  RunSummary();
  w4select(s.savedWindow);
  for (int i = 0; i < SUMMARY_AMOUNTS; i++) sumyDokumentu.document[i] = s.totals[i];
  zapisz_sumy_naglowka(kind);
  f4assign_int(d4field(Z5SPRZ.table, "TRY"), s.grossEntry ? 2 : 1);
  odswiez_teksty_formularza();
  g4display();
  return KEY_ENTER;
}

int zapisz_pozycje_z_podsumowania(int kind) {
  if (!podsumowanieVat) return 0;
  podsumowanie_vat_dokumentu& s = S();
  DbTable* lines = Z5SPRE.table;
  DbTable* header = Z5SPRZ.table;
  auto line = [&](const char* name) { return d4field(lines, name); };
  auto head = [&](const char* name) { return d4field(header, name); };
  for (int r = 1; r < SUMMARY_ROWS; r++) {
    if (!AnyAmount(r)) continue;
    if (d4append_start(lines, 0) != 0) return -1;
    d4blank(lines);
    set_pass_inf(0, line("INF"));
    f4assign_double(line("ILO"), 1);
    f4assign_int(line("VAT"), r);
    f4assign_double(line("VAS"), stawka_wiersza_podsumowania(r));
    if (s.flatRateBooks) {
      f4assign_int(line("TYP"), 1);
      f4assign_int(line("RYT"), s.lumpSumCode[r]);
      f4assign_double(line("RYS"), StawkaRyczaltu(s.lumpSumCode[r]));
    } else {
      f4assign_int(line("TYP"), s.incomeColumn[r]);
    }
    f4assign_long(line("KON"), s.accountIdent[r]);
    f4assign_int(line("TYV"), kind);
    f4assign_field(line("REK"), head("REC"));
    for (const char* name : {"PRE", "NRV", "POS", "DAW", "DAV", "STM", "WAL", "KVA", "KKS"})
      f4assign_field(line(name), head(name));
    if (f4char(head("RE4")) == 'N') f4assign_field(line("RE1"), head("OSM"));
    f4assign(line("CSS"), "T");
    f4assign_field(line("STV"), head("TTR"));
    f4assign_double(line("RAS"), 0);
    f4assign_double(line("CNB"), s.net[r]);
    f4assign_double(line("CBB"), s.gross[r]);
    f4assign_double(line("CNR"), s.net[r]);
    f4assign_double(line("CBR"), s.gross[r]);
    f4assign_double(line("WNE"), s.net[r]);
    f4assign_double(line("WAV"), s.vat[r]);
    f4assign_double(line("WAB"), s.gross[r]);
    f4assign_double(line("KRN"), s.correctionNet[r]);
    f4assign_double(line("KRV"), s.correctionVat[r]);
    f4assign_long(line("REC"), d4reccount(lines) + 1);
    f4assign(line("RE3"), "N");
    if (s.correctionMode) {
      double net = s.net[r] + s.correctionNet[r];
      double total = net + s.vat[r] + s.correctionVat[r];
      f4assign_double(line("KWNE"), net);
      f4assign_double(line("KWAV"), s.vat[r] + s.correctionVat[r]);
      f4assign_double(line("KWAB"), total);
      f4assign_double(line("KILO"), 1);
      f4assign_double(line("KCNB"), net);
      f4assign_double(line("KCBB"), total);
      f4assign_double(line("KRAS"), 0);
      f4assign_double(line("KCNR"), net);
      f4assign_double(line("KCBR"), total);
      f4assign_int(line("KVAT"), r);
      f4assign_double(line("KVAS"), stawka_wiersza_podsumowania(r));
    }
    if (d4append(lines) != 0) return -1;
  }
  return 0;
}
