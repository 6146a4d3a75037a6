// The correction printout: a line moved to another rate, lines without a
// difference, a margin correction, a document without correction data and
// Esc in the net/gross menu.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "printouts/invoice_print.h"
#include "tests/printouts/printout_fixture.h"

namespace {

class CorrectionPrintTest : public PrintoutTest {
 protected:
  void SetUp() override {
    PrintoutTest::SetUp();
    if (HasFatalFailure()) return;
    Correction();
  }
};

TEST_F(CorrectionPrintTest, LineMovedToAnotherRate) {
  Corrected("Towar A", "1", "23", "100", "23", "123", "2", "8", "100", "8", "108", "0", "-15");
  Corrected("Bez zmian", "1", "23", "10", "2.30", "12.30", "1", "23", "10", "2.30", "12.30", "0", "0");
  Corrected("Towar C", "1", "23", "50", "11.50", "61.50", "1", "23", "40", "9.20", "49.20", "-10", "-2.30");
  salesOptions.list50 = 1;
  CharacterPrinting("FKN");
  EXPECT_EQ(Print("{F2}{ENTER}"), 1);
  std::string page = Printed();
  ExpectGolden("correction_rate_change.txt", page);
  // The old amounts leave the 23 % row, the new ones come into the 8 % row.
  EXPECT_NE(page.find("-110.00    23.0     -25.30        -135.30"), std::string::npos) << page;
  EXPECT_NE(page.find("100.00     8.0       8.00         108.00"), std::string::npos) << page;
  EXPECT_NE(page.find("wartość zmniejszenia podatku należnego:"), std::string::npos);
  // The unchanged line is left out; the numbering has no gap.
  EXPECT_EQ(page.find("Bez zmian"), std::string::npos);
  EXPECT_NE(page.find("  2 Towar C"), std::string::npos);
  EXPECT_NE(page.find("do dokumentu nr FV/1 z 01-12-2026"), std::string::npos);
}

TEST_F(CorrectionPrintTest, MarginCorrectionHasNoRateRows) {
  SetFields(Z5SPRZ.table, {{"TYM", "8"}});
  ASSERT_EQ(d4write(Z5SPRZ.table, 1), 0);
  Corrected("Usługa", "1", "23", "81.30", "18.70", "100", "1", "23", "65.04", "14.96", "80", "-16.26", "-3.74");
  salesOptions.list50 = 2;
  CharacterPrinting("FKB");
  EXPECT_EQ(Print("{F2}{ENTER}"), 1);
  std::string page = Printed();
  EXPECT_NE(page.find("jednostkowa"), std::string::npos) << page;
  EXPECT_EQ(page.find("w tym:"), std::string::npos) << page;
  EXPECT_NE(page.find("RAZEM KOREKTY PLN"), std::string::npos) << page;
  EXPECT_NE(page.find("-20.00"), std::string::npos) << page;
}

TEST_F(CorrectionPrintTest, LinesWithoutCorrectionDataPrintNothing) {
  AppendRecord(Z5SPRE.table, {{"REK", "1"}, {"NA1", "Stara"}, {"WNE", "10"}, {"KRN", "1"}});
  salesOptions.list50 = 1;
  CharacterPrinting("FKN");
  // The warning takes a key; the print dialog never opens.
  EXPECT_EQ(Print("{ENTER}"), 0);
  EXPECT_EQ(Printed(), "<none>");
}

TEST_F(CorrectionPrintTest, EscInThePriceMenuPrintsNothing) {
  Corrected("Towar C", "1", "23", "50", "11.50", "61.50", "1", "23", "40", "9.20", "49.20", "-10", "-2.30");
  salesOptions.list50 = 3;
  CharacterPrinting("FKN");
  EXPECT_EQ(Print("{ESC}"), 0);
  EXPECT_EQ(Printed(), "<none>");
}

}  // namespace
