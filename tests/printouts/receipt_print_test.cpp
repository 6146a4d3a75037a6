// The simplified invoice and the receipt on the narrow page.
#include <gtest/gtest.h>

#include <string>

#include "printouts/invoice_print.h"
#include "tests/printouts/printout_fixture.h"

namespace {

using ReceiptPrintTest = PrintoutTest;

TEST_F(ReceiptPrintTest, SimplifiedInvoiceOfFv1) {
  Invoice();
  Fv1Lines();
  salesOptions.list107 = 1;
  CharacterPrinting("FUP");
  EXPECT_EQ(Print("{F2}{ENTER}"), 1);
  std::string page = Printed();
  ExpectGolden("simplified_invoice_fv1.txt", page);
  EXPECT_NE(page.find("FAKTURA UPROSZCZONA nr FV/1"), std::string::npos) << page;
  EXPECT_NE(page.find("NIP nabywcy:"), std::string::npos);
  EXPECT_NE(LineWith(page, "RAZEM").find("63.90"), std::string::npos) << page;
  EXPECT_NE(page.find("23 %        6.90"), std::string::npos) << page;
  EXPECT_NE(page.find(" 8 %        2.00"), std::string::npos) << page;
}

TEST_F(ReceiptPrintTest, ReceiptOfABillHasNoBuyerNorVat) {
  Invoice("63.90", {{"TYV", "2"}});
  Fv1Lines();
  salesOptions.list51 = 3;
  CharacterPrinting("PAR");
  // A bill returns 0 also when printed.
  EXPECT_EQ(Print("{F2}{ENTER}"), 0);
  std::string page = Printed();
  EXPECT_NE(page.find("PARAGON nr FV/1"), std::string::npos) << page;
  EXPECT_EQ(page.find("NIP nabywcy:"), std::string::npos);
  EXPECT_EQ(page.find("VAT"), std::string::npos);
  EXPECT_NE(LineWith(page, "RAZEM").find("63.90"), std::string::npos) << page;
}

TEST_F(ReceiptPrintTest, EveryRateSlotListedAndItemsInTheTotalsCurrency) {
  // A line of code 4 at a rate of its own and a EUR line at rate 4.
  Invoice("100", {{"WAL", "EUR"}, {"KVA", "4"}});
  Line("Stawka 5", "1", "20", "21", "4", "5", "20", "1", "21");
  AppendRecord(Z5SPRE.table, {{"REK", "1"}, {"NA1", "Euro"}, {"ILO", "1"}, {"CBR", "12.30"}, {"VAT", "1"},
                              {"VAS", "23"}, {"WNE", "10"}, {"WAV", "2.30"}, {"WAB", "12.30"}, {"KVA", "4"}});
  salesOptions.list107 = 1;
  salesOptions.simplifiedLimitEur = 450;
  CharacterPrinting("FUP");
  EXPECT_EQ(Print("{F2}{ENTER}"), 1);
  std::string page = Printed();
  EXPECT_NE(page.find(" 5 %        1.00"), std::string::npos) << page;
  // 21.00 + 4 x 12.30 = 70.20: the items are shown converted as the total.
  EXPECT_NE(LineWith(page, "Euro").find("49.20"), std::string::npos) << page;
  EXPECT_NE(LineWith(page, "RAZEM").find("70.20"), std::string::npos) << page;
}

}  // namespace
