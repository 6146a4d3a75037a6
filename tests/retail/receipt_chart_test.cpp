// The chart of receipt positions: the monthly sums of its lines over seeded
// positions related to their accounts, and the window of the lines.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "db/db_scan.h"
#include "retail/position_register.h"
#include "retail/receipt_filters.h"
#include "tables/masterdata_tables.h"
#include "tests/retail/receipt_fixture.h"
#include "ui/browse.h"

namespace {

using namespace retail;

class ReceiptChartTest : public ReceiptTest {
 protected:
  void SetUp() override {
    ReceiptTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(OpenZ5KONT(0), 0);
    AppendNamed(Z5KONT, {{"REC", "1"}, {"NUM", "700-0001"}, {"NAZ", "Sprzedaz towarow"}});
    AppendNamed(Z5KONT, {{"REC", "2"}, {"NUM", "700-0002"}, {"NAZ", "Uslugi"}});
    // The register's filter positions each position's account.
    x4init(&scan, Z5PARE.table, [](intptr_t) {
      if (SeekKontoByRec(f4long(d4field(Z5PARE.table, "KON"))) != 0) d4blank(Z5KONT.table);
      return X4_ACCEPT;
    }, 0);
  }
  void Sold(const char* date, const char* code, int account, const char* quantity, const char* net) {
    Position(1, {{"DAV", date}, {"KOT", code}, {"KON", std::to_string(account)}, {"ILO", quantity}, {"WNE", net}});
  }
  DbScanCtx scan{};
};

TEST_F(ReceiptChartTest, LinesTakeThePositionsMatchingEveryGivenFilterWithinTheYear) {
  Sold("20260115", "A", 1, "2", "100");
  Sold("20260120", "A", 2, "1", "50");
  Sold("20260310", "A", 1, "3", "30");
  Sold("20260311", "AB", 1, "7", "70");     // a longer code is another code
  Sold("20251231", "A", 1, "9", "900");     // last year
  Sold("20270101", "A", 1, "9", "900");     // next year
  Sold("20260401", "B", 2, "4", "40");
  linie_wykresu_paragonow p{};
  std::strcpy(p.kod[0], "A");
  p.jest_kod[0] = 1;
  std::strcpy(p.kod[1], "A");
  p.jest_kod[1] = 1;
  std::strcpy(p.konto[1], "700-0001");
  p.jest_konto[1] = 1;
  std::strcpy(p.konto[2], "700-0002");
  p.jest_konto[2] = 1;
  ASSERT_EQ(sumuj_wykres(&scan, &p), 0);
  struct Month {
    int line, month;
    double quantity, value;
  } expected[] = {{0, 0, 3, 150}, {0, 2, 3, 30}, {1, 0, 2, 100}, {1, 2, 3, 30}, {2, 0, 1, 50}, {2, 3, 4, 40}};
  double quantities[4][12] = {}, values[4][12] = {};
  for (const Month& m : expected) {
    quantities[m.line][m.month] = m.quantity;
    values[m.line][m.month] = m.value;
  }
  for (int line = 0; line < 4; line++)
    for (int month = 0; month < 12; month++) {
      EXPECT_DOUBLE_EQ(p.ilosci[line][month], quantities[line][month]) << line << " " << month;
      EXPECT_DOUBLE_EQ(p.wartosci[line][month], values[line][month]) << line << " " << month;
    }
}

TEST_F(ReceiptChartTest, TheLinesWindowGivesNothingAfterEscOrWithEveryLineEmpty) {
  linie_wykresu_paragonow p{};
  for (const char* keys : {"{F2}", "{ESC}"}) {
    ASSERT_EQ(HeadlessSetScript(keys), 0);
    EXPECT_EQ(filtry_wykresu(&p), -1) << keys;
    EXPECT_EQ(HeadlessKeysLeft(), 0);
  }
}

TEST_F(ReceiptChartTest, AnAccountAloneMakesALine) {
  linie_wykresu_paragonow p{};
  ASSERT_EQ(HeadlessSetScript("{ENTER}7000002{ENTER}{F9}{F2}"), 0);
  EXPECT_EQ(filtry_wykresu(&p), 0);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  EXPECT_FALSE(p.jest_kod[0]);
  EXPECT_TRUE(p.jest_konto[0]);
  EXPECT_STREQ(p.konto[0], "700-0002");
  EXPECT_FALSE(p.jest_konto[1]);
  EXPECT_NE(seen.find("Określ filtry dla poszczególnych linii wykresu"), std::string::npos) << seen;
  EXPECT_NE(seen.find("wykres 4"), std::string::npos) << seen;
}

TEST_F(ReceiptChartTest, TheChartClearsTheRegistersHeaderJoinWhereverItEnds) {
  auto* context = new kontekst_ewidencji_paragonow{};
  kontekstEwidencjiParagonow = context;
  BrowseContext browse{};
  browse.scan = scan;
  CurrentBrowse = &browse;
  // Esc at the kind, Esc in the lines window, four empty lines
  for (const char* keys : {"{ESC}", "{ENTER}{ESC}", "{ENTER}{F2}"}) {
    context->zNaglowkiem = 1;
    ASSERT_EQ(HeadlessSetScript(keys), 0);
    EXPECT_EQ(wykres_paragonow(Z5PARE.table), 0) << keys;
    EXPECT_EQ(HeadlessKeysLeft(), 0) << keys;
    EXPECT_EQ(context->zNaglowkiem, 0) << keys;
  }
  CurrentBrowse = nullptr;
  kontekstEwidencjiParagonow = nullptr;
  delete context;
}

}  // namespace
