// The totals block of the invoice: the totals, the VAT table by rate, the
// advance or final section, payment, words, paid and due amounts, remarks,
// notes, signatures and marks, then the list of the source documents.
#include <algorithm>
#include <functional>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/document_print.h"
#include "app/document_text.h"
#include "app/option_sets.h"
#include "app/option_values.h"
#include "db/db_index.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/amount_words.h"
#include "env/code_pages.h"
#include "env/numbers.h"
#include "env/session/field_text.h"
#include "env/temp_strings.h"
#include "print/char_output.h"
#include "print/printer.h"
#include "printouts/invoice_job.h"
#include "printouts/invoice_print.h"
#include "tables/catalogue.h"
#include "tables/sales_tables.h"
#include "ui/message_box.h"

namespace {

constexpr int MSG_EXEMPTION = 58, MSG_TRIANGULAR_1 = 59, MSG_TRIANGULAR_2 = 60, MSG_REVERSE = 61;
constexpr int WORDS_WIDTH = 55, WORDS_LABEL_END = 11, WORDS_COL = 12, MARKS = 13, LIST_RIGHT = 131;
constexpr int FIRST_YEAR_OF_WSTO = 2022;

// "%s:" of the label ending at column 14.
void LeftLabel(int row, const char* utf8) { PutTextEnding(J().pattern, row, 14, Sys(utf8) + ":"); }
std::string RateText(double rate) {
  char text[16];
  std::snprintf(text, sizeof text, "%4.1f", rate);
  return text;
}
void Rule(int row, int col, int count) {
  std::string rule;
  for (int i = 0; i < count; i++) rule += Sys("─");
  PutPattern(row, col, rule);
}

// The right column from row 35; its last row + 1.
int RightColumn(double l) {
  zadanie_wydruku_faktury& j = J();
  bool english = j.english != 0;
  double p = SumaWierszaVat(j.sums.net), q = SumaWierszaVat(j.sums.vat), r = SumaWierszaVat(j.sums.gross);
  int row = INVOICE_TOTALS_ROW;
  ClearRows(row, row + 1, 18);
  PutTextEnding(j.pattern, row, 75, english ? "TOTAL" : "RAZEM");
  PutPattern(row, 77, CurrencyOfAmounts());
  PutAmount(row, 83 + j.valueShift, j.grossMode ? r : p);
  if (!j.withoutVat) {
    PutAmount(row, english ? 99 : 102, q);
    PutAmount(row, 117, j.grossMode ? p : r);
  }
  row++;
  std::string currency = Trimmed(H("WAL"));
  if (j.withoutVat && Printer.amounts == 'O' && currency != "PLN" && !currency.empty()) {
    PutPattern(row, 77, "PLN");
    PutAmount(row, 116, ROUND(f4double(H("KVA")) * (j.grossMode ? r : p), 2));
    row++;
  }
  if (english || j.withoutVat) return row;
  wiersz_kwot_pln(&row, j.value.data(), j.pattern.data(), J().width, p, q, r, !j.grossMode);
  if (j.kind != 6) {
    Rule(row, 71, 60);
    row++;
    PutPattern(row, 76, "w tym:");
    RateRows(&row, j.sums, false, false);
  }
  if (j.advance || j.final) {
    double p2 = SumaWierszaVat(j.share.net), q2 = SumaWierszaVat(j.share.vat), r2 = SumaWierszaVat(j.share.gross);
    Rule(row, 67, 64);
    row++;
    PutPattern(row, 67, Sys(j.final ? " KOŃCOWA RAZEM" : "ZALICZKA RAZEM"));
    PutAmount(row, 83, j.grossMode ? r2 : p2);
    PutAmount(row, 102, q2);
    PutAmount(row, 117, j.grossMode ? p2 : r2);
    row++;
    Rule(row, 67, 64);
    row++;
    if (ROUND(q2, 2) != 0) PutPattern(row, 76, "w tym:");
    RateRows(&row, j.share, false, false);
  }
  (void)l;
  return row;
}

// The left column from row 35; its next row.
int LeftColumn(double l) {
  zadanie_wydruku_faktury& j = J();
  bool polish = !j.english;
  std::string cur = CurrencyOfAmounts();
  double p = SumaWierszaVat(j.sums.net), r = SumaWierszaVat(j.sums.gross);
  int row = INVOICE_TOTALS_ROW;
  PutValue(row, polish ? 22 : 18, FldFullDateQStr(H("DPL")));
  if (polish) {
    PutPattern(row, 4, Sys("termin płatności:"));
    PutPattern(row + 1, 4, "forma:");
  }
  row++;
  std::string payment;
  if (f4int(H("NRM")) > 0)
    payment = polish ? Sys("PRZELEW - mechanizm podzielonej płatności") : Trimmed(H("PLA"));
  else
    payment = std::string(f4ptr(H("PLA")), f4len(H("PLA")));
  PutValue(row, polish ? 11 : 18, payment);
  row++;
  double a = j.withoutVat && !j.grossMode ? p : r;
  LeftLabel(row, polish ? "RAZEM" : "TOTAL");
  PutAmount(row, 16, a);
  PutValue(row, 30, cur);
  row++;
  if (polish && !j.advance) {
    row = WordsRows(row, a, cur, WORDS_WIDTH, WORDS_LABEL_END, WORDS_COL);
  }
  if (j.kind != 6) {
    double paid = ROUND(f4double(H("KZA")) * l, 2);
    LeftLabel(row, j.advance ? "ZALICZKA" : polish ? "ZAPŁACONO" : "Paid");
    PutAmount(row, 16, paid);
    PutValue(row, 30, cur);
    row++;
    if (!j.advance) {
      double u = ROUND(r - paid, 2);
      if (u != 0) {
        LeftLabel(row, u > 0 ? (polish ? "DO ZAPŁATY" : "To pay") : (polish ? "DO ZWROTU" : "To return"));
        PutAmount(row, 16, u > 0 ? u : -u);
        PutPattern(row, 30, cur);
        row++;
      }
    }
  }
  if (polish && j.advance) row += 5;
  bool remarks1 = !Trimmed(H("UW1")).empty(), remarks2 = !Trimmed(H("UW2")).empty();
  if (polish && (remarks1 || remarks2)) PutPattern(row, 4, "uwagi:");
  if (remarks1) PutValue(row++, polish ? 11 : 27, Trimmed(H("UW1")));
  if (remarks2) PutValue(row++, polish ? 11 : 27, Trimmed(H("UW2")));
  row++;
  if (!remarks1 && !remarks2) row++;
  if (polish && j.triangular) {
    PutPattern(row++, 4, MessageText(MSG_TRIANGULAR_1));
    PutPattern(row++, 4, MessageText(MSG_TRIANGULAR_2));
  }
  std::string basis = Trimmed(H("RE1"));
  if (polish && j.delivery == 1 && !basis.empty() && basis.substr(0, 4) != "brak") {
    PutValue(row, 4, MessageText(MSG_EXEMPTION));
    PutValue(row, 39, basis);
    row++;
  }
  for (const char* line : salesOptions.footer) PutValue(row++, 4, OptionText(line));
  return row;
}

}  // namespace

