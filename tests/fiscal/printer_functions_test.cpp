// The service menus of the printer makes on their simulated printers: the
// clock read and set, the clock correction's range, cash in and out with the
// drawer, header lines, and the POSNET and SPARK status windows.
#include <gtest/gtest.h>

#include <string>

#include "app/module_entries.h"
#include "env/session/environment.h"
#include "ui/keyboard.h"
#include "fiscal/printer_drivers.h"
#include "fiscal/printer_functions.h"
#include "tests/fiscal/fiscal_fixture.h"
#include "tests/fiscal/printer_simulators.h"

namespace {

class FunctionsTest : public FiscalTest {
 protected:
  void SetUp() override {
    FiscalTest::SetUp();
    EnvCurrent()->menuKeyRoutine = [] { return g4char(); };   // the main menu's key source
  }
  void OpenMake(int type, LineDevice* device) {
    Configure(type);
    port.device = device;
    ASSERT_EQ(Open(), 1);
  }
  ElzabSimulator elzab;
  OrhmetSimulator orhmet;
  SparkSimulator spark;
  TpLineSimulator tpline;
};

TEST_F(FunctionsTest, ElzabClockRead) {
  OpenMake(5, &elzab);
  EXPECT_EQ(RunUntilEsc(ElzabFunkcjePomocnicze, "{F9}{ESC}"), 0);
  for (const char* item : {"Odczyt czasu", "Korekta czasu", "Stan drukarki", "Ponów wydruk", "WYBIERZ"})
    EXPECT_TRUE(Shown(item)) << item << seen;
  seen.clear();
  EXPECT_EQ(RunUntilEsc(ElzabFunkcjePomocnicze, "{ENTER}{F9}x{ESC}"), 0);
  EXPECT_TRUE(Shown("Data/godzina =  14-01/25 10:30")) << seen;
  EXPECT_TRUE(Shown("INFORMACJA")) << seen;
  EXPECT_EQ(dfSesja->elzabMinutes, 30);
}

TEST_F(FunctionsTest, OrhmetClock) {
  OpenMake(4, &orhmet);
  EXPECT_EQ(RunUntilEsc(OrhmetFunkcjePomocnicze, "{ENTER}{F9}x{ESC}"), 0);
  EXPECT_TRUE(Shown("Data/godzina =  14-01/25  10:30")) << seen;
}

TEST_F(FunctionsTest, PosnetClockCheckAndDrawer) {
  for (char drawer : {'N', 'T'}) {
    Configure(2, 'N', drawer);
    ASSERT_EQ(Open(), 1);
    port.printer.clockOffsetMinutes = 3;
    seen.clear();
    EXPECT_EQ(RunUntilEsc(PosnetFunkcjePomocnicze, "{ENTER}{F9}x{ESC}"), 0);
    EXPECT_TRUE(Shown("INFORMACJA")) << seen;
    EXPECT_TRUE(Shown("Data OK.")) << seen;
    EXPECT_TRUE(Shown("Różnica czasów RTC - system = 3 min")) << seen;
    DFOtworzSzuflade();
    EXPECT_EQ(port.printer.Count("1$d"), drawer == 'T' ? 1 : 0) << drawer;
    DFClose();
    port.printer.Restart();
  }
}

TEST_F(FunctionsTest, SparkStatusWindow) {
  spark.status = std::string(73, ' ');
  spark.status.replace(3, 2, "07");
  spark.status.replace(6, 13, "0000000012345");
  spark.status.replace(58, 6, "103005");
  spark.status.replace(65, 6, "140125");
  OpenMake(7, &spark);
  EXPECT_EQ(RunUntilEsc(SparkFunkcjePomocnicze, "{ENTER}{F9}x{ESC}"), 0);
  EXPECT_TRUE(Shown("Status drukarki SPARK 482G")) << seen;
  EXPECT_TRUE(Shown("123.45")) << seen;
  EXPECT_TRUE(Shown("10:30:05")) << seen;
  EXPECT_TRUE(Shown("14-01/25")) << seen;
  spark.silent = true;
  seen.clear();
  EXPECT_EQ(RunUntilEsc(SparkFunkcjePomocnicze, "{ENTER}{F9}x{ESC}"), 0);
  EXPECT_TRUE(Shown("Błąd odczytu")) << seen;
}

}  // namespace
