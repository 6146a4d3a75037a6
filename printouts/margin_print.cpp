// The margin invoice: gross items only, the running gross sum carried over
// pages, the note on the margin procedure, payment, words and signatures.
#include <algorithm>
#include <cmath>
#include <string>

#include "app/document_print.h"
#include "app/option_sets.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/numbers.h"
#include "env/session/field_text.h"
#include "print/char_output.h"
#include "print/printer.h"
#include "printouts/invoice_job.h"
#include "printouts/invoice_print.h"
#include "tables/catalogue.h"
#include "tables/sales_tables.h"

namespace {

constexpr int FORM_MARGIN = 61, MARGIN_ROWS = 57, MARGIN_FLAGS = 0x8940, MARGIN_KIND = 8;
constexpr int ITEM_ROW = INVOICE_ITEM_ROW, LAST_ITEM_ROW = 33, WORDS_WIDTH = 99;
constexpr int MSG_REVERSE_NOTE = 56, MSG_EXEMPTION = 58, MSG_MARGIN_1 = 71, MSG_MARGIN_2 = 72;
constexpr int LAST_YEAR_OF_STATUTORY_NOTE = 2012;

void LabelEnding(int row, int end, const char* utf8) { PutTextEnding(J().pattern, row, end, Sys(utf8) + ":"); }

double runningSum;
bool reverseChargeLine;

bool PrintCode() { return salesOptions.printGoodsCode == 'T' && !Trimmed(Line("KOT")).empty(); }

int EstimatedRows() {
  int n = LiczbaLiniiPozycji(Line("NA1"), Line("NA2"), Line("NA3"), Line("NA4"), Line("NA5"), Line("NA6"));
  if (PrintCode()) n++;
  if (n == 1 && f4double(Line("RAS")) != 0) n = 2;
  return n;
}

void SumRow(const char* label) {
  ClearRows(INVOICE_SHORT_ROW, INVOICE_SHORT_ROW + 1);
  PutTextEnding(J().pattern, INVOICE_SHORT_ROW, 114, label);
  PutAmount(INVOICE_SHORT_ROW, 117, runningSum);
}

int PageBreak() { return CarriedOnShortRow(SumRow, "Do przeniesienia", "Z przeniesienia", naglowek_kolejnej_strony_marza); }

int Item(int number) {
  zadanie_wydruku_faktury& j = J();
  double l = AmountsRate(Line("KVA"));
  double v = ROUND(f4double(Line("WAB")) * l, 2);
  runningSum += v;
  ClearRows(ITEM_ROW, LAST_ITEM_ROW + 1);
  char text[16];
  PutValue(ITEM_ROW, 6, std::string(c4ltoa(number, text, 3), 3));
  int w = 0;
  for (const char* name : {"NA1", "NA2", "NA3", "NA4", "NA5", "NA6"}) {
    if (w > 0 && Trimmed(Line(name)).empty()) continue;
    PutValue(ITEM_ROW + w++, 12, Trimmed(Line(name)));
  }
  if (PrintCode()) PutValue(ITEM_ROW + w++, 12, "kod: " + Trimmed(Line("KOT")));
  PutValue(ITEM_ROW, 72, std::string(f4ptr(Line("JED")), f4len(Line("JED"))));
  PutValue(ITEM_ROW, 83, Formatted(f4double(Line("ILO")), 13, QUANTITY_FLAGS));
  PutValue(ITEM_ROW, 100, Formatted(ROUND(f4double(Line("CBB")) * l, 4), 12, PRICE_FLAGS));
  double ras = f4double(Line("RAS"));
  int d = 0;
  if (ras != 0) {
    PutValue(ITEM_ROW + 1, 78, ras >= 0 ? "z rabatem        %" : "z narzutem       %");
    PutValue(ITEM_ROW + 1, 89, Formatted(std::fabs(ras), 4, 1 | 0x20));
    PutValue(ITEM_ROW + 1, 100, Formatted(ROUND(f4double(Line("CBR")) * l, 4), 12, PRICE_FLAGS));
    d = 1;
  }
  PutAmount(ITEM_ROW + d, 117, v);
  int k = std::max(w, d + 1);
  if (PrintRows(ITEM_ROW, ITEM_ROW + k) != 0) return -1;
  j.linesLeft -= k;
  if (f4int(Line("VAT")) == 11) reverseChargeLine = true;
  return 0;
}

const char* MarginProcedure(int ksm) {
  static const char* const TEXTS[] = {"", "1. dla biur podróży.", "2. - towary używane.", "3. - dzieła sztuki.",
                                      "4. - przedmioty kolekcjonerskie i antyki."};
  return ksm >= 1 && ksm <= 4 ? TEXTS[ksm] : "";
}

}  // namespace

int naglowek_faktury_marza(int rejestr) {
  zadanie_wydruku_faktury& j = J();
  j.linesLeft = PageLines();
  if (drukuj_top_margin() != 0) return -1;
  int row = IssueRows();
  if (f4char(H("SDR")) == '2') PutValue(row, 3, MessageText(258));
  PutTitle(row, tytul_dokumentu(MARGIN_KIND, 0, rejestr), DocumentNumber());
  row = SellerRows(row + 2, SELLER_MARGIN);
  row = PartyRows(row, rejestr) + 1;
  NumerStronyQStr(&j.value[static_cast<size_t>(row * j.width + j.pageColumn)], j.page++, 0);
  if (PrintRows(0, row + 1) != 0 || PrintRows(TABLE_HEAD_ROW, TABLE_HEAD_END) != 0) return -1;
  j.linesLeft -= row + 1 + 4;
  return 0;
}

