// The interest of a late payment over small rate and days-off tables: the
// first charged day, the periods of the rates and the tables that are empty
// or begin too late.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "finance/interest.h"
#include "tables/cash_tables.h"
#include "tests/finance/common_tables_fixture.h"

namespace {

struct Rate {
  const char* from;
  const char* percent;
  const char* type;
};

class InterestTest : public CommonTablesTest {
 protected:
  // Fresh tables holding these rows, open.
  void Tables(const std::vector<const char*>& daysOff, const std::vector<Rate>& tax,
              const std::vector<Rate>& statutory) {
    CloseInterestTables();
    std::filesystem::remove_all(common);
    ASSERT_EQ(mkdir(common.c_str(), 0775), 0);
    ASSERT_EQ(OpenInterestTables(), 0);
    for (const char* day : daysOff) Append(Z5DNWO, {{0, day}});
    for (const Rate& r : tax) Append(Z5ZAPO, {{0, r.from}, {1, r.percent}, {2, r.type}});
    for (const Rate& r : statutory) Append(Z5ODUS, {{0, r.from}, {1, r.percent}, {2, r.type}});
  }
};

constexpr const char* FRIDAY_OFF = "20260306";
const std::vector<Rate> DAILY_005 = {{"20260101", "0.05", "D"}};

TEST_F(InterestTest, PeriodsOfTheRates) {
  struct Case {
    const char* name;
    std::vector<Rate> tax;
    const char *due, *paid;
    double taxInterest;
    int days;
  } cases[] = {
      {"one yearly rate for 30 days", {{"20260101", "14.5", "R"}}, "20260302", "20260401", 1000 * 0.145 * 30 / 365,
       30},
      {"daily rates", {{"20260101", "0.05", "D"}}, "20260302", "20260312", 5.0, 10},
      {"due on a Saturday, paid Monday", {{"20260101", "14.5", "R"}}, "20260307", "20260309", 0, 0},
      {"due on a Friday off, paid Tuesday", {{"20260101", "36.5", "R"}}, "20260306", "20260310", 1.0, 1},
      {"payment on a rate's first day", {{"20260101", "36.5", "R"}, {"20260312", "73", "R"}}, "20260302",
       "20260312", 9 * 1.0 + 2.0, 10},
      {"a change inside the period", {{"20260101", "36.5", "R"}, {"20260305", "73", "R"}}, "20260302", "20260312",
       2 * 1.0 + 8 * 2.0, 10},
      {"a rate starting on the due date", {{"20260101", "36.5", "R"}, {"20260302", "73", "R"}}, "20260302",
       "20260312", 10 * 2.0, 10},
      {"the later of two rows of one day", {{"20260101", "36.5", "R"}, {"20260101", "73", "R"}}, "20260302",
       "20260312", 10 * 2.0, 10},
      {"paid before it is due", {{"20260101", "36.5", "R"}}, "20260312", "20260302", 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Tables({FRIDAY_OFF}, c.tax, DAILY_005);
    double tax = -1, statutory = -1;
    int days = -1;
    EXPECT_EQ(LiczOdsetki(c.due, c.paid, 1000.0, &tax, &statutory, &days), 0);
    EXPECT_NEAR(tax, c.taxInterest, 1e-9);
    EXPECT_NEAR(statutory, 0.5 * c.days, 1e-9);   // unrounded, 0.05 % a day
    EXPECT_EQ(days, c.days);
    EXPECT_EQ(Boxes(), "");
  }
}

TEST_F(InterestTest, TablesEmptyOrBeginningTooLate) {
  double tax = -1, statutory = -1;
  int days = -1;
  Tables({}, {{"20260101", "36.5", "R"}}, DAILY_005);
  EXPECT_EQ(LiczOdsetki("20260302", "20260312", 1000.0, &tax, &statutory, &days), 0);
  EXPECT_EQ(Boxes(), "Brak tabeli dni wolnych !");
  EXPECT_EQ(tax + statutory + days, 0);

  // an empty rate table contributes nothing, the other is still computed
  Tables({FRIDAY_OFF}, {}, DAILY_005);
  EXPECT_EQ(LiczOdsetki("20260302", "20260312", 1000.0, &tax, &statutory, &days), 0);
  EXPECT_EQ(Boxes(), "Brak tabeli odsetek zaległości podatkowych !");
  EXPECT_EQ(tax, 0);
  EXPECT_NEAR(statutory, 5.0, 1e-9);
  EXPECT_EQ(days, 10);

  // a due date before a table's first row: the table is named, nothing is computed
  Tables({FRIDAY_OFF}, {{"20260101", "36.5", "R"}}, {{"20260305", "0.05", "D"}});
  EXPECT_EQ(LiczOdsetki("20260302", "20260312", 1000.0, &tax, &statutory, &days), -1);
  std::string boxes = Boxes();
  EXPECT_NE(boxes.find("Odsetki ustawowe"), std::string::npos) << boxes;
  EXPECT_NE(boxes.find("03-03/26"), std::string::npos) << boxes;
  EXPECT_EQ(statutory, 0);
  EXPECT_EQ(days, 0);
}

}  // namespace
