// An environment without a screen whose boxes are recorded, with the common
// directory "wspolne" and the firm directory "firma" made and current.
#pragma once
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <string>

#include "app/program_messages.h"
#include "db/db_engine.h"
#include "env/paths.h"
#include "tests/app/box_recorder.h"
#include "tests/support/env_test.h"
#include "tests/tables/tables_fixture.h"

class CommonTablesTest : public EnvTest {
 protected:
  void SetUp() override {
    EnvTest::SetUp();
    if (HasFatalFailure()) return;
    d4init(&env->engine);
    RegisterProgramMessages();
    env->settlementYear = 2026;
    common = dir + "wspolne";
    ASSERT_EQ(mkdir(common.c_str(), 0775), 0);
    std::strcpy(env->sharedCatalogueDir, EnvFromDiskPath(common).c_str());
    ASSERT_EQ(mkdir((dir + "firma").c_str(), 0775), 0);
    TransDir(EnvFromDiskPath(dir + "firma/").c_str(), &env->dataPath);
    ASSERT_EQ(ChangeDir(&env->dataPath, 0, 0), 0);
  }
  void TearDown() override {
    env->engine.error_code = 0;
    d4close_all(&env->engine);
    d4init_undo(&env->engine);
    EnvTest::TearDown();
  }
  std::string Boxes() { return boxes.Take(); }

  std::string common;
  BoxRecorder boxes;
};