// The short head of the invoice.
int naglowek_kolejnej_strony_marza() { return naglowek_kolejnej_strony(J().register_); }

int pozycje_faktury_marza(long rec, int, int rejestr) {
  zadanie_wydruku_faktury& j = J();
  runningSum = 0;
  reverseChargeLine = false;
  if (naglowek_faktury_marza(rejestr) != 0) return -1;
  if (SeekSalesLinesByRek(rec) < 0) return -1;
  DbTable* lines = Z5SPRE.table;
  int number = 1;
  while (!d4eof(lines) && f4long(Line("REK")) == rec) {
    if (Item(number++) != 0) return -1;
    if (d4skip(lines, 1) < 0) return -1;
    if (d4eof(lines) || f4long(Line("REK")) != rec) break;
    if (EstimatedRows() > j.linesLeft - 2 && PageBreak() != 0) return -1;
  }
  return podsumowanie_faktury_marza(reverseChargeLine ? 1 : 0);
}

int podsumowanie_faktury_marza(int reverseCharge) {
  zadanie_wydruku_faktury& j = J();
  double l = AmountsRate(H("KVA"));
  std::string cur = CurrencyOfAmounts();
  int row = INVOICE_TOTALS_ROW;
  ClearRows(row, row + 1);
  PutTextEnding(j.pattern, row, 106, "RAZEM");
  PutAmount(row++, 117, runningSum);
  LabelEnding(row, 19, "termin płatności");
  PutValue(row++, 21, FldFullDateQStr(H("DPL")));
  LabelEnding(row, 19, "forma płatności");
  PutValue(row++, 21, Trimmed(H("PLA")));
  LabelEnding(row, 19, "RAZEM");
  PutAmount(row, 21, runningSum);
  PutPattern(row++, 35, cur);
  row = WordsRows(row, runningSum, cur, WORDS_WIDTH, 19, 21);
  int paidRow = row;
  double paid = ROUND(f4double(H("KZA")) * l, 2);
  LabelEnding(row, 19, "ZAPŁACONO");
  PutAmount(row, 21, paid);
  PutPattern(row++, 35, cur);
  double u = ROUND(runningSum - paid, 2);
  if (u != 0) {
    LabelEnding(row, 19, u > 0 ? "DO ZAPŁATY" : "DO ZWROTU");
    PutAmount(row, 21, std::fabs(u));
    PutPattern(row++, 35, cur);
  }
  row = paidRow + 3;
  PutPattern(row, 3, "uwagi:");
  for (const char* name : {"UW1", "UW2"})
    if (!Trimmed(H(name)).empty()) PutValue(row++, 10, Trimmed(H(name)));
  if (reverseCharge) PutValue(row++, 10, MessageText(MSG_REVERSE_NOTE));
  if (row == paidRow + 3) row++;
  if (WorkingYear() > LAST_YEAR_OF_STATUTORY_NOTE) {
    PutValue(row, 3, Sys("Procedura marży"));
    PutValue(row++, 18, Sys(MarginProcedure(f4int(H("KSM")))));
  } else {
    PutValue(row, 3, MessageText(MSG_MARGIN_1));
    PutValue(row++, 76, OptionText(salesOptions.marginArticle));
    PutValue(row++, 3, MessageText(MSG_MARGIN_2));
  }
  std::string basis = Trimmed(H("RE1"));
  if (!basis.empty() && basis.compare(0, 4, "brak") != 0) {
    PutValue(row, 3, MessageText(MSG_EXEMPTION));
    PutValue(row++, 38, basis);
  }
  for (const char* line : salesOptions.footer) PutValue(row++, 3, OptionText(line));
  row++;
  if (salesOptions.printReceivedBy == 'T') {
    std::string label = OptionText(salesOptions.receivedByLabel) + ":";
    PutPattern(row, 8, label);
    PutValue(row, 9 + static_cast<int>(label.size()), Trimmed(H("ODE")));
  }
  LabelEnding(row, 87, "wystawił");
  PutValue(row++, 89, Trimmed(H("WYS")));
  if (MarksWanted()) {
    row++;
    PutPattern(row++, 3, linia_oznaczen(0, 1));
  }
  if (row - INVOICE_RULE_ROW > j.linesLeft) {
    // The running sum stands in the carried row of the break.
    j.sums = VatSummary{};
    j.sums.gross[0] = j.sums.net[0] = runningSum;
    if (BreakBeforeTotals("RAZEM") != 0) return -1;
  }
  return PrintOverPages(INVOICE_RULE_ROW, row);
}

int drukuj_fakture_marza(int rejestr) {
  long rec = 0;
  if (sprawdz_pozycje_wydruku(H("REC"), &rec) != 0) return -1;
  zadanie_wydruku_faktury& j = J();
  j = zadanie_wydruku_faktury{};
  j.kind = MARGIN_KIND;
  j.register_ = rejestr;
  j.grossMode = 1;
  j.withoutVat = 1;
  j.rows = MARGIN_ROWS;
  if (init_prn(Z5SPRZ.table, "FMA", "Faktura MARŻA", INVOICE_WIDTH, MARGIN_FLAGS) != 0) {
    deinit_prn();
    return 0;
  }
  RunCopies(rec, FORM_MARGIN, pozycje_faktury_marza, rejestr);
  deinit_prn();
  return 1;
}
