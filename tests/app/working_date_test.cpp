// The working-date question on the headless display.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/working_date.h"
#include "platform/clock.h"
#include "tests/ui/ui_fixture.h"

namespace {

class WorkingDateTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    if (HasFatalFailure()) return;
    env->useSystemDate = 'N';
    std::memcpy(env->workingDate, "20200101", 9);
  }
  int Ask(const char* keys, int lastYear = LAST_START_YEAR) {
    EXPECT_EQ(HeadlessSetScript(keys), 0);
    int result = AskWorkingDateUpTo(lastYear);
    EXPECT_EQ(HeadlessKeysLeft(), 0) << keys;
    return result;
  }
};

TEST_F(WorkingDateTest, AnswersBecomeTheWorkingDate) {
  struct Case {
    const char* keys;
    int lastYear;
    int result;
    const char* workingDate;
  } cases[] = {
      {"{ENTER}", LAST_START_YEAR, 0, "20261210"},          // the computer's date as offered
      {"15032028{ENTER}", LAST_START_YEAR, 0, "20280315"},
      {"{ESC}", LAST_START_YEAR, -1, "20200101"},
      // out of the years: "Nielegalny rok !" (any key closes it), then asked again
      {"01012031{ENTER}x01012030{ENTER}", LAST_START_YEAR, 0, "20300101"},
      {"01011979{ENTER}x{ESC}", LAST_START_YEAR, -1, "20200101"},
      {"01012028{ENTER}x31122027{ENTER}", LastWorkingYear(), 0, "20271231"},   // the computer's year + 1
  };
  for (const Case& c : cases) {
    std::memcpy(env->workingDate, "20200101", 9);
    EXPECT_EQ(Ask(c.keys, c.lastYear), c.result) << c.keys;
    EXPECT_STREQ(env->workingDate, c.workingDate) << c.keys;
  }
}

// A fresh installation works in the computer's year, and the options take
// the year after it; an older clock still reaches the last year the rules name.
TEST_F(WorkingDateTest, WorkingYearsFollowTheComputersClock) {
  const struct {
    int clockYear, computer, last;
  } cases[] = {{2026, 2026, 2027}, {2031, 2031, 2032}, {2019, 2019, 2025}};
  for (const auto& c : cases) {
    PlatDateTime at{c.clockYear, 6, 1, 12, 0, 0, 0, 0};
    PlatClockFix(&at);
    EXPECT_EQ(ComputerYear(), c.computer) << c.clockYear;
    EXPECT_EQ(LastWorkingYear(), c.last) << c.clockYear;
  }
}

TEST_F(WorkingDateTest, WindowAsksUnderItsTitle) {
  EXPECT_EQ(HeadlessSetScript(""), 0);
  EXPECT_THROW(AskWorkingDate(), ScriptEnded);
  EXPECT_NE(Row(12).find("Podaj datę"), std::string::npos) << Row(12);
  EXPECT_EQ(Cells(14, 18 + 16, 10), "10-12-2026") << "row 1, column 16 inside the frame";
  EXPECT_EQ(Attr(14, 20), 142);
}

TEST_F(WorkingDateTest, NothingIsAskedWhileTheComputersDateIsUsed) {
  env->useSystemDate = 'T';
  EXPECT_EQ(Ask(""), 0);
  EXPECT_STREQ(env->workingDate, "20200101");
}

}  // namespace
