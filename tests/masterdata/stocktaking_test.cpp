// The stocktaking sheet printed from a seeded catalogue: its answers, the
// price kinds, the items left out, the numbering and the pages.
#include <gtest/gtest.h>

#include "masterdata/goods_actions.h"
#include "tables/firm_tables.h"
#include "tests/masterdata/goods_fixture.h"

namespace {

class StocktakingTest : public GoodsTest {
 protected:
  void SetUp() override {
    GoodsTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(OpenZ5PAWL(), 0);
    f4assign(Z5PAWL.field[0], "Firma Test");
    f4assign(Z5PAWL.field[1], "ul. Polna 1, Kielce");
    ASSERT_EQ(write_and_unlock(Z5PAWL.table), 0);
    d4close(Z5PAWL.table);
  }
  // The answers of the entry window: two members, both dates, the zero
  // answer (its letter ends the window).
  static std::string Answers(const char* zeros) {
    return std::string("Jan Kowalski{ENTER}Anna Nowak{ENTER}{ENTER}{ENTER}011226{ENTER}021226{ENTER}") + zeros;
  }
};

TEST_F(StocktakingTest, SheetPagesItemsAndTheClosingBlockOnItsOwnPage) {
  // 62 lines a page less a top margin of 40: 4 item lines on the first
  // page, 17 on the others.
  Goods("A01", "Alfa", 3, {{TOWA_JED, "szt"}, {TOWA_CZN, "10.005"}, {TOWA_CZB, "12.3062"}, {TOWA_VZT, "1"},
                          {TOWA_VZS, "23"}});
  Goods("A02", "Zero", 0, {{TOWA_CZN, "5"}, {TOWA_CZB, "5"}, {TOWA_VZT, "4"}});
  Goods("A03", "Minus", -2, {{TOWA_CZN, "5"}, {TOWA_CZB, "5"}, {TOWA_VZT, "4"}});
  Goods("B01", "Beta|druga linia|trzecia linia", 1.25,
        {{TOWA_JED, "kg"}, {TOWA_CZN, "4"}, {TOWA_CZB, "4"}, {TOWA_VZT, "4"}});
  Goods("C01", "Gamma|2|3|4|5|6", 2, {{TOWA_JED, "szt"}, {TOWA_CZN, "1.5"}, {TOWA_CZB, "1.5"}, {TOWA_VZT, "7"}});
  Goods("D01", "Delta|cd", 1000, {{TOWA_JED, "m"}, {TOWA_CZN, "0.333"}, {TOWA_CZB, "0.36"}, {TOWA_VZT, "2"},
                                  {TOWA_VZS, "8"}});
  Goods("D02", "Epsilon", 0.5, {{TOWA_JED, "l"}, {TOWA_CZN, "2"}, {TOWA_CZB, "2.46"}, {TOWA_VZT, "1"},
                                {TOWA_VZS, "23"}});
  CharacterPrinting("SPN", 40);
  Browse();
  Keys(Answers("N") + "{ENTER}{F2}{ENTER}");
  EXPECT_EQ(spis_z_natury(0), 0);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  ExpectGolden("stocktaking_sheet.txt", Printed());
  EXPECT_DOUBLE_EQ(context->sumy_spisu[0], 30.02 + 5 + 3 + 333 + 1);
}

TEST_F(StocktakingTest, ZeroAnswerYesKeepsEveryItemAtSellingPrices) {
  Goods("A01", "Alfa", 2, {{TOWA_CSN, "10"}, {TOWA_CSB, "12.3"}, {TOWA_VST, "1"}, {TOWA_VSS, "23"},
                          {TOWA_CZN, "7"}});
  Goods("A02", "Zero", 0, {{TOWA_CSN, "5"}, {TOWA_CSB, "5"}, {TOWA_VST, "4"}});
  Goods("A03", "Minus", -1, {{TOWA_CSN, "5"}, {TOWA_CSB, "5"}, {TOWA_VST, "10"}});
  CharacterPrinting("SPN");
  Browse();
  Keys(Answers("T") + "{DOWN}{ENTER}{F2}{ENTER}");
  EXPECT_EQ(spis_z_natury(0), 0);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  std::string sheet = Printed();
  EXPECT_NE(sheet.find("SPIS Z NATURY wg cen SPRZEDAZY A"), std::string::npos) << sheet;
  EXPECT_NE(sheet.find("Spis zakonczono na pozycji     3"), std::string::npos) << sheet;
  EXPECT_DOUBLE_EQ(context->sumy_spisu[0], 20 - 5);
  EXPECT_DOUBLE_EQ(context->sumy_spisu[2], 24.6 - 5);
}

TEST_F(StocktakingTest, NothingPrintedWithoutEnterOrItemsOrPriceKind) {
  CharacterPrinting("SPN");
  Browse();
  Keys("Jan{ESC}");
  EXPECT_EQ(spis_z_natury(0), 0);
  Keys(Answers("N") + "{ENTER}");   // the empty list: " Brak pozycji !" and a key
  EXPECT_EQ(spis_z_natury(0), 0);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  Goods("A01", "Alfa", 1);
  Browse();
  Keys(Answers("N") + "{ESC}");
  EXPECT_EQ(spis_z_natury(0), 0);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  EXPECT_EQ(Printed(), "<none>");
}

}  // namespace
