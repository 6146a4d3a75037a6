// The warehouse options window on the headless display: the cash-register
// port kept within 1 to 99, F2 saving the set and Esc dropping the changes.
#include <gtest/gtest.h>

#include <string>

#include "app/option_sets.h"
#include "app/sales_options.h"
#include "tests/app/options_fixture.h"
#include "tests/app/screen_shots.h"

namespace {

std::string Down(int times) {
  std::string keys;
  for (int i = 0; i < times; i++) keys += "{DOWN}";
  return keys;
}

class WarehouseOptionsTest : public OptionsTest {
 protected:
  void SetUp() override {
    OptionsTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(LoadMainOptions(), 0);
    ASSERT_EQ(LoadMagazynOptions(), 0);
    env->confirmSave = 'N';
    g4set_key_to(KEY_F9, TakeShot);
    seen.clear();
  }
  int Run(const std::string& keys) {
    EXPECT_EQ(HeadlessSetScript(keys.c_str()), 0);
    int result = -2;
    try {
      result = WarehouseOptionsWindow();
    } catch (const ScriptEnded&) {
      ADD_FAILURE() << keys << " left the window open";
    }
    EXPECT_EQ(HeadlessKeysLeft(), 0) << keys;
    return result;
  }
  // From the first field of the second page to the port: pick lists keep their entry on Enter.
  static std::string ToPort() { return "{PGDN}{DOWN}{ENTER}" + Down(7) + "{ENTER}{ENTER}{ENTER}{ENTER}"; }
};

TEST_F(WarehouseOptionsTest, PortWithinItsRangeSavedWithF2) {
  EXPECT_EQ(Run(ToPort() + "0{ENTER}{F9}x12{F2}"), 0);
  EXPECT_NE(seen.find("Numery od 1 do 99."), std::string::npos) << seen;
  EXPECT_NE(seen.find("Typ kasy fiskalnej"), std::string::npos) << seen;
  warehouseOptions.cashRegisterPort = 0;
  ASSERT_EQ(LoadMagazynOptions(), 0);
  EXPECT_EQ(warehouseOptions.cashRegisterPort, 12);
}

TEST_F(WarehouseOptionsTest, EscDropsTheChanges) {
  EXPECT_EQ(Run("{F9}T" + ToPort() + "7{ESC}"), 0);
  EXPECT_NE(seen.find("Kod nazwy magazynu"), std::string::npos) << seen;
  EXPECT_EQ(warehouseOptions.cashRegisterPort, 1);
  EXPECT_EQ(warehouseOptions.warehouseCode[0], ' ');
  ASSERT_EQ(LoadMagazynOptions(), 0);
  EXPECT_EQ(warehouseOptions.cashRegisterPort, 1);
}

}  // namespace
