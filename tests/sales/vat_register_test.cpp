// The VAT register browse on the headless screen: the amount views of F5,
// the delete guard and the stock an orphan line gives back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "masterdata/stock_update.h"
#include "sales/vat_register.h"
#include "ui/browse.h"
#include "tables/masterdata_tables.h"
#include "tests/sales/sales_fixture.h"

namespace {

class VatRegisterTest : public SalesScreenTest {
 protected:
  void SetUp() override {
    SalesScreenTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(OpenZ5TOWA(0), 0);
    AppendRecord(Z5TOWA.table, {{"KOD", "T1"}, {"ILO", "10"}});
    d4close(Z5TOWA.table);
    Grid(30, 100);   // room for the amounts beside the 40 of the number
    if (HasFatalFailure()) return;
    Header({{"TYV", "1"}, {"REC", "1"}, {"NA1", "Nabywca"}});
    Line({{"TYV", "1"}, {"REK", "1"}, {"NA1", "Live"}, {"KOT", "T1"}, {"ILO", "2"}, {"STA", "T"},
          {"DAV", "20261201"}, {"WNE", "100"}, {"KVA", "4"}, {"KKS", "4.5"}, {"WAL", "EUR"}});
  }
  void TearDown() override {
    zamknij_okno_raportu(0);
    SalesScreenTest::TearDown();
  }
  void Header(Fields fields) { AppendRecord(Z5SPRZ.table, fields); }
  void Line(Fields fields) { AppendRecord(Z5SPRE.table, fields); }
  double Stock() {
    EXPECT_EQ(OpenZ5TOWA(0), 0);
    d4top(Z5TOWA.table);
    double stock = f4double(d4field(Z5TOWA.table, "ILO"));
    d4close(Z5TOWA.table);
    return stock;
  }
  static int Count(const std::string& text, const std::string& part) {
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) n++;
    return n;
  }
};

TEST_F(VatRegisterTest, F5StepsThroughTheViewsBackToTheStart) {
  HeadlessSetScript("{F9}{F5}{F9}{F5}{F9}{F5}{F9}{ESC}");
  ewidencja_sprzedazy();
  EXPECT_NE(seen.find("Ewidencja sprzedaży 2026"), std::string::npos) << seen;
  size_t shot1 = seen.find("400.00"), shot2 = seen.find("450.00");
  ASSERT_NE(shot1, std::string::npos) << seen;
  ASSERT_NE(shot2, std::string::npos) << seen;
  EXPECT_LT(shot1, shot2);
  EXPECT_EQ(Count(seen, "100.00"), 2) << seen;   // the first and the fourth view
  // the panel: the line's kind, number and the currency of each view
  EXPECT_NE(seen.find("dokument Faktura"), std::string::npos) << seen;
  EXPECT_EQ(Count(seen, "waluta EUR"), 2) << seen;
  EXPECT_EQ(Count(seen, "waluta PLN"), 2) << seen;
}

std::vector<std::string> printedTitles;
int RecordTitle(TabuColumn*, DbScanCtx*, DbTable*, DbTag*, TextRef title, TextRef, const char*, int) {
  printedTitles.push_back(MazToUtf8Text(title.text ? title.text : ""));
  return 0;
}

TEST_F(VatRegisterTest, TabulogramIsTitledWithTheCurrencyViewChosen) {
  struct Case {
    const char* choice;
    const char* title;
  } cases[] = {{"{ENTER}", " waluty wg kursu dla VAT"}, {"{DOWN}{ENTER}", " waluty wg kursu dla księgowania"}};
  BrowsePrintTabulogram = RecordTitle;
  for (const Case& c : cases) {
    printedTitles.clear();
    HeadlessSetScript((std::string("dt{F2}") + c.choice + "{ESC}{ESC}{ESC}").c_str());
    ewidencja_sprzedazy();
    ASSERT_EQ(printedTitles.size(), 1u) << c.choice;
    EXPECT_EQ(printedTitles[0], c.title);
  }
  BrowsePrintTabulogram = nullptr;
}

TEST_F(VatRegisterTest, LineOfALiveDocumentIsNotDeleted) {
  HeadlessSetScript("{DEL}{F9}{ENTER}{ESC}");
  ewidencja_sprzedazy();
  EXPECT_NE(seen.find("Pozycję można usunąć tylko poprzez ewidencję dokumentów !"), std::string::npos) << seen;
  EXPECT_EQ(d4reccount(Z5SPRE.table), 1);
  EXPECT_EQ(d4go(Z5SPRE.table, 1), 0);
  EXPECT_FALSE(d4deleted(Z5SPRE.table));
  EXPECT_EQ(Stock(), 10);
}

TEST_F(VatRegisterTest, OrphanLineGivesItsStockBack) {
  Line({{"TYV", "3"}, {"REK", "7"}, {"NA1", "Orphan"}, {"KOT", "T1"}, {"ILO", "5"}, {"ILK", "-3"}, {"STA", "T"},
        {"DAV", "20261205"}});
  HeadlessSetScript("{END}{DEL}T{ESC}");
  ewidencja_sprzedazy();
  EXPECT_EQ(d4go(Z5SPRE.table, 2), 0);
  EXPECT_TRUE(d4deleted(Z5SPRE.table));
  // a correction moves its change of quantity: -3 taken, so 3 go back out
  EXPECT_EQ(Stock(), 7);
}

TEST_F(VatRegisterTest, SearchesByDateNumberAndPattern) {
  Line({{"TYV", "1"}, {"REK", "1"}, {"NA1", "Second"}, {"DAV", "20261207"}, {"NRV", "12"}});
  Line({{"TYV", "1"}, {"REK", "1"}, {"NA1", "Third"}, {"DAV", "20261215"}, {"NRV", "3"}, {"RE1", "FV/X/77"}});
  struct Case {
    const char* keys;
    const char* found;
  } cases[] = {
      {"sd071226{ENTER}", "Second"},
      {"sd101226{ENTER}", "Third"},   // the next date when the searched one is not there
      {"su3{ENTER}", "Third"},
      {"su12{ENTER}", "Second"},
      {"snwcon{ENTER}{ENTER}", "Second"},   // Enter takes the match shown
      {"srx/7{ENTER}{ENTER}", "Third"},
  };
  for (const Case& c : cases) {
    seen.clear();
    HeadlessSetScript((std::string(c.keys) + "{F9}{ESC}{ESC}{ESC}").c_str());   // the submenus, then the browse
    ewidencja_sprzedazy();
    EXPECT_EQ(FieldText(Z5SPRE.table, "NA1"), c.found) << c.keys << seen;
  }
}

std::vector<int> printResults;
int PrintOutsideTheMenu(int32_t, int32_t) {
  for (int kind : {0, 7, -1}) printResults.push_back(drukuj_ewidencje(kind));
  return 0;
}

TEST_F(VatRegisterTest, PrintKindOutsideTheMenuIsRefusedWithoutABox) {
  printResults.clear();
  g4set_key_to(KEY_F10, PrintOutsideTheMenu);
  // a box would take the Esc meant for the register, which would not end
  HeadlessSetScript("{F10}{F9}{ESC}");
  ewidencja_sprzedazy();
  g4set_key_to(KEY_F10, nullptr);
  EXPECT_EQ(printResults, (std::vector<int>{-1, -1, -1}));
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  EXPECT_NE(seen.find("Ewidencja sprzedaży 2026"), std::string::npos) << seen;
}

}  // namespace
