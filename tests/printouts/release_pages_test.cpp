// The goods release note over two pages: each line converted with its own
// rate, and the carried sums equal on both sides of the page break.
#include <gtest/gtest.h>

#include <string>

#include "printouts/invoice_print.h"
#include "tests/printouts/printout_fixture.h"

namespace {

class ReleasePagesTest : public PrintoutTest {
 protected:
  void GoodsLine(const char* name, const char* price, const char* net, const char* vat, const char* gross,
                 const char* rate) {
    Line(name, "2", price, gross, "1", "23", net, vat, gross);
    SetFields(Z5SPRE.table, {{"ZRP", "1"}, {"KVA", rate}});
    ASSERT_EQ(d4write(Z5SPRE.table, d4recno(Z5SPRE.table)), 0);
  }
};

TEST_F(ReleasePagesTest, LinesAtTheirRatesAndEqualCarriedSums) {
  Invoice("92.25", {{"WAL", "EUR"}, {"KVA", "4.5"}});
  GoodsLine("Towar A", "15", "30", "6.90", "36.90", "1");
  GoodsLine("Towar EUR", "5", "10", "2.30", "12.30", "4.5");
  // 62 lines a page less a top margin of 38: the second item does not fit
  // under the first page's head.
  Printer.topMargin = 38;
  CharacterPrinting("WZN");
  ASSERT_EQ(HeadlessSetScript("{F2}{F2}{ENTER}"), 0);
  ASSERT_EQ(d4go(Z5SPRZ.table, 1), 0);
  wydruk_wz();
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  std::string page = Printed();
  std::string carried = LineWith(page, "Do przeniesienia");
  std::string brought = LineWith(page, "Z przeniesienia");
  EXPECT_NE(carried.find("30.00               6.90          36.90"), std::string::npos) << page;
  EXPECT_EQ(carried.substr(carried.find("30.00")), brought.substr(brought.find("30.00"))) << page;
  // 5 EUR at 4.5: price 22.50, values 45.00, 10.35 and 55.35 in PLN.
  std::string converted = LineWith(page, "Towar EUR");
  EXPECT_NE(converted.find("22.50"), std::string::npos) << page;
  EXPECT_NE(converted.find("45.00"), std::string::npos) << page;
  EXPECT_NE(converted.find("55.35"), std::string::npos) << page;
  EXPECT_NE(LineWith(page, "RAZEM").find("75.00              17.25          92.25"), std::string::npos) << page;
  EXPECT_EQ(Count(page, "<FF>"), 2) << page;
  EXPECT_NE(page.find("DOWÓD WYDANIA WZ nr 1/26"), std::string::npos) << page;
}

}  // namespace
