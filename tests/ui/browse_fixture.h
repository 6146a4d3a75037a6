// A seeded goods table made through the definition interface, and a browse
// over it started from a bar menu, for the browse, filter and lookup tests.
#pragma once
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/dbf_definition.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "tests/ui/ui_fixture.h"
#include "ui/browse.h"
#include "ui/definition_lists.h"
#include "ui/menu.h"

// The handles of the goods table; the browse lists point at these variables.
struct GoodsTable {
  DbTable* table = nullptr;
  DbIndex* index = nullptr;
  DbField* kod = nullptr;   // C 6, tag 1
  DbField* naz = nullptr;   // C 20, tag 2
  DbField* ilo = nullptr;   // N 5
  DbField* dat = nullptr;   // D
  DbField* fak = nullptr;   // C 1: 'T' or 'N'
  DbField* inf = nullptr;   // C 32: the record stamp
  DbTag* byKod = nullptr;
  DbTag* byNaz = nullptr;
};

class BrowseFixture : public UiTest {
 public:
  GoodsTable goods;

 protected:
  void SetUp() override {
    UiTest::SetUp();
    if (HasFatalFailure()) return;
    d4init(&env->engine);
    std::strcpy(env->operatorName, "ADMIN");
    env->operatorNumber = 1;
  }
  void TearDown() override {
    if (goods.table) d4close(goods.table);
    env->engine.error_code = 0;
    d4init_undo(&env->engine);
    UiTest::TearDown();
  }

  // Opens (creating it) the table under `name` with its handles in `handles`.
  void OpenGoods(GoodsTable& handles, const char* name = "TOWARY") {
    ASSERT_NE(AllocDbfDefinition(), nullptr);
    DefineField_("KOD", (6 << 8) | DBF_SPEC_C);
    DefineField_("NAZ", (20 << 8) | DBF_SPEC_C);
    DefineField_("ILO", (5 << 8) | DBF_SPEC_N);
    DefineField_("DAT", (8 << 8) | DBF_SPEC_D);
    DefineField_("FAK", (1 << 8) | DBF_SPEC_C);
    DefineField_("INF", (32 << 8) | DBF_SPEC_C);
    DefineTag("KOD");
    DefineTag("NAZ");
    int opened = open_dbf(name, &handles.table, GetFieldsInfo(), &handles.index, GetTagsInfo(), 0);
    ResetDbfActivation(handles.table, handles.index);
    if (opened == 0) {
      handles.kod = ActivateField();
      handles.naz = ActivateField();
      handles.ilo = ActivateField();
      handles.dat = ActivateField();
      handles.fak = ActivateField();
      handles.inf = ActivateField();
      handles.byKod = ActivateTag();
      handles.byNaz = ActivateTag();
    }
    ReleaseDbfDefinition();
    ASSERT_EQ(opened, 0);
  }

  // Records K01..Kn; the names run the other way round ("N30" for K01 of 30),
  // quantities i * 10, dates 202612dd with a blank date on every fifth, and
  // 'T' in FAK on the odd records.
  void Seed(int count) {
    OpenGoods(goods);
    for (int i = 1; i <= count; i++) {
      d4append_start(goods.table, 0);
      d4blank(goods.table);
      f4assign(goods.kod, Code(i).c_str());
      f4assign(goods.naz, ("N" + Two(count + 1 - i)).c_str());
      f4assign_long(goods.ilo, i * 10);
      if (i % 5 != 0) f4assign(goods.dat, ("202612" + Two(i % 28 + 1)).c_str());
      f4assign(goods.fak, i % 2 ? "T" : "N");
      ASSERT_EQ(d4append(goods.table), 0);
    }
    d4unlock(goods.table);
    d4tag_select(goods.table, goods.byKod);
    d4top(goods.table);
  }
  // The bar " Towary " runs `browse`; the script follows its Enter and ends
  // with two Esc keys, all of it used.
  void RunFromBar(int32_t (*browse)(int32_t), const std::string& keys) {
    int bar = DefineMainMenuWindow();
    MenuDefineItem(" Towary ", 100, 't' | 0x80, 1, browse, nullptr);
    n4lotus(bar);
    ASSERT_EQ(HeadlessSetScript(("{ENTER}" + keys + "{ESC}{ESC}").c_str()), 0);
    n4activate(bar, 1, nullptr, nullptr, 1);
    w4close(bar);
    EXPECT_EQ(HeadlessKeysLeft(), 0);
  }
  static std::string Two(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }
  static std::string Code(int n) { return "K" + Two(n); }
  static std::string Text(DbField* f) {
    std::string s(f4ptr(f), f4len(f));
    return s.substr(0, s.find_last_not_of(' ') + 1);
  }
  std::string Field(long record, DbField* f) {
    if (d4go(goods.table, record) != 0) return "<no record>";
    return Text(f);
  }
};
