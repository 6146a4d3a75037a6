// The stock a goods line of a sales document takes when it is added,
// changed and deleted, and the defaults of a new line.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "masterdata/stock_update.h"
#include "app/option_values.h"
#include "db/db_lock.h"
#include "sales/document_header.h"
#include "sales/document_lines.h"
#include "sales/document_totals.h"
#include "sales/line_code.h"
#include "tables/cash_tables.h"
#include "tables/masterdata_tables.h"
#include "tests/masterdata/goods_stock.h"
#include "tests/sales/sales_fixture.h"
#include "ui/keyboard.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace {

class LineStockTest : public SalesScreenTest {
 protected:
  void SetUp() override {
    SalesScreenTest::SetUp();
    if (HasFatalFailure()) return;
    salesOptions.stockOnEntry = 'T';
    ASSERT_EQ(OpenZ5TOWA(0), 0);
    for (const char* code : {"T1", "T2"}) {
      ASSERT_EQ(d4append_start(Z5TOWA.table, 0), 0);
      d4blank(Z5TOWA.table);
      f4assign(d4field(Z5TOWA.table, "KOD"), code);
      f4assign_double(d4field(Z5TOWA.table, "ILO"), 10);
      ASSERT_EQ(d4append(Z5TOWA.table), 0);
    }
    d4close(Z5TOWA.table);
    lines = kontekst_pozycji{};
    kontekstPozycji = &lines;
  }
  void TearDown() override {
    kontekstPozycji = nullptr;
    zamknij_okno_raportu(0);
    SalesScreenTest::TearDown();
  }

  // A header of the kind and one goods line of it, added as the browse adds it.
  int AddLine(int kind, const char* code, const char* quantity) {
    lines.rodzaj = kind;
    AppendRecord(Z5SPRZ.table, {{"TYV", std::to_string(kind)}, {"REC", "1"}, {"STM", "1"}});
    AppendRecord(Z5SPRE.table, {{"TYV", std::to_string(kind)}, {"REK", "1"}, {"KOT", code}, {"NA1", "Towar"},
                                {"ZRP", "1"}, {"ILO", quantity}, {"ILK", "0"}});
    return po_dopisaniu_pozycji();
  }
  // A change of the current line as the browse makes it: the hooks around
  // new values; the record is written only when the after-hook agrees.
  int Change(Fields values) {
    przed_modyfikacja_pozycji();
    SetFields(Z5SPRE.table, values);
    int result = po_modyfikacji_pozycji();
    if (result == 0)
      EXPECT_EQ(d4write(Z5SPRE.table, d4recno(Z5SPRE.table)), 0);
    else
      d4changed(Z5SPRE.table, 0);
    return result;
  }
  char Status() {
    EXPECT_EQ(d4go(Z5SPRE.table, 1), 0);
    return static_cast<char>(f4char(d4field(Z5SPRE.table, "STA")));
  }

  static std::string Trimmed(std::string text) { return text.erase(0, text.find_first_not_of(' ')); }

  kontekst_pozycji lines{};
};

TEST_F(LineStockTest, AddChangeAndDeleteMoveTheSameQuantity) {
  ASSERT_EQ(AddLine(1, "T1", "5"), 0);
  EXPECT_EQ(Status(), 'T');
  EXPECT_DOUBLE_EQ(StockOf("T1"), 5);
  EXPECT_EQ(lines.zmiana, 1);

  // 5 goes back, 3 goes out
  ASSERT_EQ(Change({{"ILO", "3"}}), 0);
  EXPECT_DOUBLE_EQ(StockOf("T1"), 7);
  EXPECT_EQ(Status(), 'T');

  // a price alone moves nothing
  ASSERT_EQ(Change({{"CNB", "12.50"}}), 0);
  EXPECT_DOUBLE_EQ(StockOf("T1"), 7);

  // another code: T1 gets its 3 back, T2 gives 3
  ASSERT_EQ(Change({{"KOT", "T2"}}), 0);
  EXPECT_DOUBLE_EQ(StockOf("T1"), 10);
  EXPECT_DOUBLE_EQ(StockOf("T2"), 7);

  EXPECT_EQ(przed_usunieciem_pozycji(), 0);
  EXPECT_DOUBLE_EQ(StockOf("T2"), 10);
}

