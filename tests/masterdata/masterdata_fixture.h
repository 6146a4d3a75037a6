// Fixtures of the catalogue tests: the tables' directories, screen shots on
// F9 (into `seen`), no questions on saving, and a runner of key scripts that reports a
// script the routine did not use up.
#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "tests/tables/tables_fixture.h"
#include "tests/app/screen_shots.h"
#include "ui/browse.h"

class MasterdataTest : public TablesTest {
 protected:
  void SetUp() override {
    TablesTest::SetUp();
    if (HasFatalFailure()) return;
    env->confirmSave = 'N';
    open_envr_win();
    w4activate(StdHelpWindow());
    add_help_line();
    CurrentBrowse = nullptr;
    seen.clear();
    g4set_key_to(KEY_F9, TakeShot);
  }
  void TearDown() override {
    g4set_key_to(KEY_F9, nullptr);
    CurrentBrowse = nullptr;
    TablesTest::TearDown();
  }
  // Runs the routine over the keys; the result, or -99 when the keys ran out first.
  int Run(const std::string& keys, const std::function<int()>& routine) {
    EXPECT_EQ(HeadlessSetScript(keys.c_str()), 0);
    int result = -99;
    try {
      result = routine();
    } catch (const ScriptEnded&) {
      ADD_FAILURE() << keys << ": the keys ran out";
      CurrentBrowse = nullptr;
    }
    EXPECT_EQ(HeadlessKeysLeft(), 0) << keys;
    return result;
  }
  // Whether a screen taken so far shows the text (UTF-8).
  static bool Shown(const std::string& utf8) { return seen.find(utf8) != std::string::npos; }
  static void ClearShots() { seen.clear(); }
};
