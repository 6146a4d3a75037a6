// The printer services whose drivers are not built yet say they are not
// available yet.
#include <gtest/gtest.h>

#include "app/module_entries.h"
#include "tests/app/stand_in_fixture.h"

namespace {

TEST_F(StandInTest, PrinterWindowsSayTheyAreNotAvailable) {
  int (*const windows[])() = {TpLineOpcje, PosnetFunkcjePomocnicze, TpLineFunkcjePomocnicze,
                              OrhmetFunkcjePomocnicze, ElzabFunkcjePomocnicze, SparkFunkcjePomocnicze};
  for (auto window : windows) {
    seen.clear();
    EXPECT_EQ(RunUntilEsc(window, "{F9}x"), 0);
    EXPECT_TRUE(Shown("nie jest jeszcze dostępna")) << seen;
  }
}

}  // namespace
