// The receipt roads start in a firm the operator has just added, its
// directory the tables' working one and its retail options read, for the
// test to set before the run.
#pragma once
#include <string>

#include "env/paths.h"
#include "fiscal/printer_params.h"
#include "tests/app/program_road.h"

class RetailRoadTest : public ProgramRoadTest {
 protected:
  void SetUp() override {
    ProgramRoadTest::SetUp();
    if (HasFatalFailure()) return;
    RunToEnd(std::string(LOGO) + "kdFIRMA1{ENTER}firma1{ENTER}{ENTER}{F2}t{ESC}");
    TransDir(EnvFromDiskPath(home + "firma1/").c_str(), &env->dataPath);
    ASSERT_EQ(ChangeDir(&env->dataPath, 0, 0), 0);
    env->settlementYear = std::stoi(date.substr(0, 4));
    ASSERT_EQ(CzytajParametryDETAL(), 0);
  }
};
