// The period window: its proposed dates, the working date, a blank date and Esc.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "env/dates.h"
#include "printouts/report_period.h"
#include "tests/app/screen_shots.h"
#include "tests/ui/ui_fixture.h"
#include "ui/get4.h"

namespace {

class ReportPeriodTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    if (HasFatalFailure()) return;
    g4set_key_to(KEY_F9, TakeShot);
    seen.clear();
    okres_raportu = {};
  }
  void TearDown() override {
    g4set_key_to(KEY_F9, nullptr);
    UiTest::TearDown();
  }
  static double Day(const char* date) { return static_cast<double>(date4long(date)); }
};

TEST_F(ReportPeriodTest, DefaultsRunFromTheFirstOfTheMonth) {
  HeadlessSetScript("{F9}{ENTER}{ENTER}");
  ASSERT_EQ(podaj_okres(), 0);
  EXPECT_NE(seen.find("ZA OKRES"), std::string::npos) << seen;
  EXPECT_NE(seen.find("Od dnia - 01-12/26"), std::string::npos) << seen;
  EXPECT_NE(seen.find("Do dnia - 10-12/26"), std::string::npos) << seen;
  EXPECT_STREQ(okres_raportu.od, "20261201");
  EXPECT_STREQ(okres_raportu.do_, "20261210");
  EXPECT_EQ(okres_raportu.od_dnia, Day("20261201"));
  EXPECT_EQ(okres_raportu.do_dnia, Day("20261210"));
}

TEST_F(ReportPeriodTest, WorkingDateReplacesTheComputersDate) {
  env->useSystemDate = 'N';
  std::memcpy(env->workingDate, "20250317", 9);
  HeadlessSetScript("{ENTER}{ENTER}");
  ASSERT_EQ(podaj_okres(), 0);
  EXPECT_STREQ(okres_raportu.od, "20250301");
  EXPECT_STREQ(okres_raportu.do_, "20250317");
}

TEST_F(ReportPeriodTest, TypedDatesAreTaken) {
  HeadlessSetScript("150626{ENTER}300626{ENTER}");
  ASSERT_EQ(podaj_okres(), 0);
  EXPECT_STREQ(okres_raportu.od, "20260615");
  EXPECT_STREQ(okres_raportu.do_, "20260630");
  EXPECT_EQ(okres_raportu.do_dnia - okres_raportu.od_dnia, 15);
}

TEST_F(ReportPeriodTest, BlankDateIsRefusedAndEscGivesUp) {
  HeadlessSetScript("        {ENTER}{F9}{ENTER}{ESC}");
  EXPECT_EQ(podaj_okres(), -1);
  EXPECT_NE(seen.find("Pole nie może być puste."), std::string::npos) << seen;
  EXPECT_EQ(okres_raportu.od_dnia, 0);
}

}  // namespace
