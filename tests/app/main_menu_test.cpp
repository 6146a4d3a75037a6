// The pattern of the module actions: the guard, the loaders and openers in
// order, the module only when all of them succeeded, and afterwards the
// menu's key routine with no table left open.
#include <gtest/gtest.h>

#include <string>

#include "app/firm_header.h"
#include "app/main_menu.h"
#include "db/db_lock.h"
#include "tables/firm_tables.h"
#include "tests/app/options_fixture.h"
#include "tests/app/screen_shots.h"
#include "ui/keyboard.h"
#include "ui/menu.h"
#include "ui/std_windows.h"

namespace {

int OpenTables() { return EnvCurrent()->engine.open_tables.count; }

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
  bool Shown(const char* text) const { return seen.find(text) != std::string::npos; }
};

TEST_F(ModuleActionTest, ModuleRunsOverItsOpenedTablesWhichAreClosedAfter) {
  struct Case {
    int32_t (*action)(int32_t);
    int32_t parameter;
    const char* title;
  } cases[] = {
      {TowaryAction, -1, "Spis towarów"},
      {UslugiAction, -1, "Spis usług"},
      {SprzedazAction, -1, "Dokumenty sprzedaży 20"},
      {SprzedazPomAction, -1, "Dokumenty sprzedaży pomocniczej 20"},
      {KartotekiAction, 5, "Ewidencja kontrahentów"},
      {KartotekiAction, 9, "Ewidencja przelewów 20"},
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

namespace {

class FirmLineTest : public OptionsTest {
 protected:
  void SetUp() override {
    OptionsTest::SetUp();
    if (HasFatalFailure()) return;
    env->mainProgramWindow = DefinePodatnikWindow();
    w4activate(env->mainProgramWindow);
  }
  void TearDown() override {
    w4close(env->mainProgramWindow);
    OptionsTest::TearDown();
  }
  void NameOwnFirm(const std::string& first, const std::string& second) {
    ASSERT_EQ(OpenZ5PAWL(), 0);
    ASSERT_EQ(go_and_lock(Z5PAWL.table, 1), 0);
    f4assign(Z5PAWL.field[0], first.c_str());
    f4assign(Z5PAWL.field[1], second.c_str());
    ASSERT_EQ(write_and_unlock(Z5PAWL.table), 0);
    d4close(Z5PAWL.table);
  }
  static std::string Trimmed(std::string s) {
    s.erase(s.find_last_not_of(' ') + 1);
    s.erase(0, s.find_first_not_of(' '));
    return s;
  }
};

TEST_F(FirmLineTest, ShowsBothNameLinesTrimmedJoinedCentredAndCut) {
  const struct {
    std::string first, second, shown;
  } cases[] = {
      {"  ALFA", "BETA  ", "ALFA BETA"},
      {"ALFA", "", "ALFA"},
      {std::string(50, 'A'), std::string(50, 'B'), std::string(50, 'A') + " " + std::string(27, 'B')},
  };
  for (const auto& c : cases) {
    NameOwnFirm(c.first, c.second);
    ASSERT_EQ(LoadFirmHeaderAndShow(), 0);
    std::string row = Row(28);
    EXPECT_EQ(Trimmed(row), c.shown) << row;
    size_t left = row.find_first_not_of(' ');
    size_t right = Desktop.cols - 1 - row.find_last_not_of(' ');
    EXPECT_LE(left > right ? left - right : right - left, 1u) << "centred: " << row;
    EXPECT_EQ(OpenTables(), 0);
  }
  EXPECT_EQ(std::string(env->ownerName, 4), "AAAA");
}

TEST_F(FirmLineTest, GuardLoadsTheHeaderWithoutDrawing) {
  NameOwnFirm("GAMMA", "");
  ASSERT_EQ(LoadFirmHeader(), 0);
  EXPECT_EQ(std::string(env->ownerName, 5), "GAMMA");
  EXPECT_EQ(Trimmed(Row(28)), "");
}

}  // namespace
