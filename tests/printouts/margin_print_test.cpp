// The margin invoice: gross items with a discount row, the running sum, the
// margin procedure note and the payment lines.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "printouts/invoice_print.h"
#include "tests/printouts/printout_fixture.h"

namespace {

using MarginPrintTest = PrintoutTest;

TEST_F(MarginPrintTest, GrossItemsAndTheMarginNote) {
  std::strcpy(salesOptions.numbering[DOC_FM].name, Utf8ToMazText("FAKTURA VAT MARŻA nr").c_str());
  Invoice("130", {{"TYV", "8"}, {"PRE", "  FM"}, {"KSM", "2"}, {"KZA", "30"}});
  AppendRecord(Z5SPRE.table, {{"REK", "1"}, {"NA1", "Rower używany"}, {"JED", "szt"}, {"ILO", "1"},
                              {"CBB", "110"}, {"RAS", "9.1"}, {"CBR", "100"}, {"WAB", "100"}, {"VAT", "1"}});
  Line("Kask", "1", "30", "30", "1", "23", "24.39", "5.61", "30");
  CharacterPrinting("FMA");
  EXPECT_EQ(Print("{F2}{ENTER}"), 1);
  std::string page = Printed();
  ExpectGolden("margin_invoice.txt", page);
  EXPECT_NE(page.find("FAKTURA VAT MARŻA nr FM/1"), std::string::npos) << page;
  EXPECT_NE(LineWith(page, "z rabatem").find("9.1"), std::string::npos) << page;
  EXPECT_NE(LineWith(page, "z rabatem").find("100.00"), std::string::npos) << page;
  EXPECT_NE(page.find("Procedura marży2. - towary używane."), std::string::npos) << page;
  EXPECT_NE(page.find("słownie: sto trzydzieści złotych"), std::string::npos) << page;
  EXPECT_NE(LineWith(page, "DO ZAPŁATY:").find("100.00"), std::string::npos) << page;
  EXPECT_EQ(page.find("podatek"), std::string::npos);
}

}  // namespace
