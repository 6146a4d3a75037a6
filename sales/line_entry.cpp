// The line entry of a document started from its header form (F4/F5) or
// from " Pozycje " of a stored document: the line browse, then the lines
// summed again and their totals stored into the header.
#include "app/option_sets.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/session/field_text.h"
#include "sales/document_header.h"
#include "sales/document_lines.h"
#include "sales/document_totals.h"
#include "sales/sales_context.h"
#include "tables/catalogue.h"
#include "tables/sales_tables.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"
#include "ui/std_windows.h"

namespace {

constexpr int FIRST_YEAR_OF_ADVANCE_KINDS = 2024;
constexpr int PAID_BY_FORM = 0, PAID_BY_AMOUNT = 1;
constexpr int KEY_F5 = 0x3F00;
constexpr int NET_PRICES = 1, GROSS_PRICES = 2, BOTH_PRICES = 3;

DbField* Header(const char* name) { return d4field(Z5SPRZ.table, name); }

// Option 128: lines by net prices, by gross, or both (F4 net, F5 gross).
int PricesOfOption() {
  return salesOptions.list128 >= NET_PRICES && salesOptions.list128 <= BOTH_PRICES ? salesOptions.list128
                                                                                   : BOTH_PRICES;
}

bool AdvanceInvoice(int kind, int rejestr) {
  if (WorkingYear() >= FIRST_YEAR_OF_ADVANCE_KINDS) return kind == 10 || kind == 11;
  return rejestr == 2 && kind == 9;
}

// After the lines changed: the advance spread, the sums and the header's
// totals. 0, or -1 on a table error.
int StoreTotals(int kind, int rejestr, char paidMode) {
  if (salesContext) salesContext->exemptRows = 0;
  if (AdvanceInvoice(kind, rejestr) && rozloz_zaliczke(f4double(Header("KZA"))) != 0) return -1;
  if (sumuj_pozycje_dokumentu(0, rejestr) != 0) return -1;
  if (salesContext) salesContext->paidAmountMode = paidMode;
  zapisz_sumy_naglowka(kind);
  return 0;
}

}  // namespace

int wprowadz_pozycje_z_formularza(int kind, int priceMode, int rejestr) {
  int result = pozycje_dokumentu(0, kind, priceMode, 0, rejestr);
  if (result != 0 && result != 1) return -1;
  f4assign_int(Header("TRY"), priceMode);
  if (StoreTotals(kind, rejestr, PAID_BY_FORM) != 0) return -1;
  return KEY_DOWN;
}

void ShowLineEntryHints(bool margin, int order) {
  int prices = margin ? GROSS_PRICES : PricesOfOption();
  if (prices == BOTH_PRICES) {
    set_fun_help("F4", "Poz.Netto", order);
    set_fun_help("F5", "Poz.Brutto", order + 1);
  } else {
    set_fun_help("F4,F5", prices == NET_PRICES ? "Poz.Netto" : "Poz.Brutto", order);
  }
}

void RemoveLineEntryHints() {
  remove_fun_help("F4,F5");
  remove_fun_help("F4");
  remove_fun_help("F5");
}

int LineEntryPriceMode(bool margin, int key) {
  int prices = margin ? GROSS_PRICES : PricesOfOption();
  if (prices == BOTH_PRICES) return key == KEY_F5 ? GROSS_PRICES : NET_PRICES;
  return prices;
}

int wprowadz_pozycje_dokumentu(int mode, int kind, int rejestr) {
  if (f4int(Header("STM")) == 4 && FieldIsEmpty(Header("KRA"))) {
    MessageWindow(MB_WARNING, Utf8ToMazText("Niewypełnione pole 'KRAJ'.").c_str(),
                  Utf8ToMazText("Trzeba je wypełnić przed dopisaniem pozycji. ").c_str());
    return 0;
  }
  int result = pozycje_dokumentu(1, kind, f4int(Header("TRY")), 0, rejestr);
  if (result != 0 && result != 1) return -1;
  if (mode == 0 && StoreTotals(kind, rejestr, PAID_BY_AMOUNT) != 0) return -1;
  return result;
}
