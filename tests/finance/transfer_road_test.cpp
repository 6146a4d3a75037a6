// Transfer orders through the real program: entered in START > Kartoteki >
// " Przelewy " with the own firm as payer and a contractor as payee, copied
// with Ctrl+C and Ctrl+Z, printed with " Drukuj " > " Jeden "; and an order
// made from a sales document through " Przelew " of the sales register.
#include <gtest/gtest.h>

#include <string>

#include "finance/transfers.h"
#include "tables/cash_tables.h"
#include "tables/firm_tables.h"
#include "tables/masterdata_tables.h"
#include "tables/sales_tables.h"
#include "tests/print/printed_text.h"
#include "tests/sales/sales_road.h"

namespace {

using TransferRoadTest = SalesPrintingRoadTest;

// To the payee's code: the date, the amount, the symbol and the title.
const std::string TO_PAYEE = "{ENTER}1234.56{ENTER}{ENTER}zaplata za FV/1/2025{ENTER}{ENTER}";

TEST_F(TransferRoadTest, OrderEnteredCopiedAndPrinted) {
  MakeFirm();
  OpenFirmHeaders();
  if (HasFatalFailure()) return;
  ASSERT_EQ(OpenZ5PAWL(), 0);
  SetFields(Z5PAWL.table, {{"NA1", "Firma Testowa"}, {"BAN1", "Bank Pierwszy"}, {"NRR1", "22 1111 2222 3333 4444 5555 6666"},
                           {"ULI", "Polna"}, {"NRD", "1"}, {"KOD", "25-001"}, {"MIA", "Kielce"}});
  ASSERT_EQ(write_and_unlock(Z5PAWL.table), 0);
  ASSERT_EQ(OpenZ5KHNT(0), 0);
  AppendRecord(Z5KHNT.table, {{"KOD", "HURT"}, {"NA1", "Hurtownia Sp. j."}, {"ULI", "Długa 5"}, {"KOP", "00-950"},
                              {"MIA", "Warszawa"}, {"BAN", "Bank Drugi"}, {"KON", "11 2222 3333 4444 5555 6666 7777"}});
  ASSERT_EQ(OpenZ5PLEW(0), 0);
  SaveCharacterPrinting({{Z5PLEW.table, "PRO"}});
  if (HasFatalFailure()) return;
  d4close_all(&env->engine);
  const std::string browse = std::string(LOGO) + "s{ENTER}kp";
  // F4 at the payee's code: the contractor chosen; F3 at the payer's: the basic account
  const std::string order = "d" + TO_PAYEE + "{F4}{ENTER}{ENTER}{F3}{ENTER}";
  Outcome form = Run(browse + order);
  for (const char* text : {"ODBIORCA:      KONTRAHENT  kod. HURT", "nazwa...Hurtownia Sp. j.",
                           "ZLECENIODAWCA: FIRMA       kod. PODSTAWOWE", "bank....Bank Pierwszy"})
    EXPECT_TRUE(Has(form, text)) << text << "\n" << form.screen;
  RunToEnd(browse + order + "{F2}t{ESC}{ESC}" + "{CTRL+C}{CTRL+Z}{F2}t" + "rj{F2}{ENTER}{F2}{ESC}{ESC}{ESC}{ESC}");
  std::string page = TakePrintedText(home + "firma1/win.prn");
  OpenFirmHeaders();
  if (HasFatalFailure()) return;
  ASSERT_EQ(OpenZ5PLEW(0), 0);
  ASSERT_EQ(d4reccount(Z5PLEW.table), 2);
  d4go(Z5PLEW.table, 1);
  EXPECT_EQ(FieldText(Z5PLEW.table, "KOO").substr(0, 4), "HURT");
  EXPECT_EQ(FieldText(Z5PLEW.table, "KOZ").substr(0, 10), "PODSTAWOWE");
  EXPECT_EQ(FieldText(Z5PLEW.table, "KWO"), "    1234.56");
  EXPECT_EQ(FieldText(Z5PLEW.table, "DRU"), "N");   // printed
  d4go(Z5PLEW.table, 2);
  EXPECT_EQ(FieldText(Z5PLEW.table, "KOO").substr(0, 4), "HURT");
  EXPECT_EQ(FieldText(Z5PLEW.table, "KWO"), "    1234.56");
  EXPECT_EQ(FieldText(Z5PLEW.table, "DRU"), "T");
  ExpectGoldenPage("finance", "transfer_road_four_sections.txt", page);
  d4close_all(&env->engine);
}

TEST_F(TransferRoadTest, OrderFromASalesDocument) {
  MakeFirmWithSales();
  OpenFirmHeaders();
  AppendRecord(Z5SPRZ.table, {{"TYV", "1"}, {"PRE", "  FV"}, {"NRV", "1"}, {"REC", "1"}, {"DAW", "20251210"},
                              {"DPL", "20251224"}, {"NA1", "Odbiorca Jan Nowak"}, {"ULI", "Lesna 5"},
                              {"NET", "51.95"}, {"VAT", "11.95"}, {"BRU", "63.90"}});
  d4close_all(&env->engine);
  std::string form = Run(std::string(LOGO) + INTO_SALES + "{HOME}pt{ENTER}").screen;
  EXPECT_NE(form.find("PRZELEW"), std::string::npos) << form;
  EXPECT_NE(form.find("Odbiorca Jan Nowak"), std::string::npos) << form;
  RunToEnd(std::string(LOGO) + INTO_SALES + "{HOME}pt{ENTER}{F2}{ESC}{ESC}{ESC}{ESC}");
  ASSERT_EQ(OpenZ5PLEW(0), 0);
  ASSERT_EQ(d4reccount(Z5PLEW.table), 1);
  d4go(Z5PLEW.table, 1);
  EXPECT_EQ(FieldText(Z5PLEW.table, "KWO"), "      63.90");
  EXPECT_EQ(FieldText(Z5PLEW.table, "SYP"), "SPRZED");
  EXPECT_EQ(FieldText(Z5PLEW.table, "DRU"), "T");
  EXPECT_EQ(FieldText(Z5PLEW.table, "KOO").substr(0, 10), "PODSTAWOWE");
  d4close_all(&env->engine);
}

// The order is printed when the window's question is answered T.
TEST_F(TransferRoadTest, OrderFromASalesDocumentPrinted) {
  MakeFirmWithSales();
  OpenFirmHeaders();
  AppendRecord(Z5SPRZ.table, {{"TYV", "1"}, {"PRE", "  FV"}, {"NRV", "1"}, {"REC", "1"}, {"RE4", "T"},
                              {"DAW", "20251210"}, {"DPL", "20251224"}, {"NA1", "Odbiorca Jan Nowak"},
                              {"NET", "51.95"}, {"VAT", "11.95"}, {"BRU", "63.90"}});
  ASSERT_EQ(OpenZ5PLEW(0), 0);
  SaveCharacterPrinting({{Z5PLEW.table, "PRO"}});
  if (HasFatalFailure()) return;
  d4close_all(&env->engine);
  RunToEnd(std::string(LOGO) + INTO_SALES + "{HOME}pt{ENTER}{F2}t{F2}{ENTER}{F2}{ESC}{ESC}{ESC}");
  std::string page = TakePrintedText(home + "firma1/win.prn");
  EXPECT_NE(page.find("63,90"), std::string::npos) << page;
  EXPECT_NE(page.find("fakt. FV/1 z 10-12/25"), std::string::npos) << page;
  EXPECT_NE(page.find("ODBIORCA JAN NOWAK"), std::string::npos) << page;
  OpenFirmHeaders();
  ASSERT_EQ(OpenZ5PLEW(0), 0);
  ASSERT_EQ(d4reccount(Z5PLEW.table), 1);
  d4go(Z5PLEW.table, 1);
  EXPECT_EQ(FieldText(Z5PLEW.table, "DRU"), "N");
  d4close_all(&env->engine);
}

}  // namespace
