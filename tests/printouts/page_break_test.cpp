// Items overflowing page 1 of the correction, receipt, margin invoice and
// goods release: the sums carried to the next page equal those brought
// over, and no page runs past the printer's page length.
#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "printouts/invoice_print.h"
#include "tests/printouts/printout_fixture.h"

namespace {

class PageBreakTest;
struct PageBreakCase {
  const char* name;
  const char* carried;
  const char* brought;
  void (PageBreakTest::*fill)();
};

class PageBreakTest : public PrintoutTest, public testing::WithParamInterface<PageBreakCase> {
 public:
  void CorrectionPages() {
    Correction();
    for (int i = 0; i < 70; i++)
      Corrected("Towar", "1", "23", "50", "11.50", "61.50", "1", "23", "40", "9.20", "49.20", "-10", "-2.30");
    salesOptions.list50 = 1;
    CharacterPrinting("FKN");
    EXPECT_EQ(Print("{F2}{ENTER}"), 1);
  }
  void ReceiptPages() {
    Invoice("6150", {{"TYV", "2"}});
    for (int i = 0; i < 100; i++) Line("Towar", "1", "50", "61.50", "1", "23", "50", "11.50", "61.50");
    salesOptions.list51 = 3;
    CharacterPrinting("PAR");
    EXPECT_EQ(Print("{F2}{ENTER}"), 0);
  }
  void MarginPages() {
    std::strcpy(salesOptions.numbering[DOC_FM].name, Utf8ToMazText("FAKTURA VAT MARŻA nr").c_str());
    Invoice("4200", {{"TYV", "8"}, {"PRE", "  FM"}, {"KSM", "2"}});
    for (int i = 0; i < 70; i++) Line("Rower", "1", "60", "60", "1", "23", "48.78", "11.22", "60");
    CharacterPrinting("FMA");
    EXPECT_EQ(Print("{F2}{ENTER}"), 1);
  }
  void ReleasePages() {
    Invoice("4305", {{"NET", "3500"}, {"VAT", "805"}});
    for (int i = 0; i < 70; i++) {
      Line("Towar", "1", "50", "61.50", "1", "23", "50", "11.50", "61.50");
      SetFields(Z5SPRE.table, {{"ZRP", "1"}});
      ASSERT_EQ(d4write(Z5SPRE.table, d4recno(Z5SPRE.table)), 0);
    }
    CharacterPrinting("WZN");
    EXPECT_EQ(HeadlessSetScript("{F2}{F2}{ENTER}"), 0);
    d4go(Z5SPRZ.table, 1);
    wydruk_wz();
    EXPECT_EQ(HeadlessKeysLeft(), 0);
  }

 protected:
  // The amounts printed after the label on each line carrying it, in order.
  static std::vector<std::string> SumsAfter(const std::string& text, const std::string& label) {
    std::vector<std::string> sums;
    for (const std::string& line : Lines(text)) {
      size_t at = line.find(label);
      if (at == std::string::npos) continue;
      std::istringstream rest(line.substr(at + label.size()));
      std::string amounts;
      for (std::string word; rest >> word;) amounts += word + " ";
      sums.push_back(amounts);
    }
    return sums;
  }
};

TEST_P(PageBreakTest, CarriedSumsEqualBroughtAndPagesStayInside) {
  const PageBreakCase& c = GetParam();
  (this->*c.fill)();
  std::string pages = Printed();
  std::vector<std::string> carried = SumsAfter(pages, c.carried);
  std::vector<std::string> brought = SumsAfter(pages, c.brought);
  ASSERT_FALSE(carried.empty()) << pages;
  EXPECT_EQ(carried, brought) << pages;
  EXPECT_NE(carried[0].find('.'), std::string::npos) << carried[0];
  for (size_t at = 0, ff; (ff = pages.find("<FF>", at)) != std::string::npos; at = ff + 5)
    EXPECT_LE(Count(pages.substr(at, ff - at), "\n"), Printer.lines) << pages.substr(at, ff - at);
}

INSTANTIATE_TEST_SUITE_P(
    Printouts, PageBreakTest,
    testing::Values(
        PageBreakCase{"Correction", "KOREKTY do przeniesienia", "KOREKTY z przeniesienia", &PageBreakTest::CorrectionPages},
        PageBreakCase{"Receipt", "Do przeniesienia", "Z przeniesienia", &PageBreakTest::ReceiptPages},
        PageBreakCase{"Margin", "Do przeniesienia", "Z przeniesienia", &PageBreakTest::MarginPages},
        PageBreakCase{"Release", "Do przeniesienia", "Z przeniesienia", &PageBreakTest::ReleasePages}),
    [](const testing::TestParamInfo<PageBreakCase>& info) { return std::string(info.param.name); });

}  // namespace
