#include "printouts/sales_summary.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/document_kinds.h"
#include "app/document_text.h"
#include "app/option_sets.h"
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/form_text.h"
#include "env/numbers.h"
#include "env/session/field_text.h"
#include "env/text_buffers.h"
#include "print/char_output.h"
#include "print/page_viewer.h"
#include "print/patterns.h"
#include "print/printer.h"
#include "sales/currency_view.h"
#include "sales/document_totals.h"
#include "sales/sales_context.h"
#include "tables/catalogue.h"
#include "tables/sales_tables.h"
#include "ui/browse.h"
#include "ui/filters.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"
#include "ui/window4.h"

sumy_podsumowania sumyPodsumowania;

namespace {

constexpr int FIRST_YEAR_2024 = 2024;
constexpr int PRINT_FLAGS = 0x900;
constexpr int HEADING_SIZE = 228;
constexpr int AMOUNT_WIDTH = 12, COUNT_WIDTH = 5;

DbField* H(const char* name) { return d4field(Z5SPRZ.table, name); }

// One run's page: the form, its size and what the run found.
struct Strona {
  int form, width, lines;
  int splitRows;     // printed split rows, 1 to splitRows
  bool incomeBook;
  int mode;          // currency mode
};

bool IncomeBook() { return salesOptions.taxation == 1; }

const char* CurrencyText() {
  FilterItem* item = salesContext ? salesContext->filtrWaluty : nullptr;
  return item && item->text ? item->text : "";
}

int CurrencyFilterActive() {
  FilterItem* item = salesContext ? salesContext->filtrWaluty : nullptr;
  return item && item->active ? 1 : 0;
}

// Adds a document's split (income-book columns or lump-sum rows) into a column.
void AddSplit(int column, double factor, bool incomeBook) {
  if (incomeBook) {
    for (int j = 0; j < INCOME_BOOK_COLUMNS; j++)
      sumyPodsumowania.kpir[j][column] += ROUND(sumyDokumentu.incomeBook[j] * factor, 2);
  } else {
    for (int j = 0; j < LUMP_SUM_ROWS; j++)
      sumyPodsumowania.ryczalt[j][column] += ROUND(sumyDokumentu.lumpSum[j] * factor, 2);
  }
}

double Scaled(const char* field, double factor) { return ROUND(f4double(H(field)) * factor, 2); }

void AddSales(int column, double factor) {
  sumy_podsumowania& s = sumyPodsumowania;
  s.kwoty[PODS_NETTO][column] += Scaled("NET", factor);
  s.kwoty[PODS_VAT][column] += Scaled("VAT", factor);
  s.kwoty[PODS_BRUTTO][column] += Scaled("BRU", factor);
  s.kwoty[PODS_ZAPLACONO][column] += Scaled("KZA", factor);
  s.liczby[column]++;
}

void AddCorrection(int column, double factor) {
  sumy_podsumowania& s = sumyPodsumowania;
  s.kwoty[PODS_KOREKTA_NETTO][column] += Scaled("KRN", factor);
  s.kwoty[PODS_KOREKTA_VAT][column] += Scaled("KRV", factor);
  s.kwoty[PODS_ZAPLACONO][column] += Scaled("KZA", factor);
  s.liczby[column]++;
}

// The line totals of the document as net, VAT and gross.
void AddLineTotals(double* amounts, double factor) {
  for (int i = SUM_NET; i <= SUM_GROSS; i++) amounts[i] += ROUND(sumyDokumentu.document[i] * factor, 2);
}

void Classify2024(double factor, bool incomeBook) {
  int kind = f4int(H("TYV"));
  int column = kind;
  switch (kind) {
    case 3: case 4:
      AddCorrection(column, factor);
      AddSplit(column, factor, incomeBook);
      return;
    case 5:
      if (f4int(H("RE5")) == 2) column = 8;
      [[fallthrough]];
    case 1: case 2: case 6: case 7: case 8:
      AddSales(column, factor);
      AddSplit(column, factor, incomeBook);
      return;
    case 9: case 10: case 11:
      AddSales(column, factor);
      return;
    default:
      return;
  }
}

// How a header of the years before 2024 is read: its kind and sort as the
// conversion of the legacy marking of invoices to receipts makes them. The
// stored header is left alone, so every run classifies it the same way.
struct DawnyNaglowek {
  int kind, sdr;
};

DawnyNaglowek ReadLegacy(int rejestr) {
  DawnyNaglowek h{f4int(H("TYV")), f4int(H("SDR"))};
  int akt = f4int(H("AKT"));
  if (rejestr == 1 && h.sdr == 3 && akt != 1 && akt != 3) {
    if (h.kind == 1 || h.kind == 7) h.kind = 9;
    h.sdr = 1;
  }
  return h;
}

bool SettlementMode(const DawnyNaglowek& h, int rejestr) {
  return (rejestr == 2 && h.kind == 9 && h.sdr != 3) || ((h.kind == 1 || h.kind == 7) && f4int(H("AKT")) == 1);
}

void AddGroupLines(grupa_podsumowania& g, double factor, bool paid) {
  AddLineTotals(g.kwoty, factor);
  if (paid) g.kwoty[3] += Scaled("KZA", factor);
  g.liczba++;
}

void ClassifyBefore2024(const DawnyNaglowek& h, int rejestr, bool settlement, double factor, bool incomeBook) {
  sumy_podsumowania& s = sumyPodsumowania;
  bool main = rejestr == 1;
  switch (h.kind) {
    case 1: case 7:
      if (h.sdr == 3) {
        grupa_podsumowania& g = s.do_paragonow;
        g.kwoty[0] += Scaled("NET", factor);
        g.kwoty[1] += Scaled("VAT", factor);
        g.kwoty[2] += Scaled("BRU", factor);
        g.liczba++;
        return;
      }
      if (settlement) {
        double amounts[3] = {};
        AddLineTotals(amounts, factor);
        s.kwoty[PODS_NETTO][h.kind] += amounts[0];
        s.kwoty[PODS_VAT][h.kind] += amounts[1];
        s.kwoty[PODS_BRUTTO][h.kind] += amounts[2];
        s.kwoty[PODS_ZAPLACONO][h.kind] += Scaled("KZA", factor);
        s.liczby[h.kind]++;
      } else {
        AddSales(h.kind, factor);
      }
      AddSplit(h.kind, factor, incomeBook);
      return;
    case 2:
      AddSales(2, factor);
      AddSplit(2, factor, incomeBook);
      return;
    case 3: {
      int tym = f4int(H("TYM"));
      if ((main && tym == 9) || (!main && h.sdr == 3)) {
        grupa_podsumowania& g = s.do_paragonow;
        double net = Scaled("KRN", factor), vat = Scaled("KRV", factor);
        g.kwoty[0] += net;
        g.kwoty[1] += vat;
        g.kwoty[2] += ROUND((f4double(H("KRN")) + f4double(H("KRV"))) * factor, 2);
        g.liczba++;
      } else if (!main && tym == 9) {
        grupa_podsumowania& g = s.korekty_zaliczkowych;
        g.kwoty[0] += Scaled("KRN", factor);
        g.kwoty[1] += Scaled("KRV", factor);
        g.kwoty[3] += Scaled("KZA", factor);
        g.liczba++;
      } else {
        AddCorrection(3, factor);
        if (main) AddSplit(3, factor, incomeBook);
      }
      return;
    }
    case 4:
      AddCorrection(4, factor);
      AddSplit(4, factor, incomeBook);
      return;
    case 5: {
      int column = f4int(H("RE5")) == 2 ? 8 : 5;
      AddSales(column, factor);
      AddSplit(column, factor, incomeBook);
      return;
    }
    case 6: {
      grupa_podsumowania& g = s.pro_forma;
      g.kwoty[0] += Scaled("NET", factor);
      g.kwoty[1] += Scaled("VAT", factor);
      g.kwoty[2] += Scaled("BRU", factor);
      g.kwoty[3] += Scaled("KZA", factor);
      g.liczba++;
      return;
    }
    case 8:
      AddSales(8, factor);
      AddSplit(8, factor, incomeBook);
      return;
    case 9:
      if (main)
        AddGroupLines(s.do_paragonow, factor, false);
      else if (h.sdr == 3)
        AddGroupLines(s.zaliczkowe_do_paragonow, factor, false);
      else
        AddGroupLines(s.zaliczkowe, factor, true);
      return;
    default:
      return;
  }
}

std::string DocumentText() {
  std::string number = f4char(H("RE4")) == 'N' ? FldQStr(H("OSM"), 1)
                                               : NrDokumentuFldQStr(H("PRE"), H("NRV"), H("POS"));
  return number + " z " + FldFullDateQStr(H("DAW"));
}

enum class Scan { DONE, STOP, FAULTY };

// Sums every accepted header; a mismatching document is left out and
// makes the run faulty, Esc at its question stops the run.
Scan SumDocuments(int rejestr, bool before2024, int mode, int* outsideYear) {
  DbScanCtx* scan = &CurrentBrowse->scan;
  bool incomeBook = IncomeBook();
  bool printable = true;
  int r;
  for (r = x4top(scan); r == 0; r = x4skip(scan, 1)) {
    DawnyNaglowek h = before2024 ? ReadLegacy(rejestr) : DawnyNaglowek{f4int(H("TYV")), 0};
    bool settlement = before2024 && SettlementMode(h, rejestr);
    int summed = sumuj_pozycje_dokumentu(settlement ? 1 : 0, rejestr);
    // The summation marks the lines' GTU codes in the header's buffer; a
    // report leaves the stored header as it is.
    d4changed(Z5SPRZ.table, 0);
    if (summed != 0) {
      Uwaga(Sys("Błąd dokumentów !"));
      return Scan::STOP;
    }
    if (sprawdz_sumy_dokumentu(h.kind, settlement ? 1 : 0) != 0) {
      int key = MessageWindow(MB_ERROR | MB_YES_ESC, Sys("Nie zgadza się podsumowanie dokumentu z sumą pozycji !"),
                              DocumentText().c_str(), Sys("Czy kontynuować ?"));
      if (key == KEY_ESC) return Scan::STOP;
      printable = false;
      continue;
    }
    if (std::strncmp(f4ptr(H("DAW")), std::to_string(WorkingYear()).c_str(), 4) != 0) ++*outsideYear;
    double factor = kurs_widoku(mode, H("KVA"), H("KKS"));
    if (before2024)
      ClassifyBefore2024(h, rejestr, settlement, factor, incomeBook);
    else
      Classify2024(factor, incomeBook);
  }
  if (r < 0) printable = false;
  return printable ? Scan::DONE : Scan::FAULTY;
}

// The page: the form's text in the pattern, the numbers in the value page.
class Wypelnianie {
 public:
  Wypelnianie(char* page, const Strona& s) : page_(page), s_(s) {}

