// Until the printer drivers exist no fiscal printer is configured: the check
// says so, no connection opens, and the operator's windows say they are not
// available yet.
#include <gtest/gtest.h>

#include "app/module_entries.h"
#include "fiscal/cash_register.h"
#include "tests/app/stand_in_fixture.h"

namespace {

TEST_F(StandInTest, NoPrinterIsConfiguredAndNoConnectionOpens) {
  EXPECT_EQ(CzytajParametryKF(), 0);
  EXPECT_EQ(CzytajParametryDETAL(), 0);
  EXPECT_EQ(DFPrinterType(), 1);
  EXPECT_EQ(RunUntilEsc(DFBrakDrukarki, "{F9}x"), 1);
  EXPECT_TRUE(Shown("Brak wybranej drukarki fiskalnej !")) << seen;
  seen.clear();
  EXPECT_EQ(RunUntilEsc([] { return DFOpen(0); }, "{F9}x"), 0);
  EXPECT_TRUE(Shown("Brak wybranej drukarki fiskalnej !")) << seen;
  seen.clear();
  EXPECT_EQ(RunUntilEsc([] { return DFOpen(1); }, "{F9}x"), 0);
  EXPECT_TRUE(Shown("nie jest jeszcze dostępna")) << seen;
  EXPECT_EQ(DFConnectionDriver(), -1);
  DFClose();   // nothing open: nothing to do
}

TEST_F(StandInTest, PrinterWindowsSayTheyAreNotAvailable) {
  int (*const windows[])() = {DFOpcjeParagonow,        PosnetOpcje,           TpLineOpcje,
                              OrhmetOpcje,             ElzabOpcje,            SparkOpcje,
                              PosnetFunkcjePomocnicze, TpLineFunkcjePomocnicze, OrhmetFunkcjePomocnicze,
                              ElzabFunkcjePomocnicze,  SparkFunkcjePomocnicze};
  for (auto window : windows) {
    seen.clear();
    EXPECT_EQ(RunUntilEsc(window, "{F9}x"), 0);
    EXPECT_TRUE(Shown("nie jest jeszcze dostępna")) << seen;
  }
}

TEST_F(StandInTest, CashRegisterAndCollectorServicesSayTheyAreNotAvailable) {
  int (*const services[])() = {KasaCennik,      KasaRaport, KasaZerowanie,     KasaWeryfikacja,
                               KasaUsun,        KasaOpcje,  KolektorZerowanie, KolektorAktualizacja};
  for (auto service : services) {
    seen.clear();
    EXPECT_EQ(RunUntilEsc(service, "{F9}x"), 0);
    EXPECT_TRUE(Shown("nie jest jeszcze dostępna")) << seen;
  }
}

}  // namespace
