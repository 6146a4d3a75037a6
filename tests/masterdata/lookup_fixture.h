// Fixtures of the register checks: the catalogue tables, the message window,
// the lookup library's test double with its script, and screen shots of
// the boxes (F9 in a key script takes one).
#pragma once
#include <cstdlib>
#include <cstring>
#include <string>

#include "env/code_pages.h"
#include "interchange/lookup_library.h"
#include "kwer_double.h"
#include "platform/byte_order.h"
#include "tables/masterdata_tables.h"
#include "tests/app/screen_shots.h"
#include "tests/tables/tables_fixture.h"
#include "ui/keyboard.h"

constexpr int KRAJ_SUE = 0, KRAJ_KKR = 1, KRAJ_KRA = 2;

class LookupTest : public TablesTest {
 protected:
  void SetUp() override {
    TablesTest::SetUp();
    if (HasFatalFailure()) return;
    std::memset(&kwer_double_script, 0, sizeof kwer_double_script);
    setenv("ZELSAL_LIB_KWERLIB4", KWERLIB_DOUBLE_PATH, 1);
    open_envr_win();
    seen.clear();
    g4set_key_to(KEY_F9, TakeShot);
    ASSERT_EQ(OpenZ5KRAJ(0), 0);
    Append(Z5KRAJ, {{KRAJ_SUE, "T"}, {KRAJ_KKR, "DE"}, {KRAJ_KRA, "NIEMCY"}});
    Append(Z5KRAJ, {{KRAJ_SUE, "N"}, {KRAJ_KKR, "US"}, {KRAJ_KRA, "USA"}});
    Append(Z5KRAJ, {{KRAJ_SUE, "T"}, {KRAJ_KKR, "PL"}, {KRAJ_KRA, "POLSKA"}});
    d4close(Z5KRAJ.table);
  }
  void TearDown() override {
    Free_Kwer_Module();
    unsetenv("ZELSAL_LIB_KWERLIB4");
    close_envr_win();
    TablesTest::TearDown();
  }

  // A whole answer record of one entry point for one number.
  static KwerDoubleAnswer& Answer(const char* entry, const char* number, int first = 0) {
    for (KwerDoubleAnswer& a : kwer_double_script.answers) {
      if (a.entry[0] && (std::strcmp(a.entry, entry) != 0 || std::strcmp(a.number, number) != 0)) continue;
      std::memset(&a, 0, sizeof a);
      std::snprintf(a.entry, sizeof a.entry, "%s", entry);
      std::snprintf(a.number, sizeof a.number, "%s", number);
      for (int i = 0; i < 4; i++) a.record[i] = static_cast<unsigned char>(static_cast<uint32_t>(first) >> (8 * i));
      return a;
    }
    throw std::runtime_error("no free answer");
  }
  // A text as the library writes it (code page 1250), with its NUL.
  static void Put(KwerDoubleAnswer& a, int offset, const char* utf8) {
    std::string text = Utf8ToMazText(utf8);
    ConvChars(text.data(), static_cast<int>(text.size()), MazToWindowsPairs, 0);
    std::memcpy(a.record + offset, text.c_str(), text.size() + 1);
  }
  // Every screen taken since the last call.
  static std::string Shots() {
    std::string out = seen;
    seen.clear();
    return out;
  }
  static bool Has(const std::string& shots, const std::string& utf8) { return shots.find(utf8) != std::string::npos; }
};
