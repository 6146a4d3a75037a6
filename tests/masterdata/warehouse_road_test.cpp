// A warehouse receipt on the real program, headless: START into a firm,
// " Magazyn " > " Przyjęcie ", a new document for a sub-warehouse with one
// line entered at net prices, the stock it puts in, and " Usuń ".
#include <gtest/gtest.h>

#include <string>

#include "app/option_sets.h"
#include "tables/masterdata_tables.h"
#include "tables/warehouse_tables.h"
#include "tests/app/program_road.h"
#include "tests/sales/sales_fixture.h"

namespace {

constexpr const char* INTO_RECEIPTS = "s{ENTER}mp";

class WarehouseRoadTest : public ProgramRoadTest {
 protected:
  void SeedFirm() {
    RunToEnd(std::string(LOGO) + "kdFIRMA1{ENTER}firma1{ENTER}{ENTER}{F2}t{ESC}");
    RunToEnd(std::string(LOGO) + INTO_RECEIPTS + "{ESC}{ESC}{ESC}");
    TransDir(EnvFromDiskPath(home + "firma1/").c_str(), &env->dataPath);
    ASSERT_EQ(ChangeDir(&env->dataPath, 0, 0), 0);
    env->settlementYear = 2025;
    ASSERT_EQ(LoadMagazynOptions(), 0);
    warehouseOptions.stockOnEntry = 'T';
    warehouseOptions.autoNumbering = 'T';
    ASSERT_EQ(SaveMagazynOptions(), 0);
    ASSERT_EQ(OpenZ5TOWA(0), 0);
    AppendRecord(Z5TOWA.table, {{"KOD", "T1"}, {"NA1", "Towar pierwszy"}, {"JED", "szt"}, {"VZT", "1"},
                                {"VZS", "23"}, {"CZN", "10"}, {"ILO", "2"}, {"STA", "A"}});
    ASSERT_EQ(OpenZ5KHNT(0), 0);
    AppendRecord(Z5KHNT.table, {{"KOD", "PODMAG"}, {"NA1", "Podmagazyn Północ"}, {"MIA", "Gdańsk"}, {"TYP", "4"},
                                {"STA", "A"}});
    d4close_all(&env->engine);
  }
  double Stock() {
    EXPECT_EQ(OpenZ5TOWA(0), 0);
    EXPECT_EQ(d4go(Z5TOWA.table, 1), 0);
    double stock = f4double(d4field(Z5TOWA.table, "ILO"));
    d4close_all(&env->engine);
    return stock;
  }
};

TEST_F(WarehouseRoadTest, ReceiptWithOneLinePutsItsQuantityInAndDeletionTakesItBack) {
  SeedFirm();
  // The date, the contractor's code (its name and address filled, the
  // cursor passing them), F4 into the lines at net prices, one line saved
  // with the stock report's pause, the next line's form and the list left,
  // the header saved, the next new document left.
  RunToEnd(std::string(LOGO) + INTO_RECEIPTS +
           "{INS}150325{ENTER}PODMAG{ENTER}{F4}T1{ENTER}3{ENTER}{ENTER}{ENTER}10.005{ENTER}{F2}t{ENTER}{ESC}{ESC}{ESC}"
           "{F2}t{ESC}{ESC}{ESC}{ESC}{ESC}");
  EXPECT_DOUBLE_EQ(Stock(), 5);
  ASSERT_EQ(OpenZ5MAPR(0), 0);
  ASSERT_EQ(OpenZ5MAPE(0), 0);
  ASSERT_EQ(d4reccount(Z5MAPR.table), 2) << "the second new document was appended and deleted";
  ASSERT_EQ(d4go(Z5MAPR.table, 1), 0);
  EXPECT_EQ(FieldText(Z5MAPR.table, "NUM"), "    1");
  EXPECT_EQ(FieldText(Z5MAPR.table, "KOO"), "PODMAG");
  EXPECT_EQ(FieldText(Z5MAPR.table, "NA1"), "Podmagazyn Północ");
  EXPECT_EQ(FieldText(Z5MAPR.table, "NET"), "      30.03");
  EXPECT_EQ(FieldText(Z5MAPR.table, "VAT"), "      6.91");
  EXPECT_EQ(FieldText(Z5MAPR.table, "BRU"), "      36.94");
  EXPECT_EQ(FieldText(Z5MAPR.table, "AKT"), "0");
  EXPECT_EQ(FieldText(Z5MAPR.table, "REC"), "      1");
  ASSERT_EQ(d4reccount(Z5MAPE.table), 1);
  ASSERT_EQ(d4go(Z5MAPE.table, 1), 0);
  EXPECT_EQ(FieldText(Z5MAPE.table, "STP"), "T");
  EXPECT_EQ(FieldText(Z5MAPE.table, "REK"), "      1");
  EXPECT_EQ(FieldText(Z5MAPE.table, "NUM"), "    1");
  EXPECT_EQ(FieldText(Z5MAPE.table, "CEN"), "     10.0100");
  EXPECT_EQ(FieldText(Z5MAPE.table, "CEB"), "     12.3100");
  d4close_all(&env->engine);

  // " Usuń ", the question, the stock report's pause.
  RunToEnd(std::string(LOGO) + INTO_RECEIPTS + "ut{ENTER}{ESC}{ESC}{ESC}");
  EXPECT_DOUBLE_EQ(Stock(), 2);
  ASSERT_EQ(OpenZ5MAPR(0), 0);
  ASSERT_EQ(OpenZ5MAPE(0), 0);
  ASSERT_EQ(d4go(Z5MAPR.table, 1), 0);
  EXPECT_TRUE(d4deleted(Z5MAPR.table));
  ASSERT_EQ(d4go(Z5MAPE.table, 1), 0);
  EXPECT_TRUE(d4deleted(Z5MAPE.table));
  d4close_all(&env->engine);
}

}  // namespace
