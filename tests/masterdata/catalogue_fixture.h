// The catalogue tests' screen: the tables' fixture with every right granted
// and the key-hint line, a catalogue run to the end of its keys, and the
// screen where keys ran out.
#pragma once
#include <cstring>
#include <string>

#include "tests/tables/tables_fixture.h"
#include "ui/browse.h"
#include "ui/std_windows.h"

class CatalogueTest : public TablesTest {
 protected:
  void SetUp() override {
    TablesTest::SetUp();
    if (HasFatalFailure()) return;
    std::memset(env->rights, 0xFF, RIGHTS_BYTES);
    env->operatorNumber = 1;
    open_envr_win();
    w4activate(StdHelpWindow());
    add_help_line();
  }

  // Runs the catalogue with the keys; it must end with them.
  void Run(int (*catalogue)(), const std::string& keys) {
    ASSERT_EQ(HeadlessSetScript(keys.c_str()), 0);
    try {
      EXPECT_EQ(catalogue(), 0);
    } catch (const ScriptEnded&) {
      ADD_FAILURE() << keys << " left the catalogue open:\n" << Screen();
      CurrentBrowse = nullptr;
    }
    EXPECT_EQ(HeadlessKeysLeft(), 0) << keys;
  }
  // The screen where the keys ran out; the form on `table` given up.
  std::string ScreenAfter(int (*catalogue)(), DbTable* table, const std::string& keys) {
    EXPECT_EQ(HeadlessSetScript(keys.c_str()), 0);
    EXPECT_THROW(catalogue(), ScriptEnded);
    CurrentBrowse = nullptr;
    d4changed(table, 0);
    return Screen();
  }
  static std::string Screen() {
    std::string shown;
    for (int row = 0; row < Desktop.rows; row++) shown += Row(row) + "\n";
    return shown;
  }
};
