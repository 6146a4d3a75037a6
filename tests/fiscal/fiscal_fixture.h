// The fiscal tests: the headless screen with the firm directory of the
// catalogue fixture, a fake port with a simulated printer behind the port
// layer, and the printer configured through its parameter sets.
#pragma once
#include <string>

#include "fiscal/fiscal_printer.h"
#include "fiscal/posnet.h"
#include "fiscal/printer_params.h"
#include "tests/app/headless_entry_fixture.h"
#include "tests/fiscal/fake_port.h"

class FiscalTest : public HeadlessEntryTest {
 protected:
  void TearDown() override {
    if (dfSesja) DFClose();
    PosnetCmd(2 | DF_QUIET);
    HeadlessEntryTest::TearDown();
  }
  // The printer type (and the POSNET settings) stored as the operator would.
  void Configure(int type, char online = 'N', char drawer = 'N', char display = 'N') {
    ASSERT_EQ(CzytajParametryDETAL(), 0);
    parametryDetal.printerType = type;
    ASSERT_EQ(ZapiszParametryDETAL(), 0);
    ASSERT_EQ(CzytajParametryPosnet(), 0);
    parametryPosnet.onlineProtocol = online;
    parametryPosnet.drawer = drawer;
    parametryPosnet.detailedDisplay = display;
    ASSERT_EQ(ZapiszParametryPosnet(), 0);
  }
  // Opens the connection with no box expected; 1 when a driver answered.
  int Open() { return RunUntilEsc([] { return DFOpen(1); }, ""); }

  FakePort port;
};
