// The simplified invoice and the receipt on the narrow page: the seller,
// the items at gross prices, the gross total and, on the simplified
// invoice, the buyer's number and the VAT by rate.
#include <algorithm>
#include <cstdio>
#include <string>

#include "app/document_print.h"
#include "app/document_text.h"
#include "app/option_sets.h"
#include "app/option_values.h"
#include "app/validators.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/numbers.h"
#include "env/session/field_text.h"
#include "print/char_output.h"
#include "print/printer.h"
#include "printouts/invoice_job.h"
#include "printouts/invoice_print.h"
#include "tables/firm_tables.h"
#include "tables/sales_tables.h"

namespace {

constexpr int FORM_RECEIPT = 65, RECEIPT_ROWS = 32, RECEIPT_WIDTH = 107, RECEIPT_FLAGS = 0x900;
constexpr int HEAD_END = 14, ITEM_ROW = 14, ITEM_ROWS = 7, RULE_ROW = 21, TOTAL_ROW = 22, VAT_ROW = 24;
constexpr int MIN_LINES_FOR_TOTALS = 10, PAGE_COLUMN = 96, MSG_INTERNAL = 258, MSG_REVERSE = 61;

void PutPageNumber(int row) {
  NumerStronyQStr(&J().value[static_cast<size_t>(row * J().width + J().pageColumn)], J().page++, 0);
}

bool simplifiedInvoice;
std::string title;

double GrossSum() { return SumaWierszaVat(J().sums.gross); }

int Header() {
  zadanie_wydruku_faktury& j = J();
  j.linesLeft = PageLines();
  if (drukuj_top_margin() != 0) return -1;
  std::string place = OptionText(salesOptions.issuePlace);
  PutValue(0, 4, (place.empty() ? "" : place + " ") + FldFullDateQStr(H("DAW")));
  if (simplifiedInvoice) {
    bool monthOnly = salesOptions.printSaleMonthOnly == 'T';
    std::string label = OptionText(monthOnly ? salesOptions.saleMonthLabel : salesOptions.saleDateLabel);
    if (label.empty()) label = MessageText(monthOnly ? 20147 : 20146);
    PutValue(1, 4, label + ": " + (monthOnly ? MiesiacRokQStr(H("DAS")) : FldFullDateQStr(H("DAS"))));
  }
  if (f4char(H("SDR")) == '2') PutValue(2, 4, MessageText(MSG_INTERNAL));
  PutTitle(2, title.c_str(), DocumentNumber());
  PutValue(4, 4, Trimmed(Firm("NA1")));
  PutValue(5, 4, Trimmed(Firm("NA2")));
  PutValue(6, 4, AdresFldsQStr(Firm("KOD"), Firm("POC"), Firm("MIA"), Firm("ULI"), Firm("NRD"), Firm("NRM")));
  PutValue(7, 4, Trimmed(Firm("KRA")));
  PutValue(8, 11, Full(Firm("NIP")));
  if (!Trimmed(Firm("NUS")).empty()) {
    PutValue(8, 32, "BDO:");
    PutValue(8, 37, Trimmed(Firm("NUS")));
  }
  PutValue(8, 82, Trimmed(Firm("TEL")));
  PutValue(9, 11, Trimmed(Firm("REG")));
  PutValue(9, 82, Trimmed(Firm("FAX")));
  if (simplifiedInvoice) {
    std::string label = JestPesel(H("NIP")) ? "PESEL nabywcy:" : "NIP nabywcy:";
    PutPattern(10, 4, label);
    PutValue(10, 6 + static_cast<int>(label.size()), Full(H("NIP")));
  }
  PutPageNumber(10);
  if (PrintRows(0, HEAD_END) != 0) return -1;
  j.linesLeft -= HEAD_END;
  return 0;
}

int ContinuationHead() {
  ClearRows(10, 11);
  PutValue(10, 4, TitleAndNumber());
  PutPageNumber(10);
  if (PrintRows(10, HEAD_END) != 0) return -1;
  J().linesLeft -= 4;
  return 0;
}

void SumRow(const char* label) {
  ClearRows(TOTAL_ROW, TOTAL_ROW + 1);
  PutTextEnding(J().pattern, TOTAL_ROW, 87, label);
  PutAmount(TOTAL_ROW, 93, GrossSum());
}

int PageBreak() {
  zadanie_wydruku_faktury& j = J();
  SumRow("Do przeniesienia");
  if (PrintRows(RULE_ROW, TOTAL_ROW + 1) != 0 || drukuj_form_feed() != 0) return -1;
  j.linesLeft = PageLines();
  if (drukuj_top_margin() != 0 || naglowek_kolejnej_strony_paragonu() != 0) return -1;
  SumRow("Z przeniesienia");
  if (PrintRows(TOTAL_ROW, TOTAL_ROW + 1) != 0) return -1;
  j.linesLeft -= 1;
  return 0;
}

int Pass(long rec, int, int) { return pozycje_paragonu(rec); }

}  // namespace

int naglowek_paragonu() { return Header(); }
int naglowek_kolejnej_strony_paragonu() { return ContinuationHead(); }

