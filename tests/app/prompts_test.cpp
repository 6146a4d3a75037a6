// The one-line prompts of the status row, typed on the headless display.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/prompts.h"
#include "tests/ui/ui_fixture.h"
#include "ui/display.h"
#include "ui/get4.h"

namespace {

class PromptTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    if (HasFatalFailure()) return;
    open_envr_win();
    env->settlementYear = 2025;
  }
  void TearDown() override {
    close_envr_win();
    UiTest::TearDown();
  }
  char path[41] = {};
};

TEST_F(PromptTest, Path) {
  struct Case {
    const char* keys;
    int forWriting;
    int result;
    const char* path;
  } cases[] = {
      {"{ENTER}", 0, 0, "A:"},
      {"C:{ENTER}", 1, 0, "C:"},
      {"C:\\DANE{ENTER}", 0, 0, "C:\\DANE\\"},
      {"C:\\DANE\\{ENTER}", 0, 0, "C:\\DANE\\"},
      {"  X{ENTER}", 0, 0, "X\\"},
      {"{ESC}", 0, -1, nullptr},
  };
  for (const Case& c : cases) {
    Keys(c.keys);
    EXPECT_EQ(PodajSciezke(c.forWriting, path, sizeof path), c.result) << c.keys;
    EXPECT_EQ(HeadlessKeysLeft(), 0) << c.keys;
    if (c.path) {
      EXPECT_STREQ(path, c.path) << c.keys;
    }
  }
}

TEST_F(PromptTest, PathPromptStandsOnTheStatusRow) {
  // The row while the get waits: the prompt (no message table here) and the get after it.
  Keys("");
  EXPECT_THROW(PodajSciezke(1, path, sizeof path), ScriptEnded);
  std::string shown = Row(28);
  EXPECT_EQ(shown.substr(0, 9), "?20079A: ") << shown;
  EXPECT_EQ(Attr(28, 0), 143);
}

TEST_F(PromptTest, ImportYear) {
  Keys("{ENTER}");
  EXPECT_EQ(PodajRokImportu(), 2025);
  Keys("2019{ENTER}");
  EXPECT_EQ(PodajRokImportu(), 2019);
  // 1979 is refused with a box (any key closes it) and the year asked again.
  Keys("1979{ENTER}x2021{ENTER}");
  EXPECT_EQ(PodajRokImportu(), 2021);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  Keys("{ESC}");
  EXPECT_EQ(PodajRokImportu(), -1);
}

TEST_F(PromptTest, AmountAndDiscount) {
  double amount = 12.5;
  int accepted = -1;
  Keys("250.75{ENTER}");
  PodajKwote(&amount, &accepted, "Kwota: ");
  EXPECT_EQ(accepted, 1);
  EXPECT_DOUBLE_EQ(amount, 250.75);
  Keys("999{ESC}");
  PodajKwote(&amount, &accepted, "Kwota: ");
  EXPECT_EQ(accepted, 0);
  EXPECT_DOUBLE_EQ(amount, 250.75);

  double discount = 5;
  Keys("{ENTER}");
  EXPECT_EQ(PodajRabat(&discount), 0);
  EXPECT_DOUBLE_EQ(discount, 5);
  Keys("7.5{ENTER}");
  EXPECT_EQ(PodajRabat(&discount), 0);
  EXPECT_DOUBLE_EQ(discount, 7.5);
  Keys("3{ESC}");
  EXPECT_EQ(PodajRabat(&discount), -1);
  EXPECT_DOUBLE_EQ(discount, 7.5);
}

TEST_F(PromptTest, GetsAreRedrawnFromTheirValues) {
  int window = w4define(2, 2, 6, 40);
  w4activate(window);
  char text[8] = "ABC    ";
  g4(1, 5, text);
  g4release(0);
  g4display();
  std::memcpy(text, "XYZ", 3);
  EXPECT_EQ(Cells(3, 7, 3), "ABC");
  OdswiezGety();
  EXPECT_EQ(Cells(3, 7, 3), "XYZ");
  EXPECT_EQ(Attr(3, 7), 31);
  g4release(1);
  w4close(window);
}

}  // namespace
