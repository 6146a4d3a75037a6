// What the openers do beyond opening: the year and the handle set by mode,
// the nested cash book, the contractors' directory, tables of a fixed record
// count, the carry-over into a new year, the one-time fills of newer columns,
// and the copy of a document into the other register.
#include <cstring>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "db/db_index.h"
#include "db/db_lock.h"
#include "env/error_log.h"
#include "tables/book_tables.h"
#include "tables/cash_tables.h"
#include "tables/exchange_tables.h"
#include "tables/masterdata_tables.h"
#include "tables/personnel_tables.h"
#include "tables/register_tables.h"
#include "tables/sales_tables.h"
#include "tables/tax_tables.h"
#include "tests/db/db_test_support.h"
#include "tests/tables/tables_fixture.h"

namespace {

std::string Field(TableHandles& set, int field) { return std::string(f4ptr(set.field[field]), f4len(set.field[field])); }

using CatalogueBehaviourTest = TablesTest;

TEST_F(CatalogueBehaviourTest, MustExistOnAMissingTableGivesOneAndCreatesNothing) {
  EXPECT_EQ(OpenZ5KONT(OPEN_DBF_MUST_EXIST), 1);
  EXPECT_EQ(OpenZ5PLEW(OPEN_DBF_REINDEX | OPEN_DBF_MUST_EXIST), 1);
  EXPECT_EQ(OpenZ5KRAJ(OPEN_DBF_MUST_EXIST), 1);
  EXPECT_FALSE(Exists(firm + "Z5KONT.DBF"));
  EXPECT_FALSE(Exists(firm + "Z5PLEW26.DBF"));
  EXPECT_FALSE(Exists(dir + "wspolne/Z5KRAJ.DBF"));
  EXPECT_EQ(Z5KONT.table, nullptr);
}

TEST_F(CatalogueBehaviourTest, ModeChoosesRegisterYearAndHandleSet) {
  ASSERT_EQ(OpenZ5SPRZ(2024, 0, SALES_MAIN_SECOND), 0);
  EXPECT_NE(Z5SPRZ_2.table, nullptr);
  EXPECT_EQ(Z5SPRZ.table, nullptr);
  EXPECT_TRUE(Exists(firm + "Z5SPRZ24.DBF"));
  ASSERT_EQ(OpenZ5SPRZ(0, 0, SALES_MAIN), 0);
  EXPECT_NE(Z5SPRZ.table, nullptr);
  EXPECT_TRUE(Exists(firm + "Z5SPRZ26.DBF"));
  ASSERT_EQ(OpenZ5SPRE(0, 0, 3), 0);       // any other mode: the auxiliary register, current set
  EXPECT_TRUE(Exists(firm + "Z5SPOE26.DBF"));
}

// Where 0 does not stand for the working year, it is refused rather than
// turned into a name for the year 00.
TEST_F(CatalogueBehaviourTest, YearZeroIsRefusedWhereItIsNotTheWorkingYear) {
  struct Case {
    const char* what;
    int (*open)();
  };
  const Case cases[] = {
      {"sales headers mode 5", [] { return OpenZ5SPRZ(0, 0, SALES_MAIN_SECOND); }},
      {"sales lines mode 5", [] { return OpenZ5SPRE(0, 0, SALES_MAIN_SECOND); }},
      {"book", [] { return OpenZ5DANE(0, 0); }},
      {"flat-rate register", [] { return OpenZ5RYPR(0, 0); }},
      {"book totals", [] { return OpenZ5STAK(0); }},
      {"flat-rate totals", [] { return OpenZ5STRB(0); }},
      {"contributions", [] { return OpenZ5ZUWS(0, 0); }},
      {"header copy", [] {
         char pattern[] = "Z5SPEX  .DBF";
         return OpenZ5SPRZCopy(pattern, 0, ".", 0);
       }},
  };
  for (const Case& c : cases) EXPECT_EQ(c.open(), -1) << c.what;
  EXPECT_TRUE(PlatFileExists((firm + "Z5SPRZ00.DBF").c_str()) == false);
  for (const char* name : {"Z5SPRZ00.DBF", "Z5SPRE00.DBF", "Z5DANE00.DBF", "Z5RYCZ00.DBF", "Z5STAK00.DBF",
                           "Z5STRY00.DBF", "Z5ZUWS00.DBF", "Z5SPEX00.DBF"})
    EXPECT_FALSE(Exists(firm + name)) << name;
}

TEST_F(CatalogueBehaviourTest, CashBookOpenedTwiceNeedsTwoCloses) {
  ASSERT_EQ(OpenZ5KASA(0), 0);
  DbTable* first = Z5KASA.table;
  ASSERT_EQ(OpenZ5KASA(0), 0);
  EXPECT_EQ(Z5KASA.table, first);
  d4close(Z5KASA.table);
  ASSERT_NE(Z5KASA.table, nullptr);
  EXPECT_EQ(d4tag_selected(Z5KASA.table), Z5KASA.tag[0]);
  Append(Z5KASA, {{3, "20261210"}, {5, "1"}});
  EXPECT_EQ(d4reccount(Z5KASA.table), 1);
  d4close(Z5KASA.table);
  EXPECT_EQ(Z5KASA.table, nullptr);
}

TEST_F(CatalogueBehaviourTest, SharedContractorsLieInTheCommonOrTheOptionsDirectory) {
  optionSharedContractors = 'T';
  ASSERT_EQ(OpenZ5KHNT(0), 0);
  EXPECT_TRUE(Exists(dir + "wspolne/Z5KHNT.DBF"));
  EXPECT_FALSE(Exists(firm + "Z5KHNT.DBF"));
  d4close(Z5KHNT.table);

  MakeDir("kontrahenci");
  std::string option = EnvFromDiskPath(dir + "kontrahenci");
  std::memcpy(optionContractorsDir, option.c_str(), option.size());
  ASSERT_EQ(OpenZ5KHNT(0), 0);
  EXPECT_TRUE(Exists(dir + "kontrahenci/Z5KHNT.DBF"));
  d4close(Z5KHNT.table);

  std::string before = WorkDirQStr();
  std::memset(optionContractorsDir, ' ', sizeof optionContractorsDir - 1);
  option = EnvFromDiskPath(dir + "brak/takiego/katalogu");
  std::memcpy(optionContractorsDir, option.c_str(), option.size());
  HeadlessSetScript("{ENTER}{ENTER}{ENTER}");
  EXPECT_EQ(OpenZ5KHNT(0), -1);
  EXPECT_EQ(std::string(WorkDirQStr()), before);
  EXPECT_EQ(Z5KHNT.table, nullptr);
}

TEST_F(CatalogueBehaviourTest, TotalsOfAnotherRecordCountAreReplacedAndTheOldFileKept) {
  char program[] = "Zelsal";
  char* argv[] = {program, nullptr};
  ASSERT_EQ(OpenErrLog(1, argv), 0);
  for (int count : {12, 14}) {
    SCOPED_TRACE(count);
    ASSERT_EQ(OpenZ5STAK(2025), 0);
    ASSERT_EQ(d4reccount(Z5STAK.table), 13);
    // Give it another count, with sums in it.
    while (d4reccount(Z5STAK.table) > count) {
      ASSERT_EQ(d4go(Z5STAK.table, d4reccount(Z5STAK.table)), 0);
      d4delete(Z5STAK.table);
      ASSERT_EQ(d4pack(Z5STAK.table), 0);
    }
    while (d4reccount(Z5STAK.table) < count) Append(Z5STAK, {{0, "99"}});
    ASSERT_EQ(d4go(Z5STAK.table, 1), 0);
    f4assign(Z5STAK.field[3], "1234.56");
    f4assign(Z5STAK.field[1], "Z");
    d4close(Z5STAK.table);

    ASSERT_EQ(OpenZ5STAK(2025), 0);
    EXPECT_EQ(Z5STAKYear, 2025);
    ASSERT_EQ(d4reccount(Z5STAK.table), 13);
    for (int n = 1; n <= 13; n++) {
      ASSERT_EQ(d4go(Z5STAK.table, n), 0);
      EXPECT_EQ(Field(Z5STAK, 0), n == 13 ? "**" : (n < 10 ? " " : "") + std::to_string(n));
      EXPECT_EQ(Field(Z5STAK, 1), "A");
      EXPECT_EQ(Field(Z5STAK, 2), " ");
      EXPECT_EQ(Trim(Z5STAK.field[3]), "");
    }
    d4close(Z5STAK.table);
    ASSERT_TRUE(Exists(firm + "Z5STAK25.BAK"));
    PlainDbf kept(ReadFile(firm + "Z5STAK25.BAK"));
    EXPECT_EQ(kept.count, (unsigned)count);
    EXPECT_NE(kept.Value(1, 3).find("1234.56"), std::string::npos);
    PlatFileDelete((firm + "Z5STAK25.DBF").c_str());
  }
  std::string log = dir + "home/" + ErrLogFileName();
  CloseErrLog();
  EXPECT_NE(ReadFile(log).find("Z5STAK25.BAK"), std::string::npos);
}

TEST_F(CatalogueBehaviourTest, FlatRateTotalsFollowTheYear) {
  ASSERT_EQ(OpenZ5STRB(2021), 0);
  EXPECT_TRUE(Exists(firm + "Z5STRY21.DBF"));
  EXPECT_EQ(d4num_fields(Z5STRB.table), 15);
  for (int n = 1; n <= 13; n++) {
    ASSERT_EQ(d4go(Z5STRB.table, n), 0);
    EXPECT_EQ(Field(Z5STRB, 2), "N");
  }
  d4close(Z5STRB.table);
  ASSERT_EQ(OpenZ5STRB(2022), 0);
  EXPECT_TRUE(Exists(firm + "Z5STRB22.DBF"));
  EXPECT_EQ(d4num_fields(Z5STRB.table), 19);
  EXPECT_EQ(d4reccount(Z5STRB.table), 13);
}

// Last year's goods are carried into the new year on 'T' and not on Esc.
TEST_F(CatalogueBehaviourTest, GoodsAreCarriedOverOnlyWhenTheOperatorAgrees) {
  for (const char* answer : {"T", "{ESC}"}) {
    SCOPED_TRACE(answer);
    env->settlementYear = 2025;
    ASSERT_EQ(OpenZ5TOWA(0), 0);
    Append(Z5TOWA, {{2, "B"}, {25, "5"}});
    Append(Z5TOWA, {{2, "A"}, {25, "5"}});
    d4close(Z5TOWA.table);
    env->settlementYear = 2026;
    HeadlessSetScript(answer);
    ASSERT_EQ(OpenZ5TOWA(0), 0);
    EXPECT_EQ(HeadlessKeysLeft(), 0);    // asked once
    bool carried = answer[0] == 'T';
    ASSERT_EQ(d4reccount(Z5TOWA.table), carried ? 2 : 0);
    if (carried) {
      d4tag_select(Z5TOWA.table, Z5TOWA.tag[0]);
      ASSERT_EQ(d4top(Z5TOWA.table), 0);
      EXPECT_EQ(Trim(Z5TOWA.field[2]), "A");    // the new year's index was built
    }
    d4close(Z5TOWA.table);
    // A second open of the year asks nothing.
    HeadlessSetScript("");
    ASSERT_EQ(OpenZ5TOWA(0), 0);
    d4close(Z5TOWA.table);
    PlatFileDelete((firm + "Z5TOWA25.DBF").c_str());
    PlatFileDelete((firm + "Z5TOWA25.MDX").c_str());
    PlatFileDelete((firm + "Z5TOWA26.DBF").c_str());
    PlatFileDelete((firm + "Z5TOWA26.MDX").c_str());
  }
}

// Last year's "table" cannot be read to its end: the copy stops and leaves
// nothing under the new name, and the year starts with an empty table.
TEST_F(CatalogueBehaviourTest, BrokenCarryOverLeavesNoHalfTable) {
  MakeDir("firma/Z5TOWA25.DBF");
  HeadlessSetScript("T{ENTER}");    // the question, then the box of message 20009
  ASSERT_EQ(OpenZ5TOWA(0), 0);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  EXPECT_EQ(d4reccount(Z5TOWA.table), 0);
  int temporary = 0;
  for (const auto& entry : std::filesystem::directory_iterator(firm))
    temporary += entry.path().extension() == ".tmp" || entry.path().extension() == ".TMP";
  EXPECT_EQ(temporary, 0);
}

TEST_F(CatalogueBehaviourTest, LumpSumRatesAreRecomputedOnceFromTheOldCode) {
  ASSERT_EQ(OpenZ5USLU(0), 0);
  const char* old[] = {"1", "2", "4", "5", "6", "7", "8", "0", "3", "9"};
  for (const char* ryt : old) Append(Z5USLU, {{1, ryt}, {14, ryt}});
  d4close(Z5USLU.table);
  ASSERT_EQ(OpenZ5USLU(0), 0);
  struct Expected {
    int rty;
    double rys;
  };
  const Expected expected[] = {{3, 8.5}, {2, 5.5}, {8, 15.0}, {9, 17.0}, {5, 10.0},
                               {4, 12.5}, {4, 8.5}, {1, 3.0}, {1, 3.0}, {1, 3.0}};
  for (int n = 1; n <= 10; n++) {
    SCOPED_TRACE(old[n - 1]);
    ASSERT_EQ(d4go(Z5USLU.table, n), 0);
    EXPECT_EQ(f4int(Z5USLU.field[15]), expected[n - 1].rty);
    EXPECT_EQ(f4double(Z5USLU.field[16]), expected[n - 1].rys);
  }
  // Once the first record has its new code, later empty ones stay empty.
  Append(Z5USLU, {{1, "NOWA"}, {14, "7"}});
  d4close(Z5USLU.table);
  ASSERT_EQ(OpenZ5USLU(0), 0);
  ASSERT_EQ(d4go(Z5USLU.table, 11), 0);
  EXPECT_EQ(f4int(Z5USLU.field[15]), 0);
}

TEST_F(CatalogueBehaviourTest, GoodsWhoseFirstRecordHasANewRateAreLeftAlone) {
  ASSERT_EQ(OpenZ5TOWA(0), 0);
  Append(Z5TOWA, {{2, "A"}, {23, "7"}, {24, "5"}});
  Append(Z5TOWA, {{2, "B"}, {23, "7"}});
  d4close(Z5TOWA.table);
  ASSERT_EQ(OpenZ5TOWA(0), 0);
  ASSERT_EQ(d4go(Z5TOWA.table, 2), 0);
  EXPECT_EQ(f4int(Z5TOWA.field[24]), 0);
  ASSERT_EQ(d4go(Z5TOWA.table, 1), 0);
  EXPECT_EQ(f4int(Z5TOWA.field[24]), 5);
}

TEST_F(CatalogueBehaviourTest, RodIsFilledOnceFromKgs) {
  ASSERT_EQ(OpenZ5PELI(0), 0);
  const char* kgs[] = {"D31 ", "D221", "D22 ", "D1", "X31 ", "    "};
  for (const char* k : kgs) Append(Z5PELI, {{0, k}});
  d4close(Z5PELI.table);
  ASSERT_EQ(OpenZ5PELI(0), 0);
  const int rod[] = {3, 2, 1, 1, 0, 0};
  for (int n = 1; n <= 6; n++) {
    ASSERT_EQ(d4go(Z5PELI.table, n), 0);
    EXPECT_EQ(Field(Z5PELI, 12), std::to_string(rod[n - 1])) << kgs[n - 1];
  }
  d4close(Z5PELI.table);

  // A first record with a ROD: nothing is rewritten.
  ASSERT_EQ(OpenZ5PESK(0, 0, 2), 0);
  Append(Z5PESK_2, {{3, "D31 "}, {6, "0"}});
  Append(Z5PESK_2, {{3, "D31 "}});
  d4close(Z5PESK_2.table);
  ASSERT_EQ(OpenZ5PESK(0, 0, 2), 0);
  ASSERT_EQ(d4go(Z5PESK_2.table, 2), 0);
  EXPECT_EQ(Field(Z5PESK_2, 6), " ");
  d4close(Z5PESK_2.table);
  // The first set never fills it.
  ASSERT_EQ(OpenZ5PESK(0, 0, 1), 0);
  ASSERT_EQ(d4go(Z5PESK.table, 1), 0);
  EXPECT_EQ(Field(Z5PESK, 6), "0");
}

TEST_F(CatalogueBehaviourTest, FixedAssetsCarriedOverMoveTheYearsWriteOffs) {
  env->settlementYear = 2025;
  ASSERT_EQ(OpenZ5AMOR(0), 0);
  Append(Z5AMOR, {{6, "1000"}, {7, "50"}, {8, "900"}, {10, "30"}, {11, "20"}, {12, "100"}});
  Append(Z5AMOR, {{6, "1000"}, {7, "0"}, {8, "500"}, {10, "30"}, {11, "20"}, {12, "100"}});
  d4close(Z5AMOR.table);
  env->settlementYear = 2026;
  HeadlessSetScript("T");
  ASSERT_EQ(OpenZ5AMOR(0), 0);
  ASSERT_EQ(d4go(Z5AMOR.table, 1), 0);
  EXPECT_EQ(f4double(Z5AMOR.field[7]), 150);
  EXPECT_EQ(f4double(Z5AMOR.field[8]), 1000);
  EXPECT_EQ(f4double(Z5AMOR.field[10]), 0);
  EXPECT_EQ(f4double(Z5AMOR.field[11]), 0);
  EXPECT_EQ(f4double(Z5AMOR.field[12]), 0);
  ASSERT_EQ(d4go(Z5AMOR.table, 2), 0);    // not written off yet: the yearly amounts stay
  EXPECT_EQ(f4double(Z5AMOR.field[8]), 600);
  EXPECT_EQ(f4double(Z5AMOR.field[10]), 30);
  EXPECT_EQ(f4double(Z5AMOR.field[12]), 0);
  d4close(Z5AMOR.table);
  // The maintenance flags never ask.
  PlatFileDelete((firm + "Z5AMOR26.DBF").c_str());
  HeadlessSetScript("");
  EXPECT_EQ(OpenZ5AMOR(OPEN_DBF_REINDEX | OPEN_DBF_MUST_EXIST), 1);
}

TEST_F(CatalogueBehaviourTest, PartnersCarriedOverLoseTwoColumns) {
  env->settlementYear = 2025;
  ASSERT_EQ(OpenZ5WSPL(0), 0);
  Append(Z5WSPL, {{0, "KOWALSKI"}, {19, "tekst"}, {189, "12"}});
  d4close(Z5WSPL.table);
  env->settlementYear = 2026;
  HeadlessSetScript("T");
  ASSERT_EQ(OpenZ5WSPL(0), 0);
  ASSERT_EQ(d4reccount(Z5WSPL.table), 1);
  ASSERT_EQ(d4go(Z5WSPL.table, 1), 0);
  EXPECT_EQ(Trim(Z5WSPL.field[0]), "KOWALSKI");
  EXPECT_EQ(Trim(Z5WSPL.field[19]), "");
  EXPECT_EQ(Trim(Z5WSPL.field[189]), "");
}

TEST_F(CatalogueBehaviourTest, YearVariantsChooseNameAndLayout) {
  struct Case {
    int year;
    int (*open)();
    TableHandles* set;
    const char* file;
    int fields;
    bool adr;
  };
  const Case cases[] = {
      {2016, [] { return OpenZ5RYT(0, 'T'); }, &Z5RYT, "Z5RYTK16.DBF", 102, false},
      {2015, [] { return OpenZ5RYT(0, 'T'); }, &Z5RYT, "Z5RYCK15.DBF", 75, false},
      {2016, [] { return OpenZ5VZ(5, 0); }, &Z5VZ, "Z5VZDK.DBF", 46, false},
      {2017, [] { return OpenZ5VZ(5, 0); }, &Z5VZ, "Z5VZNK.DBF", 47, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    env->settlementYear = c.year;
    ASSERT_EQ(c.open(), 0);
    EXPECT_TRUE(Exists(firm + c.file));
    EXPECT_EQ(d4num_fields(c.set->table), c.fields);
    EXPECT_EQ(d4field_number(c.set->table, "ADR") == 6, c.adr);
    d4close(c.set->table);
  }
}

TEST_F(CatalogueBehaviourTest, OldVatZdRecordsAreImportedByName) {
  env->settlementYear = 2016;
  ASSERT_EQ(OpenZ5VZ(5, 0), 0);
  Append(Z5VZ, {{3, "PIERWSZY"}, {5, "1234567890"}});
  Append(Z5VZ, {{3, "USUNIETY"}});
  d4delete(Z5VZ.table);
  d4close(Z5VZ.table);
  env->settlementYear = 2017;
  ASSERT_EQ(OpenZ5VZ(5, 0), 0);
  EXPECT_EQ(ImportZ5VZOld(1), 0);    // no monthly table of 2016: nothing to do
  EXPECT_EQ(d4reccount(Z5VZ.table), 0);
  ASSERT_EQ(ImportZ5VZOld(5), 0);
  ASSERT_EQ(d4reccount(Z5VZ.table), 2);
  ASSERT_EQ(d4go(Z5VZ.table, 1), 0);
  EXPECT_EQ(Trim(Z5VZ.field[3]), "PIERWSZY");
  EXPECT_EQ(Trim(Z5VZ.field[5]), "");             // ADR is new
  EXPECT_EQ(Trim(Z5VZ.field[6]), "1234567890");   // NIP found by its name
  EXPECT_FALSE(d4deleted(Z5VZ.table));
  ASSERT_EQ(d4go(Z5VZ.table, 2), 0);
  EXPECT_TRUE(d4deleted(Z5VZ.table));
}

TEST_F(CatalogueBehaviourTest, DeclarationDataOfAnotherCountIsReplacedOnlyWhenAskedTo) {
  static TableHandles data;
  HeadlessSetScript("{ENTER}");
  ASSERT_EQ(OpenVatDataTable(&data, 1, 2026, 8, 0), 0);    // created after message 20150
  EXPECT_EQ(d4reccount(data.table), 12);
  ASSERT_EQ(d4go(data.table, 12), 0);
  EXPECT_EQ(Field(data, 0), "M");
  EXPECT_EQ(f4int(data.field[1]), 9);
  EXPECT_EQ(f4int(data.field[3]), 2026);
  EXPECT_EQ(f4int(data.field[4]), 12);
  d4delete(data.table);
  ASSERT_EQ(d4pack(data.table), 0);
  d4close(data.table);

  HeadlessSetScript("{ENTER}");
  EXPECT_EQ(OpenVatDataTable(&data, 0, 2026, 8, 0), -1);    // "Uszkodzona baza."
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  HeadlessSetScript("{ENTER}");
  ASSERT_EQ(OpenVatDataTable(&data, 1, 2026, 8, 0), 0);     // after message 20150
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  EXPECT_EQ(d4reccount(data.table), 12);
  PlainDbf kept(ReadFile(firm + "Z5VAT826.BAK"));
  EXPECT_EQ(kept.count, 11u);
}

}  // namespace