TEST_F(LineStockTest, AdvanceInvoiceLinesGiveBackWhatTheyTook) {
  // kind 11 lines leave ILK at 0: their quantity is ILO on every path
  salesOptions.stockOnReceiptInvoices = 'T';
  ASSERT_EQ(AddLine(11, "T1", "4"), 0);
  EXPECT_DOUBLE_EQ(StockOf("T1"), 6);
  EXPECT_EQ(przed_usunieciem_pozycji(), 0);
  EXPECT_DOUBLE_EQ(StockOf("T1"), 10);
  // a correction moves its change of quantity
  AppendRecord(Z5SPRE.table, {{"ILO", "4"}, {"ILK", "-2"}});
  EXPECT_DOUBLE_EQ(ilosc_magazynowa_pozycji(3), -2);
  EXPECT_DOUBLE_EQ(ilosc_magazynowa_pozycji(10), 4);
}

// The document's deletion gives back what its lines took: an advance
// invoice added and deleted leaves the stock as it was.
TEST_F(LineStockTest, AdvanceInvoiceAddedAndDeletedLeavesTheStock) {
  ASSERT_EQ(OpenZ5KASA(0), 0);
  salesOptions.stockOnReceiptInvoices = 'T';
  ASSERT_EQ(AddLine(11, "T1", "4"), 0);
  ASSERT_EQ(Status(), 'T');
  EXPECT_DOUBLE_EQ(StockOf("T1"), 6);
  ASSERT_EQ(go_and_lock(Z5SPRZ.table, 1), 0);
  // the stock report's pause
  ASSERT_EQ(HeadlessSetScript("{ENTER}"), 0);
  EXPECT_EQ(przed_usunieciem_dokumentu(), 0);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  d4unlock(Z5SPRZ.table);
  EXPECT_DOUBLE_EQ(StockOf("T1"), 10);
  ASSERT_EQ(d4go(Z5SPRE.table, 1), 0);
  EXPECT_TRUE(d4deleted(Z5SPRE.table));
}

TEST_F(LineStockTest, OptionsDecideWhetherStockMoves) {
  struct Case {
    int kind;
    char stock, proForma, receipts;
    char status;
  } cases[] = {
      {1, 'N', 'T', 'T', 'N'},  {6, 'T', 'N', 'T', 'N'},  {6, 'T', 'T', 'N', 'T'},
      {10, 'T', 'T', 'N', 'N'}, {10, 'T', 'N', 'T', 'T'}, {2, 'T', 'N', 'N', 'T'},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    salesOptions.stockOnEntry = c.stock;
    salesOptions.stockOnProForma = c.proForma;
    salesOptions.stockOnReceiptInvoices = c.receipts;
    ASSERT_EQ(AddLine(c.kind, "T1", "1"), 0);
    EXPECT_EQ(f4char(d4field(Z5SPRE.table, "STA")), c.status);
  }
}

TEST_F(LineStockTest, RefusedUpdateKeepsTheLineWithoutStock) {
  // an unknown code: the operator goes on, nothing was taken
  ASSERT_EQ(HeadlessSetScript("{ENTER}T"), 0);
  ASSERT_EQ(AddLine(1, "XX", "5"), 0);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  EXPECT_EQ(Status(), 'N');
  // and so nothing goes back when it is deleted
  EXPECT_EQ(przed_usunieciem_pozycji(), 0);
}

TEST_F(LineStockTest, ChangeWhoseOldQuantityCannotGoBackIsNotStored) {
  ASSERT_EQ(AddLine(1, "T1", "5"), 0);
  // the goods vanished from the catalogue meanwhile
  ASSERT_EQ(OpenZ5TOWA(0), 0);
  ASSERT_EQ(d4go(Z5TOWA.table, 1), 0);
  f4assign(d4field(Z5TOWA.table, "KOD"), "ZZ");
  ASSERT_EQ(d4write(Z5TOWA.table, 1), 0);
  d4close(Z5TOWA.table);

  ASSERT_EQ(HeadlessSetScript("{ENTER}{ESC}x"), 0);
  EXPECT_EQ(Change({{"ILO", "3"}}), -1);
  EXPECT_EQ(Status(), 'T');
  EXPECT_DOUBLE_EQ(f4double(d4field(Z5SPRE.table, "ILO")), 5);
  // nor is the line deleted
  ASSERT_EQ(HeadlessSetScript("{ENTER}{ESC}x"), 0);
  EXPECT_EQ(przed_usunieciem_pozycji(), 1);
}