bool MarksWanted() {
  return salesOptions.procedureMarks == 'T' && salesOptions.printMarkCodes == 'T' &&
         (JestZnacznikT(H("NKV"), MARKS) || JestZnacznikT(H("NKK"), MARKS));
}

namespace {

// The short head of a further page at row: title, number, page.
void ShortHead(int row) {
  zadanie_wydruku_faktury& j = J();
  ClearRows(row, row + 1);
  PutValue(row, 4, TitleAndNumber());
  NumerStronyQStr(&j.value[static_cast<size_t>(row * J().width + J().pageColumn)], j.page++, j.english);
}

int NewPage() {
  J().linesLeft = PageLines();
  return drukuj_form_feed() != 0 || drukuj_top_margin() != 0 ? -1 : 0;
}

}  // namespace

int BreakBeforeTotals(const char* label) {
  zadanie_wydruku_faktury& j = J();
  double p = SumaWierszaVat(j.sums.net), q = SumaWierszaVat(j.sums.vat), r = SumaWierszaVat(j.sums.gross);
  const int s = INVOICE_SHORT_ROW;
  if (PrintRows(INVOICE_RULE_ROW, INVOICE_RULE_ROW + 1) != 0) return -1;
  std::string savedPattern = j.pattern.substr(static_cast<size_t>(s * J().width), J().width);
  std::string savedValue = j.value.substr(static_cast<size_t>(s * J().width), J().width);
  ClearRows(s, s + 1);
  PutTextEnding(j.pattern, s, 79, label);
  PutAmount(s, (j.english ? 85 : 83) + j.valueShift, j.grossMode ? r : p);
  if (!j.withoutVat) {
    PutAmount(s, j.english ? 99 : 102, q);
    PutAmount(s, 117, j.grossMode ? p : r);
  }
  if (PrintRows(s, s + 1) != 0) return -1;
  ClearRows(s, s + 1);
  PutTextEnding(j.pattern, s, 129, j.english ? "Next page." : Sys("Następna strona."));
  if (PrintRows(s, s + 1) != 0 || NewPage() != 0) return -1;
  ShortHead(s);
  if (PrintRows(s, s + 1) != 0) return -1;
  j.linesLeft -= 1;
  j.pattern.replace(static_cast<size_t>(s * J().width), J().width, savedPattern);
  j.value.replace(static_cast<size_t>(s * J().width), J().width, savedValue);
  return 0;
}

