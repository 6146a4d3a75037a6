// The window "OPCJE PRZELEWÓW": the ranges of the form sections and of the
// landscape line length, which follows the boxes switch.
#include <gtest/gtest.h>

#include "app/option_sets.h"
#include "finance/transfers.h"
#include "tests/app/headless_entry_fixture.h"

namespace {

class TransferOptionsTest : public HeadlessEntryTest {
 protected:
  void SetUp() override {
    HeadlessEntryTest::SetUp();
    if (HasFatalFailure()) return;
    saved = mainOptions;
    mainOptions.transfer40 = 'T';
    mainOptions.transfer61 = 4;
    mainOptions.transfer41 = 'P';
    mainOptions.transfer34 = mainOptions.transfer37 = mainOptions.transfer63 = 'N';
    mainOptions.transfer35 = ' ';
    mainOptions.transfer36 = 0;
  }
  void TearDown() override {
    mainOptions = saved;
    HeadlessEntryTest::TearDown();
  }
  MainOptions saved{};
};

TEST_F(TransferOptionsTest, StoredLineLengthOutOfRangeIsShownAsTheUpperEnd) {
  mainOptions.transfer39 = 30;
  EXPECT_EQ(RunUntilEsc(OpcjePrzelewow), 0);
  EXPECT_TRUE(Shown("OPCJE PRZELEWÓW")) << seen;
  EXPECT_TRUE(Shown("(24-27, 48-54)...  54")) << seen;
  EXPECT_EQ(mainOptions.transfer39, 30);   // left with Esc: nothing saved
}

TEST_F(TransferOptionsTest, OutOfRangeValuesAreRefused) {
  mainOptions.transfer39 = 54;
  // sections 3 refused, then 2; line length 30 refused with boxes off, then 50; F2 saves
  const char* keys = "{ENTER}3{ENTER}{F9}{ENTER}2{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}"
                     "30{ENTER}{F9}{ENTER}50{ENTER}{F2}";
  EXPECT_EQ(RunUntilEsc(OpcjePrzelewow, keys), 0);
  EXPECT_TRUE(Shown("Wartość poza zakresem !")) << seen;
  EXPECT_EQ(mainOptions.transfer61, 2);
  EXPECT_EQ(mainOptions.transfer39, 50);
}

}  // namespace