TEST_F(LineStockTest, NewLineDefaultsFromTheHeader) {
  salesOptions.usualVatCode = 1;
  salesOptions.list132 = 3;
  rabatDokumentu = 5;
  AppendRecord(Z5SPRZ.table, {{"TYV", "1"}, {"REC", "7"}, {"STM", "1"}, {"PRE", "FV"}, {"NRV", "12"},
                              {"DAW", "20261201"}, {"WAL", "EUR"}, {"KVA", "4"}, {"RE4", "N"}, {"OSM", "A/1"}});
  lines.rodzaj = 1;
  lines.domyslny_kod_vat = domyslny_kod_vat_pozycji();
  d4blank(Z5SPRE.table);
  ASSERT_EQ(przed_dopisaniem_pozycji(), 0);
  for (auto [field, value] : {std::pair{"REK", "7"}, {"PRE", "FV"}, {"NRV", "12"}, {"WAL", "EUR"}, {"RE1", "A/1"},
                              {"ILO", "1.0000"}, {"RAS", "5.0"}, {"VAT", "1"}, {"CSS", "T"}, {"RE5", "3"},
                              {"AKC", "1"}, {"TYV", "1"}, {"STM", "1"}})
    EXPECT_EQ(Trimmed(FieldText(Z5SPRE.table, field)), value) << field;
  rabatDokumentu = 0;
}

TEST_F(LineStockTest, DefaultVatCodeByDelivery) {
  struct Case {
    int year;
    const char* delivery;
    const char* ttr;
    int exemption;
    int code;
  } cases[] = {
      {2023, "1", "N", 1, 1}, {2023, "1", "N", 3, 4}, {2023, "2", "T", 1, 7}, {2023, "2", "N", 1, 5},
      {2023, "4", "N", 1, 1}, {2023, "3", "N", 1, 5}, {2025, "2", "N", 1, 3}, {2025, "8", "N", 1, 3},
      {2025, "6", "N", 1, 7}, {2025, "4", "N", 1, 1}, {2025, "0", "N", 1, 1},
  };
  salesOptions.usualVatCode = 1;
  AppendRecord(Z5SPRZ.table, {{"TYV", "1"}});
  for (const Case& c : cases) {
    env->settlementYear = c.year;
    salesOptions.list103 = c.exemption;
    SetFields(Z5SPRZ.table, {{"STM", c.delivery}, {"TTR", c.ttr}});
    EXPECT_EQ(domyslny_kod_vat_pozycji(), c.code) << c.year << " " << c.delivery;
  }
}

}  // namespace

namespace {

class LineBrowseTest : public LineStockTest {};

TEST_F(LineBrowseTest, GoodsLineTypedIntoTheBrowse) {
  salesOptions.roundPrices = 'T';
  ASSERT_EQ(OpenZ5TOWA(0), 0);
  ASSERT_EQ(d4go(Z5TOWA.table, 1), 0);
  SetFields(Z5TOWA.table, {{"NA1", "Śruba"}, {"VST", "1"}, {"CSN", "10"}, {"CSB", "12.30"}});
  ASSERT_EQ(d4write(Z5TOWA.table, 1), 0);
  d4close(Z5TOWA.table);
  AppendRecord(Z5SPRZ.table, {{"TYV", "1"}, {"REC", "1"}, {"STM", "1"}, {"TRY", "1"}, {"PRE", "FV"}, {"NRV", "1"}});
  // code, quantity, F2 and yes; Esc twice leaves the next form, then the list
  ASSERT_EQ(HeadlessSetScript("dT1{ENTER}3{ENTER}{F9}{F2}t{ESC}{ESC}{ESC}"), 0);
  EXPECT_EQ(pozycje_dokumentu(0, 1, 1, 0, 1), 1);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  EXPECT_NE(seen.find("nazwa:........ Śruba"), std::string::npos) << seen;
  EXPECT_NE(seen.find("wartość netto.......       30.00"), std::string::npos) << seen;
  ASSERT_EQ(d4reccount(Z5SPRE.table), 1);
  ASSERT_EQ(d4go(Z5SPRE.table, 1), 0);
  for (auto [field, value] : {std::pair{"KOT", "T1"}, {"REK", "1"}, {"REC", "1"}, {"STA", "T"}, {"PRE", "FV"}})
    EXPECT_EQ(Trimmed(FieldText(Z5SPRE.table, field)), value) << field;
  EXPECT_DOUBLE_EQ(f4double(d4field(Z5SPRE.table, "WNE")), 30);
  EXPECT_DOUBLE_EQ(StockOf("T1"), 7);
}

}  // namespace

