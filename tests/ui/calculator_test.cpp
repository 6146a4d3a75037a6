#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/ui/ui_fixture.h"
#include "ui/calculator.h"
#include "ui/get4.h"

namespace {

// What the calculator shows when the test's snapshot key is pressed.
struct Snap {
  int row, col;          // of the calculator window
  std::string display;   // sign and number of row 1, blanks removed
  std::string memory;    // of row 17
  std::string row1, row17;   // whole rows
};
std::vector<Snap> snaps;

std::string Cells(const Window4* w, int row, int col, int count) {
  std::string text;
  for (int c = 0; c < count; c++) text += static_cast<char>(Desktop.cells[(w->row + row) * Desktop.cols + w->col + col + c] & 0xFF);
  return text;
}

std::string Squeezed(const std::string& text) {
  std::string out;
  for (char c : text)
    if (c != ' ') out += c;
  return out;
}

int TakeSnap(int32_t, int32_t) {
  const Window4* w = w4record(Desktop.topWindow);
  snaps.push_back({w->row, w->col, Squeezed(Cells(w, 1, 8, 24)), Squeezed(Cells(w, 17, 8, 24)), Cells(w, 1, 0, 33),
                   Cells(w, 17, 0, 33)});
  return 0;
}

constexpr int kSnapKey = KEY_ALT_A;
constexpr const char* kSnap = "{ALT+A}";

class CalculatorTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    snaps.clear();
    g4set_key_to(kSnapKey, TakeSnap);
  }

  // Runs the calculator over `keys` followed by a snapshot and Esc.
  Snap Run(const std::string& keys) {
    EXPECT_EQ(HeadlessSetScript((keys + kSnap + "{ESC}").c_str()), 0);
    kalkulator();
    EXPECT_EQ(HeadlessKeysLeft(), 0);
    return snaps.empty() ? Snap{} : snaps.back();
  }
};

TEST_F(CalculatorTest, KeysGiveTheDisplayedValue) {
  struct Case {
    const char* keys;
    const char* shown;
  } cases[] = {
      {"2+3=", "5.0000"},
      {"2+3{ENTER}", "5.0000"},
      {"2+3*4=", "20.0000"},          // a pending operator is applied by the next one
      {"10-25=", "-15.0000"},
      {"7/2=", "3.5000"},
      {"12.5", "12.5000"},
      {"12,5", "12.5000"},
      {"12.5{BS}", "12.0000"},
      {"123{BS}", "12.0000"},
      {"1.23456", "1.2345"},          // four decimals at most
      {"5{F5}", "-5.0000"},
      {"5{F5}+1=", "-4.0000"},
      {"1234567890123", "234 567 890 123.0000"},   // the leftmost of 13 digits drops off
      {"9+9C", ".0000"},
      {"9+5E1=", "10.0000"},
      {"7{F1}+{F3}=", "14.0000"},     // the recalled memory is the operand
      {"7{F1}C{F3}+1=", "8.0000"},    // or the accumulator
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    Snap s = Run(c.keys);
    EXPECT_EQ(s.display, Squeezed(c.shown));
  }
}

TEST_F(CalculatorTest, ShowsThousandsGroupsAndTheMemoryRow) {
  Snap s = Run("1234567{F1}{F1}");
  EXPECT_NE(s.row1.find(" 1 234 567.0000 "), std::string::npos) << s.row1;
  EXPECT_EQ(s.memory, "2469134.0000");
  s = Run("3{F2}");
  EXPECT_EQ(s.memory, "-3.0000");   // the memory is cleared at every call
}

TEST_F(CalculatorTest, ErrorsShowAndClear) {
  struct Case {
    const char* keys;
    int row;   // where "Error" shows
  } cases[] = {
      {"1/0=", 1},
      {"999999999999*10=", 1},
      {"999999999999{F1}{F1}", 17},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    snaps.clear();
    ASSERT_EQ(HeadlessSetScript((std::string(c.keys) + kSnap + "x" + kSnap + "{ESC}").c_str()), 0);
    kalkulator();
    ASSERT_EQ(snaps.size(), 2u);
    const Snap& during = snaps[0];
    if (c.row == 1) {
      EXPECT_EQ(during.row1.substr(1, 5), "Error");
      EXPECT_EQ(snaps[1].display, ".0000");   // cleared after the key
    } else {
      EXPECT_EQ(during.row17.substr(2, 5), "Error");
      EXPECT_EQ(snaps[1].memory, "0.0000");
    }
  }
}

TEST_F(CalculatorTest, ErrorClearsThePendingOperation) {
  // After the error 4 = is a fresh calculation, not 1/0 followed by 4.
  Snap s = Run("1/0=x4+1=");
  EXPECT_EQ(s.display, "5.0000");
}

