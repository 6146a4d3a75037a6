// The sales exchange between installations: documents exported from one
// firm directory and imported into another's register of the same kind.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "env/paths.h"
#include "sales/sales_exchange.h"
#include "masterdata/stock_update.h"
#include "tables/exchange_tables.h"
#include "tables/masterdata_tables.h"
#include "tests/sales/sales_fixture.h"

namespace {

class SalesExchangeTest : public SalesTest {
 protected:
  void SetUp() override {
    SalesTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(OpenZ5SPRO(0, 0, SALES_MAIN), 0);
    ASSERT_EQ(mkdir((dir + "ex").c_str(), 0775), 0);
    exchange = EnvFromDiskPath(dir + "ex/");
  }
  // A document with `lines` lines and a recipient record.
  void Document(int rec, int kind, const char* date, int lines, Fields header = {}) {
    AppendSalesDocument(Z5SPRZ, Z5SPRE, rec, kind, "FV", date, header, {});
    for (int i = 0; i < lines; i++)
      AppendRecord(Z5SPRE.table, {{"REK", std::to_string(rec)}, {"TYV", std::to_string(kind)},
                                  {"NA1", "Pozycja " + std::to_string(i + 1)}, {"ZRP", "1"}, {"ILO", "2"},
                                  {"STA", "T"}, {"KOT", "T1"}});
    AppendRecord(Z5SPRO.table, {{"SPR", "1"}, {"REK", std::to_string(rec)}, {"NA1", "Odbiorca " + std::to_string(rec)}});
  }
  // Into a fresh firm directory, its register holding `existing` documents.
  void SecondFirm(int existing, int year = 2026, int mode = SALES_MAIN) {
    d4close_all(&env->engine);
    env->settlementYear = year;
    std::string second = dir + "firma2/";
    if (!PlatFileExists(second.c_str())) {
      ASSERT_EQ(mkdir(second.c_str(), 0775), 0);
    }
    TransDir(EnvFromDiskPath(second).c_str(), &env->dataPath);
    ASSERT_EQ(ChangeDir(&env->dataPath, 0, 0), 0);
    ASSERT_EQ(OpenZ5SPRZ(0, 0, mode), 0);
    ASSERT_EQ(OpenZ5SPRE(0, 0, mode), 0);
    ASSERT_EQ(OpenZ5SPRO(0, 0, mode), 0);
    context.rejestr = mode == SALES_MAIN ? 1 : 2;
    for (int i = 1; i <= existing; i++) AppendSalesDocument(Z5SPRZ, Z5SPRE, i, 1, "FV", "20261101", {}, {{}});
  }
  long Export(int choice, const char* from = "20261201", const char* to = "20261231") {
    return EksportujSprzedaz(choice, from, to, exchange.c_str());
  }
  std::vector<long> Column(DbTable* t, const char* name) {
    std::vector<long> values;
    for (long n = 1; n <= d4reccount(t); n++) {
      d4go(t, n);
      values.push_back(f4long(d4field(t, name)));
    }
    return values;
  }
  std::string exchange;
};

TEST_F(SalesExchangeTest, ImportGivesNewRecsWithTheirLinesAndRecipients) {
  Document(1, 1, "20261205", 2, {{"DAV", "20261205"}, {"TRK", "1"}, {"LPO", "7"}});
  Document(2, 1, "20261205", 1, {{"DAV", "20261120"}});   // VAT date before the period
  EXPECT_EQ(Export(WG_DATY_VAT), 1);
  EXPECT_EQ(Boxes(), "Eksport zakończony pomyślnie.");

  SecondFirm(3);
  EXPECT_EQ(ImportujSprzedaz(2026, exchange.c_str()), 1);
  EXPECT_EQ(Boxes(), "Import zakończony pomyślnie.");
  ASSERT_EQ(d4reccount(Z5SPRZ.table), 4);
  d4go(Z5SPRZ.table, 4);
  EXPECT_EQ(f4long(d4field(Z5SPRZ.table, "REC")), 4);
  EXPECT_EQ(FieldText(Z5SPRZ.table, "TRK"), "") << "the document is not posted here";
  EXPECT_EQ(FieldText(Z5SPRZ.table, "LPO"), "");
  EXPECT_EQ(Column(Z5SPRE.table, "REK"), (std::vector<long>{1, 2, 3, 4, 4}));
  EXPECT_EQ(Column(Z5SPRE.table, "REC"), (std::vector<long>{0, 0, 0, 4, 5}));
  for (long n : {4, 5}) {
    d4go(Z5SPRE.table, n);
    EXPECT_EQ(FieldText(Z5SPRE.table, "STA"), "N") << "option 42 is 'N': no stock moved";
  }
  ASSERT_EQ(d4reccount(Z5SPRO.table), 1);
  d4go(Z5SPRO.table, 1);
  EXPECT_EQ(f4long(d4field(Z5SPRO.table, "REK")), 4);
  EXPECT_EQ(f4long(d4field(Z5SPRO.table, "REC")), 1);
}

TEST_F(SalesExchangeTest, From2024TheMainRegisterSkipsAdvanceAndProFormaKinds) {
  int rec = 1;
  for (int kind : {1, 6, 9, 10, 11, 2}) Document(rec++, kind, "20261210", 1);
  EXPECT_EQ(Export(WG_DATY_WYSTAWIENIA), 6);
  SecondFirm(0);
  EXPECT_EQ(ImportujSprzedaz(2026, exchange.c_str()), 2);
  EXPECT_EQ(Column(Z5SPRZ.table, "TYV"), (std::vector<long>{1, 2}));
  EXPECT_EQ(Column(Z5SPRE.table, "REK"), (std::vector<long>{1, 2}));
}

TEST_F(SalesExchangeTest, AuxiliaryRegisterBefore2024TurnsAdvancesIntoTenOrEleven) {
  Document(1, 9, "20231210", 1, {{"SDR", "3"}});
  Document(2, 9, "20231210", 1, {{"SDR", "1"}});
  Document(3, 1, "20231210", 1, {{"AKT", "1"}});   // a main-register document of an advance
  EXPECT_EQ(Export(WG_DATY_WYSTAWIENIA, "20231201", "20231231"), 3);
  // The tables carry the working year's digits: name them for 2023.
  for (const char* name : {"Z5SPEX", "Z5ESEX", "Z5SOEX"})
    for (const char* ext : {".DBF", ".MDX", ".MRK"})
      std::rename((dir + "ex/" + name + "26" + ext).c_str(), (dir + "ex/" + name + "23" + ext).c_str());
  SecondFirm(0, 2023, SALES_AUX);
  EXPECT_EQ(ImportujSprzedaz(2023, exchange.c_str()), 2);
  EXPECT_EQ(Column(Z5SPRZ.table, "TYV"), (std::vector<long>{10, 11}));
}

TEST_F(SalesExchangeTest, HeaderWithoutLinesRefusesTheWholeImport) {
  Document(1, 1, "20261210", 1);
  Document(2, 1, "20261211", 0);
  EXPECT_EQ(Export(WG_DATY_WYSTAWIENIA), 2);
  Boxes();
  SecondFirm(1);
  EXPECT_EQ(ImportujSprzedaz(2026, exchange.c_str()), -2);
  EXPECT_EQ(Boxes(), "Import zakończony błędnie.");
  EXPECT_EQ(d4reccount(Z5SPRZ.table), 1) << "the document before the fault is not stored either";
  EXPECT_EQ(d4reccount(Z5SPRE.table), 1);
  EXPECT_EQ(d4reccount(Z5SPRO.table), 0);
}

TEST_F(SalesExchangeTest, MissingTablesOrNoLinesAreRefused) {
  SecondFirm(0);
  EXPECT_EQ(ImportujSprzedaz(2026, exchange.c_str()), -2);
  EXPECT_EQ(Boxes(), "Import zakończony błędnie.");
  // A header without a single line in the tables: " Brak pozycji !".
  AppendSalesDocument(Z5SPRZ, Z5SPRE, 1, 1, "FV", "20261210", {{"DAV", ""}}, {});
  EXPECT_EQ(Export(BEZ_DATY_VAT), 1);
  Boxes();
  EXPECT_EQ(ImportujSprzedaz(2026, exchange.c_str()), -1);
  EXPECT_EQ(Boxes(), " Brak pozycji !");
  EXPECT_EQ(d4reccount(Z5SPRZ.table), 1);
}

}  // namespace

