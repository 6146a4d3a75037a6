// The main options window on the headless display: the working year's check,
// the lock timer set anew on saving, the working date asked when the
// computer's date is switched off.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/main_options_window.h"
#include "app/option_sets.h"
#include "tests/app/options_fixture.h"

namespace {

// From the working year, the element so many rows further down.
std::string Down(int times) {
  std::string keys;
  for (int i = 0; i < times; i++) keys += "{DOWN}";
  return keys;
}
// The colour and font lists open as pick lists: Enter keeps their entry.
std::string ToLockMinutes() { return Down(8) + "{ENTER}{ENTER}"; }
std::string ToSystemDate() { return ToLockMinutes() + Down(5); }

class MainOptionsWindowTest : public OptionsTest {
 protected:
  void SetUp() override {
    OptionsTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(LoadMainOptions(), 0);
    env->confirmSave = 'N';   // no questions on saving or leaving
  }
  void Run(const std::string& keys) {
    ASSERT_EQ(HeadlessSetScript(keys.c_str()), 0);
    MainOptionsWindow();
    EXPECT_EQ(HeadlessKeysLeft(), 0) << keys;
  }
};

TEST_F(MainOptionsWindowTest, WorkingYearOutsideItsRangeIsRefused) {
  struct Case {
    const char* keys;   // "x" closes the refusal's box
    int year;
  } cases[] = {
      {"2028{ENTER}x2024{ENTER}{F2}", 2024},   // the clock says 2026: up to 2027
      {"1899{ENTER}x{ESC}", 2025},
      {"1900{ENTER}{F2}", 1900},
      {"2027{ENTER}{F2}", 2027},
  };
  for (const Case& c : cases) {
    mainOptions.workingYear = 2025;
    ASSERT_EQ(SaveMainOptions(), 0);
    Run(c.keys);
    ASSERT_EQ(LoadMainOptions(), 0);
    EXPECT_EQ(mainOptions.workingYear, c.year) << c.keys;
    EXPECT_EQ(env->settlementYear, c.year) << c.keys;
  }
}

TEST_F(MainOptionsWindowTest, OwnPrintSettingsPassOverTheirCommonDirectory) {
  struct Case {
    const char* separate;
    char sharedContractors;
    const char* printSettingsDir;
  } cases[] = {
      {"N", 'N', "T"},   // three rows down is the print-settings directory
      {"T", 'T', ""},    // it is passed over: the shared-contractors switch
  };
  for (const Case& c : cases) {
    optionSharedContractors = 'N';
    std::memset(env->printSettingsDir, 0, sizeof env->printSettingsDir);
    Run(std::string("{DOWN}") + c.separate + Down(3) + "T{F2}");   // a switch typed moves on
    EXPECT_EQ(env->separatePrintSettings, c.separate[0]);
    EXPECT_EQ(optionSharedContractors, c.sharedContractors) << c.separate;
    std::string dir(env->printSettingsDir);
    dir.erase(dir.find_last_not_of(' ') + 1);
    EXPECT_EQ(dir, c.printSettingsDir) << c.separate;
  }
}

TEST_F(MainOptionsWindowTest, LockMinutesSetTheLockTimerAnew) {
  struct Case {
    const char* minutes;
    const char* leave;
    int period;   // 0: no lock timer
  } cases[] = {
      {"5", "{F2}", 300000},
      {"0", "{ESC}", 300000},   // left without saving: the timer stays
      {"0", "{F2}", 0},
      {"12", "{F2}", 720000},
  };
  for (const Case& c : cases) {
    int before = env->blankingTimer;
    Run(ToLockMinutes() + c.minutes + "{ENTER}" + c.leave);
    if (c.period == 0) {
      EXPECT_EQ(env->blankingTimer, 0) << c.minutes << c.leave;
      EXPECT_EQ(mainOptions.lockMinutes, 0);
      ASSERT_GT(before, 0);
      EXPECT_EQ(env->timers[before - 1].callback, nullptr) << "the old timer is freed";
    } else {
      ASSERT_GT(env->blankingTimer, 0) << c.minutes << c.leave;
      const TimerSlot& slot = env->timers[env->blankingTimer - 1];
      EXPECT_EQ(slot.kind, TIMER_IDLE);
      EXPECT_EQ(slot.period, c.period) << c.minutes << c.leave;
      EXPECT_NE(slot.callback, nullptr);
    }
  }
}

TEST_F(MainOptionsWindowTest, SwitchingTheSystemDateOffAsksTheWorkingDate) {
  struct Case {
    char before;
    const char* keys;
    char after;
    const char* workingDate;
  } cases[] = {
      {'T', "N{ENTER}{F2}15032024{ENTER}", 'N', "20240315"},
      {'T', "N{ENTER}{F2}{ESC}", 'N', "20200101"},   // Esc keeps the date
      {'T', "N{ENTER}{ESC}", 'T', "20200101"},       // nothing saved, nothing asked
      {'N', "N{ENTER}{F2}", 'N', "20200101"},        // already off: not asked again
      {'T', "N{ENTER}{F2}01012028{ENTER}x31122027{ENTER}", 'N', "20271231"},   // years up to the last working one
  };
  for (const Case& c : cases) {
    env->useSystemDate = c.before;
    std::memcpy(env->workingDate, "20200101", 9);
    Run(ToSystemDate() + c.keys);
    EXPECT_EQ(env->useSystemDate, c.after) << c.keys;
    EXPECT_STREQ(env->workingDate, c.workingDate) << c.keys;
  }
}

}  // namespace
