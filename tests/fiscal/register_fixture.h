// The register tests: the headless screen in the firm directory, the register
// settings loaded, a fake port whose far end is the test's device, and the
// register type and its options set as the operator would leave them.
#pragma once
#include <cstdio>
#include <string>

#include "app/option_sets.h"
#include "fiscal/cash_register_layer.h"
#include "fiscal/register_params.h"
#include "tests/app/headless_entry_fixture.h"
#include "tests/fiscal/fake_port.h"

// A device that answers nothing.
class SilentDevice : public LineDevice {
 public:
  std::string Feed(unsigned char) override { return ""; }
};

class RegisterTest : public HeadlessEntryTest {
 protected:
  void SetUp() override {
    HeadlessEntryTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(CzytajParametryKF(), 0);
    port.device = &silent;
    saved = warehouseOptions;
    UseType(KASA_BRAK);
    warehouseOptions.cashRegisterPort = 1;
    warehouseOptions.checkCodeLength = 'T';
    warehouseOptions.transmissionReport = 'N';
  }
  void TearDown() override {
    warehouseOptions = saved;
    kfTylkoCena = -1;
    HeadlessEntryTest::TearDown();
  }
  static void UseType(int type) { warehouseOptions.cashRegisterType = type; }
  static std::string FileText(const char* name) {
    std::string text;
    if (FILE* f = std::fopen(name, "rb")) {
      char buffer[4096];
      size_t n;
      while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
      std::fclose(f);
    }
    return text;
  }

  FakePort port;
  SilentDevice silent;
  WarehouseOptions saved{};
};