int PrintOverPages(int first, int end) {
  zadanie_wydruku_faktury& j = J();
  while (first < end) {
    if (j.linesLeft <= 0) {
      if (NewPage() != 0) return -1;
      std::string pattern = j.pattern.substr(static_cast<size_t>(INVOICE_SHORT_ROW * J().width), J().width);
      std::string value = j.value.substr(static_cast<size_t>(INVOICE_SHORT_ROW * J().width), J().width);
      ShortHead(INVOICE_SHORT_ROW);
      int rc = PrintRows(INVOICE_SHORT_ROW, INVOICE_SHORT_ROW + 1);
      j.pattern.replace(static_cast<size_t>(INVOICE_SHORT_ROW * J().width), J().width, pattern);
      j.value.replace(static_cast<size_t>(INVOICE_SHORT_ROW * J().width), J().width, value);
      if (rc != 0) return -1;
      j.linesLeft -= 1;
    }
    int n = std::min(end - first, j.linesLeft);
    if (PrintRows(first, first + n) != 0) return -1;
    j.linesLeft -= n;
    first += n;
  }
  return 0;
}

namespace {

std::string ListNumber(DbTable* t) {
  if (f4char(d4field(t, "RE4")) == 'N') return Trimmed(d4field(t, "OSM"));
  return NrDokumentuFldQStr(d4field(t, "PRE"), d4field(t, "NRV"), d4field(t, "POS"));
}

int SourceList(long rec, double l) {
  zadanie_wydruku_faktury& j = J();
  ClearRows(INVOICE_TOTALS_ROW, j.capacity);
  if (szukaj_dokumentow_powiazanych(rec) < 0) return 0;
  bool english = j.english != 0;
  int left = english ? 3 : 4;
  int row = INVOICE_TOTALS_ROW + 1, x = left;
  std::string title = english ? "Document created on the basis of the invoices:"
                              : j.basedOnProForma ? "Na podstawie faktur pro forma:" : "Na podstawie faktur zaliczkowych:";
  PutPattern(row, x, title);
  x += static_cast<int>(title.size()) + 1;
  bool amounts = !(j.basedOnProForma && salesOptions.listAmounts == 'N');
  std::string cur = CurrencyOfAmounts();
  DbTable* second = Z5SPRZ_2.table;
  int lastComma = -1, commaRow = row, entries = 0;
  for (; !d4eof(second) && f4long(d4field(second, "REK")) == rec; d4skip(second, 1)) {
    std::string number = ListNumber(second);
    std::string date = FldFullDateQStr(d4field(second, "DAW"));
    std::string entry;
    if (!amounts) {
      entry = (english ? "no " : "nr ") + number + (english ? " date " : " z ") + date;
    } else {
      double amount = ROUND(f4double(d4field(second, j.basedOnProForma ? "BRU" : "KZA")) * l, 2);
      entry = (english ? "no " : "nr ") + number + (english ? " date " : " z ") + date +
              (english ? " value " : Sys(" na kwotę ")) + DoubleQStr(amount, 0, 2);
    }
    int length = static_cast<int>(entry.size());
    if (x + length + 5 > LIST_RIGHT) {
      row++;
      x = left;
    }
    PutValue(row, x, entry);
    x += length;
    if (amounts) {
      x++;
      PutPattern(row, x, cur);
      x += 3;
    }
    PutPattern(row, x, ",");
    lastComma = x;
    commaRow = row;
    x += 2;
    entries++;
  }
  if (entries == 0) return 0;
  PutPattern(commaRow, lastComma, ".");
  row++;
  int used = row - INVOICE_TOTALS_ROW;
  if (used + 2 > j.linesLeft) {
    if (NewPage() != 0) return -1;
    std::string pattern = j.pattern.substr(static_cast<size_t>(INVOICE_TOTALS_ROW * J().width), J().width);
    std::string value = j.value.substr(static_cast<size_t>(INVOICE_TOTALS_ROW * J().width), J().width);
    ShortHead(INVOICE_TOTALS_ROW);
    if (PrintRows(INVOICE_TOTALS_ROW, INVOICE_TOTALS_ROW + 1) != 0) return -1;
    j.linesLeft -= 1;
    j.pattern.replace(static_cast<size_t>(INVOICE_TOTALS_ROW * J().width), J().width, pattern);
    j.value.replace(static_cast<size_t>(INVOICE_TOTALS_ROW * J().width), J().width, value);
  }
  // The empty first row twice, then from it to the list's last row.
  if (PrintOverPages(INVOICE_TOTALS_ROW, INVOICE_TOTALS_ROW + 1) != 0) return -1;
  if (PrintOverPages(INVOICE_TOTALS_ROW, INVOICE_TOTALS_ROW + 1) != 0) return -1;
  return PrintOverPages(INVOICE_TOTALS_ROW, row);
}

}  // namespace

