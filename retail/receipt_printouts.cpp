// Page printouts of the current receipt: the invoice issued to it on the
// wide form (net or gross prices, the buyer of its Z5PARO record) and the
// plain receipt on the narrow form when no fiscal printer answered. The page
// helpers are the sales invoice printout's.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "app/document_print.h"
#include "app/document_text.h"
#include "app/option_sets.h"
#include "app/option_values.h"
#include "app/validators.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/numbers.h"
#include "env/session/field_text.h"
#include "fiscal/printer_params.h"
#include "jpk/bank_accounts.h"
#include "print/char_output.h"
#include "print/printer.h"
#include "printouts/invoice_job.h"
#include "printouts/invoice_print.h"
#include "retail/receipt_invoice.h"
#include "tables/firm_tables.h"
#include "tables/receipt_tables.h"
#include "ui/message_box.h"

namespace retail {

namespace {

constexpr int MSG_EMPTY = 233;   // "Pusty paragon!"
constexpr int MSG_TITLE_GROSS = 241, MSG_TITLE_NET = 242;
constexpr int FORM_INVOICE = 56, INVOICE_ROWS = 57;
constexpr int FORM_RECEIPT = 65, RECEIPT_ROWS = 32, RECEIPT_WIDTH = 107;
constexpr int PRINT_FLAGS = PRN_FONT_LEGAL | PRN_SOFT_FONTS;
constexpr int FIRST_YEAR_OF_LABELS = 2013;
constexpr int ITEM_ROWS = 7, WORDS_WIDTH = 62, RULE_WIDTH = 60;
constexpr int RECEIPT_ITEM_ROW = 14, RECEIPT_HEAD_END = 14, RECEIPT_RULE_ROW = 21, RECEIPT_SUM_ROW = 22,
              RECEIPT_LAST_ROW = 30;
// Slots the receipt's invoice does not list: zero and exempt at a rate of
// their own, and the reverse charge.
constexpr int UNLISTED_SLOTS[] = {7, 9, 10};

DbField* Head(const char* name) { return d4field(Z5PARA.table, name); }
DbField* Buyer(const char* name) { return d4field(Z5PARO.table, name); }
DbField* Pos(const char* name) { return d4field(Z5PARE.table, name); }
bool Blank(DbField* field) { return Trimmed(field).empty(); }
bool Correction() { return f4char(Pos("ODC")) == 'T'; }

std::string InvoiceNumber() { return NrDokumentuFldQStr(Head("PRF"), Head("NRF"), Head("POF")); }
std::string ReceiptNumber() { return NrDokumentuFldQStr(Head("PRE"), Head("NRV"), Head("POS")); }
std::string InvoiceTitle() { return OptionText(parametryDetal.invoiceName); }
std::string ReceiptTitle() { return OptionText(parametryDetal.receiptName); }

// Ends before column `col`, as the forms' labels are laid out.
void Ending(int row, int col, const std::string& text) { PutTextEnding(J().pattern, row, col - 1, text); }

void PageNumber(int row, int col) {
  NumerStronyQStr(&J().value[static_cast<size_t>(row * J().width + col)], J().page++, 0);
}

// 0 on the receipt's first position, 1 none ("Pusty paragon!"), -1 an error.
int FirstPosition() {
  long rek = f4long(Head("REC"));
  int rc = SeekParagonLinesByRek(rek);
  if (rc < 0) return -1;
  if (rc == 0 && !d4eof(Z5PARE.table) && f4long(Pos("REK")) == rek) return 0;
  Uwaga(MSG_EMPTY);
  return 1;
}
bool OfReceipt(long rek) { return !d4eof(Z5PARE.table) && f4long(Pos("REK")) == rek; }

// ---- the invoice

bool grossMode;
bool firstCopy;

double Mode(const double* net, const double* gross) { return SumaWierszaVat(grossMode ? gross : net); }
double Other(const double* net, const double* gross) { return SumaWierszaVat(grossMode ? net : gross); }

void Sums(int row, int labelEnd, const char* label) {
  const VatSummary& s = J().sums;
  ClearRows(row, row + 1);
  if (label) Ending(row, labelEnd, label);
  PutAmount(row, 83, Mode(s.net, s.gross));
  PutAmount(row, 102, SumaWierszaVat(s.vat));
  PutAmount(row, 117, Other(s.net, s.gross));
}

void PartyNumber(int row, DbField* nip, bool peselFallback) {
  bool pesel = JestPesel(nip) || (peselFallback && Blank(nip));
  PutPattern(row, pesel ? 103 : 105, pesel ? "PESEL:" : "NIP:");
  PutValue(row, 110, Full(peselFallback && Blank(nip) ? Firm("NRPF") : nip));
}

int InvoiceContinuationHead() {
  ClearRows(INVOICE_SHORT_ROW, INVOICE_SHORT_ROW + 1);
  PutValue(INVOICE_SHORT_ROW, 4, InvoiceTitle() + " " + InvoiceNumber());
  PageNumber(INVOICE_SHORT_ROW, 122);
  if (PrintRows(INVOICE_SHORT_ROW, INVOICE_SHORT_ROW + 1) != 0 || PrintRows(TABLE_HEAD_ROW, TABLE_HEAD_END) != 0)
    return -1;
  J().linesLeft -= 1 + TABLE_HEAD_END - TABLE_HEAD_ROW;
  return 0;
}

int naglowek_faktury() {
  zadanie_wydruku_faktury& j = J();
  j.linesLeft = PageLines();
  if (drukuj_top_margin() != 0) return -1;
  std::string mark = Printer.copies != 0 ? Sys(firstCopy ? "ORYGINAŁ" : " KOPIA  ") : Sys("ORYGINAŁ / KOPIA");
  PutTextEnding(j.value, 0, INVOICE_WIDTH - 1, mark);
  PutPattern(0, 3, Sys("miejsce i data wystawienia:"));
  std::string place = OptionText(salesOptions.issuePlace);
  PutValue(0, 31, (place.empty() ? "" : place + " ") + FldFullDateQStr(Buyer("DAW")));
  bool old = WorkingYear() < FIRST_YEAR_OF_LABELS;
  bool monthOnly = salesOptions.printSaleMonthOnly == 'T';
  std::string label = old ? Sys(monthOnly ? "miesiąc sprzedaży:" : "data sprzedaży:")
                          : OptionText(monthOnly ? salesOptions.saleMonthLabel : salesOptions.saleDateLabel) + ":";
  PutPattern(1, 3, label);
  PutValue(1, 4 + static_cast<int>(label.size()),
           monthOnly ? std::string(MiesiacRokQStr(Head("DSP"))) : std::string(FldFullDateQStr(Head("DSP"))));
  PutTitle(3, InvoiceTitle().c_str(), InvoiceNumber());

  int row = 5;
  PutPattern(row, 3, "SPRZEDAWCA:");
  PartyNumber(row, Firm("NIP"), true);
  PutValue(row++, 15, Trimmed(Firm("NA1")));
  if (!Blank(Firm("NA2"))) PutValue(row++, 15, Trimmed(Firm("NA2")));
  PutValue(row++, 15, AdresFldsQStr(Firm("KOD"), Firm("POC"), Firm("MIA"), Firm("ULI"), Firm("NRD"), Firm("NRM")));
  std::string country = Trimmed(Firm("KRA"));
  if (!country.empty() && country.compare(0, 5, "POLSKA") != 0) PutValue(row++, 15, country);
  int bank = f4int(Buyer("TYB"));
  PutPattern(row, 9, "bank:");
  PutValue(row, 15, bank_firmy(bank, Firm("BAN1")));
  PutPattern(row, 47, "nr konta:");
  PutValue(row, 57, konto_bankowe_firmy(bank, Firm("NRR1")));
  if (!Blank(Firm("REG"))) {
    PutPattern(row, 103, "REGON:");
    PutValue(row, 110, Trimmed(Firm("REG")));
  }
  PutPattern(row + 1, 9, "tel.:");
  PutValue(row + 1, 15, Trimmed(Firm("TEL")));
  PutPattern(row + 1, 73, "fax:");
  PutValue(row + 1, 78, Trimmed(Firm("FAX")));
  PutPattern(row + 2, 10, "www:");
  PutValue(row + 2, 15, Trimmed(Firm("WWW")));
  PutPattern(row + 2, 70, "e-mail:");
  PutValue(row + 2, 78, Trimmed(Firm("EMA")));
  row += 4;

  PutPattern(row, 6, "NABYWCA:");
  PartyNumber(row, Buyer("NIP"), false);
  PutValue(row++, 15, Trimmed(Buyer("NA1")));
  if (!Blank(Buyer("NA2"))) PutValue(row++, 15, Trimmed(Buyer("NA2")));
  std::string address;
  for (const char* name : {"KOP", "MIA", "ULI"}) {
    std::string part = Trimmed(Buyer(name));
    if (!part.empty()) address += (address.empty() ? "" : " ") + part;
  }
  PutValue(row++, 15, address);
  row++;
  if (!Blank(Buyer("NRZ"))) {
    PutPattern(row, 7, Sys("nr zamówienia:"));
    std::string order = Trimmed(Buyer("NRZ"));
    if (!Blank(Buyer("DZM"))) order += std::string(" z ") + FldFullDateQStr(Buyer("DZM"));
    PutValue(row, 22, order);
  }
  PageNumber(row, 122);
  if (PrintRows(0, row + 1) != 0 || PrintRows(TABLE_HEAD_ROW, TABLE_HEAD_END) != 0) return -1;
  j.linesLeft -= row + 1 + TABLE_HEAD_END - TABLE_HEAD_ROW;
  return 0;
}

// The rows the current position takes: names, the code row, the discount row.
int PositionRows() {
  int rows = LiczbaLiniiPozycji(Pos("NA1"), Pos("NA2"), Pos("NA3"), Pos("NA4"), Pos("NA5"), Pos("NA6"));
  if (salesOptions.printGoodsCode == 'T' && !Blank(Pos("KOT"))) rows++;
  return f4double(Pos("RAS")) != 0 ? std::max(rows, 2) : rows;
}

int Position(int number) {
  const int top = INVOICE_ITEM_ROW;
  ClearRows(top, top + ITEM_ROWS);
  char text[16];
  PutValue(top, 3, std::string(c4ltoa(number, text, 3), 3));
  int w = 0;
  for (const char* name : {"NA1", "NA2", "NA3", "NA4", "NA5", "NA6"}) {
    if (w > 0 && Blank(Pos(name))) continue;
    PutValue(top + w++, 7, Trimmed(Pos(name)));
  }
  bool code = salesOptions.printGoodsCode == 'T' && !Blank(Pos("KOT"));
  if (code) PutValue(top + w, 7, "kod: " + Trimmed(Pos("KOT")));
  if (code && !Blank(Pos("KWU")) && salesOptions.printClassification == 'T')
    PutTextEnding(J().value, top + w, 46, Trimmed(Pos("KWU")));
  if (code) w++;
  PutValue(top, 48, Full(Pos("JED")));
  PutValue(top, 55, Formatted(f4double(Pos("ILO")), 13, QUANTITY_FLAGS));
  PutValue(top, 70, Formatted(f4double(Pos(grossMode ? "CBB" : "CNB")), 12, PRICE_FLAGS));
  double discount = f4double(Pos("RAS"));
  int valueRow = top;
  if (discount != 0) {
    valueRow = top + 1;
    PutValue(valueRow, 49, discount > 0 ? "z rabatem       %" : "z narzutem      %");
    PutValue(valueRow, 60, Formatted(std::fabs(discount), 4, 1));
    PutValue(valueRow, 70, Formatted(f4double(Pos(grossMode ? "CBR" : "CNR")), 12, PRICE_FLAGS));
    w = std::max(w, 2);
  }
  PutAmount(valueRow, 83, f4double(Pos(grossMode ? "WAB" : "WNE")));
  char rate[5] = {};
  StawkaVatTekst(rate, Pos("VAS"), f4int(Pos("VAT")));
  PutValue(valueRow, 98, std::string(rate, 4));
  PutAmount(valueRow, 102, f4double(Pos("WAV")));
  PutAmount(valueRow, 117, f4double(Pos(grossMode ? "WNE" : "WAB")));
  if (PrintRows(top, top + w) != 0) return -1;
  J().linesLeft -= w;
  return 0;
}

int pozycje_faktury() {
  zadanie_wydruku_faktury& j = J();
  long rek = f4long(Head("REC"));
  if (SeekParagonLinesByRek(rek) < 0) return -1;
  int number = 0;
  while (OfReceipt(rek)) {
    if (!Correction() && number > 0 && j.linesLeft - 2 < PositionRows() &&
        CarriedOnShortRow([](const char* label) { Sums(INVOICE_SHORT_ROW, 80, label); }, "Do przeniesienia",
                          "Z przeniesienia", InvoiceContinuationHead) != 0)
      return -1;
    // Correction positions count in the sums without a row of their own.
    DodajDoPodsumowaniaVat(&j.sums, f4int(Pos("VAT")), f4double(Pos("WNE")), f4double(Pos("WAV")),
                           f4double(Pos("WAB")), f4double(Pos("VAS")));
    if (!Correction() && Position(++number) != 0) return -1;
    if (d4skip(Z5PARE.table, 1) < 0) return -1;
  }
  return 0;
}

void wiersz_stawki(int* row, int slot, double rate, const char* text) {
  const VatSummary& s = J().sums;
  if (s.net[slot] == 0 && s.vat[slot] == 0 && s.gross[slot] == 0) return;
  PutAmount(*row, 83, grossMode ? s.gross[slot] : s.net[slot]);
  PutValue(*row, 98, text ? std::string(text) : Formatted(rate, 4, 1));
  PutAmount(*row, 102, s.vat[slot]);
  PutAmount(*row, 117, grossMode ? s.net[slot] : s.gross[slot]);
  (*row)++;
}

int stopka_faktury() {
  zadanie_wydruku_faktury& j = J();
  const int top = INVOICE_TOTALS_ROW;
  ClearRows(top, j.capacity);
  Sums(top, 76, "RAZEM");
  std::string rule;
  for (int i = 0; i < RULE_WIDTH; i++) rule += Sys("─");
  PutPattern(top + 1, 71, rule);
  PutPattern(top + 2, 76, "w tym:");
  int right = top + 2;
  ForEachRate(j.sums, RATES_OF_INVOICE, false, [&](int slot, double rate, const char* text) {
    if (std::find(std::begin(UNLISTED_SLOTS), std::end(UNLISTED_SLOTS), slot) == std::end(UNLISTED_SLOTS))
      wiersz_stawki(&right, slot, rate, text);
  });
  // `right` is the row after the last rate row.

  double gross = SumaWierszaVat(j.sums.gross);
  double paid = f4double(Buyer("KZA"));
  int row = top;
  PutPattern(row, 4, Sys("termin płatności:"));
  PutValue(row, 22, FldFullDateQStr(Buyer("DPL")));
  Ending(row, 39, "forma:");
  PutValue(row++, 40, Trimmed(Buyer("PLA")));
  Ending(row, 15, "RAZEM:");
  PutAmount(row, 16, gross);
  PutPattern(row++, 30, "PLN");
  row = WordsRows(row, gross, "PLN", WORDS_WIDTH, 14, 16);
  Ending(row, 15, Sys("ZAPŁACONO:"));
  PutAmount(row, 16, paid);
  PutPattern(row++, 30, "PLN");
  double due = ROUND(gross - paid, 2);
  if (due != 0) {
    PutPattern(row, due > 0 ? 4 : 5, Sys(due > 0 ? "DO ZAPŁATY:" : "DO ZWROTU:"));
    PutAmount(row, 16, std::fabs(due));
    PutPattern(row++, 30, "PLN");
  }
  if (!Blank(Buyer("UWA"))) {
    PutPattern(row, 4, "uwagi:");
    PutValue(row++, 11, Trimmed(Buyer("UWA")));
  }
  row += 1;
  for (const char* line : salesOptions.footer) PutValue(row++, 4, OptionText(line));
  int signature = right + 2;
  if (salesOptions.printReceivedBy == 'T') {
    row += 1;
    std::string label = OptionText(salesOptions.receivedByLabel) + ":";
    PutPattern(row, 8, label);
    PutValue(row, 9 + static_cast<int>(label.size()), Trimmed(Buyer("ODE")));
    signature = row++;
  }
  Ending(signature, 98, Sys("wystawił:"));
  PutValue(signature, 100, Trimmed(Buyer("WYS")));
  int last = std::max(row, signature + 1);
  DbField* marks = Buyer("RE1");
  if (salesOptions.procedureMarks == 'T' && salesOptions.printMarkCodes == 'T' &&
      (jest_znacznik(marks, PIERWSZA_PROCEDURA, ZNACZNIKI) || jest_znacznik(marks, PIERWSZY_GTU, ZNACZNIKI)))
    PutValue(last++, 4, oznaczenia_tekst(0, 1));

  if (j.linesLeft < last - INVOICE_RULE_ROW) {
    if (PrintRows(INVOICE_RULE_ROW, INVOICE_RULE_ROW + 1) != 0) return -1;
    std::string pattern = j.pattern.substr(static_cast<size_t>(INVOICE_SHORT_ROW * j.width), j.width);
    Sums(INVOICE_SHORT_ROW, 80, "RAZEM");
    if (PrintRows(INVOICE_SHORT_ROW, INVOICE_SHORT_ROW + 1) != 0) return -1;
    ClearRows(INVOICE_SHORT_ROW, INVOICE_SHORT_ROW + 1);
    Ending(INVOICE_SHORT_ROW, 130, Sys("Następna strona."));
    if (PrintRows(INVOICE_SHORT_ROW, INVOICE_SHORT_ROW + 1) != 0 || drukuj_form_feed() != 0) return -1;
    j.linesLeft = PageLines();
    if (drukuj_top_margin() != 0) return -1;
    ClearRows(INVOICE_SHORT_ROW, INVOICE_SHORT_ROW + 1);
    PutValue(INVOICE_SHORT_ROW, 4, InvoiceTitle() + " " + InvoiceNumber());
    PageNumber(INVOICE_SHORT_ROW, 122);
    if (PrintRows(INVOICE_SHORT_ROW, INVOICE_SHORT_ROW + 1) != 0) return -1;
    j.pattern.replace(static_cast<size_t>(INVOICE_SHORT_ROW * j.width), j.width, pattern);
  }
  return PrintRows(INVOICE_RULE_ROW, last);
}

int InvoiceCopy(long, int firstPass, int) {
  firstCopy = firstPass != 0;
  J().sums = VatSummary{};
  if (naglowek_faktury() != 0 || pozycje_faktury() != 0) return -1;
  return stopka_faktury();
}

// ---- the plain receipt

double receiptTotal;

int naglowek_paragonu_wydruk() {
  zadanie_wydruku_faktury& j = J();
  j.linesLeft = PageLines();
  if (drukuj_top_margin() != 0) return -1;
  std::string place = OptionText(salesOptions.issuePlace);
  PutTextEnding(j.value, 0, 104, (place.empty() ? "" : place + " ") + FldFullDateQStr(Head("DSP")));
  PutTitle(2, ReceiptTitle().c_str(), ReceiptNumber());
  PutValue(4, 4, Trimmed(Firm("NA1")));
  PutValue(5, 4, Trimmed(Firm("NA2")));
  PutValue(6, 4, AdresFldsQStr(Firm("KOD"), Firm("POC"), Firm("MIA"), Firm("ULI"), Firm("NRD"), Firm("NRM")));
  PutValue(7, 4, Trimmed(Firm("KRA")));
  PutValue(8, 11, Full(Firm("NIP")));
  PutValue(9, 11, Trimmed(Firm("REG")));
  PutValue(8, 82, Trimmed(Firm("TEL")));
  PutValue(9, 82, Trimmed(Firm("FAX")));
  if (!Blank(Head("RE1"))) {
    PutPattern(10, 4, "NIP nabywcy:");
    PutValue(10, 17, Full(Head("RE1")));
  }
  PageNumber(10, 96);
  if (PrintRows(0, RECEIPT_HEAD_END) != 0) return -1;
  j.linesLeft -= RECEIPT_HEAD_END;
  return 0;
}

int naglowek_paragonu_dalszy() {
  ClearRows(10, 11);
  PutValue(10, 4, ReceiptTitle() + " " + ReceiptNumber());
  PageNumber(10, 88);
  if (PrintRows(10, RECEIPT_HEAD_END) != 0) return -1;
  J().linesLeft -= RECEIPT_HEAD_END - 10;
  return 0;
}

void ReceiptSum(const char* label, int labelEnd) {
  ClearRows(RECEIPT_SUM_ROW, RECEIPT_SUM_ROW + 1);
  Ending(RECEIPT_SUM_ROW, labelEnd, label);
  PutAmount(RECEIPT_SUM_ROW, 85, receiptTotal);
}

int ReceiptPageBreak() {
  zadanie_wydruku_faktury& j = J();
  ReceiptSum("Do przeniesienia", 80);
  if (PrintRows(RECEIPT_RULE_ROW, RECEIPT_SUM_ROW + 1) != 0 || drukuj_form_feed() != 0) return -1;
  j.linesLeft = PageLines();
  if (drukuj_top_margin() != 0 || naglowek_paragonu_dalszy() != 0) return -1;
  ReceiptSum("Z przeniesienia", 80);
  if (PrintRows(RECEIPT_SUM_ROW, RECEIPT_SUM_ROW + 1) != 0) return -1;
  j.linesLeft -= 1;
  return 0;
}

int pozycje_paragonu_wydruk() {
  zadanie_wydruku_faktury& j = J();
  long rek = f4long(Head("REC"));
  if (SeekParagonLinesByRek(rek) < 0) return -1;
  int number = 0;
  while (OfReceipt(rek)) {
    int rows = LiczbaLiniiPozycji(Pos("NA1"), Pos("NA2"), Pos("NA3"), Pos("NA4"), Pos("NA5"), Pos("NA6"));
    if (number > 0 && rows > j.linesLeft - 2 && ReceiptPageBreak() != 0) return -1;
    ClearRows(RECEIPT_ITEM_ROW, RECEIPT_ITEM_ROW + ITEM_ROWS);
    char text[16];
    PutValue(RECEIPT_ITEM_ROW, 6, std::string(c4ltoa(++number, text, 3), 3));
    int w = 0;
    for (const char* name : {"NA1", "NA2", "NA3", "NA4", "NA5", "NA6"}) {
      if (w > 0 && Blank(Pos(name))) continue;
      PutValue(RECEIPT_ITEM_ROW + w++, 10, Trimmed(Pos(name)));
    }
    PutValue(RECEIPT_ITEM_ROW, 51, Full(Pos("JED")));
    PutValue(RECEIPT_ITEM_ROW, 58, Formatted(f4double(Pos("ILO")), 13, QUANTITY_FLAGS));
    PutValue(RECEIPT_ITEM_ROW, 72, Formatted(f4double(Pos("CBR")), 12, PRICE_FLAGS));
    PutAmount(RECEIPT_ITEM_ROW, 85, f4double(Pos("WAB")));
    receiptTotal = ROUND(receiptTotal + f4double(Pos("WAB")), 2);
    if (PrintRows(RECEIPT_ITEM_ROW, RECEIPT_ITEM_ROW + w) != 0) return -1;
    j.linesLeft -= w;
    if (d4skip(Z5PARE.table, 1) < 0) return -1;
  }
  return 0;
}

int stopka_paragonu_wydruk() {
  ReceiptSum("RAZEM", 82);
  return PrintRows(RECEIPT_RULE_ROW, RECEIPT_LAST_ROW + 1);
}

int ReceiptCopy(long, int, int) {
  receiptTotal = 0;
  if (naglowek_paragonu_wydruk() != 0 || pozycje_paragonu_wydruk() != 0) return -1;
  return stopka_paragonu_wydruk();
}

// The page state of a job over `form`.
void StartJob(int width, int rows) {
  zadanie_wydruku_faktury& j = J();
  j = zadanie_wydruku_faktury{};
  j.width = width;
  j.rows = rows;
  j.grossMode = grossMode;
}

}  // namespace

int faktura_do_paragonu_wydruk(int forma) {
  grossMode = forma == FORMA_BRUTTO;
  int rc = FirstPosition();
  if (rc != 0) return -1;
  StartJob(INVOICE_WIDTH, INVOICE_ROWS);
  std::string title = MessageText(grossMode ? MSG_TITLE_GROSS : MSG_TITLE_NET);
  int result = 0;
  if (init_prn(Z5PARA.table, grossMode ? "FPB" : "FPN", title.c_str(), INVOICE_WIDTH, PRINT_FLAGS) == 0) {
    RunCopies(f4long(Head("REC")), FORM_INVOICE, InvoiceCopy, 0);
    result = 1;
  }
  deinit_prn();
  return result;
}

int paragon_wydruk() {
  if (FirstPosition() != 0) return -1;
  grossMode = true;
  StartJob(RECEIPT_WIDTH, RECEIPT_ROWS);
  if (init_prn(Z5PARA.table, "PPR", "Paragon", RECEIPT_WIDTH, PRINT_FLAGS) == 0)
    RunCopies(f4long(Head("REC")), FORM_RECEIPT, ReceiptCopy, 0);
  deinit_prn();
  return 0;
}

char* oznaczenia_tekst(int pokaz, int z_gtu) {
  DbField* marks = Buyer("RE1");
  const char* text = f4ptr(marks);
  return const_cast<char*>(tekst_oznaczen(text + PIERWSZA_PROCEDURA - 1, text + PIERWSZY_GTU - 1, pokaz, z_gtu));
}

}  // namespace retail
