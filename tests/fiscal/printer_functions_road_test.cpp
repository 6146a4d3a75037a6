// The printers' auxiliary functions on the real program, headless, each make's
// simulated printer on the pseudo-terminal of COM1: " Drukarki " > " Funkcje "
// from the retail menu, the boxes the operator sees and what the printer got.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/clock.h"
#include "tests/app/program_road.h"
#include "tests/fiscal/printer_simulators.h"
#include "tests/fiscal/pty_printer.h"

namespace {

std::string Repeat(const char* key, int times) {
  std::string keys;
  for (int i = 0; i < times; i++) keys += key;
  return keys;
}

// The keys choosing item n of a menu that starts at item 1.
std::string Item(int n) { return Repeat("{DOWN}", n - 1) + "{ENTER}"; }

const std::string DETAL = std::string(LOGO) + "s{ENTER}d";
const std::string FUNCTIONS = DETAL + "df";
// Leaves the service menu, the printers' menu, the retail menu.
const std::string BACK = "{ESC}{ESC}{ESC}{ESC}";

class FunctionsRoadTest : public ProgramRoadTest {
 protected:
  void SetUp() override {
    ProgramRoadTest::SetUp();
    if (HasFatalFailure()) return;
    RunToEnd(std::string(LOGO) + "kdFIRMA1{ENTER}firma1{ENTER}{ENTER}{F2}t{ESC}");
  }
  void TearDown() override {
    unsetenv("ZELSAL_COM1");
    ProgramRoadTest::TearDown();
  }
  // The printer type: the list entry `entry` (from 0) of the receipt options, with its device on COM1.
  void Use(int entry, PtyLine& line) {
    RunToEnd(DETAL + "o" + Repeat("{ENTER}", 18) + Repeat("{DOWN}", entry) + "{ENTER}{F2}t{ESC}{ESC}");
    setenv("ZELSAL_COM1", line.Device().c_str(), 1);
  }
};

TEST_F(FunctionsRoadTest, OrhmetClock) {
  OrhmetSimulator orhmet;
  PtyLine line(&orhmet);
  Use(8, line);
  RunToEnd(FUNCTIONS + Item(1) + "x" + BACK);
  EXPECT_EQ(orhmet.Count("U5"), 1);
  Outcome o = Run(FUNCTIONS + Item(1));
  EXPECT_TRUE(Has(o, "Data/godzina =  14-01/25  10:30")) << o.screen;
  EXPECT_TRUE(Has(o, "INFORMACJA")) << o.screen;
}

// A pseudo-terminal refuses even parity once it has it: each run of the
// ELZAB printer gets a line of its own.
TEST_F(FunctionsRoadTest, ElzabCorrectionOutOfRange) {
  ElzabSimulator elzab;
  {
    PtyLine line(&elzab);
    Use(6, line);
    RunToEnd(FUNCTIONS + Item(2) + "60{ENTER}x" + BACK);
  }
  EXPECT_EQ(elzab.Commands().size(), 3u);   // the start-up only: version, mode, numbers
  EXPECT_EQ(elzab.Count("\x1b" "6"), 0);
  PtyLine line(&elzab);
  setenv("ZELSAL_COM1", line.Device().c_str(), 1);
  Outcome o = Run(FUNCTIONS + Item(2) + "60{ENTER}");
  EXPECT_TRUE(Has(o, "Błąd zakresu.")) << o.screen;
  EXPECT_TRUE(Has(o, "UWAGA")) << o.screen;
}

TEST_F(FunctionsRoadTest, TpLineHeaderStopsAtTheFirstRefusal) {
  TpLineSimulator tpline;
  tpline.statusOf = [](const std::string& f) { return f[2] == 0x12 && f[3] == 2 ? 7 : 0; };
  PtyLine line(&tpline);
  Use(7, line);
  RunToEnd(FUNCTIONS + Item(12) + "x" + BACK);
  EXPECT_EQ(tpline.Count("\x1b" "C\x12\x01"), 1);
  EXPECT_EQ(tpline.Count("\x1b" "C\x12\x02"), 1);
  EXPECT_EQ(tpline.Count("\x1b" "C\x12\x03"), 0);
  Outcome o = Run(FUNCTIONS + Item(12));
  EXPECT_TRUE(Has(o, "Błąd 7 - niepoprawna operacja.")) << o.screen;
  EXPECT_TRUE(Has(o, "Numer rekordu = 12")) << o.screen;
}

TEST_F(FunctionsRoadTest, PosnetDrawerClockAndStatus) {
  PtyPrinter printer;
  for (char drawer : {'N', 'T'}) {
    RunToEnd(DETAL + "o" + Repeat("{ENTER}", 18) + "{DOWN}{ENTER}{F2}t{ESC}{ESC}");
    RunToEnd(DETAL + "do" + Repeat("{ENTER}", 18) + drawer + "{F2}t{ESC}{ESC}{ESC}");
    setenv("ZELSAL_COM1", printer.Device().c_str(), 1);
    printer.printer.Restart();
    RunToEnd(FUNCTIONS + Item(7) + "10{ENTER}" + Item(8) + "4{ENTER}" + BACK);
    EXPECT_EQ(printer.printer.Count("0#i10/"), 1) << printer.printer.AllCommands();
    EXPECT_EQ(printer.printer.Count("0#d4/"), 1);
    EXPECT_EQ(printer.printer.Count("1$d"), drawer == 'T' ? 2 : 0) << drawer;
  }
  // The printer's clock 3 minutes ahead of the computer's, on the same day:
  // the simulator reads this process's clock, fixed where the program's is.
  PlatDateTime programNow{2025, 3, 10, 12, 0, 0, 0, 1};
  PlatClockFix(&programNow);
  printer.printer.clockOffsetMinutes = 3;
  Outcome clock = Run(FUNCTIONS + Item(1));
  EXPECT_TRUE(Has(clock, "INFORMACJA")) << clock.screen;
  EXPECT_TRUE(Has(clock, "Data OK.  ")) << clock.screen;
  EXPECT_TRUE(Has(clock, "Różnica czasów RTC - system = 3 min")) << clock.screen;
  // The simulated printer gives three rates: D to F (101) have no rows.
  Outcome status = Run(FUNCTIONS + Item(6));
  EXPECT_TRUE(Has(status, "Status drukarki POSNET")) << status.screen;
  EXPECT_TRUE(Has(status, "stawka PTU C")) << status.screen;
  EXPECT_FALSE(Has(status, "stawka PTU D")) << status.screen;
}

}  // namespace
