// Copies in a given directory, the warehouse exports, the per-run export
// tables, the temporary catalogue tables and the own firm's data.
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "db/db_index.h"
#include "tables/exchange_tables.h"
#include "tables/firm_tables.h"
#include "tables/masterdata_tables.h"
#include "tests/db/db_test_support.h"
#include "tests/db/mdx_test_support.h"
#include "tests/tables/tables_fixture.h"

namespace {

class ExchangeTablesTest : public TablesTest {
 protected:
  void SetUp() override {
    TablesTest::SetUp();
    if (HasFatalFailure()) return;
    MakeDir("wymiana");
    exchange = EnvFromDiskPath(dir + "wymiana");
  }
  std::string exchange;
};

TEST_F(ExchangeTablesTest, HeaderCopyOfAGivenYearIsOpenedOrCreated) {
  static char pattern[] = "Z5SPEX  .DBF";
  ASSERT_EQ(OpenZ5SPRZCopy(pattern, 0, exchange.c_str(), 2023), 0);    // missing: created
  EXPECT_TRUE(Exists(dir + "wymiana/Z5SPEX23.DBF"));
  EXPECT_FALSE(Exists(dir + "wymiana/Z5SPEX23.MDX"));
  EXPECT_EQ(SprzCopy.index, nullptr);
  ASSERT_EQ(d4append_start(SprzCopy.table, 0), 0);
  d4blank(SprzCopy.table);
  f4assign_long(SprzCopy.field[0], 42);    // REC
  ASSERT_EQ(d4append(SprzCopy.table), 0);
  d4close(SprzCopy.table);
  ASSERT_EQ(OpenZ5SPRZCopy(pattern, 0, exchange.c_str(), 2023), 0);    // existing: opened as it is
  EXPECT_EQ(d4reccount(SprzCopy.table), 1);
  EXPECT_STREQ(f4name(SprzCopy.field[8]), "RE4");
  d4close(SprzCopy.table);
  ASSERT_EQ(OpenZ5SPRZCopy(pattern, 1, exchange.c_str(), 2023), 0);    // create: the working year, empty
  EXPECT_TRUE(Exists(dir + "wymiana/Z5SPEX26.DBF"));
  EXPECT_EQ(d4reccount(SprzCopy.table), 0);
}

TEST_F(ExchangeTablesTest, CopiesWithTagsFindTheirRecords) {
  ASSERT_EQ(OpenZ5SOEX(1, exchange.c_str(), 0), 0);
  EXPECT_TRUE(Exists(dir + "wymiana/Z5SOEX26.MDX"));
  ASSERT_EQ(d4append_start(SoexCopy.table, 0), 0);
  d4blank(SoexCopy.table);
  f4assign_long(d4field(SoexCopy.table, "SPR"), 2);
  f4assign_long(SoexCopy.field[0], 31);
  ASSERT_EQ(d4append(SoexCopy.table), 0);
  EXPECT_EQ(SeekSoexByRek(2, 31), 0);
  EXPECT_NE(SeekSoexByRek(1, 31), 0);

  ASSERT_EQ(OpenZ5KASACopy("Z5KASAEX.DBF", 1, exchange.c_str()), 0);
  ASSERT_EQ(d4append_start(KasaCopy.table, 0), 0);
  d4blank(KasaCopy.table);
  f4assign_int(KasaCopy.field[0], 3);
  f4assign_int(KasaCopy.field[1], 2026);
  f4assign_long(KasaCopy.field[2], 17);
  ASSERT_EQ(d4append(KasaCopy.table), 0);
  EXPECT_EQ(KasaCopyMatches(3, 2026, 17), 1);
  EXPECT_EQ(KasaCopyMatches(3, 2025, 17), 0);
  EXPECT_TRUE(Exists(dir + "wymiana/Z5KASAEX.MDX"));
}

TEST_F(ExchangeTablesTest, WarehouseExportsFollowTheDirectoryText) {
  std::string withSlash = exchange + "\\";
  ASSERT_EQ(OpenZ5MAEX(1, withSlash.c_str()), 0);
  ASSERT_EQ(OpenZ5EMEX(1, withSlash.c_str()), 0);
  ASSERT_EQ(OpenZ5SPISEX(1, withSlash.c_str()), 0);
  EXPECT_TRUE(Exists(dir + "wymiana/Z5MAEX26.DBF"));
  EXPECT_TRUE(Exists(dir + "wymiana/Z5EMEX26.DBF"));
  EXPECT_TRUE(Exists(dir + "wymiana/Z5SPISEX.MDX"));
  EXPECT_STREQ(f4name(Z5MAEX.field[23]), "KZA");
  EXPECT_STREQ(f4name(Z5SPISEX.field[18]), "WZB");
  d4close_all(&env->engine);
  ASSERT_EQ(OpenZ5SPISEX(0, withSlash.c_str()), 0);
  EXPECT_NE(Z5SPISEX.tag[0], nullptr);
}

TEST_F(ExchangeTablesTest, ExportsAreCreatedAnewEachRun) {
  for (int run = 1; run <= 2; run++) {
    ASSERT_EQ(CreateZ5ESPP(), 0);
    EXPECT_EQ(d4reccount(Z5ESPP.table), 0);
    ASSERT_EQ(d4append_start(Z5ESPP.table, 0), 0);
    d4blank(Z5ESPP.table);
    f4assign(Z5ESPP.field[1], run == 1 ? "PIERWSZY" : "DRUGI");
    ASSERT_EQ(d4append(Z5ESPP.table), 0);
    d4close(Z5ESPP.table);
  }
  PlainDbf espp(ReadFile(firm + "Z5ESPP26.DBF"));
  EXPECT_EQ(espp.count, 1u);
  EXPECT_EQ(espp.fields.size(), 79u);
  EXPECT_EQ(espp.fields[19].name, "N0K");
  EXPECT_EQ(espp.Value(1, 1).substr(0, 5), "DRUGI");
  MdxView mdx;
  ASSERT_TRUE(mdx.Load(firm + "Z5ESPP26.MDX"));
  ASSERT_EQ(mdx.tags[0].keys.size(), 1u);

  struct Case {
    int (*create)();
    TableHandles* set;
    const char* file;
    int fields, bound;
  };
  const Case cases[] = {
      {CreateZ5ESZT, &Z5ESZT, "Z5ESZT26.DBF", 46, 46},  {CreateZ5ESMA, &Z5ESMA, "Z5ESMA26.DBF", 8, 8},
      {CreateZ5KONTE, &Z5KONTE, "Z5KONTE.DBF", 7, 7},   {CreateZ5KONTES, &Z5KONTES, "Z5KONTES.DBF", 7, 6},
      {CreateUeTmp, &UeTmp, "UE_TMP.DBF", 6, 6},        {CreateUeErr, &UeErr, "UE_ERR.DBF", 4, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    std::memset(c.set, 0, sizeof *c.set);
    ASSERT_EQ(c.create(), 0);
    EXPECT_TRUE(Exists(firm + c.file));
    EXPECT_EQ(d4num_fields(c.set->table), c.fields);
    EXPECT_NE(c.set->field[c.bound - 1], nullptr);
    EXPECT_EQ(c.set->field[c.bound], nullptr);
  }
  ASSERT_EQ(d4append_start(Z5KONTE.table, 0), 0);
  d4blank(Z5KONTE.table);
  f4assign_long(Z5KONTE.field[6], 44);
  ASSERT_EQ(d4append(Z5KONTE.table), 0);
  EXPECT_EQ(SeekKontoExportByRec(44), 0);
}

TEST_F(ExchangeTablesTest, TemporaryGoodsTableLivesUnderTwoNamesUntilRemoved) {
  ASSERT_EQ(NameTowaTmp(), 0);
  ASSERT_EQ(CreateTowaTmp(), 0);
  EXPECT_EQ(d4num_fields(TowaTmp.table), 58);
  EXPECT_NE(TowaTmp.field[54], nullptr);
  EXPECT_EQ(TowaTmp.field[55], nullptr);
  EXPECT_NE(TowaTmp.tag[0], nullptr);
  EXPECT_EQ(TowaTmp.tag[1], nullptr);
  std::string table = TowaTmp.table->file.name;
  d4close(TowaTmp.table);
  ASSERT_EQ(NameTowaTmp(), 0);    // the names stay
  ASSERT_EQ(CreateTowaTmp(), 0);
  EXPECT_EQ(std::string(TowaTmp.table->file.name), table);
  d4close(TowaTmp.table);
  EXPECT_EQ(RemoveTowaTmp(), 0);
  int left = 0;
  for (const auto& entry : std::filesystem::directory_iterator(firm)) left += entry.path().extension() == ".TMP";
  EXPECT_EQ(left, 0);
}

TEST_F(ExchangeTablesTest, OwnFirmTableGetsItsRecord) {
  ASSERT_EQ(OpenZ5PAWL(), 0);
  EXPECT_EQ(d4reccount(Z5PAWL.table), 1);
  EXPECT_EQ(d4recno(Z5PAWL.table), 1);
  EXPECT_EQ(FirmaFlagCNS(), 'N');
  f4assign(Z5PAWL.field[0], "FIRMA SP. Z O.O.");
  f4assign(Z5PAWL.field[3], "1234567890");
  f4assign(Z5PAWL.field[100], "T");
  EXPECT_EQ(FirmaFlagCNS(), 'T');
  CopyFirmHeaderToEnvironment();
  EXPECT_STREQ(env->ownerName, "FIRMA SP. Z O.O.");
  EXPECT_STREQ(env->ownerName2, "");
  EXPECT_STREQ(env->ownerNip, "1234567890");
  d4close(Z5PAWL.table);
  ASSERT_EQ(OpenZ5PAWL(), 0);
  EXPECT_EQ(d4reccount(Z5PAWL.table), 1);
}

// The account summaries have fixed names: while one workstation's run holds
// them, another's creation is refused and the first's rows stay.
TEST_F(ExchangeTablesTest, AccountSummariesAreHeldByTheRunThatCreatedThem) {
  int go[2];
  ASSERT_EQ(pipe(go), 0);
  pid_t other = fork();
  ASSERT_GE(other, 0);
  if (other == 0) {
    char byte;
    if (read(go[0], &byte, 1) != 1) _exit(8);
    int code = 0;
    try {
      EnvCurrent()->engine.report_create_errors = 0;
      if (CreateZ5KONTE() == 0) code |= 1;
      if (CreateZ5KONTES() == 0) code |= 2;
    } catch (...) {
      code |= 4;
    }
    _exit(code);
  }
  ASSERT_EQ(CreateZ5KONTE(), 0);
  ASSERT_EQ(CreateZ5KONTES(), 0);
  for (TableHandles* set : {&Z5KONTE, &Z5KONTES}) {
    ASSERT_EQ(d4append_start(set->table, 0), 0);
    d4blank(set->table);
    f4assign(set->field[1], "100-0001");
    ASSERT_EQ(d4append(set->table), 0);
    d4flush(set->table);
  }
  ASSERT_EQ(write(go[1], "x", 1), 1);
  int status = 0;
  waitpid(other, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << WEXITSTATUS(status);
  d4close(Z5KONTE.table);
  d4close(Z5KONTES.table);
  EXPECT_EQ(PlainDbf(ReadFile(firm + "Z5KONTE.DBF")).count, 1u);
  EXPECT_EQ(PlainDbf(ReadFile(firm + "Z5KONTES.DBF")).count, 1u);
  close(go[0]);
  close(go[1]);
}

}  // namespace
