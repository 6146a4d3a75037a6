// The catalogue's fixture with a program directory "prog" for the main options.
#pragma once
#include "tests/tables/tables_fixture.h"

class OptionsTest : public TablesTest {
 protected:
  void SetUp() override {
    TablesTest::SetUp();
    if (HasFatalFailure()) return;
    MakeDir("prog");
    TransDir(EnvFromDiskPath(dir + "prog").c_str(), &env->programPath);
  }
};
