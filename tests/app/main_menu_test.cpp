// The pattern of the module actions: the guard, the loaders and openers in
// order, the module only when all of them succeeded, and afterwards the
// menu's key routine with no table left open.
#include <gtest/gtest.h>

#include <string>

#include "app/main_menu.h"
#include "tests/app/options_fixture.h"
#include "tests/app/screen_shots.h"
#include "ui/keyboard.h"
#include "ui/menu.h"

namespace {

class ModuleActionTest : public OptionsTest {
 protected:
  void SetUp() override {
    OptionsTest::SetUp();
    if (HasFatalFailure()) return;
    g4set_key_to(KEY_F9, TakeShot);
    seen.clear();
    n4char_routine(nullptr);
  }
  // Runs the action with the keys; its result.
  int Run(int32_t (*action)(int32_t), int32_t parameter, const char* keys) {
    EXPECT_EQ(HeadlessSetScript(keys), 0);
    int result = -99;
    try {
      result = action(parameter);
    } catch (const ScriptEnded&) {
      ADD_FAILURE() << keys << " did not end the action:\n" << seen;
    }
    EXPECT_EQ(HeadlessKeysLeft(), 0) << keys;
    return result;
  }
  int OpenTables() const { return env->engine.open_tables.count; }
  bool Shown(const char* text) const { return seen.find(text) != std::string::npos; }
};

TEST_F(ModuleActionTest, ModuleRunsOverItsOpenedTablesWhichAreClosedAfter) {
  struct Case {
    int32_t (*action)(int32_t);
    int32_t parameter;
    const char* title;
  } cases[] = {
      {TowaryAction, -1, "TOWARY"},
      {SprzedazAction, -1, "SPRZEDAŻ"},
      {SprzedazPomAction, -1, "SPRZEDAŻ POMOCNICZA"},
      {KartotekiAction, 5, "KONTRAHENCI"},
      {KartotekiAction, 9, "PRZELEWY"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    seen.clear();
    n4char_routine(nullptr);
    EXPECT_EQ(Run(c.action, c.parameter, "{F9}{ESC}"), 0);
    EXPECT_TRUE(Shown(c.title)) << seen;
    EXPECT_EQ(OpenTables(), 0);
    EXPECT_EQ(env->menuKeyRoutine, MenuKeyRoutine);
  }
}

TEST_F(ModuleActionTest, FailingOpenerSkipsTheModuleAndClosesEveryTable) {
  WriteFile(firm + "Z5KONT.DBF", "not a table");
  const struct {
    int32_t (*action)(int32_t);
    int32_t parameter;
  } cases[] = {{TowaryAction, -1}, {SprzedazAction, -1}, {KartotekiAction, 4}};
  for (const auto& c : cases) {
    n4char_routine(nullptr);
    // No browse waits for a key.
    EXPECT_EQ(Run(c.action, c.parameter, ""), 0);
    EXPECT_EQ(OpenTables(), 0);
    EXPECT_EQ(env->menuKeyRoutine, MenuKeyRoutine);
  }
}

TEST_F(ModuleActionTest, FailingGuardOpensNothingAndLeavesTheKeyRoutine) {
  WriteFile(firm + "Z5PAWL.DBF", "not a table");
  EXPECT_EQ(Run(TowaryAction, -1, ""), -1);
  EXPECT_EQ(OpenTables(), 0);
  EXPECT_EQ(env->menuKeyRoutine, nullptr);
  // The catalogue items only skip their module.
  EXPECT_EQ(Run(KartotekiAction, 4, ""), 0);
  EXPECT_EQ(OpenTables(), 0);
}

}  // namespace
