// The printout of a correcting invoice or bill: per corrected line the
// values before, the difference and the values after, then the totals of
// the differences with their VAT table, the reason, words and payments.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "app/document_print.h"
#include "app/link_numbers.h"
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
#include "ui/message_box.h"

namespace {

constexpr int FORM_CORRECTION = 60, FORM_MARGIN_CORRECTION = 59, CORRECTION_ROWS = 60;
constexpr int CORRECTION_FLAGS = 0x8940;
constexpr int MARGIN_KIND = 8;
constexpr int MSG_REVERSE = 61, MSG_RAISED = 63, MSG_LOWERED = 64, MSG_FK_NET = 65, MSG_FK_GROSS = 66,
              MSG_RK_NET = 67, MSG_RK_GROSS = 68, MSG_OLD_1 = 69, MSG_OLD_2 = 70, MSG_TRIANGULAR_1 = 59,
              MSG_TRIANGULAR_2 = 60;
constexpr int WORDS_WIDTH = 62, LAST_SPLIT_PAYMENT_YEAR = 2020;
constexpr int BEFORE_ROW = INVOICE_ITEM_ROW, CHANGE_ROW = BEFORE_ROW + 1, AFTER_ROW = BEFORE_ROW + 2;

bool Margin() { return J().withoutVat != 0; }
bool NetMode() { return !J().grossMode; }
double Value(const char* name) { return f4double(Line(name)); }
char Mark(DbField* field) { return static_cast<char>(f4char(field)); }

bool reverseChargeSeen;

bool ReverseBefore() {
  char re3 = Mark(Line("RE3"));
  return Mark(Line("STM")) == '5' || re3 == 'T' || re3 == '8' || f4int(Line("VAT")) == 11 ||
         (Margin() && re3 == ' ');
}
bool ReverseAfter() {
  char re4 = Mark(Line("RE4"));
  return Mark(Line("STM")) == '5' || re4 == 'T' || re4 == '8' || f4int(Line("KVAT")) == 11 ||
         (Margin() && (re4 == ' ' || re4 == 'N'));
}

// One of the before/after rows: net or gross, rate and VAT, the other value.
void ValuesRow(int row, double net, double vat, double gross, bool reverse, DbField* rate, DbField* code) {
  if (Margin()) {
    if (!(NetMode() && reverse)) PutAmount(row, 117, gross);
    return;
  }
  if (!(reverse && !NetMode())) PutAmount(row, 83, NetMode() ? net : gross);
  if (!reverse) {
    PutValue(row, 98, LineRateText(rate, code));
    PutAmount(row, 102, vat);
  } else {
    PutValue(row, NetMode() ? 104 : 89, MessageText(MSG_REVERSE));
  }
  if (NetMode()) {
    if (!reverse) PutAmount(row, 117, gross);
  } else {
    PutAmount(row, 117, net);
  }
}

int Item(int number) {
  zadanie_wydruku_faktury& j = J();
  double l = AmountsRate(Line("KVA"));
  bool before = ReverseBefore(), after = ReverseAfter();
  if (before || after) reverseChargeSeen = true;
  double o = ROUND(Value("KRN") * l, 2), d = ROUND(Value("KRV") * l, 2);
  double h = Margin() ? (Value("KWAB") - Value("WAB")) * l : o + d;
  if (f4int(Line("VAT")) == f4int(Line("KVAT"))) {
    AddToSummary(&j.sums, f4int(Line("VAT")), o, d, h, Value("VAS"));
  } else {
    AddToSummary(&j.sums, f4int(Line("VAT")), -ROUND(Value("WNE") * l, 2), -ROUND(Value("WAV") * l, 2),
                 -ROUND(Value("WAB") * l, 2), Value("VAS"));
    AddToSummary(&j.sums, f4int(Line("KVAT")), ROUND(Value("KWNE") * l, 2), ROUND(Value("KWAV") * l, 2),
                 ROUND(Value("KWAB") * l, 2), Value("KVAS"));
  }
  ClearRows(BEFORE_ROW, BEFORE_ROW + 7);
  int w = ItemNameRows(number);
  PutValue(BEFORE_ROW, 48 + j.unitShift, std::string(f4ptr(Line("JED")), f4len(Line("JED"))));
  PutQuantity(BEFORE_ROW, Line("ILO"));
  PutPrice(BEFORE_ROW, Line(NetMode() ? "CNR" : "CBR"), l);
  ValuesRow(BEFORE_ROW, ROUND(Value("WNE") * l, 2), ROUND(Value("WAV") * l, 2), ROUND(Value("WAB") * l, 2), before,
            Line("VAS"), Line("VAT"));

  PutPattern(CHANGE_ROW, Margin() ? 53 : 48, "KOREKTA");
  PutQuantity(CHANGE_ROW, Line("ILK"));
  if (Margin()) {
    PutAmount(CHANGE_ROW, 117, h);
  } else {
    if (!(before && !NetMode())) PutAmount(CHANGE_ROW, 83, NetMode() ? o : h);
    if (!before) PutAmount(CHANGE_ROW, 102, d);
    if (NetMode()) {
      if (!before) PutAmount(CHANGE_ROW, 117, h);
    } else {
      PutAmount(CHANGE_ROW, 117, o);
    }
  }

  PutPattern(AFTER_ROW, Margin() ? 53 : 48, "PO KOR.");
  PutQuantity(AFTER_ROW, Line("KILO"));
  PutPrice(AFTER_ROW, Line(NetMode() ? "KCNR" : "KCBR"), l);
  ValuesRow(AFTER_ROW, ROUND(Value("KWNE") * l, 2), ROUND(Value("KWAV") * l, 2), ROUND(Value("KWAB") * l, 2), after,
            Line("KVAS"), Line("KVAT"));
  int k = std::max(w, 3);
  if (PrintRows(BEFORE_ROW, BEFORE_ROW + k) != 0) return -1;
  j.linesLeft -= k;
  return 0;
}

int EstimatedRows() {
  int n = LiczbaLiniiPozycji(Line("NA1"), Line("NA2"), Line("NA3"), Line("NA4"), Line("NA5"), Line("NA6"));
  std::string code = Trimmed(Line("KOT")), symbol = Trimmed(Line("KWU"));
  if ((salesOptions.printGoodsCode == 'T' && !code.empty()) || !symbol.empty()) n++;
  return std::max(n, 3);
}

void CarriedSums(const char* label) {
  zadanie_wydruku_faktury& j = J();
  double p = SumaWierszaVat(j.sums.net), q = SumaWierszaVat(j.sums.vat), r = SumaWierszaVat(j.sums.gross);
  ClearRows(INVOICE_SHORT_ROW, INVOICE_SHORT_ROW + 1);
  PutTextEnding(j.pattern, INVOICE_SHORT_ROW, 79, label);
  PutAmount(INVOICE_SHORT_ROW, 83, NetMode() ? p : r);
  PutAmount(INVOICE_SHORT_ROW, 102, q);
  PutAmount(INVOICE_SHORT_ROW, 117, NetMode() ? r : p);
}

int PageBreak() { return CarriedOnShortRow(CarriedSums, "KOREKTY do przeniesienia", "KOREKTY z przeniesienia", naglowek_kolejnej_strony_korekty); }

// "%s:" of the label ending at `end`.
void LabelEnding(int row, int end, const char* utf8) { PutTextEnding(J().pattern, row, end, Sys(utf8) + ":"); }

// The left column from row 36; its next row.
int LeftColumn(double l, double q, double r, const std::string& cur) {
  int row = INVOICE_TOTALS_ROW + 1;
  PutPattern(row++, 4, Sys("tytuł korekty:"));
  PutValue(row++, 4, std::string(f4ptr(H("TYK")), f4len(H("TYK"))));
  if (!Margin() && q != 0) {
    PutPattern(row, 4, MessageText(q > 0 ? MSG_RAISED : MSG_LOWERED) + ":");
    PutAmount(row, 44, std::fabs(q));
    PutValue(row, 58, cur);
    row++;
  }
  LabelEnding(row, 17, "RAZEM KOREKTY");
  PutAmount(row, 19, r);
  PutPattern(row, 33, cur);
  row++;
  row = WordsRows(row, r, cur, WORDS_WIDTH, 11, 12);
  double paid = ROUND(f4double(H("KZA")) * l, 2);
  LabelEnding(row, 17, "ZAPŁACONO");
  PutAmount(row, 19, paid);
  PutValue(row, 33, cur);
  row++;
  double u = ROUND(r - paid, 2);
  if (u != 0) {
    PutPattern(row, u > 0 ? 7 : 8, Sys(u > 0 ? "DO ZAPŁATY:" : "DO ZWROTU:"));
    PutAmount(row, 19, std::fabs(u));
    PutValue(row, 33, cur);
    row++;
  }
  PutPattern(row, 4, Sys("termin płatności:"));
  PutValue(row, 22, FldFullDateQStr(H("DPL")));
  LabelEnding(row, 40, "forma");
  bool split = WorkingYear() <= LAST_SPLIT_PAYMENT_YEAR && f4int(H("NRM")) >= 1;
  PutValue(row, 42, split ? Sys("PRZELEW - mechanizm podzielonej płatności") : Trimmed(H("PLA")));
  row++;
  PutPattern(row, 4, "uwagi:");
  bool remarks1 = !Trimmed(H("UW1")).empty(), remarks2 = !Trimmed(H("UW2")).empty();
  if (remarks1) PutValue(row++, 11, Trimmed(H("UW1")));
  if (remarks2) PutValue(row++, 11, Trimmed(H("UW2")));
  row++;
  if (!remarks1 && !remarks2) row++;
  if (J().delivery == 2 && Mark(H("TTR")) == 'T') {
    PutValue(row++, 4, MessageText(MSG_TRIANGULAR_1));
    PutValue(row++, 4, MessageText(MSG_TRIANGULAR_2));
  }
  for (const char* line : salesOptions.footer) {
    std::string text(line);
    text.erase(text.find_last_not_of(' ') + 1);
    PutValue(row++, 4, text);
  }
  row++;
  LabelEnding(row, 96, "wystawił");
  PutValue(row, 98, Trimmed(H("WYS")));
  std::string confirm = Sys("Potwierdzam otrzymanie faktury korygującej:");
  PutPattern(row, 4, confirm);
  PutValue(row, 4 + static_cast<int>(confirm.size()) + 1, Trimmed(H("ODE")));
  row++;
  if (MarksWanted()) {
    row++;
    PutPattern(row++, 4, linia_oznaczen(0, 1));
  }
  return row;
}

// Every line of the document carries its correction data.
int LinesHaveCorrectionData(long rec) {
  DbTable* lines = Z5SPRE.table;
  for (; !d4eof(lines) && f4long(Line("REK")) == rec;) {
    if (Trimmed(Line("KWNE")).empty()) {
      MessageWindow(MB_WARNING, MSG_OLD_1, MSG_OLD_2);
      return 0;
    }
    if (d4skip(lines, 1) < 0) return -1;
  }
  return 1;
}

}  // namespace

