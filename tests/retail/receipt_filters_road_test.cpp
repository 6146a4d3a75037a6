// The operator's road to the receipt tabulogram on the real program,
// headless: " Detal " > " Paragon " > " Drukuj " > " Tabulogram " over a
// seeded month with the margin filter confirmed, printed to a file.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/paths.h"
#include "fiscal/fiscal_printer.h"
#include "fiscal/printer_params.h"
#include "tables/exchange_tables.h"
#include "tables/receipt_tables.h"
#include "tests/retail/retail_road.h"
#include "tests/print/printed_text.h"

namespace {

// Into the firm, " Detal " > " Paragon ".
const std::string RECEIPTS = std::string(LOGO) + "s{ENTER}dp";
// The filters window's "marża" switched on and confirmed.
const std::string MARGIN = "{DOWN}{DOWN}{DOWN}{DOWN}{DOWN}{DOWN}{DOWN}{DOWN}{ENTER}{F2}";

class ReceiptFiltersRoadTest : public RetailRoadTest {
 protected:
  void SetUp() override {
    RetailRoadTest::SetUp();
    if (HasFatalFailure()) return;
    parametryDetal.printerType = DF_TYPE_NONE;
    parametryDetal.printAfterSave = 'N';
    ASSERT_EQ(ZapiszParametryDETAL(), 0);
    ASSERT_EQ(OpenZ5PARA(0), 0);
    ASSERT_EQ(OpenZ5PARE(0), 0);
    ASSERT_EQ(OpenZ5PARO(0), 0);
    Receipt(1, "20250303", "N", 0, "10.00", "2.30", "12.30");
    Receipt(2, "20250304", "T", 0, "20.00", "4.60", "24.60");
    Receipt(3, "20250305", "T", 9, "40.00", "9.20", "49.20");
    AppendNamed(Z5PARO, {{"REK", "3"}, {"KNA", "K1"}, {"NA1", "NABYWCA SP. Z O.O."}, {"MIA", "WARSZAWA"},
                         {"DPL", "20250320"}, {"ZAP", "N"}});
    ASSERT_EQ(CreateZ5ESPP(), 0);   // for its print settings
    SaveCharacterPrinting({{Z5PARA.table, "TAB"}, {Z5PARA.table, "SUM"}, {Z5PARE.table, "SUM"}, {Z5ESPP.table, "TAB"}, {Z5PARE.table, "TAB"}});
    d4close_all(&env->engine);
    RemoveZ5ESPP();
  }
  void Receipt(long rec, const char* date, const char* kind, int invoice, const char* net, const char* vat,
               const char* gross) {
    AppendNamed(Z5PARA, {{"REC", std::to_string(rec)}, {"PRE", "  PA"}, {"NRV", std::to_string(rec)}, {"DSP", date},
                         {"NET", net}, {"VAT", vat}, {"BRU", gross}, {"STA", kind}, {"TYF", std::to_string(invoice)},
                         {"PRF", invoice ? "  FP" : "    "}, {"NRF", invoice ? std::to_string(rec) : "0"}, {"WYD", "T"},
                         {"TRY", "1"}, {"OP", "TAK"}, {"AKT", "0"}});
    AppendNamed(Z5PARE, {{"REK", std::to_string(rec)}, {"PRE", "  PA"}, {"NRV", std::to_string(rec)}, {"DAV", date},
                         {"NA1", "TOWAR"}, {"ILO", "1"}, {"WNE", net}, {"WAV", vat}, {"WAB", gross}, {"VAT", "1"},
                         {"ODC", "N"}});
  }
};

TEST_F(ReceiptFiltersRoadTest, TheMarginReceiptsTabulogramNamesItsFilter) {
  // The printer's absence acknowledged; the factory columns (F3) printed
  // with F2 to the file; then the program is left.
  RunToEnd(RECEIPTS + "{ENTER}rt" + MARGIN + "{F3}T{F2}{F2}{ENTER}T{ESC}{ESC}{ESC}{ESC}{ESC}{ESC}");
  std::string page = TakePrintedText(home + "firma1/win.prn");
  ExpectGoldenPage("retail", "road_receipt_tabulogram.txt", page);
}

TEST_F(ReceiptFiltersRoadTest, TheSumsArePrintedWithTheirPeriod) {
  // The dates 01-03-25 to 31-03-25 confirmed; the sums window printed with F2.
  RunToEnd(RECEIPTS + "{ENTER}a{ENTER}010325{ENTER}{DOWN}{ENTER}310325{ENTER}{F2}{F2}{F2}{ENTER}T{ESC}{ESC}{ESC}{ESC}");
  std::string page = TakePrintedText(home + "firma1/win.prn");
  ExpectGoldenPage("retail", "road_receipt_sums.txt", page);
}

TEST_F(ReceiptFiltersRoadTest, TheRegisterSumsOfThePositionsArePrinted) {
  // " Ewidencja " > " Suma ": the filters confirmed as they stand, the
  // control asked and taken, the page printed with F2.
  RunToEnd(RECEIPTS + "{ENTER}e" + "a{F2}t{F2}{F2}{ENTER}T{ESC}{ESC}{ESC}{ESC}{ESC}{ESC}");
  std::string page = TakePrintedText(home + "firma1/win.prn");
  ExpectGoldenPage("retail", "road_register_sums.txt", page);
}

TEST_F(ReceiptFiltersRoadTest, TheSalesRegisterOfTheReceiptsIsPrinted) {
  // " Ewidencja " > " Drukuj " > " Rejestr ": the filters confirmed as they
  // stand, Lp from 1, the factory columns printed with F2.
  RunToEnd(RECEIPTS + "{ENTER}e" + "rr{F2}{ENTER}{F3}T{F2}{F2}{ENTER}T{ESC}{ESC}{ESC}{ESC}{ESC}{ESC}");
  std::string page = TakePrintedText(home + "firma1/win.prn");
  ExpectGoldenPage("retail", "road_receipt_sales_register.txt", page);
}

TEST_F(ReceiptFiltersRoadTest, TheMarginPositionsTabulogramNamesItsFilter) {
  ASSERT_EQ(OpenZ5PARE(0), 0);
  AppendNamed(Z5PARE, {{"REK", "2"}, {"PRE", "  PA"}, {"NRV", "2"}, {"DAV", "20250304"}, {"NA1", "TOWAR UZYWANY"},
                       {"ILO", "1"}, {"WNE", "5.00"}, {"WAV", "0"}, {"WAB", "5.00"}, {"VAT", "14"}, {"ODC", "N"}});
  d4close_all(&env->engine);
  // " Ewidencja " > " Drukuj " > " Pozycje ": the VAT filter at the margin
  // item of the rate menu, the factory columns printed with F2.
  RunToEnd(RECEIPTS + "{ENTER}e" + "rp{DOWN}{DOWN}{DOWN}{DOWN}{DOWN}{DOWN}{ENTER}{DOWN}{DOWN}{DOWN}{DOWN}{DOWN}{DOWN}{ENTER}{F2}" +
           "{F3}T{F2}{F2}{ENTER}T{ESC}{ESC}{ESC}{ESC}{ESC}{ESC}");
  std::string page = TakePrintedText(home + "firma1/win.prn");
  ExpectGoldenPage("retail", "road_margin_positions.txt", page);
}

}  // namespace
