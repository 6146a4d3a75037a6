// Fixtures of the goods and services price tests: the catalogue's screen
// with the VAT rates and warehouse options set as a test needs them, field
// values by name, screens taken on F9, and a browse over a catalogue table
// started from a bar.
#pragma once
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/option_sets.h"
#include "app/option_values.h"
#include "db/db_index.h"
#include "db/db_lock.h"
#include "tests/app/screen_shots.h"
#include "tests/masterdata/catalogue_fixture.h"
#include "ui/definition_lists.h"
#include "ui/keyboard.h"
#include "ui/menu.h"

class PriceTest : public CatalogueTest {
 protected:
  void SetUp() override {
    CatalogueTest::SetUp();
    if (HasFatalFailure()) return;
    std::strcpy(env->operatorName, "ADMIN");
    currentVatRates[VAT_BASIC] = 23;
    currentVatRates[VAT_REDUCED_1] = 8;
    currentVatRates[VAT_REDUCED_2] = 5;
    currentVatRates[VAT_RR_REFUND] = 7;
    mainOptions.taxiLumpSum = 4;
    warehouseOptions.roundPrices = 'T';
    warehouseOptions.markChanges = 'N';
    warehouseOptions.marginPricing = 'N';
    seen.clear();
    g4set_key_to(KEY_F9, TakeShot);
  }
  void TearDown() override {
    g4set_key_to(KEY_F9, nullptr);
    CurrentBrowse = nullptr;
    CatalogueTest::TearDown();
  }

  static double Num(TableHandles& set, const char* name) { return f4double(d4field(set.table, name)); }
  static std::string Str(TableHandles& set, const char* name) { return Trim(d4field(set.table, name)); }
  static bool Shown(const std::string& utf8) { return seen.find(utf8) != std::string::npos; }

  // The routine's result after the keys, which must all be used; -99 when
  // they ran out first.
  int RunKeys(const std::string& keys, const std::function<int()>& routine) {
    EXPECT_EQ(HeadlessSetScript(keys.c_str()), 0);
    int result = -99;
    try {
      result = routine();
    } catch (const ScriptEnded&) {
      ADD_FAILURE() << keys << ": the keys ran out\n" << seen;
      CurrentBrowse = nullptr;
    }
    EXPECT_EQ(HeadlessKeysLeft(), 0) << keys;
    return result;
  }

  // A browse over the table on its first tag, started from a bar whose
  // " Lista " item opens it; `items` are the browse's bar (text, hot key,
  // action). The script follows the Enter that opens the browse and ends
  // with the two Esc keys that leave it and the bar; all of it is used.
  struct BarItem {
    const char* text;
    int key;
    MenuAction action;
  };
  static void RunBrowse(TableHandles& set, const std::vector<BarItem>& items, const std::string& keys,
                        DbScanFilter filter = nullptr) {
    browsed = &set;
    barItems = &items;
    browseFilter = filter;
    int bar = DefineMainMenuWindow();
    MenuDefineItem(" Lista ", 1, 'l' | 0x80, 1, OpenBrowse, nullptr);
    n4lotus(bar);
    ASSERT_EQ(HeadlessSetScript(("{ENTER}" + keys + "{ESC}{ESC}").c_str()), 0);
    n4activate(bar, 1, nullptr, nullptr, 1);
    w4close(bar);
    EXPECT_EQ(HeadlessKeysLeft(), 0);
  }

 private:
  static inline TableHandles* browsed = nullptr;
  static inline const std::vector<BarItem>* barItems = nullptr;
  static inline DbScanFilter browseFilter = nullptr;
  static inline ScrollColumn columns[2];
  static inline DbField* codeField = nullptr;

  static int32_t OpenBrowse(int32_t) {
    ResetScrollDefinition(columns, sizeof columns);
    codeField = d4field(browsed->table, "KOD");
    DefineScrollColumn(&codeField, 0, "kod");
    int bar = DefineMainMenuWindow();
    for (const BarItem& item : *barItems) MenuDefineItem(item.text, 1, item.key, 0, item.action, nullptr);
    BrowseContext* ctx = nullptr;
    EXPECT_EQ(allocate_browse(&ctx, browsed->table, browsed->tag[0], columns, bar), 0);
    if (browseFilter) ctx->filter_fn = browseFilter;
    zrob_browse(0, 0, 0);
    free_browse(&ctx);
    w4close(bar);
    return 0;
  }
};