namespace {

// Option 42 'T': the goods of an imported line leave the stock and the line
// says so.
class SalesExchangeStockTest : public SalesScreenTest {
 protected:
  void TearDown() override {
    zamknij_okno_raportu(0);
    SalesScreenTest::TearDown();
  }
};

TEST_F(SalesExchangeStockTest, OptionTakesTheGoodsOfImportedLines) {
  ASSERT_EQ(OpenZ5SPRO(0, 0, SALES_MAIN), 0);
  ASSERT_EQ(mkdir((dir + "ex").c_str(), 0775), 0);
  std::string exchange = EnvFromDiskPath(dir + "ex/");
  int rec = 1;
  for (int kind : {1, 6})
    AppendSalesDocument(Z5SPRZ, Z5SPRE, rec++, kind, "FV", "20261210", {},
                        {{{"KOT", "T1"}, {"NA1", "T1"}, {"ILO", "2"}, {"ZRP", "1"}}});
  ASSERT_EQ(HeadlessSetScript("xxxxxxxxxx"), 0);
  EXPECT_EQ(EksportujSprzedaz(WG_DATY_WYSTAWIENIA, "20261201", "20261231", exchange.c_str()), 2);
  ASSERT_EQ(OpenZ5TOWA(0), 0);
  AppendRecord(Z5TOWA.table, {{"KOD", "T1"}, {"NA1", "T1"}, {"ILO", "10"}});
  d4close(Z5TOWA.table);
  salesOptions.stockOnImport = 'T';
  ASSERT_EQ(HeadlessSetScript("xxxxxxxxxx"), 0);
  EXPECT_EQ(ImportujSprzedaz(2026, exchange.c_str()), 1) << "from 2024 the main register leaves the pro forma";
  ASSERT_EQ(d4reccount(Z5SPRE.table), 3);
  d4go(Z5SPRE.table, 3);
  EXPECT_EQ(FieldText(Z5SPRE.table, "STA"), "T");
  ASSERT_EQ(OpenZ5TOWA(0), 0);
  d4go(Z5TOWA.table, 1);
  EXPECT_DOUBLE_EQ(f4double(d4field(Z5TOWA.table, "ILO")), 8);
  d4close(Z5TOWA.table);
}

}  // namespace
