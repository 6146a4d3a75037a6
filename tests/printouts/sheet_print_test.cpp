// The sales-without-invoice sheet: sums by rate type, lines of codes without
// a row, a line at a rate of its own.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "printouts/invoice_print.h"
#include "tests/printouts/printout_fixture.h"

namespace {

using SheetPrintTest = PrintoutTest;

TEST_F(SheetPrintTest, SumsByRateType) {
  std::strcpy(salesOptions.numbering[DOC_BR].name, Utf8ToMazText("SPRZEDAŻ BEZRACHUNKOWA nr").c_str());
  Invoice("0", {{"TYV", "5"}, {"PRE", "  BR"}});
  Line("A", "1", "100", "123", "1", "23", "100", "23", "123");
  Line("B", "1", "50", "50", "4", "0", "50", "0", "50");
  Line("C", "1", "10", "12.20", "1", "22", "10", "2.20", "12.20");
  Line("D", "1", "7", "7", "6", "0", "7", "0", "7");
  CharacterPrinting("BRA");
  // Always 0, also when printed.
  EXPECT_EQ(Print("{F2}{ENTER}"), 0);
  std::string page = Printed();
  ExpectGolden("sheet_br.txt", page);
  EXPECT_NE(page.find("SPRZEDAŻ BEZRACHUNKOWA nr BR/1"), std::string::npos) << page;
  EXPECT_NE(LineWith(page, "podstawowa").find("23.0"), std::string::npos) << page;
  // The 22 % line stands in the row below with its own rate.
  std::string own = LineWith(page, "22.0");
  EXPECT_EQ(own.find("podstawowa"), std::string::npos) << page;
  EXPECT_NE(own.find("10.00                     2.20                  12.20"), std::string::npos) << page;
  EXPECT_NE(LineWith(page, "zwolniona").find("50.00"), std::string::npos) << page;
  EXPECT_NE(LineWith(page, "bez stawki").find("7.00"), std::string::npos) << page;
  EXPECT_NE(LineWith(page, "RAZEM").find("192.20"), std::string::npos) << page;
}

}  // namespace