int drukuj_naglowek_korekty(int rejestr) {
  zadanie_wydruku_faktury& j = J();
  if (drukuj_top_margin() != 0) return -1;
  int row = IssueRows();
  PutTitle(row, tytul_dokumentu(j.kind, 0, rejestr), DocumentNumber());
  std::string base = "do dokumentu nr " + PrintedLinkNumber(Z5SPRZ.table, H("NUK")) + " z " + FldFullDateQStr(H("DAK"));
  PutTitle(row + 1, " ", base);
  row = SellerRows(row + 3, SELLER_CORRECTION);
  row = PartyRows(row, rejestr) + 1;
  NumerStronyQStr(&j.value[static_cast<size_t>(row * J().width + J().pageColumn)], j.page++, 0);
  if (PrintRows(0, row + 1) != 0) return -1;
  j.linesLeft -= row + 1;
  return TableHead(31);
}

// The short head of the invoice.
int naglowek_kolejnej_strony_korekty() { return naglowek_kolejnej_strony(J().register_); }

void wiersz_stawki_vat_korekty(int* row, double net, double rate, double vat, double gross, const char* text) {
  // The invoice's rate row; the job's gross mode is the correction's gross prices.
  wiersz_stawki_vat(row, net, rate, vat, gross, text);
}

int drukuj_podsumowanie_korekty(int reverseCharge) {
  zadanie_wydruku_faktury& j = J();
  double l = AmountsRate(H("KVA"));
  std::string cur = CurrencyOfAmounts();
  double p = SumaWierszaVat(j.sums.net), q = SumaWierszaVat(j.sums.vat), r = SumaWierszaVat(j.sums.gross);
  int right = INVOICE_TOTALS_ROW;
  ClearRows(right, right + 1);
  PutTextEnding(j.pattern, right, 75, "RAZEM KOREKTY");
  PutPattern(right, 77, cur);
  if (!Margin()) {
    PutAmount(right, 83, NetMode() ? p : r);
    PutAmount(right, 102, q);
  }
  PutAmount(right, 117, Margin() ? r : NetMode() ? r : p);
  right++;
  if (!Margin()) {
    wiersz_kwot_pln(&right, j.value.data(), j.pattern.data(), J().width, p, q, r, NetMode());
    std::string rule;
    for (int i = 0; i < 56; i++) rule += Sys("─");
    PutPattern(right, 74, rule);
    right++;
    PutPattern(right, 76, "w tym:");
    RateRows(&right, j.sums, true, reverseCharge != 0);
  }
  int row = std::max(LeftColumn(l, q, r, cur), right);
  if (row - INVOICE_RULE_ROW > j.linesLeft && BreakBeforeTotals("RAZEM KOREKTY") != 0) return -1;
  return PrintOverPages(INVOICE_RULE_ROW, row);
}