void ForEachRate(const VatSummary& s, RateOrder order, bool reverseCharge,
                 const std::function<void(int slot, double rate, const char* text)>& row) {
  struct Slot {
    int slot;
    int rate;   // index of a configured rate, -1 the kept rate, -2 zero
    const char* text;
  };
  static const Slot INVOICE_ORDER[] = {
      {5, -2, " zw."}, {0, VAT_BASIC, nullptr},      {11, -1, nullptr}, {1, VAT_REDUCED_1, nullptr},
      {12, -1, nullptr}, {2, VAT_REDUCED_2, nullptr}, {13, -1, nullptr}, {3, VAT_RR_REFUND, nullptr},
      {14, -1, nullptr}, {8, -1, nullptr},            {4, -2, nullptr},  {9, -1, nullptr},
      {10, -1, nullptr}, {6, -2, " np."},             {7, -2, nullptr},
  };
  static const Slot CORRECTION_ORDER[] = {
      {5, -2, " zw."}, {0, VAT_BASIC, nullptr},      {11, -1, nullptr}, {1, VAT_REDUCED_1, nullptr},
      {12, -1, nullptr}, {2, VAT_REDUCED_2, nullptr}, {13, -1, nullptr}, {3, VAT_RR_REFUND, nullptr},
      {14, -1, nullptr}, {8, -1, nullptr},            {9, -1, nullptr},  {10, -1, nullptr},
      {4, -2, nullptr},  {6, -2, " np."},             {7, -2, nullptr},
  };
  for (const Slot& o : order == RATES_OF_CORRECTION ? CORRECTION_ORDER : INVOICE_ORDER) {
    if (order == RATES_OF_CORRECTION && o.slot == 4 && reverseCharge) continue;
    double rate = o.rate >= 0 ? currentVatRates[o.rate] : o.rate == -1 ? s.rate[o.slot] : 0;
    row(o.slot, rate, o.text);
  }
}

void RateRows(int* row, const VatSummary& s, bool correction, bool reverseCharge) {
  ForEachRate(s, correction ? RATES_OF_CORRECTION : RATES_OF_INVOICE, reverseCharge,
              [&](int slot, double rate, const char* text) {
                if (slot == REVERSE_CHARGE_SLOT) {
                  // The words and only the net amount, in the mode's net column.
                  if (s.net[slot] == 0 && s.vat[slot] == 0 && s.gross[slot] == 0) return;
                  PutAmount(*row, J().grossMode ? 117 : 83, s.net[slot]);
                  PutValue(*row, 98, MessageText(MSG_REVERSE));
                  (*row)++;
                  return;
                }
                wiersz_stawki_vat(row, s.net[slot], rate, s.vat[slot], s.gross[slot], text);
              });
}

int WordsRows(int row, double amount, const std::string& currency, int width, int labelEnd, int textCol) {
  PutTextEnding(J().pattern, row, labelEnd, Sys("słownie:"));
  std::string line1(static_cast<size_t>(width) + 1, '\0'), line2(static_cast<size_t>(width) + 1, '\0');
  const char* words = slownie(amount, currency.c_str());
  pisz_slownie(line1.data(), line2.data(), words, width);
  PutValue(row, textCol, line1.c_str());
  PutValue(row + 1, textCol, line2.c_str());
  return static_cast<int>(std::strlen(words)) > width ? row + 2 : row + 1;
}

