// The goods browse's jobs on the headless screen (the register's " Kasa "
// jobs, the data collector's): F9 in a key script takes a shot into `seen`,
// a job runs with its keys to its end; for the register jobs, a register of
// the given type on a fake port whose far end is the test's device.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "fiscal/cash_register_layer.h"
#include "fiscal/register_params.h"
#include "tests/app/screen_shots.h"
#include "tests/fiscal/fake_port.h"
#include "tests/masterdata/goods_fixture.h"
#include "ui/keyboard.h"

class GoodsJobsTest : public GoodsScreenTest {
 protected:
  // The job's result; -99 when the keys ran out before it ended.
  template <class Job>
  int Run(Job job, const std::string& keys) {
    Keys(keys);
    int result = -99;
    try {
      result = job();
    } catch (const ScriptEnded&) {
      ADD_FAILURE() << "the job did not end:\n" << seen;
    }
    EXPECT_EQ(HeadlessKeysLeft(), 0) << seen;
    return result;
  }
  bool Shown(const std::string& text) const { return seen.find(text) != std::string::npos; }
};

class RegisterGoodsJobsTest : public GoodsJobsTest {
 protected:
  // The register of `type` on COM1 answered by `device`, codes checked for
  // length, no transmission report; its settings loaded.
  void UseRegister(int type, LineDevice* device) {
    port.device = device;
    warehouseOptions.cashRegisterType = type;
    warehouseOptions.cashRegisterPort = 1;
    warehouseOptions.checkCodeLength = 'T';
    warehouseOptions.transmissionReport = 'N';
    ASSERT_EQ(CzytajParametryKF(), 0);
  }

  FakePort port;
};
