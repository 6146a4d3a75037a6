// Road tests of the sales register: the firm FIRMA1 made through the
// program, its sales files made by entering the register once, and its main
// register of working year 2025 opened on the test's side.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "tables/sales_tables.h"
#include "tests/app/program_road.h"
#include "tests/sales/sales_fixture.h"

constexpr const char* INTO_SALES = "s{ENTER}s";

class SalesRoadTest : public ProgramRoadTest {
 protected:
  void MakeFirm() { RunToEnd(std::string(LOGO) + "kdFIRMA1{ENTER}firma1{ENTER}{ENTER}{F2}t{ESC}"); }
  void MakeFirmWithSales() {
    MakeFirm();
    RunToEnd(std::string(LOGO) + INTO_SALES + "{ESC}{ESC}");
  }
  // The headers of the firm's main register of 2025.
  void OpenFirmHeaders() {
    TransDir(EnvFromDiskPath(home + "firma1/").c_str(), &env->dataPath);
    ASSERT_EQ(ChangeDir(&env->dataPath, 0, 0), 0);
    env->settlementYear = 2025;
    ASSERT_EQ(OpenZ5SPRZ(0, 0, SALES_MAIN), 0);
  }
};
