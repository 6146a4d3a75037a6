// The coded-field lookup over the seeded goods table.
#include <gtest/gtest.h>

#include "tests/ui/browse_fixture.h"
#include "tests/ui/browse_screens.h"
#include "ui/coded_field.h"

namespace {

GoodsTable* lookupGoods = nullptr;
int appendCalls = 0;
const char* appendedCode = "K50";

// Appends one record the way a module's append browse would, leaving its
// number where the lookup finds it.
int AppendOne() {
  appendCalls++;
  DbTable* t = lookupGoods->table;
  d4append_start(t, 0);
  d4blank(t);
  f4assign(lookupGoods->kod, appendedCode);
  f4assign(lookupGoods->naz, "NOWY");
  if (d4append(t) != 0) return -1;
  d4unlock(t);
  LastAppendedRecord = d4recno(t);
  return 0;
}
int RefuseAppend() {
  appendCalls++;
  return -1;
}

int RejectOdd(intptr_t) { return f4long(lookupGoods->ilo) / 10 % 2 ? X4_REJECT : X4_ACCEPT; }

class LookupTest : public BrowseFixture, public ScreenShots {
 protected:
  PoleKodowane list[5];

  void SetUp() override {
    BrowseFixture::SetUp();
    if (HasFatalFailure()) return;
    lookupGoods = &goods;
    appendCalls = 0;
    appendedCode = "K50";
    InstallShots();
  }
  void TearDown() override {
    RemoveShots();
    BrowseFixture::TearDown();
  }
  // Code and name columns, both searchable, the code selected.
  void TwoTagged() {
    ResetPoleKodowaneDefinition(list, sizeof list);
    ASSERT_NE(DefinePoleKodowane(0, "Kod", &goods.kod, &goods.byKod, 1, -1), nullptr);
    ASSERT_NE(DefinePoleKodowane(0, "Nazwa", &goods.naz, &goods.byNaz, 0, -1), nullptr);
  }
  int Lookup(const char* keys, int (*append)() = nullptr, DbScanFilter filter = nullptr, int row = 3,
             int bottom = 0) {
    EXPECT_EQ(HeadlessSetScript(keys), 0);
    int key = pole_kodowane_fun(append, "TOWARY", list, filter, row, bottom, goods.table);
    EXPECT_EQ(HeadlessKeysLeft(), 0) << keys;
    return key;
  }
  std::string Current() { return d4eof(goods.table) ? "<eof>" : Text(goods.kod); }
};

TEST_F(LookupTest, KeysAndTheRecordChosen) {
  Seed(12);
  TwoTagged();
  struct Case {
    const char* keys;
    int result;
    const char* chosen;
  };
  const Case cases[] = {
      {"k05{ENTER}", 13, "K05"},                 // exact code, typed in lower case
      {"k1{ENTER}", 13, "K10"},                  // a prefix
      {"k1{DOWN}{DOWN}{ENTER}", 13, "K12"},
      {"z{ENTER}", 13, "K12"},                   // past every key: the last record
      {"zk05{ENTER}", 13, "K12"},                // letters ignored after that
      {"z{BS}k05{ENTER}", 13, "K05"},            // until Backspace
      {"k05{BS}{BS}{BS}{ENTER}", 13, "K01"},
      {"{END}{UP}{ENTER}", 13, "K11"},
      {"{END}{DOWN}{ENTER}", 13, "K12"},
      {"{DOWN}{HOME}{UP}{ENTER}", 13, "K01"},
      {"{PGDN}{ENTER}", 13, "K12"},              // 19 rows: the edge
      {"{PGDN}{PGUP}{ENTER}", 13, "K01"},
      {"{RIGHT}n03{ENTER}", 13, "K10"},          // the name column searches
      {"{LEFT}{LEFT}k03{ENTER}", 13, "K03"},     // and back, wrapping
      {"{F7}{F6}{ENTER}", 13, "K01"},            // F7 and F6 not offered
      {"{DOWN}{ESC}", KEY_CODED_LEFT, "K02"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    list[0].selected = 1;
    list[1].selected = 0;
    EXPECT_EQ(Lookup(c.keys), c.result);
    EXPECT_EQ(Current(), c.chosen);
    EXPECT_EQ(env->codedFieldMemory, 0);
  }
}

TEST_F(LookupTest, SearchColumnsWithOneOrNoTag) {
  Seed(12);
  ResetPoleKodowaneDefinition(list, sizeof list);
  DefinePoleKodowane(0, "Kod", &goods.kod, &goods.byKod, 0, -1);
  DefinePoleKodowane(0, "Nazwa", &goods.naz, nullptr, 0, -1);
  // Without a mark the last shown column searches: it has no tag, so letters do nothing.
  EXPECT_EQ(Lookup("k05{ENTER}"), 13);
  EXPECT_EQ(Current(), "K01");
  // Left/Right with one tagged column keeps it as the search column.
  EXPECT_EQ(Lookup("{RIGHT}k05{ENTER}"), 13);
  EXPECT_EQ(Current(), "K05");
  EXPECT_EQ(list[0].selected, 1);
  EXPECT_EQ(Lookup("{LEFT}k07{ENTER}"), 13);
  EXPECT_EQ(Current(), "K07");

  ResetPoleKodowaneDefinition(list, sizeof list);
  DefinePoleKodowane(0, "Kod", &goods.kod, nullptr, 1, -1);
  EXPECT_EQ(Lookup("{RIGHT}k05{ENTER}"), 13);
  EXPECT_EQ(Current(), "K01");
}

TEST_F(LookupTest, FilterAndPriceLevel) {
  Seed(12);
  TwoTagged();
  EXPECT_EQ(Lookup("{DOWN}{ENTER}", nullptr, RejectOdd), 13);
  EXPECT_EQ(Current(), "K04");

  // F7 only with codedFieldRemember; the list starts on the remembered record.
  env->codedFieldRemember = 1;
  env->codedFieldMemory = 5;
  EXPECT_EQ(Lookup("{DOWN}{F7}", RefuseAppend), KEY_CODED_PRICE);
  EXPECT_EQ(env->codedFieldMemory, 6);
  EXPECT_EQ(Lookup("{ENTER}", RefuseAppend), 13);
  EXPECT_EQ(Current(), "K06");
  // Without an append routine the memory is cleared and the list starts at the top.
  EXPECT_EQ(Lookup("{ENTER}"), 13);
  EXPECT_EQ(Current(), "K01");
  env->codedFieldRemember = 0;
  env->codedFieldMemory = 5;
  EXPECT_EQ(Lookup("{F7}{ENTER}", RefuseAppend), 13);
  EXPECT_EQ(Current(), "K01");
  EXPECT_EQ(appendCalls, 0);
}

TEST_F(LookupTest, AppendingFromTheLookup) {
  Seed(0);
  TwoTagged();
  // Empty without an append routine: "Brak danych." and 27.
  EXPECT_EQ(Lookup("{F10} "), 27);
  ASSERT_EQ(shots.size(), 1u);
  EXPECT_TRUE(ScreenHas(shots[0], "Brak danych."));
  // With one: the question; Esc leaves.
  ClearShots();
  EXPECT_EQ(Lookup("{F10}{ESC}", AppendOne), KEY_CODED_LEFT);
  ASSERT_EQ(shots.size(), 1u);
  EXPECT_TRUE(ScreenHas(shots[0], "Brak pozycji w kartotece !"));
  EXPECT_TRUE(ScreenHas(shots[0], "Czy dopisać ?"));
  EXPECT_EQ(appendCalls, 0);
  // T adds a record and the list comes back on it.
  EXPECT_EQ(Lookup("t{ENTER}", AppendOne), 13);
  EXPECT_EQ(appendCalls, 1);
  EXPECT_EQ(Current(), "K50");
  // F6 adds another; the list stands on it.
  appendedCode = "K20";
  EXPECT_EQ(Lookup("{F6}{ENTER}", AppendOne), 13);
  EXPECT_EQ(Current(), "K20");
  EXPECT_EQ(d4reccount(goods.table), 2);
  // A refusing append routine ends the lookup with 27.
  EXPECT_EQ(Lookup("{F6}", RefuseAppend), 27);
}

TEST_F(LookupTest, LowGetKeepsOneListRowAboveTheLinesBelow) {
  Seed(12);
  PoleKodowane wide[6];
  ResetPoleKodowaneDefinition(wide, sizeof wide);
  DefinePoleKodowane(0, "Kod", &goods.kod, &goods.byKod, 1, -1);
  DefinePoleKodowane(0, "Nazwa", &goods.naz, nullptr, 0, 12);
  DefinePoleKodowane(CODED_BELOW | CODED_NO_COLUMN, "Data", &goods.dat, nullptr, 0, -1);
  DefinePoleKodowane(CODED_BELOW | CODED_NO_COLUMN, "Nazwa", &goods.naz, nullptr, 0, -1);
  DefinePoleKodowane(CODED_BELOW | CODED_NO_COLUMN | CODED_THOUSANDS, "Ilosc", &goods.ilo, nullptr, 0, -1);
  EXPECT_EQ(DefinePoleKodowane(0, "x", &goods.fak, nullptr, 0, -1), nullptr);   // full: one entry ends the list
  // 22 - 20 - 0 - 3 lines below leaves no row; one is kept.
  ASSERT_EQ(HeadlessSetScript("{DOWN}{F10}{ENTER}"), 0);
  EXPECT_EQ(pole_kodowane_fun(nullptr, TextRef(), wide, nullptr, 20, 0, goods.table), 13);
  EXPECT_EQ(Current(), "K02");
  ASSERT_EQ(shots.size(), 1u);
  int codeRow = -1, codeRows = 0;
  for (int r = 0; r < shots[0].rows; r++)
    if (!CodeIn(shots[0].Row(r)).empty()) {
      codeRow = r;
      codeRows++;
    }
  ASSERT_EQ(codeRows, 1);
  EXPECT_EQ(CodeIn(shots[0].Row(codeRow)), "K02");
  EXPECT_NE(shots[0].Row(codeRow).find("N11"), std::string::npos);
  EXPECT_NE(shots[0].Row(codeRow + 1).find("03-12/26"), std::string::npos) << shots[0].Row(codeRow + 1);
  EXPECT_NE(shots[0].Row(codeRow + 2).find("N11"), std::string::npos);
  EXPECT_NE(shots[0].Row(codeRow + 3).find("20"), std::string::npos);
  EXPECT_EQ(shots[0].Row(codeRow + 4).find("N1"), std::string::npos);   // the frame closes under them
}

}  // namespace
