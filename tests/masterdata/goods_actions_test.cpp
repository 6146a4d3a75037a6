// The goods catalogue's actions over its filtered list: the minimum filter,
// clearing marks, the searches, the stock values, the group printout.
#include <gtest/gtest.h>

#include "masterdata/goods_actions.h"
#include "tests/masterdata/goods_fixture.h"

namespace {

class GoodsActionsTest : public GoodsTest {};

int StockAboveZero(intptr_t) { return f4double(Z5TOWA.field[TOWA_ILO]) > 0 ? X4_ACCEPT : X4_REJECT; }

const std::string kMark = "\xC2\xA5";   // the mark byte 0x9D shown in UTF-8

TEST_F(GoodsActionsTest, MinimumFilterAcceptsStockNotAboveMinimum) {
  struct Case {
    double minimum, stock;
    int answer;
  } cases[] = {{5, 3, X4_ACCEPT}, {5, 5, X4_ACCEPT}, {5, 5.0001, X4_REJECT}, {0, -1, X4_ACCEPT}, {0, 1, X4_REJECT}};
  int n = 0;
  for (const Case& c : cases)
    Goods("M" + std::to_string(++n), "x", c.stock, {{TOWA_ILM, std::to_string(c.minimum)}});
  for (int i = 0; i < n; i++) {
    ASSERT_EQ(d4go(Z5TOWA.table, i + 1), 0);
    EXPECT_EQ(filtr_minimum(Z5TOWA.field[TOWA_ILO], Z5TOWA.table), cases[i].answer) << i;
  }
}

TEST_F(GoodsActionsTest, ClearingMarksTouchesTheFilteredGoodsOnly) {
  Goods("A", "Alfa", 1, {{TOWA_ZNA, "\x9D"}});
  Goods("B", "Beta", 0, {{TOWA_ZNA, "\x9D"}});
  Goods("C", "Gamma", 2, {{TOWA_ZNA, "\x9D"}});
  Browse(StockAboveZero);
  Keys("{ESC}");
  EXPECT_EQ(usun_znaczniki_towarow(0), 0);
  EXPECT_EQ(MazToUtf8Text((At(1, TOWA_ZNA)).c_str()), kMark);
  Keys("T");
  EXPECT_EQ(usun_znaczniki_towarow(0), 0);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  EXPECT_EQ(At(1, TOWA_ZNA), "");
  EXPECT_EQ(MazToUtf8Text(At(2, TOWA_ZNA).c_str()), kMark);
  EXPECT_EQ(At(3, TOWA_ZNA), "");
}

TEST_F(GoodsActionsTest, ClearingMarksWalksTheMarkedGoodsOrderToItsEnd) {
  for (const char* code : {"A", "B", "C", "D"}) Goods(code, code, 1, {{TOWA_ZNA, "\x9D"}});
  Browse();
  EXPECT_EQ(szukaj_towaru(3), 0);
  Keys("T");
  EXPECT_EQ(usun_znaczniki_towarow(0), 0);
  for (long record = 1; record <= 4; record++) EXPECT_EQ(At(record, TOWA_ZNA), "") << record;
  EXPECT_EQ(d4tag_selected(Z5TOWA.table), Z5TOWA.tag[TOWA_TAG_MARKED]);
}

TEST_F(GoodsActionsTest, SearchesByCodeNameAndMark) {
  Goods("A10", "Zeta", 1);
  Goods("B20", "Alfa", 1, {{TOWA_ZNA, "\x9D"}});
  Goods("C30", "Omega", 0);
  Browse(StockAboveZero);
  struct Case {
    int kind;
    const char* keys;
    long record;
    int tag;
  } cases[] = {
      {1, "b{ENTER}", 2, TOWA_TAG_KOD},       // upper-cased, the next key
      {1, "A1{ENTER}", 1, TOWA_TAG_KOD},
      {1, "C{ENTER}", 1, TOWA_TAG_KOD},       // filtered out and past the end: stays
      {2, "ze{ENTER}", 1, TOWA_TAG_NA1},
      {2, "b{ENTER}", 1, TOWA_TAG_NA1},       // "ZETA" is the next name
      {1, "b{ESC}", 1, TOWA_TAG_NA1},         // Esc keeps the order and the record
      {3, "", 2, TOWA_TAG_MARKED},
  };
  for (const Case& c : cases) {
    Keys(c.keys);
    EXPECT_EQ(szukaj_towaru(c.kind), 0) << c.kind << " " << c.keys;
    EXPECT_EQ(HeadlessKeysLeft(), 0) << c.kind << " " << c.keys;
    EXPECT_EQ(d4recno(Z5TOWA.table), c.record) << c.kind << " " << c.keys;
    EXPECT_EQ(d4tag_selected(Z5TOWA.table), Z5TOWA.tag[c.tag]) << c.kind << " " << c.keys;
  }
}

TEST_F(GoodsActionsTest, StockValuePagePrinted) {
  Goods("A", "Alfa", 2, {{TOWA_WZN, "1000.50"}, {TOWA_WZB, "1230.62"}, {TOWA_WSN, "1500"}, {TOWA_WSB, "1845"},
                         {TOWA_WBN, "1400"}, {TOWA_WBB, "1722"}, {TOWA_WCN, "1300"}, {TOWA_WCB, "1599"}});
  Goods("B", "Beta", 0, {{TOWA_WZN, "999"}, {TOWA_WSN, "999"}});
  Goods("C", "Gamma", 3, {{TOWA_WZN, "0.25"}, {TOWA_WZB, "0.31"}, {TOWA_WSN, "1234567.89"}});
  CharacterPrinting("SUM");
  std::strcpy(env->ownerName, "Firma Test");
  env->ownerName2[0] = 0;
  Browse(StockAboveZero);
  Keys("{F2}{F2}{ENTER}");
  EXPECT_EQ(wartosc_spisu(0), 0);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  EXPECT_EQ(context->sumy[0], 1000.75);
  EXPECT_EQ(context->sumy[2], 1236067.89);
  ExpectGolden("stock_value.txt", Printed());
}

TEST_F(GoodsActionsTest, GroupPrintoutSumsEachGroupOfThreeCodeCharacters) {
  Goods("ABC1", "Alfa", 1, {{TOWA_WZN, "10"}, {TOWA_WSN, "12"}});
  Goods("ABC2", "Beta", 1, {{TOWA_WZN, "20.5"}, {TOWA_WSN, "25"}});
  Goods("ABD1", "Gamma", 1, {{TOWA_WZN, "1"}, {TOWA_WSN, "2"}});
  Goods("ABD2", "Pomini\xC4\x99ty", 0, {{TOWA_WZN, "100"}, {TOWA_WSN, "100"}});
  Goods("XYZ", "Delta", 2, {{TOWA_WZN, "3"}, {TOWA_WSN, "4"}});
  CharacterPrinting("TAB", 0, "Z5TOWAGR");
  std::strcpy(env->ownerName, "Firma Test");
  env->ownerName2[0] = 0;
  Browse(StockAboveZero);
  d4tag_select(Z5TOWA.table, Z5TOWA.tag[TOWA_TAG_NA1]);
  Keys("{F2}{F2}{ENTER}");
  EXPECT_EQ(drukuj_towary_grupami(0), 0);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  ExpectGolden("group_printout.txt", Printed());
  // the browse keeps its order; the temporary table is gone
  EXPECT_EQ(d4tag_selected(Z5TOWA.table), Z5TOWA.tag[TOWA_TAG_NA1]);
  EXPECT_EQ(TowaTmp.table, nullptr);
}

}  // namespace
