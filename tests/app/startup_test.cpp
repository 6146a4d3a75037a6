// The first start's workplace: hot keys, the data directory or the start
// directory in its place, the lock timer; the repair-prompt key sequence and
// the front window's info lines.
#include <gtest/gtest.h>

#include <string>

#include "app/operator_windows.h"
#include "app/option_sets.h"
#include "app/startup.h"
#include "platform/dirs.h"
#include "tests/app/options_fixture.h"
#include "tests/app/screen_shots.h"
#include "ui/keyboard.h"

namespace {

class StartupTest : public OptionsTest {
 protected:
  void SetUp() override {
    OptionsTest::SetUp();
    if (HasFatalFailure()) return;
    seen.clear();
  }
  void RunKeys(const char* keys, void (*body)()) {
    ASSERT_EQ(HeadlessSetScript(keys), 0);
    try {
      body();
    } catch (const ScriptEnded&) {
      ADD_FAILURE() << keys << " ran out:\n" << seen;
    }
    EXPECT_EQ(HeadlessKeysLeft(), 0) << keys;
  }
  static bool Bound(int key) { return EnvCurrent()->hotKeys[(key >> 8) & 0xFF].routine != nullptr; }
};

TEST_F(StartupTest, WorkplaceEntersTheDataDirectoryAndStartsTheLockTimer) {
  mainOptions.lockMinutes = 3;
  MakeDir("dane");
  TransDir(EnvFromDiskPath(dir + "dane").c_str(), &env->dataPath);
  RunKeys("", [] { EXPECT_EQ(PrepareWorkplace(0), 0); });
  EXPECT_EQ(PlatGetCwd(), dir + "dane/");
  for (int key : {0x2300, 0x1100, 0x4300, 0x4400, 0x5E00, 0x6100, 0x6700}) EXPECT_TRUE(Bound(key)) << std::hex << key;
  ASSERT_GT(env->blankingTimer, 0);
  EXPECT_EQ(env->timers[env->blankingTimer - 1].kind, TIMER_IDLE);
  EXPECT_EQ(env->timers[env->blankingTimer - 1].period, 3 * 60000);

  mainOptions.lockMinutes = 0;
  RunKeys("", [] { PrepareWorkplace(0); });
  EXPECT_EQ(env->blankingTimer, 0);
}

TEST_F(StartupTest, UnreachableDataDirectoryLeavesTheStartDirectoryCurrent) {
  TransDir(EnvFromDiskPath(dir + "nie/ma/takiego").c_str(), &env->dataPath);
  TransDir(EnvFromDiskPath(dir + "prog").c_str(), &env->startPath);
  // F1: the set-up binds F9 itself. The engine's message and then
  // " Dane będą zapisane w katalogu bieżącym !" take a key each.
  g4set_key_to(KEY_F1, TakeShot);
  RunKeys("{F1} {F1} ", [] { PrepareWorkplace(0); });
  EXPECT_NE(seen.find("Dane będą zapisane w katalogu bieżącym !"), std::string::npos) << seen;
  EXPECT_EQ(PlatGetCwd(), dir + "prog/");
}

TEST_F(StartupTest, OnlyShiftF10AfterCtrlF10SwitchesTheRepairQuestionsOn) {
  const struct {
    const char* key;
    int after;
  } cases[] = {{"{SHIFT+F10}", 0}, {"{F10}", 1}, {"x", 1}};
  for (const auto& c : cases) {
    env->refuseDamagedTables = 1;
    ASSERT_EQ(HeadlessSetScript(c.key), 0);
    RepairPromptsHotKey(0, 0);
    EXPECT_EQ(env->refuseDamagedTables, c.after) << c.key;
  }
}

TEST_F(StartupTest, AltWLocksAtOnceWithoutATimerElseThroughIt) {
  env->passwordAfterBlanking = 'N';
  // No timer: the lock runs in the hot key and a key ends it.
  ASSERT_EQ(HeadlessSetScript("x"), 0);
  LockHotKey(0, 0);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  // With the timer the lock comes at the next wait, before its key is read.
  StartLockTimer(5);
  ASSERT_EQ(HeadlessSetScript("xy"), 0);
  LockHotKey(0, 0);
  EXPECT_EQ(HeadlessKeysLeft(), 2);
  EXPECT_EQ(g4char(), 'y');
}

TEST_F(StartupTest, FrontWindowShowsTheWorkingDateAndTheOperator) {
  std::memcpy(env->operatorName, "KASJER\0", 7);
  env->useSystemDate = 'N';
  std::memcpy(env->workingDate, "20240315", 9);
  int front = DefineFrontoweWindow("KORBEL");
  w4activate(front);
  ShowFrontInfo(front);
  std::string screen;
  for (int row = 0; row < Desktop.rows; row++) screen += Row(row) + "\n";
  EXPECT_NE(screen.find("    Data    : 15-03-2024"), std::string::npos) << screen;
  EXPECT_NE(screen.find("    Operator: KASJER"), std::string::npos) << screen;
  w4close(front);
}

}  // namespace
