// Runs an entry on the headless screen with the tables of the catalogue at
// hand, seeded as a test needs, and keeps what it showed.
#pragma once
#include <cstring>
#include <string>

#include "tests/app/screen_shots.h"
#include "tests/tables/tables_fixture.h"
#include "ui/keyboard.h"

class HeadlessEntryTest : public TablesTest {
 protected:
  void SetUp() override {
    TablesTest::SetUp();
    if (HasFatalFailure()) return;
    g4set_key_to(KEY_F9, TakeShot);
    seen.clear();
  }
  // A record whose first character field wide enough holds `text`.
  static void Seed(TableHandles& set, const char* text) {
    for (int j = 0; set.field[j]; j++)
      if (f4type(set.field[j]) == 'C' && f4len(set.field[j]) >= std::strlen(text)) {
        Append(set, {{j, text}});
        return;
      }
    Append(set, {});
  }
  // The entry's result; the screen taken before the key script's Esc is in `seen`.
  template <class Entry>
  int RunUntilEsc(Entry entry, const char* keys = "{F9}{ESC}") {
    EXPECT_EQ(HeadlessSetScript(keys), 0);
    int result = -99;
    try {
      result = entry();
    } catch (const ScriptEnded&) {
      ADD_FAILURE() << "the entry did not end:\n" << seen;
    }
    EXPECT_EQ(HeadlessKeysLeft(), 0);
    return result;
  }
  bool Shown(const char* text) const { return seen.find(text) != std::string::npos; }
};
