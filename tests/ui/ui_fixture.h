// Fixtures of the screen tests: an environment, the engine, a started screen on the headless display.
#pragma once
#include <stdexcept>
#include <string>
#include "db/db_engine.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/session/environment.h"
#include "tests/support/env_test.h"
#include "ui/desktop.h"
#include "ui/display.h"
#include "ui/keyboard.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

// An environment without the screen, its messages recorded.
class EnvUiTest : public EnvTest {
 protected:
  RecordingScreenHook screen;
};

// Closes the table a test made (if any) and stops the engine, forgiving the
// error the test left on purpose.
inline void StopTestEngine(Environment* env, DbTable* table) {
  if (table) d4close(table);
  env->engine.error_code = 0;
  d4init_undo(&env->engine);
}

// The same with the database engine started; `table` is closed at the end.
class EngineUiTest : public EnvUiTest {
 protected:
  void SetUp() override {
    EnvUiTest::SetUp();
    if (HasFatalFailure()) return;
    d4init(&env->engine);
  }
  void TearDown() override {
    StopTestEngine(env, table);
    EnvUiTest::TearDown();
  }

  DbTable* table = nullptr;
};

struct ScriptEnded : std::runtime_error {
  ScriptEnded() : std::runtime_error("key script ended") {}
};

class UiTest : public TempDirTest {
 protected:
  Environment* env = nullptr;

  void SetUp() override {
    TempDirTest::SetUp();
    PlatDateTime at{2026, 12, 10, 10, 0, 0, 0, 4};
    PlatClockFix(&at);
    static const DesktopRecord initial = Desktop;
    Desktop = initial;
    DisplaySelect(DisplayHeadless());
    HeadlessOnExhausted([] { throw ScriptEnded(); });
    HeadlessSetScript("");
    HeadlessSetClientSize(640, 480);
    static char name[] = "test_ui";
    static char* argv[] = {name, nullptr};
    env = CreateEnvironment(1, argv);
    ASSERT_NE(env, nullptr);
    ClearKeyMessages();
    clr_key_buf();
    ASSERT_EQ(w4init_video(1), 0);
    init_help_line();
  }

  void TearDown() override {
    ScreenHookSet(nullptr);
    w4init_undo();
    w4close_video(1);
    DeleteEnvironment(env);
    PlatClockFix(nullptr);
    TempDirTest::TearDown();
  }

  // Starts the screen again on a grid of the given size.
  void Grid(int rows, int cols) {
    w4init_undo();
    w4close_video(1);
    Desktop.rows = rows;
    Desktop.cols = cols;
    HeadlessSetClientSize(cols * Desktop.cellWidth, rows * Desktop.cellHeight);
    ASSERT_EQ(w4init_video(1), 0);
  }

  // The keys the next reads take.
  void Keys(const char* script) { ASSERT_EQ(HeadlessSetScript(script), 0); }
  // The screen while the window `open` shows waits for a key; it is left open.
  template <typename F>
  std::string ScreenWhileWaiting(F open) {
    Keys("");
    EXPECT_THROW(open(), ScriptEnded);
    std::string screen;
    for (int row = 0; row < Desktop.rows; row++) screen += Row(row) + "\n";
    return screen;
  }

  static int Char(int row, int col) { return Desktop.cells[row * Desktop.cols + col] & 0xFF; }
  static int Attr(int row, int col) { return Desktop.cells[row * Desktop.cols + col] >> 8; }
  // Cells of a grid row as UTF-8 text (empty cells as blanks).
  static std::string Cells(int row, int col, int count) {
    std::string bytes;
    for (int c = col; c < col + count && c < Desktop.cols; c++)
      bytes += static_cast<char>(Char(row, c) ? Char(row, c) : ' ');
    return MazToUtf8Text(bytes.c_str());
  }
  // A grid row as UTF-8 text.
  static std::string Row(int row) { return Cells(row, 0, Desktop.cols); }
  static std::string Sys(const char* utf8) { return Utf8ToMazText(utf8); }
};