void wiersz_stawki_vat(int* row, double net, double rate, double vat, double gross, const char* text) {
  if (net == 0 && vat == 0 && gross == 0) return;
  zadanie_wydruku_faktury& j = J();
  PutAmount(*row, 83, j.grossMode ? gross : net);
  PutValue(*row, 98, text ? std::string(text) : RateText(rate));
  if (vat != 0) PutAmount(*row, 102, vat);
  double other = j.grossMode ? net : gross;
  if (other != 0) PutAmount(*row, 117, other);
  (*row)++;
}

void wiersz_kwot_pln(int* row, char* value, char* pattern, int width, double net, double vat, double gross,
                     int netFirst) {
  std::string currency = Trimmed(H("WAL"));
  if (Printer.amounts != 'O' || currency == "PLN") return;
  double k = FldKurs(H("KVA"));
  bool english = Printer.language == 1;
  auto put = [&](char* page, int col, const std::string& text) {
    if (col + static_cast<int>(text.size()) <= width) std::memcpy(page + *row * width + col, text.data(), text.size());
  };
  auto amount = [](double x) {
    char text[32];
    c4dtoa(x, text, 11, 2, 1);
    return std::string(text);
  };
  put(pattern, 77, "PLN");
  put(value, english ? 85 : 83, amount(ROUND(k * (netFirst ? net : gross), 2)));
  put(value, english ? 99 : 102, amount(ROUND(k * vat, 2)));
  put(value, 117, amount(ROUND(k * (netFirst ? gross : net), 2)));
  (*row)++;
}

const char* tekst_oznaczen(const char* procedureMarks, const char* groupMarks, int show, int goodsGroups) {
  static const char* const CODES[MARKS] = {nullptr,   nullptr,  "TP ",    "TT_WNT ",        "TT_D ",
                                           "MR_T ",   "MR_UZ ", "I_42 ",  "I_63 ",          "B_SPV ",
                                           "B_SPV_DOSTAWA ", "B_MPV_PROWIZJA ", "MPP "};
  bool wsto = WorkingYear() >= FIRST_YEAR_OF_WSTO;
  std::string procedures, groups;
  for (int i = 0; i < MARKS; i++) {
    if (procedureMarks[i] != 'T') continue;
    if (i == 0)
      procedures += wsto ? "WSTO_EE " : "SW ";
    else if (i == 1)
      procedures += wsto ? "IED " : "EE ";
    else
      procedures += CODES[i];
  }
  if (goodsGroups)
    for (int i = 0; i < MARKS; i++)
      if (groupMarks[i] == 'T') groups += std::string(i + 1 < 10 ? "0" : "") + std::to_string(i + 1) + " ";
  if (show) {
    std::string a = "PROC: " + procedures, b = "GTU: " + groups;
    MessageWindow(MB_INFO, a.c_str(), b.c_str());
  }
  static std::string line;
  line = "PROC: " + procedures + "   " + (goodsGroups ? "GTU:" : " ") + " " + groups;
  return line.c_str();
}

const char* linia_oznaczen(int show, int goodsGroups) {
  // Both fields hold at least the 13 marks.
  return tekst_oznaczen(f4ptr(H("NKV")), f4ptr(H("NKK")), show, goodsGroups);
}

int drukuj_podsumowanie_faktury(long rec, int, int) {
  zadanie_wydruku_faktury& j = J();
  bool polish = !j.english;
  bool marks = MarksWanted();
  double l = AmountsRate(H("KVA"));
  int e1 = RightColumn(l);
  int row = LeftColumn(l);
  int signature = polish ? e1 : row;
  if (polish && salesOptions.printReceivedBy == 'T') {
    row++;
    std::string label = OptionText(salesOptions.receivedByLabel) + ":";
    PutPattern(row, 8, label);
    PutValue(row, 8 + static_cast<int>(label.size()) + 1, Trimmed(H("ODE")));
    signature = row;
  }
  PutTextEnding(j.pattern, signature, 97, polish ? Sys("wystawił:") : "Name:");
  PutValue(signature, 100, Trimmed(H("WYS")));
  signature++;
  if (marks) {
    row = std::max(row, signature) + 1;
    PutPattern(row, 4, linia_oznaczen(0, 1));
    row++;
  }
  int e = std::max(row, signature);
  if (e - INVOICE_RULE_ROW > j.linesLeft && BreakBeforeTotals(j.english ? "TOTAL" : "RAZEM") != 0) return -1;
  if (PrintOverPages(INVOICE_RULE_ROW, e) != 0) return -1;
  if (salesOptions.printFinalInvoiceList == 'T' && (j.basedOnProForma || j.final)) return SourceList(rec, l);
  return 0;
}
