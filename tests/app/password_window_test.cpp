// The password window and the screen lock on the headless display.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/operator_windows.h"
#include "app/program_messages.h"
#include "env/session/environment.h"
#include "tests/ui/ui_fixture.h"
#include "ui/keyboard.h"

namespace {

class PasswordWindowTest : public UiTest {
 protected:
  // Runs the window over the name and password and checks every key was used.
  int Ask(const char* keys, int flags) {
    EXPECT_EQ(HeadlessSetScript(keys), 0);
    int key = PasswordWindow(name, password, flags, 0);
    EXPECT_EQ(HeadlessKeysLeft(), 0) << keys;
    return key;
  }
  char name[16] = "JAN            ";
  char password[11] = "          ";
};

TEST_F(PasswordWindowTest, EntriesComeBackBlankPadded) {
  struct Case {
    const char* keys;
    int flags;
    int key;
    const char* name;
    const char* password;
  } cases[] = {
      {"{HOME}ADAM{DEL}{DEL}{DEL}{ENTER}tajne12{F2}", 0, KEY_F2, "ADAM           ", "tajne12   "},
      {"abcdefghij{F2}", PW_NAME_FIXED, KEY_F2, "JAN            ", "abcdefghij"},
      {"sekret{ENTER}sekret{F2}", PW_NAME_FIXED | PW_REPEAT, KEY_F2, "JAN            ", "sekret    "},
      {"sekret{ESC}", PW_NAME_FIXED, KEY_ESC, "JAN            ", "sekret    "},
      // a repeat that differs: the warning (any key), then both entries are empty again
      {"abc{ENTER}abd{F2}x{F2}", PW_NAME_FIXED | PW_REPEAT, KEY_F2, "JAN            ", "          "},
      {"abc{ENTER}abd{F2}xabc{ENTER}abc{F2}", PW_NAME_FIXED | PW_REPEAT, KEY_F2, "JAN            ", "abc       "},
  };
  for (const Case& c : cases) {
    std::memcpy(name, "JAN            ", 16);
    std::memcpy(password, "          ", 11);
    EXPECT_EQ(Ask(c.keys, c.flags), c.key) << c.keys;
    EXPECT_EQ(std::string(name, 15), c.name) << c.keys;
    EXPECT_EQ(std::string(password, 10), c.password) << c.keys;
  }
}

TEST_F(PasswordWindowTest, PasswordIsNeverShown) {
  EXPECT_EQ(HeadlessSetScript("{ENTER}ab c{ENTER}xy"), 0);
  EXPECT_THROW(PasswordWindow(name, password, PW_REPEAT, 0), ScriptEnded);
  // Five rows and one more for the repeat, centred in thirty; forty columns from column 20.
  EXPECT_NE(Row(12).find("Wprowadź"), std::string::npos) << Row(12);
  EXPECT_EQ(Cells(14, 38, 3), "JAN");
  EXPECT_EQ(Cells(15, 38, 10), "** *      ");
  EXPECT_EQ(Cells(16, 38, 10), "**        ");
  EXPECT_EQ(Cells(17, 20, 1), "╚");
  EXPECT_EQ(Cells(18, 20, 1), " ");
}

TEST_F(PasswordWindowTest, LabelsAreTheThreePiecesOfTheProgramMessage) {
  RegisterProgramMessages();
  EXPECT_EQ(HeadlessSetScript("{ENTER}"), 0);
  EXPECT_THROW(PasswordWindow(name, password, PW_REPEAT, 0), ScriptEnded);
  EXPECT_NE(Row(14).find("użytkownik:"), std::string::npos) << Row(14);
  EXPECT_NE(Row(15).find("hasło:"), std::string::npos) << Row(15);
  EXPECT_NE(Row(16).find("powtórz hasło:"), std::string::npos) << Row(16);
}

class ScreenLockTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    if (HasFatalFailure()) return;
    env->operatorNumber = 3;
    std::memcpy(env->operatorName, "KASJER         ", 16);
    std::memcpy(env->operatorPassword, "tajne     ", 10);
    std::memcpy(env->firstOperatorPassword, "szef      ", 10);
    env->passwordAfterBlanking = 'T';
  }
  static int Dots() {
    int dots = 0;
    for (int row = 0; row < Desktop.rows; row++)
      for (int col = 0; col < Desktop.cols; col++)
        if (Char(row, col) == '.') dots++;
    return dots;
  }
};

