// A goods table "Z5TOWA" of the working year in the firm directory, seeded
// record by record, with the catalogue's context and a browse over it that
// is not shown: the actions run on it as they do in the catalogue.
#pragma once
#include <cstdio>
#include <string>

#include "db/db_index.h"
#include "app/option_sets.h"
#include "app/option_values.h"
#include "db/db_lock.h"
#include "masterdata/goods_catalogue.h"
#include "print/printer.h"
#include "tables/masterdata_tables.h"
#include "tests/app/screen_shots.h"
#include "tests/print/print_fixture.h"
#include "tests/print/printed_text.h"
#include "tests/tables/tables_fixture.h"
#include "ui/browse.h"
#include "ui/keyboard.h"

class GoodsTest : public TablesTest {
 protected:
  void SetUp() override {
    TablesTest::SetUp();
    if (HasFatalFailure()) return;
    printing.Start(dir);
    std::strcpy(env->operatorName, "ADMIN");
    env->operatorNumber = 1;
    warehouseOptions.marginPricing = 'N';
    warehouseOptions.cashRegisterType = 1;
    warehouseOptions.markChanges = 'N';
    warehouseOptions.roundPrices = 'T';
    warehouseOptions.goodsMark = 14;
    salesOptions.procedureMarks = 'T';
    currentVatRates[VAT_BASIC] = 23;
    ASSERT_EQ(OpenZ5TOWA(0), 0);
  }
  void TearDown() override {
    if (browse) free_browse(&browse);
    zwolnij_definicje_kartoteki_towarow(context);
    printing.Stop();
    TablesTest::TearDown();
  }

  // A goods record: code, names (lines of NA1..NA6 split at '|'), stock and
  // any further fields.
  void Goods(const std::string& code, const std::string& names, double quantity, Values more = {}) {
    Values values = {{TOWA_KOD, code}, {TOWA_ILO, std::to_string(quantity)}, {TOWA_STA, "A"}};
    size_t start = 0;
    for (int line = TOWA_NA1; line <= TOWA_NA6 && start <= names.size(); line++) {
      size_t end = names.find('|', start);
      if (end == std::string::npos) end = names.size();
      values.push_back({line, Sys(names.substr(start, end - start).c_str())});
      start = end + 1;
    }
    values.insert(values.end(), more.begin(), more.end());
    Append(Z5TOWA, values);
    d4unlock(Z5TOWA.table);
  }

  // The catalogue's context and a browse over the goods in code order,
  // filtered by `filter`, positioned at the top.
  void Browse(DbScanFilter filter = nullptr) {
    if (browse) free_browse(&browse);
    zwolnij_definicje_kartoteki_towarow(context);
    context = definicja_kartoteki_towarow(1);
    ASSERT_NE(context, nullptr);
    ASSERT_EQ(allocate_browse(&browse, Z5TOWA.table, Z5TOWA.tag[TOWA_TAG_KOD], nullptr, -1), 0);
    if (filter) browse->filter_fn = filter;
    x4init(&browse->scan, Z5TOWA.table, browse->filter_fn, browse->filter_data);
    ASSERT_EQ(browse_call(0, 0), 0);
  }

  void Keys(const std::string& keys) { ASSERT_EQ(HeadlessSetScript(keys.c_str()), 0); }

  std::string At(long record, int field) {
    if (d4go(Z5TOWA.table, record) != 0) return "<no record>";
    return Trim(Z5TOWA.field[field]);
  }

  // Character printing on a nine-pin printer for the report code, kept
  // under the goods table's alias or under `name`.
  void CharacterPrinting(const char* code, int topMargin = 0, const char* name = nullptr) {
    Printer.mode = 1;
    Printer.family = PRN_EPSON9;
    Printer.topMargin = topMargin;
    std::string alias = d4alias(Z5TOWA.table);
    std::string other = name ? name : alias;
    d4alias_set(Z5TOWA.table, other.data());
    SavePrintSettings(Z5TOWA.table, code);
    d4alias_set(Z5TOWA.table, alias.data());
    ResetPrinterState();
  }
  // What the printer got, as a page reads.
  std::string Printed() { return TakePrintedText(firm + "win.prn"); }
  static void ExpectGolden(const std::string& name, const std::string& actual) {
    ExpectGoldenPage("masterdata", name, actual);
  }

  PrintScreen printing;
  kontekst_kartoteki_towarow* context = nullptr;
  BrowseContext* browse = nullptr;
};

// The goods fixture with F9 taking a screen, for tests that look at what a
// key script showed.
class GoodsScreenTest : public GoodsTest {
 protected:
  void SetUp() override {
    GoodsTest::SetUp();
    if (HasFatalFailure()) return;
    g4set_key_to(KEY_F9, TakeShot);
    seen.clear();
  }
};
