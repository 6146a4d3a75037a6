// Issues of one recipient and period written to exchange files by one firm
// and read in as receipts by the firm of the sub-warehouse.
#include <gtest/gtest.h>

#include <string>

#include "app/option_sets.h"
#include "masterdata/stock_update.h"
#include "masterdata/warehouse_documents.h"
#include "tables/masterdata_tables.h"
#include "tables/warehouse_tables.h"
#include "tests/tables/tables_fixture.h"

namespace {

class WarehouseExchangeTest : public TablesTest {
 protected:
  void SetUp() override {
    TablesTest::SetUp();
    if (HasFatalFailure()) return;
    MakeDir("wymiana");
    MakeDir("filia");
    exchange = EnvFromDiskPath(dir + "wymiana/");
    warehouseOptions.signalBelowMinimum = 'N';
    warehouseOptions.markChanges = 'N';
    std::strcpy(warehouseOptions.warehouseCode, "CENTRALA");
  }
  void TearDown() override {
    zamknij_okno_raportu(0);
    stronaMagazynu = nullptr;
    TablesTest::TearDown();
  }
  void Goods(const char* code, double stock, const char* priceA) {
    ASSERT_EQ(OpenZ5TOWA(0), 0);
    AppendNamed(Z5TOWA, {{"KOD", code}, {"NA1", code}, {"ILO", std::to_string(stock)}, {"STA", "A"},
                         {"CSN", priceA}, {"CZN", "1"}});
    d4close(Z5TOWA.table);
  }
  double Field(const char* code, const char* field) {
    EXPECT_EQ(OpenZ5TOWA(0), 0);
    double value = -999;
    for (int r = d4top(Z5TOWA.table); r == 0 && !d4eof(Z5TOWA.table); r = d4skip(Z5TOWA.table, 1))
      if (Trim(d4field(Z5TOWA.table, "KOD")) == code) value = f4double(d4field(Z5TOWA.table, field));
    d4close(Z5TOWA.table);
    return value;
  }
  void Issue(long rec, const char* date, const char* recipient, std::initializer_list<const char*> goods) {
    AppendNamed(Z5MAWY, {{"NUM", std::to_string(rec)}, {"DAT", date}, {"REC", std::to_string(rec)},
                         {"KOO", recipient}, {"NA1", recipient}});
    for (const char* code : goods)
      AppendNamed(Z5MAWE, {{"KOT", code}, {"NA1", code}, {"ILO", "2"}, {"CEN", "7.5"}, {"CEB", "9.23"},
                           {"REK", std::to_string(rec)}, {"NUM", std::to_string(rec)}, {"DAT", date}, {"STP", "T"}});
  }
  // The sub-warehouse's firm directory made current.
  void IntoBranch() {
    d4close_all(&env->engine);
    TransDir(EnvFromDiskPath(dir + "filia/").c_str(), &env->dataPath);
    ASSERT_EQ(ChangeDir(&env->dataPath, 0, 0), 0);
  }
  std::string exchange;
};

TEST_F(WarehouseExchangeTest, IssuesOfOneRecipientBecomeReceiptsOfItsWarehouse) {
  stronaMagazynu = &STRONA_WYDAN;
  Goods("T1", 50, "20");
  Goods("T2", 50, "30");
  ASSERT_EQ(OpenZ5MAWY(0), 0);
  ASSERT_EQ(OpenZ5MAWE(0), 0);
  Issue(1, "20260305", "FILIA", {"T1", "T2"});
  Issue(2, "20260306", "INNY", {"T1"});
  Issue(3, "20260307", "FILIA", {"T1"});
  Issue(4, "20260420", "FILIA", {"T2"});
  EXPECT_EQ(eksport_do_katalogu(exchange.c_str(), "20260301", "20260331", "FILIA"), 0);
  MakeDir("pusty");
  EXPECT_EQ(eksport_do_katalogu(EnvFromDiskPath(dir + "pusty/").c_str(), "20260101", "20260131", "FILIA"), 1)
      << "an empty period";
  EXPECT_TRUE(Exists(dir + "pusty/Z5MAEX26.DBF")) << "the files made anew all the same";

  IntoBranch();
  stronaMagazynu = &STRONA_PRZYJEC;
  std::strcpy(warehouseOptions.warehouseCode, "FILIA");
  warehouseOptions.stockOnImport = 'T';
  warehouseOptions.addGoodsOnImport = 'T';
  warehouseOptions.updatePricesOnImport = 'T';
  Goods("T1", 5, "19");
  ASSERT_EQ(OpenZ5MAPR(0), 0);
  ASSERT_EQ(OpenZ5MAPE(0), 0);
  AppendNamed(Z5MAPR, {{"NUM", "1"}, {"DAT", "20260301"}, {"REC", "1"}});
  EXPECT_EQ(import_z_katalogu(exchange.c_str()), 0);
  ASSERT_EQ(d4reccount(Z5MAPR.table), 3) << "documents 1 and 3";
  for (long record : {2L, 3L}) {
    ASSERT_EQ(d4go(Z5MAPR.table, record), 0);
    EXPECT_EQ(f4long(d4field(Z5MAPR.table, "REC")), record) << "a new identity";
    EXPECT_EQ(Trim(d4field(Z5MAPR.table, "KOO")), "CENTRALA") << "the sender is the supplier";
    EXPECT_EQ(Trim(d4field(Z5MAPR.table, "OPI")), "");
  }
  ASSERT_EQ(d4reccount(Z5MAPE.table), 3);
  const long reks[] = {2, 2, 3};
  for (long line = 1; line <= 3; line++) {
    ASSERT_EQ(d4go(Z5MAPE.table, line), 0);
    EXPECT_EQ(f4long(d4field(Z5MAPE.table, "REK")), reks[line - 1]);
    EXPECT_EQ(Trim(d4field(Z5MAPE.table, "STP")), "T");
  }
  d4close_all(&env->engine);
  EXPECT_DOUBLE_EQ(Field("T1", "ILO"), 9) << "two receipts of 2";
  EXPECT_DOUBLE_EQ(Field("T1", "CSN"), 20) << "the selling price taken";
  EXPECT_DOUBLE_EQ(Field("T2", "ILO"), 2) << "the missing goods added, then received";
  EXPECT_DOUBLE_EQ(Field("T2", "CZN"), 7.5) << "at the line's purchase price";
}

// Goods the branch lacks and may not add: the stock is not reached, so the
// line stays unapplied.
TEST_F(WarehouseExchangeTest, ALineWhoseGoodsAreMissingStaysUnapplied) {
  stronaMagazynu = &STRONA_WYDAN;
  Goods("T1", 50, "20");
  Goods("T2", 50, "30");
  ASSERT_EQ(OpenZ5MAWY(0), 0);
  ASSERT_EQ(OpenZ5MAWE(0), 0);
  Issue(1, "20260305", "FILIA", {"T1", "T2"});
  ASSERT_EQ(eksport_do_katalogu(exchange.c_str(), "20260301", "20260331", "FILIA"), 0);

  IntoBranch();
  stronaMagazynu = &STRONA_PRZYJEC;
  std::strcpy(warehouseOptions.warehouseCode, "FILIA");
  warehouseOptions.stockOnImport = 'T';
  warehouseOptions.addGoodsOnImport = 'N';
  warehouseOptions.updatePricesOnImport = 'N';
  Goods("T1", 5, "19");
  ASSERT_EQ(OpenZ5MAPR(0), 0);
  ASSERT_EQ(OpenZ5MAPE(0), 0);
  ASSERT_EQ(HeadlessSetScript("{ENTER}"), 0);   // the box of the goods not in the catalogue
  EXPECT_EQ(import_z_katalogu(exchange.c_str()), 0);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  ASSERT_EQ(d4reccount(Z5MAPE.table), 2);
  const char* applied[] = {"T", "N"};
  for (long line = 1; line <= 2; line++) {
    ASSERT_EQ(d4go(Z5MAPE.table, line), 0);
    EXPECT_EQ(Trim(d4field(Z5MAPE.table, "STP")), applied[line - 1]) << line;
  }
  d4close_all(&env->engine);
  EXPECT_DOUBLE_EQ(Field("T1", "ILO"), 7);
  EXPECT_DOUBLE_EQ(Field("T2", "ILO"), -999) << "not added";
}

TEST_F(WarehouseExchangeTest, FilesOfAnotherWarehouseAreRefused) {
  stronaMagazynu = &STRONA_WYDAN;
  Goods("T1", 50, "20");
  ASSERT_EQ(OpenZ5MAWY(0), 0);
  ASSERT_EQ(OpenZ5MAWE(0), 0);
  Issue(1, "20260305", "FILIA", {"T1"});
  ASSERT_EQ(eksport_do_katalogu(exchange.c_str(), "20260301", "20260331", "FILIA"), 0);

  IntoBranch();
  stronaMagazynu = &STRONA_PRZYJEC;
  std::strcpy(warehouseOptions.warehouseCode, "INNA");
  ASSERT_EQ(OpenZ5MAPR(0), 0);
  ASSERT_EQ(OpenZ5MAPE(0), 0);
  ASSERT_EQ(HeadlessSetScript("{ENTER}"), 0);
  EXPECT_EQ(import_z_katalogu(exchange.c_str()), -1);
  EXPECT_EQ(HeadlessKeysLeft(), 0) << "\"Niezgodność kodu magazynu.\" waited for its key";
  EXPECT_EQ(d4reccount(Z5MAPR.table), 0);
  EXPECT_EQ(d4reccount(Z5MAPE.table), 0);
}

}  // namespace
