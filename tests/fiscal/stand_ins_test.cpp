// The register services whose drivers are not built yet say they are not
// available yet.
#include <gtest/gtest.h>

#include "app/module_entries.h"
#include "fiscal/cash_register.h"
#include "tests/app/stand_in_fixture.h"

namespace {

TEST_F(StandInTest, RegisterParametersLoad) { EXPECT_EQ(CzytajParametryKF(), 0); }

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
