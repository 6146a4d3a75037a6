// Posting into the flat-rate register without the entry form: the codes of
// the lines land in the columns of the working year's layout, and the rent
// of the year is divided at the threshold in the order of month and number.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/option_sets.h"
#include "db/db_index.h"
#include "finance/posting.h"
#include "finance/posting_internal.h"
#include "tables/book_tables.h"
#include "tests/finance/posting_fixture.h"

namespace {

class FlatRatePostingTest : public PostingFixture<SalesTest> {
 protected:
  void SetUp() override {
    PostingFixture::SetUp();
    if (HasFatalFailure()) return;
    salesOptions.taxation = 2;
    salesOptions.stored101 = 1;
    salesOptions.stored56 = 2;
    taxOptions.postingLimit = 100000.0;
  }
  void TearDown() override {
    env->settlementYear = 2026;
    PostingFixture::TearDown();
  }
  void Posting(const char* date) { StartPosting(date, "FV/1"); }
  // The named columns of every entry of the register of `year`.
  static std::string Register(int year, std::initializer_list<const char*> columns) {
    std::string all;
    EXPECT_EQ(OpenZ5RYPR(year, 0), 0);
    DbTable* t = Z5RYPR.table;
    for (long n = 1; n <= d4reccount(t); n++) {
      d4go(t, n);
      for (const char* name : columns) all += TrimmedField(t, name) + " ";
      all.back() = ';';
    }
    d4close(t);
    return all;
  }
};

// One document with a line of every code 1 to 9 (code i worth i x 100).
TEST_F(FlatRatePostingTest, CodesGoToTheColumnsOfTheYear) {
  std::initializer_list<Fields> lines = {
      {{"RYT", "1"}, {"WNE", "100"}}, {{"RYT", "2"}, {"WNE", "200"}}, {{"RYT", "3"}, {"WNE", "300"}},
      {{"RYT", "4"}, {"WNE", "400"}}, {{"RYT", "5"}, {"WNE", "500"}}, {{"RYT", "6"}, {"WNE", "600"}},
      {{"RYT", "7"}, {"WNE", "700"}}, {{"RYT", "8"}, {"WNE", "800"}}, {{"RYT", "9"}, {"WNE", "900"}}};
  AppendSalesDocument(Z5SPRZ, Z5SPRE, 1, 1, "FV", "20260305", {{"STV", "T"}, {"KKS", "1"}}, {});
  for (const Fields& line : lines) {
    AppendRecord(Z5SPRE.table, {{"REK", "1"}, {"TYV", "1"}, {"TYP", "1"}, {"VAT", "1"}});
    SetFields(Z5SPRE.table, line);
    d4write(Z5SPRE.table, d4recno(Z5SPRE.table));
  }
  struct Case {
    int year;
    const char* date;
    std::initializer_list<const char*> columns;
    const char* expected;
  } cases[] = {
      {2026, "20260305", {"HAN", "PRO", "USL", "NAO", "NAJ", "NAW", "NIE", "KOM", "ZDR", "UIN", "WZA", "RAZ"},
       "100.00 200.00 300.00 400.00 400.00 0.00 500.00 600.00 700.00 800.00 900.00 4500.00;"},
      // 2021: code 7 the 12.5 % rent (RE2), code 8 the 8.5 % rent (RE4); 9 unknown.
      {2021, "20210305", {"USL", "PRO", "HAN", "UIN", "WZA", "NIE", "RE2", "RE4", "RAZ"},
       "100.00 200.00 300.00 400.00 500.00 600.00 700.00 800.00 3600.00;"},
      // Before 2021: code 7 the 2 % column (RE2); 8 and 9 dropped.
      {2020, "20200305", {"USL", "PRO", "HAN", "UIN", "WZA", "NIE", "RE2", "RE4", "RAZ"},
       "100.00 200.00 300.00 400.00 500.00 600.00 700.00 0.00 2800.00;"},
  };
  for (const Case& c : cases) {
    env->settlementYear = c.year;
    d4go(Z5SPRZ.table, 1);
    Posting(c.date);
    ASSERT_EQ(WypelnijKwoty(&record, 1, 0, false, nullptr), 0);
    std::memcpy(record.dataKsiegi, c.date, 8);
    ASSERT_EQ(KsiegujRyczalt(1), 0) << c.year;
    EXPECT_EQ(record.zapisano, 1) << c.year;
    EXPECT_EQ(Register(c.year, c.columns), c.expected) << c.year;
    EXPECT_EQ(Register(c.year, {"LPO", "DAT", c.year >= 2022 ? "DPR" : "DAD", "ZAP"}),
              std::string("1 ") + c.date + " " + c.date + " T;")
        << c.year;
  }
}

TEST_F(FlatRatePostingTest, RentIsDividedAtTheThresholdByMonthAndNumber) {
  // Appended out of month order: by REC the division would differ.
  struct Entry {
    const char* date;
    double rent;
  } entries[] = {{"20260510", 5000}, {"20260110", 60000}, {"20260210", 50000}};
  for (const Entry& e : entries) {
    Posting(e.date);
    record.ryczalt[3] = e.rent;
    ASSERT_EQ(KsiegujRyczalt(1), 0);
  }
  std::string seen = Register(2026, {"LPO", "DPR", "NAO", "NAJ", "NAW", "RAZ"});
  EXPECT_EQ(seen, "1 20260510 5000.00 0.00 5000.00 5000.00;2 20260110 60000.00 60000.00 0.00 60000.00;"
                  "3 20260210 50000.00 40000.00 10000.00 50000.00;");
  // Run again with the REC tag selected: the order stays month and number.
  ASSERT_EQ(OpenZ5RYPR(2026, 0), 0);
  d4tag_select(Z5RYPR.table, Z5RYPR.tag[3]);
  d4go(Z5RYPR.table, 2);
  EXPECT_EQ(PodzielNajem(), 0);
  EXPECT_EQ(d4recno(Z5RYPR.table), 2);
  d4close(Z5RYPR.table);
  EXPECT_EQ(Register(2026, {"LPO", "DPR", "NAO", "NAJ", "NAW", "RAZ"}), seen);
}

}  // namespace
