// The driver through the real port layer: the simulated printer on a
// pseudo-terminal, a Thermal receipt from the start to the drawer.
#include <gtest/gtest.h>

#include <cstdlib>

#include "fiscal/fiscal_printer.h"
#include "fiscal/printer_params.h"
#include "tests/app/headless_entry_fixture.h"
#include "tests/fiscal/pty_printer.h"

namespace {

class PtyPrinterTest : public HeadlessEntryTest {
 protected:
  void SetUp() override {
    HeadlessEntryTest::SetUp();
    if (HasFatalFailure()) return;
    setenv("ZELSAL_COM2", printer.Device().c_str(), 1);
  }
  void TearDown() override {
    if (dfSesja) DFClose();
    unsetenv("ZELSAL_COM2");
    HeadlessEntryTest::TearDown();
  }
  PtyPrinter printer;
};

TEST_F(PtyPrinterTest, ThermalReceiptOverTheLine) {
  ASSERT_EQ(CzytajParametryDETAL(), 0);
  parametryDetal.printerType = 2;
  parametryDetal.comPort = 2;
  ASSERT_EQ(ZapiszParametryDETAL(), 0);
  ASSERT_EQ(CzytajParametryPosnet(), 0);
  parametryPosnet.drawer = 'T';
  ASSERT_EQ(ZapiszParametryPosnet(), 0);
  ASSERT_EQ(RunUntilEsc([] { return DFOpen(0); }, ""), 1);
  EXPECT_EQ(DFParagonStart(1, 7.0, nullptr), 0);
  EXPECT_EQ(DFLinia("Chleb", 1, 2.0, 3.5, 7.0), 0);
  EXPECT_EQ(DFParagonKoniec(7.0, 10.0, 3.0, nullptr), 0);
  DFClose();
  EXPECT_EQ(printer.printer.AllCommands(),
            "0#e|1;1$hNr wew. paragonu \r|1$lChleb\r      2.000\rA/3.50/7/|1;0;0;$e000\r10/7/|1$d|3$d");
  EXPECT_EQ(printer.printer.enquiries, 12);   // two before each of the six status bytes
}

}  // namespace