  void Amount(int row, int col, double value) const {
    char text[64];
    int n = MemPrintDoubleFmt(text, value, AMOUNT_WIDTH, 2);
    Put(row, col, text, n);
  }
  void Count(int row, int col, int32_t value, int width = COUNT_WIDTH) const {
    char text[32];
    int n = MemPrintDoubleFmt(text, value, width, 0);
    Put(row, col, text, n);
  }
  // Net, VAT, gross and paid of a column from `row`.
  void Sales(int row, int col, int column) const {
    for (int i = PODS_NETTO; i <= PODS_ZAPLACONO; i++) Amount(row + i, col, sumyPodsumowania.kwoty[i][column]);
  }
  void Corrections(int row, int col, int column) const {
    const auto& k = sumyPodsumowania.kwoty;
    Amount(row, col, k[PODS_KOREKTA_NETTO][column]);
    Amount(row + 1, col, k[PODS_KOREKTA_VAT][column]);
    Amount(row + 2, col, k[PODS_KOREKTA_NETTO][column] + k[PODS_KOREKTA_VAT][column]);
    Amount(row + 3, col, k[PODS_ZAPLACONO][column]);
  }
  double& Split(int j, int column) const {
    return s_.incomeBook ? sumyPodsumowania.kpir[j][column] : sumyPodsumowania.ryczalt[j][column];
  }
  void Splits(int row, int col, int column) const {
    for (int j = 1; j <= s_.splitRows; j++) Amount(row + j - 1, col, Split(j, column));
  }
  // Columns 19, 20 and 21 from the box's kinds.
  void Totals(std::initializer_list<int> sales, std::initializer_list<int> corrections, bool correctionSplits) const {
    auto& k = sumyPodsumowania.kwoty;
    for (int column : sales) {
      for (int i = PODS_NETTO; i <= PODS_ZAPLACONO; i++) k[i][PODS_SPRZEDAZ] += k[i][column];
      for (int j = 1; j <= s_.splitRows; j++) Split(j, PODS_SPRZEDAZ) += Split(j, column);
    }
    for (int column : corrections) {
      k[PODS_NETTO][PODS_KOREKTY] += k[PODS_KOREKTA_NETTO][column];
      k[PODS_VAT][PODS_KOREKTY] += k[PODS_KOREKTA_VAT][column];
      k[PODS_BRUTTO][PODS_KOREKTY] += k[PODS_KOREKTA_NETTO][column] + k[PODS_KOREKTA_VAT][column];
      k[PODS_ZAPLACONO][PODS_KOREKTY] += k[PODS_ZAPLACONO][column];
      for (int j = 1; j <= s_.splitRows; j++) {
        if (correctionSplits) Split(j, PODS_KOREKTY) += Split(j, column);
        Split(j, PODS_RAZEM) += Split(j, column);
      }
    }
    for (int i = PODS_NETTO; i <= PODS_ZAPLACONO; i++) k[i][PODS_RAZEM] = k[i][PODS_SPRZEDAZ] + k[i][PODS_KOREKTY];
    for (int j = 1; j <= s_.splitRows; j++) Split(j, PODS_RAZEM) += Split(j, PODS_SPRZEDAZ);
  }
  void Group(int row, int col, const grupa_podsumowania& g, int amounts) const {
    for (int i = 0; i < amounts; i++) Amount(row + i, col, g.kwoty[i]);
  }

