// The printout of a warehouse document on a character printer: the prices
// of an issue by the goods' selling prices, and the pages of a long issue
// with their carried sums.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "masterdata/warehouse_documents.h"
#include "tables/warehouse_tables.h"
#include "tests/masterdata/goods_fixture.h"

namespace {

class WarehousePrintoutTest : public GoodsTest {
 protected:
  void SetUp() override {
    GoodsTest::SetUp();
    if (HasFatalFailure()) return;
    stronaMagazynu = &STRONA_WYDAN;
    ASSERT_EQ(OpenZ5MAWY(0), 0);
    ASSERT_EQ(OpenZ5MAWE(0), 0);
    std::memset(warehouseOptions.issueName, ' ', sizeof warehouseOptions.issueName - 1);
    std::memcpy(warehouseOptions.issueName, "Dokument wydania nr", 19);
    warehouseOptions.printGoodsCode = 'N';
  }
  void TearDown() override {
    stronaMagazynu = nullptr;
    GoodsTest::TearDown();
  }
  void Header() {
    AppendNamed(Z5MAWY, {{"NUM", "12"}, {"DAT", "20260310"}, {"REC", "1"}, {"NA1", "PODMAGAZYN"},
                         {"WYS", "Wystawca"}, {"ODE", "Odbiorca"}, {"UWA", "bez uwag"}});
  }
  void Line(const char* code, const Named& more) {
    Named values = {{"KOT", code}, {"NA1", "TOWAR"}, {"REK", "1"}, {"NUM", "12"}};
    values.insert(values.end(), more.begin(), more.end());
    AppendNamed(Z5MAWE, values);
  }
  std::string Print(int priceKind, int base) {
    warehouseOptions.issuePrices = priceKind;
    warehouseOptions.printPrices = base;
    if (!Z5TOWA.table) {
      EXPECT_EQ(OpenZ5TOWA(0), 0);
    }
    CharacterPrinting("DOW", 0, d4alias(Z5MAWE.table));
    d4close(Z5TOWA.table);   // the printout opens the goods itself
    Keys("{F2}{ENTER}");
    EXPECT_EQ(d4go(Z5MAWY.table, 1), 0);
    EXPECT_EQ(drukuj_dokument_magazynowy(1, Z5MAWY.table), 0);
    EXPECT_EQ(HeadlessKeysLeft(), 0);
    return Printed();
  }
  static std::vector<std::string> Pages(const std::string& printed) {
    std::vector<std::string> pages(1);
    std::istringstream in(printed);
    for (std::string line; std::getline(in, line);) {
      if (line == "<FF>")
        pages.emplace_back();
      else
        pages.back() += line + "\n";
    }
    if (pages.back().empty()) pages.pop_back();
    return pages;
  }
  static int LineCount(const std::string& page) {
    int n = 0;
    for (char c : page) n += c == '\n';
    return n;
  }
  // The three sums after a label on one of the lines of the text.
  static std::string SumsAfter(const std::string& text, const std::string& label) {
    size_t at = text.find(label);
    if (at == std::string::npos) return "<none>";
    size_t end = text.find('\n', at);
    std::string line = text.substr(at + label.size(), end - at - label.size());
    line.erase(0, line.find_first_not_of(' '));
    return line;
  }
};

TEST_F(WarehousePrintoutTest, IssueAtSellingPricesTakesThemFromTheGoods) {
  Goods("B1", "Beta", 0, {{TOWA_CBN, "10"}, {TOWA_CSB, "1000"}, {TOWA_CSN, "813.01"}});
  Header();
  Line("B1", {{"ILO", "2"}, {"CEN", "1"}, {"WAN", "2"}, {"VAS", "23"}, {"VAT", "1"}, {"WAV", "0.46"},
              {"WAB", "2.46"}});
  // Price B on the net base: 2 x 10.00, VAT 23 % of it.
  std::string b = Print(3, 1);
  EXPECT_NE(b.find("2.0000       10.0000       20.00    23.0       4.60          24.60"), std::string::npos) << b;
  EXPECT_NE(b.find("* wg cen sprzedazy typ B *"), std::string::npos) << b;

  // Price A on the gross base: the VAT of 1000.00 by the four-decimal factor
  // ROUND(23 / 123, 4) = 0.1870 is 187.00, where the line arithmetic gives
  // 186.99 for the same gross; each keeps its own rule.
  ASSERT_EQ(d4go(Z5MAWE.table, 1), 0);
  f4assign_double(d4field(Z5MAWE.table, "ILO"), 1);
  ASSERT_EQ(d4write(Z5MAWE.table, 1), 0);
  std::string a = Print(2, 2);
  EXPECT_NE(a.find("1.0000     1000.0000     1000.00    23.0     187.00         813.00"), std::string::npos) << a;
  ASSERT_EQ(d4go(Z5MAWE.table, 1), 0);
  f4assign_double(d4field(Z5MAWE.table, "CEB"), 1000);
  ASSERT_EQ(przelicz_pozycje_magazynowa(0), 0);
  EXPECT_DOUBLE_EQ(f4double(d4field(Z5MAWE.table, "WAV")), 186.99);
  d4changed(Z5MAWE.table, 0);
  EXPECT_NE(a.find("z podatkiem"), std::string::npos) << a;
}

TEST_F(WarehousePrintoutTest, ALongIssueKeepsEveryPageWithinItsRowsAndCarriesItsSums) {
  Header();
  for (int i = 0; i < 40; i++)
    Line("", {{"NA2", i % 3 == 0 ? "druga linia" : ""}, {"JED", "szt"}, {"ILO", "1"}, {"CEN", "10"}, {"CEB", "12.3"},
              {"WAN", "10"}, {"VAS", "23"}, {"VAT", "1"}, {"WAV", "2.3"}, {"WAB", "12.3"}});
  std::string printed = Print(1, 1);
  ExpectGolden("warehouse_issue_40_lines.txt", printed);
  std::vector<std::string> pages = Pages(printed);
  ASSERT_GE(pages.size(), 2u);
  for (size_t i = 0; i < pages.size(); i++) EXPECT_LE(LineCount(pages[i]), 62) << "page " << i + 1;
  for (size_t i = 0; i + 1 < pages.size(); i++) {
    std::string carried = SumsAfter(pages[i], "Do przeniesienia");
    EXPECT_NE(carried, "<none>") << "page " << i + 1;
    EXPECT_EQ(SumsAfter(pages[i + 1], "Z przeniesienia"), carried) << "page " << i + 2;
  }
  const std::string& last = pages.back();
  EXPECT_EQ(SumsAfter(last, "RAZEM"), "400.00              92.00         492.00") << last;
  for (const char* foot : {"bez uwag", "Wystawca", "Odbiorca"}) EXPECT_NE(last.find(foot), std::string::npos) << foot;
  EXPECT_NE(pages[0].find("Dokument wydania nr 12"), std::string::npos) << pages[0];
  EXPECT_NE(pages[1].find("str. 2"), std::string::npos) << pages[1];
}

TEST_F(WarehousePrintoutTest, AMissingGoodsCodePricesTheLineAtZeroAndWritesNoGoodsRecord) {
  Goods("B1", "Beta", 4, {{TOWA_CSN, "10"}});
  Header();
  // "A0" is missing: its seek stands on B1, which sorts after it.
  Line("A0", {{"ILO", "2"}, {"VAS", "23"}, {"VAT", "1"}});
  warehouseOptions.issuePrices = 2;
  warehouseOptions.printPrices = 1;
  CharacterPrinting("DOW", 0, d4alias(Z5MAWE.table));
  d4close(Z5TOWA.table);
  Keys("{F2}{ENTER}{ENTER}");   // the dialog, and the box "Brak kodu towaru"
  ASSERT_EQ(d4go(Z5MAWY.table, 1), 0);
  EXPECT_EQ(drukuj_dokument_magazynowy(1, Z5MAWY.table), 0);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  std::string printed = Printed();
  EXPECT_NE(printed.find("2.0000        0.0000        0.00"), std::string::npos) << printed;
  ASSERT_EQ(OpenZ5TOWA(0), 0);
  ASSERT_EQ(d4go(Z5TOWA.table, 1), 0);
  EXPECT_EQ(Trim(d4field(Z5TOWA.table, "KOD")), "B1");
  EXPECT_DOUBLE_EQ(f4double(d4field(Z5TOWA.table, "CSN")), 10);
  EXPECT_DOUBLE_EQ(f4double(d4field(Z5TOWA.table, "ILO")), 4);
}

}  // namespace
