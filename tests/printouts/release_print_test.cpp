// The goods release note: the number proposed and stored, only the
// catalogue lines printed, and two workstations asking at once.
#include <gtest/gtest.h>

#include <string>

#include "printouts/invoice_print.h"
#include "tests/printouts/printout_fixture.h"

namespace {

class ReleasePrintTest : public PrintoutTest {
 protected:
  void SetUp() override {
    PrintoutTest::SetUp();
    if (HasFatalFailure()) return;
    Invoice();
    // A catalogue line, a free-text line, a catalogue line.
    Line("Towar A", "3", "10", "12.30", "1", "23", "30", "6.90", "36.90");
    SetFields(Z5SPRE.table, {{"ZRP", "1"}});
    ASSERT_EQ(d4write(Z5SPRE.table, d4recno(Z5SPRE.table)), 0);
    Line("Usługa", "1", "5", "6.15", "1", "23", "5", "1.15", "6.15");
    Line("Towar B", "2", "12.5", "13.50", "2", "8", "25", "2", "27");
    SetFields(Z5SPRE.table, {{"ZRP", "1"}});
    ASSERT_EQ(d4write(Z5SPRE.table, d4recno(Z5SPRE.table)), 0);
    CharacterPrinting("WZN");
  }
  int Release(const char* keys) {
    EXPECT_EQ(HeadlessSetScript(keys), 0);
    d4go(Z5SPRZ.table, 1);
    int result = wydruk_wz();
    EXPECT_EQ(HeadlessKeysLeft(), 0);
    return result;
  }
  std::string Stored(const char* name) {
    d4go(Z5SPRZ.table, 1);
    return FieldText(Z5SPRZ.table, name);
  }
};

TEST_F(ReleasePrintTest, FirstNumberThenTheHighestPlusOne) {
  // The window opens on the working date and number 1; F2 stores and prints.
  Release("{F2}{F2}{ENTER}");
  EXPECT_EQ(Stored("NWZ"), "    1");
  EXPECT_EQ(Stored("DWZ"), "20261210");
  std::string page = Printed();
  EXPECT_NE(page.find("DOWÓD WYDANIA WZ nr 1/26"), std::string::npos) << page;
  // Only the catalogue lines, numbered without a gap.
  EXPECT_EQ(page.find("Usługa"), std::string::npos);
  EXPECT_NE(page.find("  2 Towar B"), std::string::npos) << page;
  EXPECT_NE(LineWith(page, "RAZEM").find("55.00"), std::string::npos) << page;

  AppendRecord(Z5SPRZ.table, {{"TYV", "1"}, {"REC", "2"}, {"NWZ", "   11"}, {"DWZ", "20250105"}});
  ASSERT_EQ(d4go(Z5SPRZ.table, 1), 0);
  SetFields(Z5SPRZ.table, {{"NWZ", ""}});
  ASSERT_EQ(d4write(Z5SPRZ.table, 1), 0);
  Release("{F2}{F2}{ENTER}");
  EXPECT_EQ(Stored("NWZ"), "   12");
  Printed();
  // Another document's number is refused in the window; Esc stores nothing.
  Release("{DOWN}{HOME}{DEL}{DEL}{DEL}{DEL}{DEL}11{ENTER}{ENTER}{ESC}");
  EXPECT_EQ(Stored("NWZ"), "   12");
  EXPECT_EQ(Printed(), "<none>");
}

TEST_F(ReleasePrintTest, NumberTextOfTheYear) {
  SetFields(Z5SPRZ.table, {{"NWZ", "   12"}, {"DWZ", "20250310"}});
  EXPECT_STREQ(numer_wz_tekst(), "12/25");
}

// A second workstation holds the headers locked while it stores number 1
// on another document: the proposal waits and takes 2.
TEST_F(ReleasePrintTest, TwoWorkstationsGetDifferentNumbers) {
  AppendRecord(Z5SPRZ.table, {{"TYV", "1"}, {"REC", "2"}});
  d4flush(Z5SPRZ.table);
  pid_t other = StartSecondWorkstation(env, [] {
    d4go(Z5SPRZ.table, 2);
    SetFields(Z5SPRZ.table, {{"NWZ", "    1"}});
    return d4write(Z5SPRZ.table, 2);
  });
  ASSERT_GT(other, 0);
  Release("{F2}{F2}{ENTER}");
  EXPECT_TRUE(SecondWorkstationDone(other));
  EXPECT_EQ(Stored("NWZ"), "    2");
}

}  // namespace