 private:
  void Put(int row, int col, const char* text, int n) const {
    if (row < 0 || row >= s_.lines || col < 0) return;
    int room = s_.width - col;
    std::memcpy(page_ + row * s_.width + col, text, static_cast<size_t>(n < room ? n : room));
  }
  char* page_;
  const Strona& s_;
};

void Fill2024(char* page, const Strona& st, int rejestr) {
  Wypelnianie w(page, st);
  int s = st.incomeBook ? 0 : 6;
  bool main = rejestr == 1;
  std::vector<int> upper = main ? std::vector<int>{1, 5, 7, 8, 2} : std::vector<int>{11, 10, 9, 6};
  std::vector<int> corrections = main ? std::vector<int>{3, 4} : std::vector<int>{3};
  if (main)
    w.Totals({1, 5, 7, 8, 2}, {3, 4}, false);
  else
    w.Totals({11, 10, 9, 6}, {3}, false);
  int col = 14;
  for (int kind : upper) {
    w.Count(4, col + 7, sumyPodsumowania.liczby[kind]);
    w.Sales(6, col, kind);
    w.Splits(11, col, kind);
    col += 15;
  }
  w.Sales(6, col, PODS_SPRZEDAZ);
  w.Splits(11, col, PODS_SPRZEDAZ);
  col = 14;
  for (int kind : corrections) {
    w.Count(19 + s, col + 7, sumyPodsumowania.liczby[kind]);
    w.Corrections(21 + s, col, kind);
    w.Splits(26 + s, col, kind);
    col += 15;
  }
  if (main) w.Sales(21 + s, 44, PODS_KOREKTY);
  int right = main ? 89 : 74;
  w.Sales(21 + s, right, PODS_RAZEM);
  w.Splits(26 + s, right, PODS_RAZEM);
}

void FillBefore2024(char* page, const Strona& st, int rejestr, int year) {
  Wypelnianie w(page, st);
  const sumy_podsumowania& s = sumyPodsumowania;
  int v = !st.incomeBook && year >= 2022 ? 1 : 0;
  int c = st.incomeBook ? 15 : 19 + v;
  int b = st.incomeBook ? 31 : 40 + 2 * v;
  w.Totals({1, 2, 5, 7, 8}, {3, 4}, true);
  int col = 14;
  for (int kind : {1, 2, 5, 7, 8}) {
    w.Count(1, col + 2, s.liczby[kind]);
    w.Sales(3, col, kind);
    w.Splits(8, col, kind);
    col += 15;
  }
  w.Sales(3, 89, PODS_SPRZEDAZ);
  w.Splits(8, 89, PODS_SPRZEDAZ);
  col = 14;
  for (int kind : {3, 4}) {
    w.Count(c, col + 2, s.liczby[kind]);
    w.Corrections(c + 2, col, kind);
    w.Splits(c + 7, col, kind);
    col += 15;
  }
  w.Sales(c + 2, 44, PODS_KOREKTY);
  w.Splits(c + 7, 44, PODS_KOREKTY);
  w.Sales(c + 2, 89, PODS_RAZEM);
  w.Splits(c + 7, 89, PODS_RAZEM);
  w.Count(b, 16, s.pro_forma.liczba);
  w.Group(b + 2, 14, s.pro_forma, 4);
  if (rejestr == 1) {
    w.Count(b, 31, s.do_paragonow.liczba);
    w.Group(b + 2, 29, s.do_paragonow, 3);
    return;
  }
  grupa_podsumowania receipts = s.do_paragonow;
  for (int i = 0; i < 4; i++) receipts.kwoty[i] += s.zaliczkowe_do_paragonow.kwoty[i];
  w.Count(b, 30, receipts.liczba + s.zaliczkowe_do_paragonow.liczba, 4);
  w.Group(b + 2, 29, receipts, 3);
  w.Count(b, 46, s.zaliczkowe.liczba);
  w.Group(b + 2, 44, s.zaliczkowe, 4);
  const grupa_podsumowania& k = s.korekty_zaliczkowych;
  w.Count(b, 61, k.liczba);
  w.Amount(b + 2, 59, k.kwoty[0]);
  w.Amount(b + 3, 59, k.kwoty[1]);
  w.Amount(b + 4, 59, k.kwoty[0] + k.kwoty[1]);
  w.Amount(b + 5, 59, k.kwoty[3]);
  const grupa_podsumowania& z = s.zaliczkowe;
  w.Amount(b + 2, 74, z.kwoty[0] + k.kwoty[0]);
  w.Amount(b + 3, 74, z.kwoty[1] + k.kwoty[1]);
  w.Amount(b + 4, 74, z.kwoty[2] + k.kwoty[0] + k.kwoty[1]);
  w.Amount(b + 5, 74, z.kwoty[3] + k.kwoty[3]);
}

Strona Layout2024(int rejestr, int mode) {
  bool book = IncomeBook();
  bool main = rejestr == 1;
  return {main ? (book ? 193 : 195) : (book ? 194 : 196), main ? 104 : 89, book ? 30 : 42, book ? 3 : 9, book, mode};
}

Strona LayoutBefore2024(int rejestr, int mode, int year) {
  bool book = IncomeBook();
  bool main = rejestr == 1;
  if (book) return {main ? 69 : 71, 104, 38, 3, true, mode};
  if (year <= 2020) return {main ? 70 : 72, 104, 47, 7, false, mode};
  if (year == 2021) return {main ? 182 : 183, 104, 47, 8, false, mode};
  return {main ? 188 : 189, 104, 49, 9, false, mode};
}

int16_t formNumber;

// The form's lines into the pattern, each cut at the page's width.
void LoadForm(char* pattern, const Strona& s) {
  formNumber = static_cast<int16_t>(s.form);
  std::vector<std::string> text = ResourceLines([]() -> int16_t { return formNumber; });
  for (size_t r = 0; r < text.size() && static_cast<int>(r) < s.lines; r++)
    std::memcpy(pattern + r * s.width, text[r].data(), std::min<size_t>(text[r].size(), s.width));
}

int PrintPass(const char* pattern, const char* page, const Strona& s, const char* title) {
  if (drukuj_top_margin() != 0 || drukuj_nazwa_wlasciciela() != 0) return -1;
  std::string text = title;
  conv_str(text.data(), static_cast<int>(text.size()));
  if (drukuj(text.c_str()) != 0 || drukuj_line_feed(1) != 0) return -1;
  char heading[HEADING_SIZE] = {};
  for (FilterItem* item : {salesContext->filtrOdDatyWyst, salesContext->filtrDoDatyWyst, salesContext->filtrOdDatyVat,
                           salesContext->filtrDoDatyVat, salesContext->filtrTypuDostawy})
    if (item) AddFilterItemStatus(item, heading);
  dopisz_opis_widoku_waluty(heading, sizeof heading, s.mode, CurrencyText());
  conv_str(heading, static_cast<int>(std::strlen(heading)));
  if (drukuj(heading) != 0 || drukuj_line_feed(1) != 0) return -1;
  if (print_lines(pattern, page, s.width, 0, s.lines, -1, -1) != 0) return -1;
  return drukuj_form_feed();
}

void Print(const char* pattern, const char* page, const Strona& s) {
  const char* title = Sys("Podsumowanie sprzedaży");
  if (init_prn(Z5SPRZ.table, "SUM", title, s.width, PRINT_FLAGS) == 0) {
    for (;;) {
      if (PrintPass(pattern, page, s, title) != 0) break;
      int copies = Printer.copies;
      Printer.copies = copies - 1;
      if (copies <= 0) break;
    }
  }
  deinit_prn();
}

// Runs the scan, then shows and prints the page.
int Summary(int rejestr, bool before2024) {
  if (!CurrentBrowse || !salesContext) return -1;
  int mode = 0;
  if (wybierz_przeliczenie_walut(&mode, CurrencyFilterActive()) != 0) return 0;
  int year = WorkingYear();
  Strona st = before2024 ? LayoutBefore2024(rejestr, mode, year) : Layout2024(rejestr, mode);
  sumyPodsumowania = sumy_podsumowania{};
  int outsideYear = 0;
  Scan result = SumDocuments(rejestr, before2024, mode, &outsideYear);
  if (result == Scan::STOP) return -1;
  if (result == Scan::FAULTY) {
    Uwaga(Sys("Błąd dokumentów !"));
    return 0;
  }
  int window = w4select(-1);
  if (outsideYear != 0) {
    char text[128];
    std::snprintf(text, sizeof text, Sys("Liczba dokumentów poza rokiem rozrachunkowym - %d"), outsideYear);
    Alarm(text);
  }
  char *pattern = nullptr, *page = nullptr;
  if (print_alloc(&pattern, &page, st.width * st.lines, nullptr) == 0) {
    LoadForm(pattern, st);
    if (before2024)
      FillBefore2024(page, st, rejestr, year);
    else
      Fill2024(page, st, rejestr);
    char title[160];
    std::snprintf(title, sizeof title, "%s w %s", Sys("Podsumowanie sprzedaży"),
                  nazwa_widoku_waluty(mode, CurrencyText()));
    if (edytuj_memory(pattern, page, st.lines, st.width, title, 1, 1, 1) == KEY_F2) Print(pattern, page, st);
  }
  print_free(&pattern, &page);
  w4select(window);
  return 0;
}

}  // namespace

int podsumowanie_sprzedazy_2024(int rejestr) { return Summary(rejestr, false); }
int podsumowanie_sprzedazy(int rejestr) { return Summary(rejestr, true); }

int suma_rejestru_sprzedazy() {
  if (!salesContext) return 0;
  OpenFiltersWindow(&salesContext->filtry);
  if (salesContext->filtry.changed) {
    DbTable* headers = Z5SPRZ.table;
    DbTable* lines = Z5SPRE.table;
    if (set_lock(headers, -1) == 0 && set_lock(lines, -1) == 0) {
      int rejestr = salesContext->rejestr;
      if (WorkingYear() < FIRST_YEAR_2024)
        podsumowanie_sprzedazy(rejestr);
      else
        podsumowanie_sprzedazy_2024(rejestr);
    }
    d4unlock(lines);
    d4unlock(headers);
    AskResetFilter(&salesContext->filtry);
  }
  return browse_call(0, 0) < 0 ? -1 : 0;
}