namespace {

TEST_F(LineBrowseTest, DiscountRaisedOnEveryLineOfAnInvoice) {
  salesOptions.roundPrices = 'T';
  AppendRecord(Z5SPRZ.table, {{"TYV", "1"}, {"REC", "1"}, {"STM", "1"}});
  for (const char* price : {"10", "200"})
    AppendRecord(Z5SPRE.table, {{"REK", "1"}, {"ILO", "1"}, {"CNB", price}, {"RAS", "96"}, {"VAS", "0"}});
  AppendRecord(Z5SPRE.table, {{"REK", "2"}, {"ILO", "1"}, {"CNB", "10"}, {"RAS", "0"}});
  lines.rodzaj = 1;
  lines.cena = 1;
  open_envr_win();   // the prompt's status row
  ASSERT_EQ(HeadlessSetScript("5{ENTER}"), 0);
  EXPECT_EQ(rabat_dokumentu(0), 0);
  close_envr_win();
  EXPECT_EQ(lines.zmiana, 1);
  // above 100 it stops at 99.9; another document's line is not touched
  const double discount[] = {99.9, 99.9, 0}, net[] = {0.01, 0.20, 0};
  for (long r = 1; r <= 3; r++) {
    ASSERT_EQ(d4go(Z5SPRE.table, r), 0);
    EXPECT_DOUBLE_EQ(f4double(d4field(Z5SPRE.table, "RAS")), discount[r - 1]) << r;
    EXPECT_DOUBLE_EQ(f4double(d4field(Z5SPRE.table, "WNE")), net[r - 1]) << r;
  }
  // only invoices
  lines.rodzaj = 5;
  ASSERT_EQ(HeadlessSetScript("{F9}{ENTER}"), 0);
  EXPECT_EQ(rabat_dokumentu(0), 0);
  EXPECT_NE(seen.find("Opcja tylko dla faktur."), std::string::npos) << seen;
}

TEST_F(LineBrowseTest, QuantityChangedInTheForm) {
  ASSERT_EQ(AddLine(1, "T1", "5"), 0);
  SetFields(Z5SPRZ.table, {{"TRY", "1"}});
  ASSERT_EQ(d4write(Z5SPRZ.table, 1), 0);
  // past the code, the new quantity, F2 and yes, Esc out of the list
  ASSERT_EQ(HeadlessSetScript("m{ENTER}3{ENTER}{F2}t{ESC}"), 0);
  EXPECT_EQ(pozycje_dokumentu(0, 1, 1, 0, 1), 1);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  EXPECT_DOUBLE_EQ(StockOf("T1"), 7);
  EXPECT_EQ(Status(), 'T');
}

TEST_F(LineBrowseTest, F1LeavesTheFormAndTheList) {
  AppendRecord(Z5SPRZ.table, {{"TYV", "1"}, {"REC", "1"}, {"STM", "1"}, {"TRY", "1"}});
  ASSERT_EQ(HeadlessSetScript("d{F1}"), 0);
  EXPECT_EQ(pozycje_dokumentu(0, 1, 1, 0, 1), 0);
  EXPECT_EQ(d4reccount(Z5SPRE.table), 0);
  EXPECT_EQ(KeyPressed(), 0);
}

TEST_F(LineBrowseTest, ContextLeavesTheLineBufferAlone) {
  // before 2024 a WDT or export document sets only the default code
  env->settlementYear = 2023;
  AppendRecord(Z5SPRZ.table, {{"TYV", "1"}, {"REC", "1"}, {"STM", "2"}, {"TTR", "T"}});
  AppendRecord(Z5SPRE.table, {{"REK", "1"}, {"VAT", "1"}, {"KOT", "T1"}});
  std::string before(d4record(Z5SPRE.table), d4record_width(Z5SPRE.table));
  kontekst_pozycji c{};
  ASSERT_EQ(definicja_pozycji(&c, 1, 1, 0), 0);
  EXPECT_EQ(c.domyslny_kod_vat, 7);
  EXPECT_EQ(std::string(d4record(Z5SPRE.table), d4record_width(Z5SPRE.table)), before);
  w4close(c.okno_menu);
}

}  // namespace

