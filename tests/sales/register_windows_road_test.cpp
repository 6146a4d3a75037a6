// The register's small windows reached through the real program, headless:
// F2 previews a document without a recipient from its header and marks
// straight to its lines, Alt+F1 shows the shortcut keys.
#include <gtest/gtest.h>

#include <string>

#include "tables/sales_tables.h"
#include "tests/sales/sales_road.h"

namespace {

class RegisterWindowsRoadTest : public SalesRoadTest {
 protected:
  // The firm's main register of 2025 with one invoice and one line.
  void SetUp() override {
    SalesRoadTest::SetUp();
    if (HasFatalFailure()) return;
    MakeFirmWithSales();
    OpenFirmHeaders();
    if (HasFatalFailure()) return;
    ASSERT_EQ(OpenZ5SPRE(0, 0, SALES_MAIN), 0);
    AppendRecord(Z5SPRZ.table, {{"TYV", "1"}, {"PRE", "  FV"}, {"NRV", "7"}, {"NA1", "Hurtownia Zbyt"},
                                {"KNA", "ZBYT"}, {"DAW", "20250310"}, {"TRY", "1"}, {"NET", "100"}, {"VAT", "23"},
                                {"BRU", "123"}, {"ZAP", "N"}, {"REC", "1"}});
    AppendRecord(Z5SPRE.table, {{"TYV", "1"}, {"REK", "1"}, {"KOT", "TOWAR1"}, {"NA1", "Śruba ocynkowana"},
                                {"ILO", "1"}, {"CNR", "100"}, {"WNE", "100"}, {"WAV", "23"}, {"WAB", "123"},
                                {"VAS", "23"}, {"VAT", "1"}});
    d4close_all(&env->engine);
  }
};

TEST_F(RegisterWindowsRoadTest, PreviewGoesFromTheHeaderToTheLines) {
  std::string header = Run(std::string(LOGO) + INTO_SALES + "{F2}").screen;
  EXPECT_NE(header.find("Hurtownia Zbyt"), std::string::npos) << header;
  EXPECT_NE(header.find("Podgląd"), std::string::npos) << header;
  // The procedures, then the GTU marks; no recipient: the next F2 lists the lines.
  std::string marks = Run(std::string(LOGO) + INTO_SALES + "{F2}{F2}{F2}").screen;
  EXPECT_NE(marks.find("GTU_13        usługi transportowe i gospodarki magazynowej"), std::string::npos) << marks;
  std::string lines = Run(std::string(LOGO) + INTO_SALES + "{F2}{F2}{F2}{F2}").screen;
  EXPECT_NE(lines.find("Śruba ocynkowana"), std::string::npos) << lines;
}

TEST_F(RegisterWindowsRoadTest, AltF1ShowsTheKeysOfTheMainRegister) {
  std::string screen = Run(std::string(LOGO) + INTO_SALES + "{ALT+F1}").screen;
  for (const char* text : {"Skróty klawiszowe", "Alt+F5        - dopisanie dokumentów kasowych",
                           "przeniesienie dokumentu do sprzedaży pomocniczej"})
    EXPECT_NE(screen.find(text), std::string::npos) << text << "\n" << screen;
}

}  // namespace
