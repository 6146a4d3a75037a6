// A fresh environment in the temporary directory, deleted after the test.
#pragma once
#include "env/session/environment.h"
#include "tests/support/test_support.h"

class EnvTest : public TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    env = CreateEnvironment(1, argv);
    ASSERT_NE(env, nullptr);
  }
  void TearDown() override {
    DeleteEnvironment(env);
    TempDirTest::TearDown();
  }

  Environment* env = nullptr;

 private:
  char program[8] = "Zelsal";
  char* argv[2] = {program, nullptr};
};
