// The operator's road to the fiscal printer on the real program, headless:
// the receipt options of a new firm, the printer type kept across runs, the
// printer's own options, and the printer functions opening the connection to
// the simulated printer on a pseudo-terminal (and to a silent one).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/app/program_road.h"
#include "tests/fiscal/pty_printer.h"

namespace {

std::string Repeat(const char* key, int times) {
  std::string keys;
  for (int i = 0; i < times; i++) keys += key;
  return keys;
}

// Into the firm, the retail menu.
const std::string DETAL = std::string(LOGO) + "s{ENTER}d";
// The receipt options, at the COM port.
const std::string TO_PORT = DETAL + "o" + Repeat("{ENTER}", 19);

class PrinterRoadTest : public ProgramRoadTest {
 protected:
  void SetUp() override {
    ProgramRoadTest::SetUp();
    if (HasFatalFailure()) return;
    RunToEnd(std::string(LOGO) + "kdFIRMA1{ENTER}firma1{ENTER}{ENTER}{F2}t{ESC}");
    setenv("ZELSAL_COM1", printer.Device().c_str(), 1);
  }
  void TearDown() override {
    unsetenv("ZELSAL_COM1");
    ProgramRoadTest::TearDown();
  }
  // The last screen's row holding `label`.
  static std::string Row(const Outcome& o, const std::string& label) {
    size_t at = o.screen.find(label);
    if (at == std::string::npos) return "";
    size_t start = o.screen.rfind('\n', at) + 1;
    return o.screen.substr(start, o.screen.find('\n', at) - start);
  }
  PtyPrinter printer;
};

TEST_F(PrinterRoadTest, ReceiptOptionsOfANewFirm) {
  Outcome port = Run(TO_PORT);
  EXPECT_NE(Row(port, "Drukarka fiskalna").find("BRAK"), std::string::npos) << port.screen;
  EXPECT_NE(Row(port, "Numer portu COM").find(" 1"), std::string::npos) << port.screen;
  Outcome refused = Run(TO_PORT + "0");
  EXPECT_TRUE(Has(refused, "Numer portu COM drukarki fiskalnej: od 1 do 4.")) << refused.screen;
  // '0' and '5' refused: the port stays 1.
  RunToEnd(TO_PORT + "0x5x{ESC}{ESC}{ESC}{ESC}");
  EXPECT_NE(Row(Run(TO_PORT), "Numer portu COM").find(" 1"), std::string::npos);
  // F4 in the payment form stores the first entry's text.
  RunToEnd(TO_PORT + "{ENTER}{ENTER}{F4}{ENTER}{F2}t{ESC}{ESC}");
  Outcome payment = Run(DETAL + "o");
  EXPECT_NE(Row(payment, "forma płatności faktur").find("GOTÓWKA"), std::string::npos) << payment.screen;
  EXPECT_EQ(Row(payment, "forma płatności faktur").find("1."), std::string::npos) << payment.screen;
  // Esc saves nothing.
  RunToEnd(TO_PORT + "3{ESC}{ESC}{ESC}{ESC}");
  EXPECT_NE(Row(Run(TO_PORT), "Numer portu COM").find(" 1"), std::string::npos);
  // Type 12 (the thirteenth entry) saved with F2 survives the restart.
  RunToEnd(DETAL + "o" + Repeat("{ENTER}", 18) + Repeat("{DOWN}", 12) + "{ENTER}{F2}t{ESC}{ESC}");
  Outcome kept = Run(DETAL + "o");
  EXPECT_NE(Row(kept, "Drukarka fiskalna").find("POSNET ONLINE"), std::string::npos) << kept.screen;
}

TEST_F(PrinterRoadTest, PrinterFunctionsOpenAndCloseTheConnection) {
  // Type 12; its options window switches the ONLINE protocol on.
  RunToEnd(DETAL + "o" + Repeat("{ENTER}", 18) + Repeat("{DOWN}", 12) + "{ENTER}{F2}t{ESC}{ESC}");
  Outcome options = Run(DETAL + "do");
  EXPECT_TRUE(Has(options, "OPCJE drukarki POSNET ONLINE")) << options.screen;
  RunToEnd(DETAL + "do" + Repeat("{ENTER}", 23) + "T{F2}t{ESC}{ESC}{ESC}");
  Outcome functions = Run(DETAL + "df");
  EXPECT_TRUE(Has(functions, "Sprawdź zegar")) << functions.screen;   // the connection is open
  EXPECT_EQ(printer.printer.AllCommands(), "rtcget\t");
  RunToEnd(DETAL + "df{ESC}{ESC}{ESC}{ESC}");
  EXPECT_EQ(printer.printer.AllCommands(), "rtcget\t|rtcget\t|dspcmd\tid1\tst2\t");

  printer.printer.silent = true;
  Outcome waiting = Run(DETAL + "df");
  EXPECT_TRUE(Has(waiting, "Drukarka nie odpowiada. Czekać dalej ?")) << waiting.screen;
  Outcome given_up = Run(DETAL + "df{ESC}");
  EXPECT_TRUE(Has(given_up, "Drukarka nie podłączona lub brak komunikacji.")) << given_up.screen;
  RunToEnd(DETAL + "df{ESC}x{ESC}{ESC}{ESC}");
  EXPECT_EQ(printer.printer.Count("dspcmd"), 1);   // nothing closes a connection that never opened
}

}  // namespace