TEST_F(ScreenLockTest, EndsOnTheKeysThatUnlockIt) {
  struct Case {
    const char* keys;
    char lockSwitch;
    int operatorNumber;
  } cases[] = {
      {"x", 'N', 3},                                   // no password asked
      {"x", 'T', 0},                                   // nobody to ask it of
      {"xtajne{F2}", 'T', 3},                          // the operator's password
      {"xszef{ENTER}", 'T', 3},                        // the administrator's
      {"xzle{F2}ytajne{F2}", 'T', 3},                  // wrong: the lock again, then right
      {"x{ESC}y{ESC}ztajne{F2}", 'T', 3},              // the window left empty is wrong too
  };
  for (const Case& c : cases) {
    env->passwordAfterBlanking = c.lockSwitch;
    env->operatorNumber = c.operatorNumber;
    ASSERT_EQ(HeadlessSetScript(c.keys), 0);
    ScreenSaverLock();
    EXPECT_EQ(HeadlessKeysLeft(), 0) << c.keys;
    EXPECT_EQ(Dots(), 0) << c.keys << ": every dot is gone";
  }
}

TEST_F(ScreenLockTest, BlackScreenOfDotsUntilAKey) {
  ASSERT_EQ(HeadlessSetScript(""), 0);
  EXPECT_THROW(ScreenSaverLock(), ScriptEnded);
  int dots = Dots();
  EXPECT_GT(dots, 40);   // fifty, a few may share a cell
  EXPECT_LE(dots, 50);
  for (int row = 0; row < Desktop.rows; row++)
    for (int col = 0; col < Desktop.cols; col++)
      if (Char(row, col) == '.') {
        EXPECT_EQ(Attr(row, col), 9);
        EXPECT_LT(row, Desktop.rows - 2);
        EXPECT_LT(col, Desktop.cols - 2);
      }
}

TEST_F(ScreenLockTest, DotsTwinkleEveryTenthOfASecond) {
  ASSERT_EQ(HeadlessSetScript("{WAIT 2000}"), 0);
  EXPECT_THROW(ScreenSaverLock(), ScriptEnded);
  int dots = 0, grown = 0;
  for (int row = 0; row < Desktop.rows; row++)
    for (int col = 0; col < Desktop.cols; col++) {
      int c = Char(row, col);
      int attr = c == '.' ? 9 : c == '+' ? 7 : c == '*' ? 15 : -1;
      if (attr < 0) continue;
      EXPECT_EQ(Attr(row, col), attr) << static_cast<char>(c);
      dots++;
      grown += c != '.';
    }
  EXPECT_LE(dots, 49) << "the oldest goes each tick, the rest fill up to 49";
  EXPECT_GT(dots, 40);
  EXPECT_GT(grown, 0);
}

TEST_F(ScreenLockTest, WrongPasswordBringsTheLockBack) {
  ASSERT_EQ(HeadlessSetScript("xzle{F2}"), 0);
  EXPECT_THROW(ScreenSaverLock(), ScriptEnded);
  EXPECT_EQ(Row(14).find("KASJER"), std::string::npos) << "the password window is closed";
  EXPECT_GT(Dots(), 40);
}

TEST_F(ScreenLockTest, NothingOverAChart) {
  env->exclusiveToolActive = 1;
  ASSERT_EQ(HeadlessSetScript("x"), 0);
  ScreenSaverLock();
  EXPECT_EQ(HeadlessKeysLeft(), 1);
  EXPECT_EQ(Dots(), 0);
}

}  // namespace
