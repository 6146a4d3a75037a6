// The sums of the position register ("Sumy rejestru paragonów."): the
// filtered positions by VAT rate, split into receipts without and with an
// invoice, on one page of form 36, shown and printed on F2.
#include <string>

#include "app/document_kinds.h"
#include "app/document_text.h"
#include "app/option_sets.h"
#include "app/option_values.h"
#include "db/db_lock.h"
#include "db/db_scan.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/dates.h"
#include "env/text_buffers.h"
#include "retail/position_register.h"
#include "retail/receipt_filters.h"
#include "tables/receipt_tables.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"

namespace retail {

namespace {

constexpr int16_t RES_FORM = 36;
constexpr int ROWS = 26, COLUMNS = 78;
constexpr int MSG_HEADER_DIFFERS = 20131;
constexpr int MSG_CONTINUE = 50006;
constexpr int FIRST_ROW = 3, ROW_STEP = 3, TOTALS_ROW = 24;
constexpr int RATE_COL = 15, NET_COL = 33, VAT_COL = 48, GROSS_COL = 63;
constexpr int AMOUNT_WIDTH = 12, AMOUNT_FLAGS = 2 | 0x40, RATE_WIDTH = 4, RATE_FLAGS = 1;

// The lines of the form, each a pair of rows: without and with an invoice.
enum Line { BASIC, REDUCED, SECOND, REFUND, ZERO, EXPORT, EXEMPT, LINES };

struct Sums {
  double net[LINES][2] = {}, vat[LINES][2] = {}, gross[LINES][2] = {};
  double totalNet = 0, totalVat = 0, totalGross = 0;
};

DbField* P(const char* name) { return d4field(Z5PARE.table, name); }

int LineOf(int code) {
  switch (code) {
    case 1: return BASIC;
    case 2:
    case 12: return REDUCED;
    case 8: return SECOND;
    case 9: return REFUND;
    case 3:
    case 13: return ZERO;
    case 5: return EXPORT;
    case 4: return EXEMPT;
    default: return -1;
  }
}

bool Taxed(int line) { return line <= REFUND; }

void Add(Sums& s) {
  double net = f4double(P("WNE")), vat = f4double(P("WAV")), gross = f4double(P("WAB"));
  s.totalGross += gross;
  int line = LineOf(f4int(P("VAT")));
  if (line < 0) return;
  int invoice = f4int(d4field(Z5PARA.table, "TYF")) != 0 ? 1 : 0;
  s.net[line][invoice] += net;
  s.totalNet += net;
  if (!Taxed(line)) return;
  s.vat[line][invoice] += vat;
  s.gross[line][invoice] += gross;
  s.totalVat += vat;
}

// 0 summed, -1 stopped by the operator or a scan error.
int Walk(int control, Sums& s) {
  DbScanCtx scan{};
  x4init(&scan, Z5PARE.table, filtr_ewidencji_paragonow, 0);
  int r;
  for (r = x4top(&scan); r == 0 && !d4eof(Z5PARE.table); r = x4skip(&scan, 1)) {
    if (control && f4long(d4field(Z5PARA.table, "REC")) == 0) {
      std::string number = NrDokumentuFldQStr(P("PRE"), P("NRV"), P("POS"));
      if (MessageWindow(MB_ERROR | MB_YES_ESC, MSG_HEADER_DIFFERS, number.c_str(), MSG_CONTINUE) == KEY_ESC)
        return -1;
    }
    Add(s);
  }
  return r < 0 ? -1 : 0;
}

void Put(char* page, int row, int column, double value, int width, int flags) {
  MemPrintDoubleFmt(page + row * COLUMNS + column, value, width, flags);
}

void Fill(char* page, const void* data) {
  const Sums& s = *static_cast<const Sums*>(data);
  const double rates[LINES] = {currentVatRates[VAT_BASIC], currentVatRates[VAT_REDUCED_1],
                               currentVatRates[VAT_REDUCED_2], currentVatRates[VAT_RR_REFUND], 0, 0, 0};
  for (int line = 0; line < LINES; line++) {
    int row = FIRST_ROW + line * ROW_STEP;
    if (line != EXEMPT) Put(page, row, RATE_COL, rates[line], RATE_WIDTH, RATE_FLAGS);
    for (int invoice = 0; invoice < 2; invoice++) {
      Put(page, row + invoice, NET_COL, s.net[line][invoice], AMOUNT_WIDTH, AMOUNT_FLAGS);
      if (Taxed(line)) Put(page, row + invoice, VAT_COL, s.vat[line][invoice], AMOUNT_WIDTH, AMOUNT_FLAGS);
      double gross = Taxed(line) ? s.gross[line][invoice] : s.net[line][invoice];
      Put(page, row + invoice, GROSS_COL, gross, AMOUNT_WIDTH, AMOUNT_FLAGS);
    }
  }
  // the taxi lump sum shares the first reduced rate's lines
  Put(page, FIRST_ROW + REDUCED * ROW_STEP + 1, RATE_COL, mainOptions.taxiLumpSum, RATE_WIDTH, RATE_FLAGS);
  Put(page, TOTALS_ROW, NET_COL, s.totalNet, AMOUNT_WIDTH, AMOUNT_FLAGS);
  Put(page, TOTALS_ROW, VAT_COL, s.totalVat, AMOUNT_WIDTH, AMOUNT_FLAGS);
  Put(page, TOTALS_ROW, GROSS_COL, s.totalGross, AMOUNT_WIDTH, AMOUNT_FLAGS);
}

int16_t Form() { return RES_FORM; }

std::string Period() {
  std::string period;
  const kontekst_ewidencji_paragonow* c = kontekstEwidencjiParagonow;
  if (!c) return period;
  const FilterItem* from = c->elementy[FP_OD_DNIA];
  const FilterItem* to = c->elementy[FP_DO_DNIA];
  if (from && from->active) period += std::string("Od dnia ") + DateQStr(from->date);
  if (to && to->active) period += std::string(" do dnia ") + DateQStr(to->date);
  return period;
}

}  // namespace

int sumy_rejestru_paragonow(int control) {
  DbTable* positions = Z5PARE.table;
  if (set_lock(positions, -1) != 0) return -1;
  Sums sums;
  int walked = Walk(control, sums);
  d4unlock(positions);
  if (walked != 0) return -1;
  strona_sum(positions, Sys("Sumy rejestru paragonów."), Period(), Form, ROWS, COLUMNS, Fill, &sums);
  return 0;
}

}  // namespace retail