TEST_F(CalculatorTest, RestoresTheScreenHotKeysAndCaret) {
  static int f1Calls = 0;
  f1Calls = 0;
  g4set_key_to(KEY_F1, [](int32_t, int32_t) { return ++f1Calls; });
  int w = w4define(3, 3, 20, 70);
  w4activate(w);
  w4(0, 0, "under the calculator");
  w4cursor(2, 5);
  std::vector<std::string> before;
  for (int r = 0; r < Desktop.rows; r++) before.push_back(Row(r));

  Snap s = Run("5{F1}");
  EXPECT_EQ(f1Calls, 0);             // F1 was the calculator's M+
  EXPECT_EQ(s.memory, "5.0000");
  for (int r = 0; r < Desktop.rows; r++) EXPECT_EQ(Row(r), before[r]) << "row " << r;
  EXPECT_EQ(Desktop.curHandle, w);
  EXPECT_EQ(env->caretRow, 2);
  EXPECT_EQ(env->caretColumn, 5);
  ASSERT_EQ(HeadlessSetScript("{F1}x"), 0);
  EXPECT_EQ(g4char(), 'x');
  EXPECT_EQ(f1Calls, 1);
}

TEST_F(CalculatorTest, MovesToTheEdgesAndKeepsItsPlace) {
  Snap s = Run("{END}{PGDN}");
  EXPECT_EQ(s.col, Desktop.cols - 33);
  EXPECT_EQ(s.row, Desktop.rows - 19);
  s = Run("");
  EXPECT_EQ(s.col, Desktop.cols - 33);
  EXPECT_EQ(s.row, Desktop.rows - 19);
  s = Run("{HOME}{PGUP}");
  EXPECT_EQ(s.col, 0);
  EXPECT_EQ(s.row, 0);
}

TEST_F(CalculatorTest, DoesNothingWhileAnExclusiveToolRuns) {
  env->exclusiveToolActive = 1;
  ASSERT_EQ(HeadlessSetScript(""), 0);
  int top = Desktop.topWindow;
  kalkulator();   // an empty script would end the test if it waited for a key
  EXPECT_EQ(Desktop.topWindow, top);
  env->exclusiveToolActive = 0;
}

// Paste into the get being edited: F9 opens the calculator from g4read.
class CalculatorPasteTest : public CalculatorTest {
 protected:
  int window = -1;
  void SetUp() override {
    CalculatorTest::SetUp();
    g4set_key_to(KEY_F9, kalkulator);
    window = w4define(2, 2, 10, 60);
    w4activate(window);
  }
  int Read(const std::string& keys) {
    EXPECT_EQ(HeadlessSetScript(keys.c_str()), 0);
    int key = g4read();
    EXPECT_EQ(HeadlessKeysLeft(), 0);
    return key;
  }
};

TEST_F(CalculatorPasteTest, PastesIntoNumericGets) {
  double amount = 1;
  int32_t count = 1;
  char number[11] = "      0.00";
  g4double(0, 0, &amount);
  g4width(12, 12);
  g4int(1, 0, &count);
  g4width(6, 6);
  Get4* n = g4(2, 0, number);
  n->type = GET_NUMBER;
  Read("{F9}2+3.25={F8}{ENTER}"
       "{F9}7.9{F5}{F8}{ENTER}"
       "{F9}2/3={F8}{ENTER}");
  EXPECT_DOUBLE_EQ(amount, 5.25);
  EXPECT_EQ(count, -7);                 // the integer part
  EXPECT_STREQ(number, "      0.67");   // rounded to the get's decimals
}

TEST_F(CalculatorPasteTest, RefusesTextGetsAndValuesThatDoNotFit) {
  char text[9] = "abcdefgh";
  int32_t small = 4;
  g4(0, 0, text);
  g4int(1, 0, &small);
  g4width(3, 3);
  // F8 does nothing in the text get; the calculator stays until Esc.
  Read("{F9}12{F8}" + std::string(kSnap) + "{ESC}{ENTER}{F9}12345{F8}" + kSnap + "{ESC}{ENTER}");
  EXPECT_STREQ(text, "abcdefgh");
  EXPECT_EQ(small, 4);
  ASSERT_EQ(snaps.size(), 2u);
  EXPECT_EQ(snaps[1].display, "12345.0000");
}

TEST_F(CalculatorPasteTest, SwitchPastesTwoWindowsDown) {
  double amount = 0;
  g4double(0, 0, &amount);
  // The hot key opens a window of its own over the get's, then the calculator.
  g4set_key_to(KEY_F9, [](int32_t, int32_t) {
    int previous = Desktop.curHandle;
    int w = w4define(12, 2, 14, 40);
    w4activate(w);
    kalkulator();
    w4close(w);
    w4select(previous);
    return 0;
  });
  env->calculatorSwitch = 1;
  Read("{F9}42{F8}{ENTER}");
  EXPECT_DOUBLE_EQ(amount, 42);
  env->calculatorSwitch = 0;
  amount = 0;
  g4double(0, 0, &amount);   // g4read released the gets
  Read("{F9}42{F8}{ESC}{ENTER}");   // the window below has no gets
  EXPECT_DOUBLE_EQ(amount, 0);
}

}  // namespace
