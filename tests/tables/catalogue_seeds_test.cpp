// The common countries and tax offices tables are created with the official
// code lists, and a table that exists keeps what the operator entered.
#include <gtest/gtest.h>

#include <string>

#include "db/db_index.h"
#include "env/code_pages.h"
#include "tables/masterdata_tables.h"
#include "tests/tables/empty_catalogue.h"
#include "tests/tables/tables_fixture.h"

namespace {

using CatalogueSeedsTest = TablesTest;

std::string Field(DbTable* t, const char* name) {
  DbField* f = d4field(t, name);
  std::string s(f4ptr(f), f4len(f));
  s.erase(s.find_last_not_of(' ') + 1);
  return MazToUtf8Text(s.c_str());
}

TEST_F(CatalogueSeedsTest, FreshCountriesCarryTheCodeList) {
  ASSERT_EQ(OpenZ5KRAJ(0), 0);
  DbTable* t = Z5KRAJ.table;
  EXPECT_GT(d4reccount(t), 240);
  d4tag_select(t, Z5KRAJ.tag[0]);   // UPPER(KKR)
  const struct {
    const char *code, *name, *union_;
  } cases[] = {{"PL", "POLSKA", "T"}, {"DE", "NIEMCY", "T"}, {"GR", "GRECJA", "T"},
               {"NO", "NORWEGIA", "N"}, {"US", "STANY ZJEDNOCZONE AMERYKI", "N"}};
  for (const auto& c : cases) {
    ASSERT_EQ(d4seek(t, c.code), 0) << c.code;
    EXPECT_EQ(Field(t, "KRA"), c.name) << c.code;
    EXPECT_EQ(Field(t, "SUE"), c.union_) << c.code;
    EXPECT_EQ(Field(t, "KOD"), "") << c.code;
  }
  d4close(t);
}

TEST_F(CatalogueSeedsTest, FreshTaxOfficesAreNumberedInTheListsOrder) {
  ASSERT_EQ(OpenZ5USKA(0), 0);
  DbTable* t = Z5USKA.table;
  EXPECT_EQ(d4reccount(t), 400);
  ASSERT_EQ(d4go(t, 1), 0);
  EXPECT_EQ(Field(t, "XML"), "0202");
  EXPECT_EQ(Field(t, "NAZ"), "URZĄD SKARBOWY W BOLESŁAWCU");
  EXPECT_EQ(Field(t, "SKN"), "URZĄD SKARBOWY W BOLESŁAWCU");
  EXPECT_EQ(f4long(d4field(t, "KOD")), 1);
  ASSERT_EQ(d4go(t, 2), 0);
  EXPECT_EQ(Field(t, "SKN"), "URZĄD SKARBOWY W BYSTRZYCY KŁO") << "cut to its 30 characters";
  EXPECT_EQ(Field(t, "NAZ"), "URZĄD SKARBOWY W BYSTRZYCY KŁODZKIEJ");
  EXPECT_EQ(f4long(d4field(t, "KOD")), 2);
  d4close(t);
}

TEST_F(CatalogueSeedsTest, ExistingTablesKeepTheOperatorsRecords) {
  OpenEmptyCatalogue(Z5KRAJ, OpenZ5KRAJ);
  ASSERT_EQ(d4append_start(Z5KRAJ.table, 0), 0);
  d4blank(Z5KRAJ.table);
  f4assign(d4field(Z5KRAJ.table, "KRA"), "KRAINA");
  ASSERT_EQ(d4append(Z5KRAJ.table), 0);
  d4close(Z5KRAJ.table);
  ASSERT_EQ(OpenZ5KRAJ(0), 0);
  EXPECT_EQ(d4reccount(Z5KRAJ.table), 1);
  ASSERT_EQ(d4go(Z5KRAJ.table, 1), 0);
  EXPECT_EQ(Field(Z5KRAJ.table, "KRA"), "KRAINA");
  d4close(Z5KRAJ.table);
}

}  // namespace