int pozycje_paragonu(long rec) {
  zadanie_wydruku_faktury& j = J();
  j.sums = VatSummary{};
  if (Header() != 0) return -1;
  if (SeekSalesLinesByRek(rec) < 0) return -1;
  DbTable* lines = Z5SPRE.table;
  int number = 1;
  while (!d4eof(lines) && f4long(Line("REK")) == rec) {
    // Items and total in one currency: both converted at the line's rate.
    double k = FldKurs(Line("KVA"));
    double gross = ROUND(f4double(Line("WAB")) * k, 2);
    AddToSummary(&j.sums, f4int(Line("VAT")), ROUND(f4double(Line("WNE")) * k, 2),
                 ROUND(f4double(Line("WAV")) * k, 2), gross, f4double(Line("VAS")));
    ClearRows(ITEM_ROW, ITEM_ROW + ITEM_ROWS);
    char text[16];
    PutValue(ITEM_ROW, 6, std::string(c4ltoa(number++, text, 3), 3));
    int w = 0;
    for (const char* name : {"NA1", "NA2", "NA3", "NA4", "NA5", "NA6"}) {
      if (w > 0 && Trimmed(Line(name)).empty()) continue;
      PutValue(ITEM_ROW + w++, 10, Trimmed(Line(name)));
    }
    PutValue(ITEM_ROW, 51, Full(Line("JED")));
    PutValue(ITEM_ROW, 58, Formatted(f4double(Line("ILO")), 13, QUANTITY_FLAGS));
    PutValue(ITEM_ROW, 76, Formatted(ROUND(f4double(Line("CBR")) * k, 4), 12, PRICE_FLAGS));
    PutAmount(ITEM_ROW, 93, gross);
    if (PrintRows(ITEM_ROW, ITEM_ROW + w) != 0) return -1;
    j.linesLeft -= w;
    if (d4skip(lines, 1) < 0) return -1;
    if (d4eof(lines) || f4long(Line("REK")) != rec) break;
    int next = LiczbaLiniiPozycji(Line("NA1"), Line("NA2"), Line("NA3"), Line("NA4"), Line("NA5"), Line("NA6"));
    if (next > j.linesLeft - 2 && PageBreak() != 0) return -1;
  }
  return podsumowanie_paragonu();
}

void wiersz_vat_paragonu(int* row, double rate, double vat, double gross, const char* text) {
  if (vat == 0 && gross == 0) return;
  zadanie_wydruku_faktury& j = J();
  std::fill(j.value.begin() + *row * j.width + 86, j.value.begin() + *row * j.width + RECEIPT_WIDTH, ' ');
  if (text) {
    PutValue(*row, 88, text);
  } else {
    char shown[16];
    std::snprintf(shown, sizeof shown, "%2.0f", rate);
    PutValue(*row, 88, shown);
    PutValue(*row, 91, "%");
  }
  PutAmount(*row, 93, vat);
  (*row)++;
}

int podsumowanie_paragonu() {
  zadanie_wydruku_faktury& j = J();
  if (j.linesLeft < MIN_LINES_FOR_TOTALS) {
    if (PageBreak() != 0) return -1;
    j.linesLeft -= 2;
  }
  ClearRows(TOTAL_ROW, TOTAL_ROW + 1);
  PutTextEnding(j.pattern, TOTAL_ROW, 81, "RAZEM");
  PutAmount(TOTAL_ROW, 93, GrossSum());
  int vatRow = VAT_ROW;
  if (simplifiedInvoice) {
    std::string rule;
    for (int i = 0; i < 26; i++) rule += Sys("─");
    PutPattern(TOTAL_ROW + 1, 81, rule);
    PutValue(VAT_ROW, 81, "VAT");
    // Every slot that holds an amount is listed.
    const VatSummary& s = j.sums;
    std::string reverse = MessageText(MSG_REVERSE).substr(0, 4);
    ForEachRate(s, RATES_OF_INVOICE, false, [&](int slot, double rate, const char* text) {
      wiersz_vat_paragonu(&vatRow, rate, s.vat[slot], s.gross[slot],
                          slot == REVERSE_CHARGE_SLOT ? reverse.c_str() : text);
    });
  }
  int row = TOTAL_ROW + 1;
  PutPattern(row++, 4, "uwagi:");
  if (!Trimmed(H("UW1")).empty()) PutValue(row++, 4, Trimmed(H("UW1")));
  PutValue(row++, 4, Trimmed(H("UW2")));
  row += 2;
  for (const char* line : salesOptions.footer) PutValue(row++, 4, OptionText(line));
  // The printed rows reach the last rate row too.
  return PrintOverPages(RULE_ROW, std::max(row, vatRow));
}

int drukuj_paragon_lub_fakture_uproszczona(int mode) {
  long rec = 0;
  if (sprawdz_pozycje_wydruku(H("REC"), &rec) != 0) return -1;
  simplifiedInvoice = mode == 1;
  title = simplifiedInvoice ? "FAKTURA UPROSZCZONA nr" : "PARAGON nr";
  zadanie_wydruku_faktury& j = J();
  j = zadanie_wydruku_faktury{};
  j.kind = f4int(H("TYV"));
  j.width = RECEIPT_WIDTH;
  j.rows = RECEIPT_ROWS;
  j.pageColumn = PAGE_COLUMN;
  j.shortTitle = title.c_str();
  int printed = 0;
  if (init_prn(Z5SPRZ.table, simplifiedInvoice ? "FUP" : "PAR",
               simplifiedInvoice ? "Faktura uproszczona" : "Paragon", RECEIPT_WIDTH, RECEIPT_FLAGS) == 0) {
    RunCopies(rec, FORM_RECEIPT, Pass, 0);
    printed = 1;
  }
  deinit_prn();
  // The simplified invoice says it was printed, so a duplicate date is stored.
  return simplifiedInvoice ? printed : 0;
}
