// The service menus of the printer makes on their simulated printers: the
// clock read and set, the clock correction's range, cash in and out with the
// drawer, header lines, and the POSNET and SPARK status windows.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/module_entries.h"
#include "env/session/environment.h"
#include "fiscal/printer_drivers.h"
#include "fiscal/printer_functions.h"
#include "tests/fiscal/fiscal_fixture.h"
#include "tests/fiscal/printer_simulators.h"
#include "ui/keyboard.h"
#include "ui/std_windows.h"

namespace {

// The keys choosing item n of a menu that starts at item 1.
std::string Item(int n) {
  std::string keys;
  for (int i = 1; i < n; i++) keys += "{DOWN}";
  return keys + "{ENTER}";
}

class FunctionsTest : public FiscalTest {
 protected:
  void SetUp() override {
    FiscalTest::SetUp();
    if (HasFatalFailure()) return;
    open_envr_win();                                           // the prompts' status row
    EnvCurrent()->menuKeyRoutine = [] { return g4char(); };   // the main menu's key source
  }
  void TearDown() override {
    FiscalTest::TearDown();
    close_envr_win();
  }
  void OpenMake(int type, LineDevice* device) {
    Configure(type);
    port.device = device;
    ASSERT_EQ(Open(), 1);
  }
  int Menu(int (*menu)(), const std::string& keys) { return RunUntilEsc(menu, (keys + "{ESC}").c_str()); }
  ElzabSimulator elzab;
  OrhmetSimulator orhmet;
  SparkSimulator spark;
  TpLineSimulator tpline;
};

TEST_F(FunctionsTest, ElzabClockReadAndCorrection) {
  OpenMake(5, &elzab);
  EXPECT_EQ(Menu(ElzabFunkcjePomocnicze, "{F9}"), 0);
  for (const char* item : {"Odczyt czasu", "Korekta czasu", "Stan drukarki", "Ponów wydruk", "WYBIERZ"})
    EXPECT_TRUE(Shown(item)) << item << seen;
  seen.clear();
  EXPECT_EQ(Menu(ElzabFunkcjePomocnicze, Item(1) + "{F9}x"), 0);
  EXPECT_TRUE(Shown("Data/godzina =  14-01/25 10:30")) << seen;
  EXPECT_TRUE(Shown("INFORMACJA")) << seen;
  EXPECT_EQ(dfSesja->elzabMinutes, 30);
  size_t before = elzab.Commands().size();
  seen.clear();
  EXPECT_EQ(Menu(ElzabFunkcjePomocnicze, Item(2) + "60{ENTER}{F9}x"), 0);
  EXPECT_TRUE(Shown("Błąd zakresu.")) << seen;
  EXPECT_EQ(elzab.Commands().size(), before);
  EXPECT_EQ(Menu(ElzabFunkcjePomocnicze, Item(2) + "{ESC}"), 0);   // Esc in the prompt: nothing sent
  EXPECT_EQ(elzab.Commands().size(), before);
  EXPECT_EQ(Menu(ElzabFunkcjePomocnicze, Item(2) + "-5{ENTER}"), 0);
  EXPECT_EQ(elzab.Commands().back(), std::string("\x1b" "6\x00\x00\x05", 5));
  EXPECT_EQ(Menu(ElzabFunkcjePomocnicze, Item(3) + Item(4)), 0);
  EXPECT_EQ(elzab.Count("\x1b&"), 1);
  EXPECT_EQ(elzab.Count("\x1b*"), 1);
}

TEST_F(FunctionsTest, OrhmetClockAndCash) {
  OpenMake(4, &orhmet);
  EXPECT_EQ(Menu(OrhmetFunkcjePomocnicze, Item(1) + "{F9}x"), 0);
  EXPECT_TRUE(Shown("Data/godzina =  14-01/25  10:30")) << seen;
  EXPECT_EQ(Menu(OrhmetFunkcjePomocnicze, Item(2) + "25{ENTER}" + Item(3) + "12.5{ENTER}"), 0);
  auto c = orhmet.Commands();
  EXPECT_EQ(c[c.size() - 3], "+    25.00");
  EXPECT_EQ(c.back(), "-    12.50");
}

TEST_F(FunctionsTest, TpLineHeaderStopsAtTheFirstRefusal) {
  ASSERT_EQ(CzytajParametryTpLine(), 0);
  for (int i = 0; i < 5; i++) std::snprintf(parametryTpLine.header[i], 25, "Linia %d", i + 1);
  parametryTpLine.cashier = 7;
  parametryTpLine.device = 1234;
  ASSERT_EQ(ZapiszParametryTpLine(), 0);
  OpenMake(3, &tpline);
  tpline.statusOf = [](const std::string& f) { return f[2] == 0x12 && f[3] == 2 ? 7 : 0; };
  EXPECT_EQ(Menu(TpLineFunkcjePomocnicze, Item(12) + "{F9}x"), 0);
  EXPECT_TRUE(Shown("Błąd 7 - niepoprawna operacja.")) << seen;
  EXPECT_EQ(tpline.Count("\x1b" "C\x12"), 2);
  EXPECT_EQ(tpline.Count("\x1b" "C\x12\x01\x01\x07Linia 1"), 1);
  EXPECT_EQ(tpline.Count("\x1b" "C\x82\x01" "Funkcje"), 1);
  tpline.statusOf = nullptr;
  EXPECT_EQ(Menu(TpLineFunkcjePomocnicze, Item(13) + Item(14)), 0);
  EXPECT_EQ(tpline.Count("\x1b" "C\x17\x07"), 1);
  EXPECT_EQ(tpline.Count("\x1b" "C\x16\x12\x34"), 1);
  // The clock: hour and minute, then the date with its weekday.
  seen.clear();
  EXPECT_EQ(Menu(TpLineFunkcjePomocnicze, Item(5) + "140125{ENTER}10{ENTER}30{F9}{ENTER}"), 0);
  EXPECT_TRUE(Shown("Podaj datę - 14-01/25 i czas HH:MM - 10:30")) << seen;
  auto c = tpline.Commands();
  EXPECT_EQ(c[c.size() - 2].substr(2, 4), std::string("\x11\x10\x30\x00", 4));
  EXPECT_EQ(c.back().substr(2, 5), "\x10\x14\x01\x25\x02");
}

TEST_F(FunctionsTest, PosnetClockCashAndDrawer) {
  for (char drawer : {'N', 'T'}) {
    Configure(2, 'N', drawer);
    ASSERT_EQ(Open(), 1);
    port.printer.clockOffsetMinutes = 3;
    seen.clear();
    EXPECT_EQ(Menu(PosnetFunkcjePomocnicze, Item(1) + "{F9}x" + Item(7) + "10{ENTER}" + Item(8) + "4{ENTER}"), 0);
    EXPECT_TRUE(Shown("INFORMACJA")) << seen;
    EXPECT_TRUE(Shown("Data OK.")) << seen;
    EXPECT_TRUE(Shown("Różnica czasów RTC - system = 3 min")) << seen;
    auto c = port.printer.Commands();
    ASSERT_GE(c.size(), 2u);
    EXPECT_EQ(c.back(), "0#d4/");
    EXPECT_EQ(port.printer.Count("0#i10/"), 1);
    EXPECT_EQ(port.printer.Count("1$d"), drawer == 'T' ? 2 : 0) << drawer;
    EXPECT_EQ(c[c.size() - 2], drawer == 'T' ? "1$d" : "0#i10/");   // the drawer opens before the amount goes
    DFClose();
    port.printer.Restart();
  }
}

TEST_F(FunctionsTest, PosnetStatusWindowHidesAnUnusedRate) {
  Configure(2);
  ASSERT_EQ(Open(), 1);
  EXPECT_EQ(Menu(PosnetFunkcjePomocnicze, Item(6) + "{F9}x"), 0);
  EXPECT_TRUE(Shown("Status drukarki POSNET")) << seen;
  EXPECT_TRUE(Shown("stawka PTU G .............  zw.")) << seen;   // the rows below a hidden one stay
  EXPECT_TRUE(Shown("data ostatniego zapisu ...  10-12-2026")) << seen;
  EXPECT_TRUE(Shown("stawka PTU A")) << seen;
  EXPECT_FALSE(Shown("stawka PTU D")) << seen;   // the printer gives three rates: D to F are 101
  EXPECT_TRUE(Shown("zw.")) << seen;
  EXPECT_TRUE(Shown("ABC123456789")) << seen;
}

TEST_F(FunctionsTest, SparkStatusWindow) {
  spark.status = std::string(73, ' ');
  spark.status.replace(3, 2, "07");
  spark.status.replace(6, 13, "0000000012345");
  spark.status.replace(58, 6, "103005");
  spark.status.replace(65, 6, "140125");
  OpenMake(7, &spark);
  EXPECT_EQ(Menu(SparkFunkcjePomocnicze, Item(1) + "{F9}x"), 0);
  EXPECT_TRUE(Shown("Status drukarki SPARK 482G")) << seen;
  EXPECT_TRUE(Shown("numer kasjera ...........  07")) << seen;
  EXPECT_TRUE(Shown("123.45")) << seen;
  EXPECT_TRUE(Shown("10:30:05")) << seen;
  EXPECT_TRUE(Shown("14-01/25")) << seen;
  EXPECT_EQ(Menu(SparkFunkcjePomocnicze, Item(2)), 0);
  EXPECT_EQ(spark.Count("o"), 1);
  EXPECT_EQ(spark.Count("5"), 1);
  spark.silent = true;
  seen.clear();
  EXPECT_EQ(Menu(SparkFunkcjePomocnicze, Item(1) + "{F9}x"), 0);
  EXPECT_TRUE(Shown("Błąd odczytu")) << seen;
}

}  // namespace