namespace {

TEST_F(LineBrowseTest, LinesFromTheHeaderFormSumIntoTheHeader) {
  double basic = currentVatRates[VAT_BASIC];
  currentVatRates[VAT_BASIC] = 23;
  salesOptions.usualVatCode = 1;
  salesOptions.roundPrices = 'T';
  AppendRecord(Z5SPRZ.table, {{"TYV", "1"}, {"REC", "1"}, {"STM", "1"}, {"TRY", "2"}, {"PLA", "PRZELEW"}});
  // a free-text line: its name, past the other name fields, quantity and price
  ASSERT_EQ(HeadlessSetScript("d{ENTER}Usługa{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}3{ENTER}10{ENTER}"
                              "{F2}t{ESC}{ESC}{ESC}"),
            0);
  EXPECT_EQ(wprowadz_pozycje_z_formularza(1, 1, 1), KEY_DOWN);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  currentVatRates[VAT_BASIC] = basic;
  EXPECT_EQ(f4int(d4field(Z5SPRZ.table, "TRY")), 1);
  for (auto [field, value] : {std::pair{"NET", 30.0}, {"VAT", 6.90}, {"BRU", 36.90}})
    EXPECT_DOUBLE_EQ(f4double(d4field(Z5SPRZ.table, field)), value) << field;
  ASSERT_EQ(d4go(Z5SPRE.table, 1), 0);
  EXPECT_EQ(FieldText(Z5SPRE.table, "NA1"), "Usługa");
  EXPECT_EQ(FieldText(Z5SPRE.table, "STA"), "N");
}

}  // namespace

namespace {

TEST_F(LineBrowseTest, PickerStepsThePriceLevel) {
  ASSERT_EQ(OpenZ5TOWA(0), 0);
  ASSERT_EQ(d4go(Z5TOWA.table, 2), 0);
  SetFields(Z5TOWA.table, {{"STA", "N"}});   // left out of the list
  ASSERT_EQ(d4write(Z5TOWA.table, 2), 0);
  d4close(Z5TOWA.table);
  wartosciPozycji.poziomCeny = 'A';
  char code[19] = "                  ";
  ASSERT_EQ(HeadlessSetScript("{F7}{F7}{F9}{ENTER}"), 0);
  EXPECT_EQ(wybierz_towar(code), KEY_ENTER);
  EXPECT_EQ(std::string(code, 2), "T1");
  EXPECT_EQ(wartosciPozycji.poziomCeny, 'C');
  EXPECT_EQ(wartosciPozycji.rodzajKartoteki, 1);
  EXPECT_NE(seen.find("c.netto C"), std::string::npos) << seen;
  EXPECT_EQ(seen.find("T2"), std::string::npos) << seen;
  ASSERT_EQ(HeadlessSetScript("{ESC}"), 0);
  EXPECT_EQ(wybierz_towar(code), KEY_ESC);
}

}  // namespace

namespace {

TEST_F(LineBrowseTest, CompactFormTakesAValueOnly) {
  double basic = currentVatRates[VAT_BASIC];
  currentVatRates[VAT_BASIC] = 23;
  salesOptions.stored18 = 'T';   // filled in by an accounting office
  salesOptions.usualVatCode = 1;
  AppendRecord(Z5SPRZ.table, {{"TYV", "1"}, {"REC", "1"}, {"STM", "1"}, {"TRY", "1"}});
  // the value, the rate menu taken as it stands, F2 and yes
  ASSERT_EQ(HeadlessSetScript("d100{ENTER}{F9}{ENTER}{F2}t{ESC}{ESC}{ESC}"), 0);
  EXPECT_EQ(pozycje_dokumentu(0, 1, 1, 0, 1), 1);
  currentVatRates[VAT_BASIC] = basic;
  EXPECT_NE(seen.find("czy pozycja wchodzi do struktury sprzedaży ?"), std::string::npos) << seen;
  ASSERT_EQ(d4go(Z5SPRE.table, 1), 0);
  for (auto [field, value] : {std::pair{"ILO", 1.0}, {"CNB", 100.0}, {"CNR", 100.0}, {"WNE", 100.0}, {"WAV", 23.0},
                              {"WAB", 123.0}, {"CBB", 123.0}})
    EXPECT_DOUBLE_EQ(f4double(d4field(Z5SPRE.table, field)), value) << field;
}

}  // namespace
