// The cash register and the data collector on the real program, headless:
// " Magazyn " > " Towary " > " Kasa " with a simulated TANGO register on the
// pseudo-terminal that stands for COM1: " Cennik " sends the filtered goods,
// " Raport " reads the sales and takes them off the stock; " Kolektor " >
// " Aktualizacja " adds a counted file and archives it.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/option_sets.h"
#include "tables/masterdata_tables.h"
#include "tests/app/program_road.h"
#include "tests/fiscal/pty_printer.h"
#include "tests/fiscal/tango_simulator.h"
#include "tests/sales/sales_fixture.h"

namespace {

constexpr const char* INTO_GOODS = "s{ENTER}mt";

class RegisterRoadTest : public ProgramRoadTest {
 protected:
  void SetUp() override {
    ProgramRoadTest::SetUp();
    if (HasFatalFailure()) return;
    RunToEnd(std::string(LOGO) + "kdFIRMA1{ENTER}firma1{ENTER}{ENTER}{F2}t{ESC}");
    RunToEnd(std::string(LOGO) + INTO_GOODS + "{ESC}{ESC}{ESC}");
    firmDir = home + "firma1/";
    TransDir(EnvFromDiskPath(firmDir).c_str(), &env->dataPath);
    ASSERT_EQ(ChangeDir(&env->dataPath, 0, 0), 0);
    env->settlementYear = 2025;
    ASSERT_EQ(LoadMagazynOptions(), 0);
    warehouseOptions.cashRegisterType = 10;   // TANGO
    warehouseOptions.cashRegisterPort = 1;
    ASSERT_EQ(SaveMagazynOptions(), 0);
    ASSERT_EQ(OpenZ5TOWA(0), 0);
    AppendRecord(Z5TOWA.table, {{"KOD", "123"}, {"NA1", "CUKIER"}, {"CSB", "3.5"}, {"CZN", "2"}, {"VST", "1"},
                                {"DZI", "2"}, {"ILO", "10"}, {"STA", "A"}});
    AppendRecord(Z5TOWA.table, {{"KOD", "124"}, {"NA1", "SOL"}, {"CSB", "1.2"}, {"CZN", "1"}, {"VST", "2"},
                                {"DZI", "3"}, {"ILO", "4"}, {"STA", "A"}});
    AppendRecord(Z5TOWA.table, {{"KOD", "125"}, {"NA1", "MAKA"}, {"CSB", "2"}, {"VST", "1"}, {"DZI", "3"},
                                {"ILO", "1"}, {"STA", "N"}});
    d4close_all(&env->engine);
    setenv("ZELSAL_COM1", line.Device().c_str(), 1);
  }
  void TearDown() override {
    unsetenv("ZELSAL_COM1");
    ProgramRoadTest::TearDown();
  }
  double Stock(long record) {
    EXPECT_EQ(OpenZ5TOWA(0), 0);
    EXPECT_EQ(d4go(Z5TOWA.table, record), 0);
    double stock = f4double(d4field(Z5TOWA.table, "ILO"));
    d4close_all(&env->engine);
    return stock;
  }

  TangoSimulator sim;
  PtyLine line{&sim};
  std::string firmDir;
};

TEST_F(RegisterRoadTest, ThePriceListGoesToTheRegister) {
  Outcome sent = Run(std::string(LOGO) + INTO_GOODS + "kct");
  EXPECT_TRUE(Has(sent, "Spis towarów")) << sent.screen;
  ASSERT_EQ(sim.plu.size(), 2u) << sent.screen;
  EXPECT_EQ(sim.plu[TangoSimulator::Field("123")].substr(22, 18), "CUKIER            ");
  EXPECT_EQ(sim.plu[TangoSimulator::Field("124")].substr(40, 10), "0000000120");
  EXPECT_EQ(sim.plu.count(TangoSimulator::Field("125")), 0u);   // inactive
}

TEST_F(RegisterRoadTest, TheReportTakesTheSalesOffTheStock) {
  sim.Sell("123", 2000, 700);
  // 176 yes, 204 Esc (read only), the value box, the report browse left, 178 and 172 yes.
  Outcome updated = Run(std::string(LOGO) + INTO_GOODS + "krt{ESC}x{ESC}tt");
  EXPECT_TRUE(Has(updated, "Spis zaktualizowany.")) << updated.screen;
  EXPECT_TRUE(Has(updated, "Uruchom zerowanie raportu w kasie !")) << updated.screen;
  EXPECT_DOUBLE_EQ(Stock(1), 8);
  EXPECT_DOUBLE_EQ(Stock(2), 4);
}

TEST_F(RegisterRoadTest, ACollectorCountIsAddedAndArchived) {
  FILE* f = std::fopen((firmDir + "spis.inw").c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fputs("123,5\n124,1.5\n", f);
  std::fclose(f);
  // The file picked, 190 yes, the count browse seen and left, 172 yes, 188 yes.
  Outcome counted = Run(std::string(LOGO) + INTO_GOODS + "oa{ENTER}t{ESC}tt");
  EXPECT_TRUE(Has(counted, "Spis towarów")) << counted.screen;
  EXPECT_DOUBLE_EQ(Stock(1), 15);
  EXPECT_DOUBLE_EQ(Stock(2), 5.5);
  EXPECT_FALSE(PlatFileExists((firmDir + "spis.inw").c_str()));
  EXPECT_TRUE(PlatFileExists((firmDir + "SPIS.INX").c_str()));
}

}  // namespace
