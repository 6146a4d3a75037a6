// The margin invoice of a foreign-currency document printed in złote: each
// line at its own rate, the paid amount at the header's, the currency "PLN";
// and the statutory margin note of the years before 2013.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/printouts/printout_fixture.h"

namespace {

using MarginAmountsTest = PrintoutTest;

TEST_F(MarginAmountsTest, EuroDocumentInZlotyByEachLinesRateWithTheNoteBefore2013) {
  env->settlementYear = 2012;
  std::strcpy(salesOptions.numbering[DOC_FM].name, "FAKTURA VAT MARZA nr");
  Invoice("20", {{"TYV", "8"}, {"PRE", "  FM"}, {"KSM", "2"}, {"WAL", "EUR"}, {"KVA", "4.2"}, {"KZA", "5"}});
  AppendRecord(Z5SPRE.table, {{"REK", "1"}, {"NA1", "Zegar"}, {"JED", "szt"}, {"ILO", "1"}, {"CBB", "10"},
                              {"CBR", "10"}, {"WAB", "10"}, {"VAT", "1"}, {"KVA", "4.2"}});
  AppendRecord(Z5SPRE.table, {{"REK", "1"}, {"NA1", "Lampa"}, {"JED", "szt"}, {"ILO", "2"}, {"CBB", "5"},
                              {"CBR", "5"}, {"WAB", "10"}, {"VAT", "1"}, {"KVA", "4"}});
  Printer.amounts = 'P';
  CharacterPrinting("FMA");
  EXPECT_EQ(Print("{F2}{ENTER}"), 1);
  std::string page = Printed();
  EXPECT_NE(LineWith(page, "Zegar").find("42.00"), std::string::npos) << page;
  std::string lamp = LineWith(page, "Lampa");
  EXPECT_NE(lamp.find("20.00"), std::string::npos) << page;
  EXPECT_NE(lamp.find("40.00"), std::string::npos) << page;
  EXPECT_NE(LineWith(page, "RAZEM:").find("82.00   PLN"), std::string::npos) << page;
  EXPECT_NE(LineWith(page, "ZAPŁACONO:").find("21.00   PLN"), std::string::npos) << page;
  EXPECT_NE(LineWith(page, "DO ZAPŁATY:").find("61.00   PLN"), std::string::npos) << page;
  EXPECT_NE(page.find("osiemdziesiąt dwa złote"), std::string::npos) << page;
  EXPECT_EQ(page.find("EUR"), std::string::npos) << page;
  EXPECT_NE(page.find("data sprzedaży:"), std::string::npos) << page;
  EXPECT_NE(page.find("Zastosowano szczególną procedurę opodatkowania marży przewidzianą w art."),
            std::string::npos) << page;
  EXPECT_NE(page.find("ustawy z 11 marca 2004 r. o podatku od towarów i usług."), std::string::npos) << page;
  EXPECT_EQ(page.find("Procedura marży"), std::string::npos) << page;
}

TEST_F(MarginAmountsTest, ForeignCountriesOfSellerAndBuyerArePrintedPolandIsNot) {
  struct Case {
    const char* seller;
    const char* buyer;
  } cases[] = {{"NIEMCY", "POLSKA"}, {"POLSKA RP", "CZECHY"}, {"", "AUSTRIA"}};
  Invoice("10", {{"TYV", "8"}, {"PRE", "  FM"}, {"KSM", "2"}});
  AppendRecord(Z5SPRE.table, {{"REK", "1"}, {"NA1", "Zegar"}, {"ILO", "1"}, {"CBB", "10"}, {"WAB", "10"}});
  CharacterPrinting("FMA");
  for (const Case& c : cases) {
    ASSERT_EQ(OpenZ5PAWL(), 0);
    SetFields(Z5PAWL.table, {{"KRA", c.seller}});
    ASSERT_EQ(write_and_unlock(Z5PAWL.table), 0);
    d4close(Z5PAWL.table);
    Z5PAWL.table = nullptr;
    ASSERT_EQ(d4go(Z5SPRZ.table, 1), 0);
    SetFields(Z5SPRZ.table, {{"KRA", c.buyer}});
    ASSERT_EQ(d4write(Z5SPRZ.table, 1), 0);
    EXPECT_EQ(Print("{F2}{ENTER}"), 1);
    std::string page = Printed();
    for (const char* country : {c.seller, c.buyer}) {
      bool shown = *country && std::string(country).compare(0, 5, "POLSK") != 0;
      EXPECT_EQ(page.find(std::string("               ") + country + "\n") != std::string::npos, shown)
          << country << "\n" << page;
    }
  }
}

}  // namespace
