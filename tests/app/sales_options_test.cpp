// The sales options window on the headless display: the first page by the
// working year, the mark lists bound to option 134, saving only when
// confirmed and the restart note when option 134 changed.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/option_sets.h"
#include "app/sales_options.h"
#include "tests/app/options_fixture.h"
#include "tests/app/screen_shots.h"

namespace {

std::string Down(int times) {
  std::string keys;
  for (int i = 0; i < times; i++) keys += "{DOWN}";
  return keys;
}

class SalesOptionsTest : public OptionsTest {
 protected:
  void SetUp() override {
    OptionsTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(LoadMainOptions(), 0);
    ASSERT_EQ(LoadEwidencjeOptions(), 0);
    g4set_key_to(KEY_F9, TakeShot);
    seen.clear();
  }
  void Year(int year) {
    mainOptions.workingYear = year;
    env->settlementYear = year;
  }
  void Run(const std::string& keys) {
    ASSERT_EQ(HeadlessSetScript(keys.c_str()), 0);
    try {
      EXPECT_EQ(SalesOptionsAction(0), 0);
    } catch (const ScriptEnded&) {
      ADD_FAILURE() << keys << " left the window open";
    }
    EXPECT_EQ(HeadlessKeysLeft(), 0) << keys;
  }
  // From the first field to option 134: the numbering fields above the margin
  // list, the list (Enter keeps its entry), the fields below it.
  static std::string To134(int year) { return year >= 2024 ? Down(26) + "{ENTER}" + Down(3) : Down(24) + "{ENTER}" + Down(9); }
};

TEST_F(SalesOptionsTest, FirstPageByTheWorkingYear) {
  Year(2023);
  Run("{F9}{ESC}");
  EXPECT_NE(seen.find("  RA "), std::string::npos) << seen;
  EXPECT_NE(seen.find("  RK "), std::string::npos) << seen;
  EXPECT_NE(seen.find("RACHUNEK nr"), std::string::npos) << seen;
  EXPECT_EQ(seen.find("  ZP "), std::string::npos) << seen;
  seen.clear();
  Year(2024);
  Run("{F9}{ESC}");
  for (const char* row : {"  MP ", "  FM ", "  FP ", "  ZP "}) EXPECT_NE(seen.find(row), std::string::npos) << row;
  EXPECT_EQ(seen.find("  RA "), std::string::npos) << seen;
  EXPECT_EQ(seen.find("RACHUNEK nr"), std::string::npos) << seen;
}

TEST_F(SalesOptionsTest, FpRowEditsTheInvoiceNameFrom2024) {
  Year(2024);
  Run(Down(18) + "{HOME}FAKTURA VAT{DEL}{DEL}{DEL}{F2}t");
  ASSERT_EQ(LoadEwidencjeOptions(), 0);
  EXPECT_EQ(std::string(salesOptions.numbering[DOC_FV].name, 11), "FAKTURA VAT");
  EXPECT_EQ(std::string(salesOptions.numbering[DOC_FP].name, 22), "FAKTURA do paragonu nr");
}

TEST_F(SalesOptionsTest, Option134SavedWithTheRestartNoteOnlyWhenChanged) {
  struct Case {
    int year;
    std::string keys;
    char marks;
    bool note;
  } cases[] = {
      {2024, To134(2024) + "N{F2}tx", 'N', true},
      {2024, To134(2024) + "T{ESC}{F2}t", 'T', false},   // saved unchanged: no note (Esc leaves the list below)
      {2023, To134(2023) + "N{F2}{ESC}", 'T', false},  // not confirmed: nothing saved
      {2023, To134(2023) + "N{ESC}", 'T', false},
  };
  for (const Case& c : cases) {
    salesOptions.procedureMarks = 'T';
    ASSERT_EQ(SaveEwidencjeOptions(), 0);
    Year(c.year);
    g4set_key_to(KEY_F9, TakeShot);
    seen.clear();
    Run(c.keys.substr(0, c.keys.size() - (c.note ? 1 : 0)) + (c.note ? "{F9}x" : ""));
    ASSERT_EQ(LoadEwidencjeOptions(), 0);
    EXPECT_EQ(salesOptions.procedureMarks, c.marks) << c.keys;
    EXPECT_EQ(seen.find("Żeby zmiana zadziałała, należy ponownie uruchomić Korbel.") != std::string::npos, c.note)
        << c.keys << "\n" << seen;
  }
}

TEST_F(SalesOptionsTest, MarkListsHoldNoneWhileOption134IsOff) {
  Year(2024);
  salesOptions.procedureMarks = 'T';
  salesOptions.list131 = 3;
  salesOptions.list132 = 5;
  ASSERT_EQ(SaveEwidencjeOptions(), 0);
  // off: a switch typed moves on past both lists to the accounts switch
  Run(To134(2024) + "NT{F2}tx");
  ASSERT_EQ(LoadEwidencjeOptions(), 0);
  EXPECT_EQ(salesOptions.list131, 14);
  EXPECT_EQ(salesOptions.list132, 14);
  EXPECT_EQ(salesOptions.useAccounts, 'T');
}

TEST_F(SalesOptionsTest, UsualVatRateFromTheRateMenu) {
  Year(2023);
  salesOptions.usualVatCode = 1;
  ASSERT_EQ(SaveEwidencjeOptions(), 0);
  // page 2: the payment form, four switches, the exemption list, then the rate
  const std::string toRate = "{PGDN}" + Down(5) + "{ENTER}";
  Run(toRate + "{DOWN}{DOWN}{ENTER}{F2}t");
  ASSERT_EQ(LoadEwidencjeOptions(), 0);
  EXPECT_EQ(salesOptions.usualVatCode, 3);
  // Esc in the menu goes back up, the rate unchanged (the exemption list opens again and is left)
  Run(toRate + "{ESC}{ESC}{F2}t");
  ASSERT_EQ(LoadEwidencjeOptions(), 0);
  EXPECT_EQ(salesOptions.usualVatCode, 3);
}

TEST_F(SalesOptionsTest, EnterPastTheLastFieldKeepsTheWindow) {
  Year(2024);
  salesOptions.printMarkCodes = 'N';
  ASSERT_EQ(SaveEwidencjeOptions(), 0);
  // the three directories end the last page: Enter past the last one keeps
  // the cursor there, and only F2 ends the window
  Run("{PGDN}{PGDN}{PGDN}" + Down(3) + "T{ENTER}{ENTER}{ENTER}{ENTER}..{F2}t");
  ASSERT_EQ(LoadEwidencjeOptions(), 0);
  EXPECT_EQ(salesOptions.printMarkCodes, 'T');
  EXPECT_EQ(std::string(salesOptions.importDir, 3), ".. ");
}

TEST_F(SalesOptionsTest, PaymentFormFromItsList) {
  Year(2024);
  Run("{PGDN}{F4}{DOWN}{ENTER}{F2}t");
  ASSERT_EQ(LoadEwidencjeOptions(), 0);
  EXPECT_EQ(std::string(salesOptions.usualPayment, 8), "PRZELEW ");
}

TEST_F(SalesOptionsTest, ExportDirectoriesMustExist) {
  Year(2024);
  const std::string toJpk = "{PGDN}{PGDN}{PGDN}" + Down(4) + "{ENTER}";
  Run(toJpk + "brak{ENTER}{F9}xPRN{ENTER}{F9}x..\\wspolne{ENTER}{F2}t");
  EXPECT_NE(seen.find("Nie ma takiego katalogu."), std::string::npos) << seen;
  EXPECT_NE(seen.find("Nazwa jest zastrzeżona dla systemu."), std::string::npos) << seen;
  ASSERT_EQ(LoadEwidencjeOptions(), 0);
  EXPECT_EQ(std::string(salesOptions.jpkFaDir, 10), "..\\wspolne");
}

// Before 2024 the rate menu opens on the usual rate: Enter keeps it.
TEST_F(SalesOptionsTest, UsualRateMenuStartsOnTheStoredCode) {
  Year(2023);
  for (int code : {3, 14, 1}) {
    salesOptions.usualVatCode = code;
    ASSERT_EQ(SaveEwidencjeOptions(), 0);
    // page 2, past the exemption list (Enter keeps its entry), Enter in the rate menu
    Run("{PGDN}" + Down(5) + "{ENTER}{ENTER}{F2}t");
    ASSERT_EQ(LoadEwidencjeOptions(), 0);
    EXPECT_EQ(salesOptions.usualVatCode, code);
  }
}

}  // namespace
