// The window "OBLICZENIE ODSETEK" and the browses of the rate and days-off
// tables on the headless screen.
#include <gtest/gtest.h>

#include "app/module_entries.h"
#include "finance/interest.h"
#include "tables/cash_tables.h"
#include "tests/app/headless_entry_fixture.h"

namespace {

class InterestScreenTest : public HeadlessEntryTest {
 protected:
  void SetUp() override {
    HeadlessEntryTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(OpenInterestTables(), 0);
    Append(Z5DNWO, {{0, "20260306"}});
    Append(Z5ZAPO, {{0, "20260101"}, {1, "14.5"}, {2, "R"}});
    Append(Z5ODUS, {{0, "20260101"}, {1, "0.05"}, {2, "D"}});
    CloseInterestTables();
  }
  static std::string Rows(TableHandles& t) {
    std::string all;
    for (long n = 1; n <= d4reccount(t.table); n++) {
      d4go(t.table, n);
      if (d4deleted(t.table)) continue;
      all += Trim(t.field[0]);
      if (t.field[2] && t.field[3]) all += " " + Trim(t.field[1]) + " " + Trim(t.field[2]);
      all += ";";
    }
    return all;
  }
};

TEST_F(InterestScreenTest, WindowShowsTheTaxInterestRoundedAndTheStatutoryExact) {
  int result = RunUntilEsc([] { return ObliczOdsetki("20260302", "20260401", 1000.0); },
                           "{ENTER}{ENTER}{ENTER}{F9}x{ESC}");
  EXPECT_EQ(result, 0);
  EXPECT_TRUE(Shown("OBLICZENIE ODSETEK")) << seen;
  EXPECT_TRUE(Shown("Ilość dni zaległości -    30")) << seen;
  EXPECT_TRUE(Shown("ODSETKI OD ZALEGŁOŚCI PODATKOWYCH")) << seen;
  // 11.917... shown whole; 30 days of 0.05 % unrounded
  EXPECT_TRUE(Shown("Kwota odsetek -       12.00")) << seen;
  EXPECT_TRUE(Shown("RAZEM         -     1012.00")) << seen;
  EXPECT_TRUE(Shown("Kwota odsetek -       15.00")) << seen;
  EXPECT_EQ(Z5ODUS.table, nullptr);   // the tables are closed again
}

TEST_F(InterestScreenTest, RateBrowseTakesOnlyYearlyOrDailyRates) {
  ASSERT_EQ(OpenZ5ZAPO(0), 0);
  // a new rate: the type refuses x, takes d as 'D'
  EXPECT_EQ(RunUntilEsc(StopyOdsetekPodatkowych, "{INS}010426{ENTER}8.5{ENTER}x{F9}{ENTER}d{F9}T{ESC}{ESC}{ESC}"), 0);
  EXPECT_TRUE(Shown("Zaległości podatkowe")) << seen;
  EXPECT_TRUE(Shown("[R]-roczne,[D]-dzienne")) << seen;
  EXPECT_TRUE(Shown("Wybierz 'R' lub 'D'")) << seen;
  EXPECT_EQ(Rows(Z5ZAPO), "20260101 14.500 R;20260401 8.500 D;");
}

TEST_F(InterestScreenTest, DaysOffRefuseAYearBefore1993) {
  ASSERT_EQ(OpenZ5DNWO(0), 0);
  EXPECT_EQ(RunUntilEsc(DniWolne, "{INS}010192{ENTER}{F9}{ENTER}{ESC}{ESC}{ESC}"), 0);
  EXPECT_TRUE(Shown("Dni wolne od pracy")) << seen;
  EXPECT_TRUE(Shown("Rok musi być większy od 1992 !")) << seen;
  EXPECT_EQ(Rows(Z5DNWO), "20260306;");
}

}  // namespace