int drukuj_pozycje_korekty(long rec, int, int rejestr) {
  zadanie_wydruku_faktury& j = J();
  j.linesLeft = PageLines();
  if (drukuj_naglowek_korekty(rejestr) != 0) return -1;
  if (SeekSalesLinesByRek(rec) < 0) return -1;
  j.sums = VatSummary{};
  reverseChargeSeen = false;
  DbTable* lines = Z5SPRE.table;
  int number = 1;
  bool first = true;
  while (!d4eof(lines) && f4long(Line("REK")) == rec) {
    if (Value("ILK") != 0 || Value("KRN") != 0 || Value("KRV") != 0) {
      if (!first && EstimatedRows() > j.linesLeft - 2 && PageBreak() != 0) return -1;
      first = false;
      if (Item(number++) != 0) return -1;
    }
    if (d4skip(lines, 1) < 0) return -1;
  }
  return drukuj_podsumowanie_korekty(reverseChargeSeen ? 1 : 0);
}

int drukuj_korekte(int kind, int choice, int rejestr) {
  zadanie_wydruku_faktury& j = J();
  j = zadanie_wydruku_faktury{};
  j.kind = kind;
  j.register_ = rejestr;
  j.grossMode = choice == 1 ? 0 : 1;
  j.delivery = Mark(H("STM")) - '0';
  if (f4int(H("TYM")) == MARGIN_KIND) {
    j.withoutVat = 1;
    j.numberShift = 3, j.nameShift = 5, j.unitShift = 23, j.quantityShift = 28, j.priceShift = 30;
  }
  bool net = choice == 1;
  int title = kind == 3 ? (net ? MSG_FK_NET : MSG_FK_GROSS) : (net ? MSG_RK_NET : MSG_RK_GROSS);
  const char* code = kind == 3 ? (net ? "FKN" : "FKB") : (net ? "RKN" : "RKB");
  long rec = 0;
  if (sprawdz_pozycje_wydruku(H("REC"), &rec) != 0) return -1;
  int check = LinesHaveCorrectionData(rec);
  if (check <= 0) return check;
  if (init_prn(Z5SPRZ.table, code, MessageText(title).c_str(), J().width, CORRECTION_FLAGS) != 0) {
    deinit_prn();
    return 0;
  }
  j.rows = CORRECTION_ROWS;
  RunCopies(rec, j.withoutVat ? FORM_MARGIN_CORRECTION : FORM_CORRECTION, drukuj_pozycje_korekty, rejestr);
  deinit_prn();
  return 1;
}
