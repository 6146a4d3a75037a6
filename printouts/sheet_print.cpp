// The sales-without-invoice sheet: one page with the seller and the net,
// VAT and gross sums of the document by rate type, without items.
#include <string>

#include "app/document_print.h"
#include "app/option_sets.h"
#include "app/option_values.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/session/field_text.h"
#include "print/char_output.h"
#include "print/printer.h"
#include "printouts/invoice_job.h"
#include "printouts/invoice_print.h"
#include "tables/firm_tables.h"
#include "tables/sales_tables.h"

namespace {

constexpr int FORM_SHEET = 54, SHEET_ROWS = 33, SHEET_WIDTH = 109, SHEET_FLAGS = 0x900;
constexpr int HEAD_END = 11, TABLE_END = 32, TOTAL_ROW = 29, MARKS_ROW = 31, OTHER_ROW = 25;
constexpr int MSG_INTERNAL = 258;


// Gross of the lines whose code has no rate row.
double otherGross;

// The slot of a line's code; -1 for the codes without a row.
int SheetSlot(int code, double rate) {
  auto byRate = [&](int index, int equal, int other) { return rate == currentVatRates[index] ? equal : other; };
  switch (code) {
    case 1: return byRate(VAT_BASIC, 0, 11);
    case 2: return byRate(VAT_REDUCED_1, 1, 12);
    case 8: return byRate(VAT_REDUCED_2, 2, 13);
    case 9: return byRate(VAT_RR_REFUND, 3, 14);
    case 3: case 5: case 13: return 4;
    case 4: return 5;
    case 7: case 10: case 11: return 6;
    case 12: return 8;
    default: return -1;
  }
}

int Pass(long rec, int, int) {
  if (drukuj_top_margin() != 0 || naglowek_sprzedazy_bezrachunkowej() != 0) return -1;
  if (sumuj_sprzedaz_bezrachunkowa(rec) != 0) return -1;
  return tabela_sprzedazy_bezrachunkowej();
}

}  // namespace

int naglowek_sprzedazy_bezrachunkowej() {
  std::string place(salesOptions.issuePlace);
  place.erase(place.find_last_not_of(' ') + 1);
  PutValue(0, 34, (place.empty() ? "" : place + " ") + FldFullDateQStr(H("DAW")));
  std::string title(salesOptions.numbering[DOC_BR].name);
  title.erase(title.find_last_not_of(' ') + 1);
  PutTitle(2, title.c_str(), DocumentNumber());
  if (f4char(H("SDR")) == '2') PutValue(3, 44, MessageText(MSG_INTERNAL));
  PutValue(5, 17, Trimmed(d4field(Z5PAWL.table, "NA1")));
  PutValue(6, 17, Trimmed(d4field(Z5PAWL.table, "NA2")));
  return PrintRows(0, HEAD_END);
}

int sumuj_sprzedaz_bezrachunkowa(long rec) {
  VatSummary& s = J().sums;
  s = VatSummary{};
  otherGross = 0;
  if (SeekSalesLinesByRek(rec) < 0) return -1;
  DbTable* lines = Z5SPRE.table;
  while (!d4eof(lines) && f4long(Line("REK")) == rec) {
    double rate = f4double(Line("VAS"));
    int slot = SheetSlot(f4int(Line("VAT")), rate);
    if (slot < 0) {
      otherGross += f4double(Line("WAB"));
    } else {
      s.net[slot] += f4double(Line("WNE"));
      s.vat[slot] += f4double(Line("WAV"));
      s.gross[slot] += f4double(Line("WAB"));
      s.rate[slot] = slot == 8 ? mainOptions.taxiLumpSum : rate;
    }
    if (d4skip(lines, 1) < 0) return -1;
  }
  return 0;
}

int tabela_sprzedazy_bezrachunkowej() {
  const VatSummary& s = J().sums;
  struct Row {
    int row, slot, rate;   // rate: index of a configured rate, -1 kept, -2 none
  };
  static const Row ROWS[] = {
      {11, 0, VAT_BASIC}, {12, 11, -1}, {13, 1, VAT_REDUCED_1}, {14, 12, -1}, {15, 2, VAT_REDUCED_2},
      {16, 13, -1},       {17, 3, VAT_RR_REFUND}, {18, 14, -1}, {19, 8, -1},     {21, 4, -2},
      {23, 5, -2},        {27, 6, -2},
  };
  for (const Row& r : ROWS) {
    if (s.net[r.slot] == 0 && s.vat[r.slot] == 0) continue;
    if (r.rate != -2) {
      double rate = r.rate >= 0 ? currentVatRates[r.rate] : s.rate[r.slot];
      PutValue(r.row, 23, Formatted(rate, 4, 1 | 0x20));
      PutAmount(r.row, 66, s.vat[r.slot]);
    }
    PutAmount(r.row, 41, s.net[r.slot]);
    PutAmount(r.row, 89, s.gross[r.slot]);
  }
  if (otherGross > 0) PutAmount(OTHER_ROW, 89, otherGross);
  PutAmount(TOTAL_ROW, 41, SumaWierszaVat(s.net));
  PutAmount(TOTAL_ROW, 66, SumaWierszaVat(s.vat));
  PutAmount(TOTAL_ROW, 89, SumaWierszaVat(s.gross) + otherGross);
  if (MarksWanted()) PutValue(MARKS_ROW, 4, linia_oznaczen(0, 0));
  return PrintRows(HEAD_END, TABLE_END);
}

int drukuj_sprzedaz_bezrachunkowa() {
  long rec = 0;
  if (sprawdz_pozycje_wydruku(H("REC"), &rec) != 0) return -1;
  zadanie_wydruku_faktury& j = J();
  j = zadanie_wydruku_faktury{};
  j.kind = 5;
  j.width = SHEET_WIDTH;
  j.rows = SHEET_ROWS;
  if (init_prn(Z5SPRZ.table, "BRA", "Sprzed. bezrach.", SHEET_WIDTH, SHEET_FLAGS) == 0)
    RunCopies(rec, FORM_SHEET, Pass, 0);
  deinit_prn();
  return 0;
}
