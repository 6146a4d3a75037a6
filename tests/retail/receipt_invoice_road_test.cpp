// The operator's road to an invoice issued to a receipt on the real program,
// headless: " Detal " > " Paragon ", " Faktura " on the day's receipt with
// the invoice options "FV" / "2025" and FV/1/2025 already given, the number
// window proposing 2, the buyer from the contractor's code and F2; the
// tables it leaves and the print chooser the operator sees.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/paths.h"
#include "fiscal/printer_params.h"
#include "tables/masterdata_tables.h"
#include "tables/receipt_tables.h"
#include "tests/retail/retail_road.h"

namespace {

// Into the firm, " Detal " > " Paragon ", the warning of the printer that
// is not there passed.
const std::string RECEIPTS = std::string(LOGO) + "s{ENTER}dp{ENTER}";

class InvoiceRoadTest : public RetailRoadTest {
 protected:
  void SetUp() override {
    RetailRoadTest::SetUp();
    if (HasFatalFailure()) return;
    parametryDetal.printAfterSave = 'N';
    std::strcpy(parametryDetal.receiptIdent, "PA");
    parametryDetal.entryStart = 2;   // the list, not a new receipt
    std::strcpy(parametryDetal.invoiceIdent, "FV");
    std::strcpy(parametryDetal.invoiceSuffix, "2025");
    std::strcpy(parametryDetal.paymentForm, "GOTOWKA");
    ASSERT_EQ(ZapiszParametryDETAL(), 0);
    ASSERT_EQ(OpenZ5KHNT(0), 0);
    AppendNamed(Z5KHNT, {{"KOD", "K1"}, {"NA1", "ODBIORCA SP. Z O.O."}, {"NIP", "5260001234"}, {"KOP", "00-950"},
                         {"MIA", "Warszawa"}, {"ULI", "Dluga 5"}, {"PLA", "PRZELEW"}, {"OSO", "Jan Nowak"},
                         {"ILD", "14"}, {"TYP", "2"}, {"STA", "A"}});
    ASSERT_EQ(OpenZ5PARA(0), 0);
    ASSERT_EQ(OpenZ5PARE(0), 0);
    // FV/1/2025 on an earlier receipt; the day's receipt PA/2 last in date order.
    AppendNamed(Z5PARA, {{"REC", "1"}, {"PRE", "  PA"}, {"NRV", "1"}, {"DSP", "20250301"}, {"TRY", "2"},
                         {"BRU", "10"}, {"TYF", "9"}, {"PRF", "  FV"}, {"NRF", "1"}, {"POF", "2025"},
                         {"AKT", "0"}, {"WYD", "T"}, {"STA", "N"}});
    AppendNamed(Z5PARA, {{"REC", "2"}, {"PRE", "  PA"}, {"NRV", "2"}, {"DSP", "20250310"}, {"TRY", "2"},
                         {"NET", "44.72"}, {"VAT", "10.28"}, {"BRU", "55"}, {"AKT", "0"}, {"WYD", "T"},
                         {"STA", "N"}});
    AppendNamed(Z5PARE, {{"REK", "2"}, {"PRE", "  PA"}, {"NRV", "2"}, {"DAV", "20250310"}, {"NA1", "CHLEB"},
                         {"ILO", "5"}, {"CBR", "11"}, {"VAT", "1"}, {"VAS", "23"}, {"WNE", "44.72"},
                         {"WAV", "10.28"}, {"WAB", "55"}, {"ODC", "N"}, {"RE2", "14"}});
    d4close_all(&env->engine);
  }
};

TEST_F(InvoiceRoadTest, InvoiceToTheDaysReceipt) {
  // " Faktura ": Enter on the prefix proposes 2, the number and the suffix
  // accepted; the issue date kept, the contractor's code, F2.
  Outcome chooser = Run(RECEIPTS + "k{ENTER}{ENTER}{ENTER}{ENTER}K1{F2}");
  EXPECT_TRUE(Has(chooser, "DRUKUJ")) << chooser.screen << ReadFile(dir + "out.txt");
  EXPECT_TRUE(Has(chooser, "2. FAKTURĘ")) << chooser.screen;

  ASSERT_EQ(OpenZ5PARA(0), 0);
  ASSERT_EQ(OpenZ5PARO(0), 0);
  d4go(Z5PARA.table, 2);
  auto h = [](const char* name) { return d4field(Z5PARA.table, name); };
  EXPECT_EQ(f4long(h("TYF")), 9);
  EXPECT_EQ(Trim(h("PRF")), "FV");
  EXPECT_EQ(f4long(h("NRF")), 2);
  EXPECT_EQ(Trim(h("POF")), "2025");
  ASSERT_EQ(d4reccount(Z5PARO.table), 1);
  d4go(Z5PARO.table, 1);
  auto b = [](const char* name) { return Trim(d4field(Z5PARO.table, name)); };
  EXPECT_EQ(b("REK"), "2");
  EXPECT_EQ(b("KNA"), "K1");
  EXPECT_EQ(b("NIP"), "5260001234");
  EXPECT_EQ(b("NA1"), "ODBIORCA SP. Z O.O.");
  EXPECT_EQ(b("PLA"), "PRZELEW");
  EXPECT_EQ(b("ODE"), "Jan Nowak");
  EXPECT_EQ(b("DPL"), "20250324");
  EXPECT_EQ(b("KZA"), "55.00");
  EXPECT_EQ(b("ZAP"), "N");
  d4close_all(&env->engine);

  // The list the operator comes back to shows the invoice's number.
  Outcome list = Run(RECEIPTS);
  EXPECT_TRUE(Has(list, "  FV/    2/2025")) << list.screen;
}

}  // namespace
