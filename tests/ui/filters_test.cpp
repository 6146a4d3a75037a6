// Filter sets: the record test, the status string, the definition limits and
// the "FILTRY" window, alone and as the filter of a browse.
#include <gtest/gtest.h>

#include "tests/ui/browse_fixture.h"
#include "tests/ui/browse_screens.h"
#include "ui/filters.h"

namespace {

class FilterTest : public BrowseFixture, public ScreenShots {
 protected:
  FilterSet set{};
  FilterItem items[6];

  void SetUp() override {
    BrowseFixture::SetUp();
    if (HasFatalFailure()) return;
    InstallShots();
    Seed(10);
  }
  void TearDown() override {
    FreeFilters(&set);
    RemoveShots();
    BrowseFixture::TearDown();
  }
  // Record numbers whose record passes the set.
  std::vector<long> Passing() {
    std::vector<long> passed;
    for (long n = 1; n <= d4reccount(goods.table); n++) {
      EXPECT_EQ(d4go(goods.table, n), 0);
      if (FilterFunctionEx(&set, nullptr) == X4_ACCEPT) passed.push_back(n);
    }
    return passed;
  }
  static void Commit(FilterItem* item, const char* text) {
    if (item->type == FILTER_DATE) {
      std::string date(text);
      date.resize(8, ' ');
      std::memcpy(item->date, date.data(), 8);
    } else {
      std::memset(item->text, ' ', static_cast<size_t>(item->length));
      std::memcpy(item->text, text, std::min<size_t>(std::strlen(text), static_cast<size_t>(item->length)));
    }
    item->active = 1;
  }
  void Start() { ResetFiltersDefinition(&set, items, sizeof items); }
};

int AtLeast(DbField* field, int32_t value, DbTable*) { return f4long(field) >= value ? X4_ACCEPT : X4_REJECT; }

TEST_F(FilterTest, RecordTestByItemKind) {
  // Seeded: DAT 20261202..20261205 for K01..K04, blank for K05 and K10,
  // 20261207..20261210 for K06..K09; FAK 'T' on odd records; ILO n * 10;
  // NAZ "N10" for K01 down to "N01" for K10.
  const std::vector<long> all = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  struct Case {
    const char* what;
    std::function<void(FilterTest*)> define;
    std::vector<long> passing;
  };
  const Case cases[] = {
      {"date from", [](FilterTest* t) { Commit(DefineFilter(FilterFld(t->goods.dat), "od", "od ", FILTER_DATE, 0), "20261205"); },
       {4, 6, 7, 8, 9}},
      {"date to",
       [](FilterTest* t) {
         Commit(DefineFilter(FilterFld(t->goods.dat), "do", "do ", FILTER_DATE, FILTER_UPPER_BOUND), "20261205");
       },
       {1, 2, 3, 4}},
      {"blank date selects the blank dates",
       [](FilterTest* t) { Commit(DefineFilter(FilterFld(t->goods.dat), "od", "od ", FILTER_DATE, 0), "        "); },
       {5, 10}},
      {"date needed: blank dates never pass",
       [](FilterTest* t) {
         Commit(DefineFilter(FilterFld(t->goods.dat), "od", "od ", FILTER_DATE, FILTER_DATE_NEEDED), "        ");
       },
       {1, 2, 3, 4, 6, 7, 8, 9}},
      {"date needed with a bound",
       [](FilterTest* t) {
         Commit(DefineFilter(FilterFld(t->goods.dat), "od", "od ", FILTER_DATE, FILTER_DATE_NEEDED), "20261208");
       },
       {7, 8, 9}},
      {"OR group: FAK is T or ILO is zero",
       [](FilterTest* t) {
         DefineFilter(FilterFld(t->goods.fak), "faktura", nullptr, FILTER_YES_NO, FILTER_OR_MEMBER,
                      FILTER_IF_EQUAL | 'T')->active = 1;
         DefineFilter(FilterFld(t->goods.ilo), "zero", nullptr, FILTER_YES_NO, FILTER_OR_MEMBER | FILTER_OR_END,
                      FILTER_IF_ZERO | 0)->active = 1;
       },
       {1, 3, 5, 7, 9}},
      {"OR group: only ILO is zero active",
       [](FilterTest* t) {
         DefineFilter(FilterFld(t->goods.fak), "faktura", nullptr, FILTER_YES_NO, FILTER_OR_MEMBER,
                      FILTER_IF_EQUAL | 'T');
         DefineFilter(FilterFld(t->goods.ilo), "zero", nullptr, FILTER_YES_NO, FILTER_OR_MEMBER | FILTER_OR_END,
                      FILTER_IF_ZERO | 0)->active = 1;
       },
       {}},
      {"OR group with no active member",
       [](FilterTest* t) {
         DefineFilter(FilterFld(t->goods.fak), "faktura", nullptr, FILTER_YES_NO, FILTER_OR_MEMBER,
                      FILTER_IF_EQUAL | 'T');
         DefineFilter(FilterFld(t->goods.fak), "rachunek", nullptr, FILTER_YES_NO, FILTER_OR_MEMBER | FILTER_OR_END,
                      FILTER_IF_DIFFERENT | 'T');
       },
       all},
      {"yes/no outside a group",
       [](FilterTest* t) {
         DefineFilter(FilterFld(t->goods.fak), "nie", nullptr, FILTER_YES_NO, 0, FILTER_IF_DIFFERENT | 'T')->active = 1;
       },
       {2, 4, 6, 8, 10}},
      {"text over the whole width", [](FilterTest* t) {
         Commit(DefineFilter(FilterFld(t->goods.naz), "naz", nullptr, FILTER_TEXT, 0, 0, nullptr, 0, nullptr), "n0");
       },
       {}},
      {"text over the whole width, exact", [](FilterTest* t) {
         Commit(DefineFilter(FilterFld(t->goods.naz), "naz", nullptr, FILTER_TEXT, 0, 0, nullptr, 0, nullptr), "n05");
       },
       {6}},
      {"text of a given length", [](FilterTest* t) {
         Commit(DefineFilter(FilterFld(t->goods.naz), "naz", nullptr, FILTER_TEXT_LENGTH, 0, 2, 0, nullptr, 0, nullptr),
                "n0");
       },
       {2, 3, 4, 5, 6, 7, 8, 9, 10}},
      {"text without a field and without an own test", [](FilterTest*) {
         Commit(DefineFilter(FilterLen(5), "x", nullptr, FILTER_TEXT_LENGTH, 0, 5, 0, nullptr, 0, nullptr), "ABC");
       },
       all},
      {"number", [](FilterTest* t) {
         FilterItem* item = DefineFilter(FilterFld(t->goods.ilo), "ilo", nullptr, FILTER_NUMBER, 0, "99999", nullptr);
         item->number = 30;
         item->active = 1;
       },
       {3}},
      {"number with its own test", [](FilterTest* t) {
         FilterItem* item = DefineFilter(FilterFld(t->goods.ilo), "ilo", nullptr, FILTER_NUMBER, 0, "99999", nullptr);
         item->number = 80;
         item->own_test.number = AtLeast;
         item->active = 1;
       },
       {8, 9, 10}},
      {"choice", [](FilterTest* t) {
         static const char* const kinds[] = {"1234567", "1.Tak", "2.Nie", nullptr};
         FilterItem* item = DefineFilter(FilterFld(t->goods.fak), "fak", nullptr, FILTER_CHOICE, 0, kinds);
         item->code = 'N';
         item->active = 1;
       },
       {2, 4, 6, 8, 10}},
      {"two items must both pass", [](FilterTest* t) {
         Commit(DefineFilter(FilterFld(t->goods.dat), "od", "od ", FILTER_DATE, 0), "20261203");
         DefineFilter(FilterFld(t->goods.fak), "T", nullptr, FILTER_YES_NO, 0, FILTER_IF_EQUAL | 'T')->active = 1;
       },
       {3, 7, 9}},
      {"an item never tested",
       [](FilterTest* t) {
         Commit(DefineFilter(FilterFld(t->goods.dat), "od", "od ", FILTER_DATE, FILTER_NOT_TESTED), "20261208");
       },
       all},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FreeFilters(&set);
    Start();
    c.define(this);
    set.off = 0;
    EXPECT_EQ(Passing(), c.passing);
    set.off = 1;
    EXPECT_EQ(Passing(), all);
  }
}

TEST_F(FilterTest, DefinitionLimitsAndStatusString) {
  FilterItem two[2];
  ResetFiltersDefinition(&set, two, sizeof two);
  EXPECT_EQ(set.capacity, 2);
  EXPECT_EQ(DefineFilter(FilterFld(goods.dat), "a", "a", 0, 0), nullptr);   // refused type, not counted
  EXPECT_EQ(DefineFilter(FilterFld(goods.dat), "a", "a", 8, 0), nullptr);
  EXPECT_EQ(set.count, 0);
  FilterItem* date = DefineFilter(FilterFld(goods.dat), "od daty", "od ", FILTER_DATE, 0);
  FilterItem* text = DefineFilter(FilterFld(goods.kod), "kod", ", kod ", FILTER_TEXT, 0, 0, nullptr, 0, nullptr);
  ASSERT_TRUE(date && text);
  EXPECT_EQ(text->length, 6);
  EXPECT_EQ(DefineFilter(FilterFld(goods.kod), "x", nullptr, FILTER_YES_NO, 0, 0u), nullptr);   // full
  EXPECT_EQ(set.count, 2);

  char status[100] = "";
  MakeFilterStatusString(&set, status);
  EXPECT_STREQ(status, "");   // the set is off
  Commit(date, "20261205");
  Commit(text, "K0");
  set.off = 0;
  MakeFilterStatusString(&set, status);
  EXPECT_STREQ(status, "od 05-12-2026, kod K0");
  status[0] = '\0';
  ParamsOfFiget(date, FILTER_SHORT_DATE | FILTER_UPPER_BOUND, 1);   // the bound is not changeable
  EXPECT_EQ(date->flags, FILTER_SHORT_DATE);
  AddFilterItemStatus(date, status);
  EXPECT_STREQ(status, "od 05-12/26");

  // Defining into a set that still holds its items is logged; the set starts anew.
  ResetFiltersDefinition(&set, two, sizeof two);
  EXPECT_EQ(set.count, 0);
}

TEST_F(FilterTest, CompareHelpers) {
  struct Case {
    const char* a;
    const char* b;
    int result;
  };
  for (const Case& c : {Case{"        ", "20261201", 1}, Case{"20261201", "        ", 2}, Case{"        ", "        ", 3},
                        Case{"20261130", "20261201", 4}, Case{"20261201", "20261201", 0},
                        Case{"20261202", "20261201", 8}})
    EXPECT_EQ(CompareDbfDates(c.a, c.b), c.result) << c.a << " " << c.b;
  EXPECT_EQ(FilterCompareStr(Sys("żółw").c_str(), 4, Sys("ŻÓŁW").c_str()), 0);
  EXPECT_EQ(FilterCompareStr("abd", 3, "ABC"), 1);
  EXPECT_EQ(FilterCompareStr("abc", 3, "ABD"), -1);
  EXPECT_EQ(FilterCompareStr("abX", 2, "ABY"), 0);
}

TEST_F(FilterTest, WindowStoresOnF2AndKeepsCommittedValuesOnEsc) {
  Start();
  FilterItem* kod =
      DefineFilter(FilterFld(goods.kod), "Kod.......", "kod ", FILTER_TEXT, FILTER_UPPER, 0, nullptr, 0, nullptr);
  FilterItem* fak = DefineFilter(FilterFld(goods.fak), "Faktura...", nullptr, FILTER_YES_NO, 0, FILTER_IF_EQUAL | 'T');
  ASSERT_TRUE(kod && fak);

  // Enter on "Kod", the text, Enter: on; F2 stores.
  ASSERT_EQ(HeadlessSetScript("{ENTER}k05{ENTER}{F10}{F2}"), 0);
  OpenFiltersWindow(&set);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  EXPECT_EQ(set.changed, 1);
  EXPECT_EQ(set.off, 0);
  EXPECT_EQ(kod->active, 1);
  EXPECT_EQ(std::string(kod->text), "K05   ");
  EXPECT_EQ(fak->active, 0);
  ASSERT_EQ(shots.size(), 1u);
  EXPECT_TRUE(ScreenHas(shots[0], "FILTRY"));
  EXPECT_TRUE(ScreenHas(shots[0], "Kod....... K05"));
  EXPECT_TRUE(ScreenHas(shots[0], "Faktura... ?"));

  // A changed text and the yes/no switched on, then Esc: nothing changes.
  ASSERT_EQ(HeadlessSetScript("{ENTER}K07{ENTER}{DOWN}{ENTER}{ESC}"), 0);
  OpenFiltersWindow(&set);
  EXPECT_EQ(set.changed, 0);
  EXPECT_EQ(std::string(kod->text), "K05   ");
  EXPECT_EQ(fak->active, 0);
  EXPECT_EQ(FilterFunctionEx(&set, nullptr) == X4_ACCEPT, Text(goods.kod) == "K05");

  // Storing with every item off turns the set off.
  ASSERT_EQ(HeadlessSetScript("{ENTER}{ESC}{F2}"), 0);
  OpenFiltersWindow(&set);
  EXPECT_EQ(set.changed, 1);
  EXPECT_EQ(set.off, 1);
  EXPECT_EQ(kod->active, 0);
}

TEST_F(FilterTest, ItemsSwitchedOnOrOffWheneverTheWindowOpens) {
  Start();
  FilterItem* kod = DefineFilter(FilterFld(goods.kod), "Kod.......", nullptr, FILTER_TEXT, FILTER_OFF_AT_OPEN, 0,
                                 nullptr, 0, nullptr);
  FilterItem* fak =
      DefineFilter(FilterFld(goods.fak), "Faktura...", nullptr, FILTER_YES_NO, FILTER_ON_AT_OPEN, FILTER_IF_EQUAL | 'T');
  FilterItem* both = DefineFilter(FilterFld(goods.fak), "Oba.......", nullptr, FILTER_YES_NO,
                                  FILTER_ON_AT_OPEN | FILTER_OFF_AT_OPEN, FILTER_IF_EQUAL | 'N');
  Commit(kod, "K05");
  set.off = 0;
  ASSERT_EQ(HeadlessSetScript("{F2}"), 0);
  OpenFiltersWindow(&set);
  EXPECT_EQ(kod->active, 0);
  EXPECT_EQ(fak->active, 1);
  EXPECT_EQ(both->active, 0);
  EXPECT_EQ(set.off, 0);
}

// The browse with the filter set: the action " Filtr " opens the window and
// redisplays when the operator stored it.
FilterSet* browseSet = nullptr;
ScrollColumn filterColumns[3];
int32_t FilterAction(int32_t) {
  OpenFiltersWindow(browseSet);
  if (browseSet->changed) return browse_call(0, 0);
  return 0;
}
int32_t ResetAction(int32_t) {
  AskResetFilter(browseSet);
  return browse_call(0, 0);
}
int32_t EndAction(int32_t) { return browse_zakoncz(); }

TEST_F(FilterTest, BrowseShowsOnlyTheRecordsThatPassAndMarksTheTitle) {
  Start();
  DefineFilter(FilterFld(goods.kod), "Kod.......", "kod ", FILTER_TEXT, FILTER_UPPER, 0, nullptr, 0, nullptr);
  browseSet = &set;
  ResetScrollDefinition(filterColumns, sizeof filterColumns);
  DefineScrollColumn(&goods.kod, 0, "Kod");
  DefineScrollColumn(&goods.naz, 0, "Nazwa");
  int bar = DefineMainMenuWindow();
  MenuDefineItem(" Filtr ", 7540, 'f', 0, FilterAction, nullptr);
  MenuDefineItem(" Bez filtra ", 7541, 'b', 0, ResetAction, nullptr);
  MenuDefineItem(" Koniec ", 5, 'k', 0, EndAction, nullptr);
  BrowseContext* ctx = nullptr;
  ASSERT_EQ(allocate_browse(&ctx, goods.table, goods.byKod, filterColumns, bar), 0);
  ctx->filter_fn = FilterFunction;
  ctx->filter_data = reinterpret_cast<intptr_t>(&set);
  ctx->title = "TOWARY";
  ASSERT_EQ(HeadlessSetScript("{F10}f{ENTER}k05{ENTER}{F2}{F10}bt{F10}{ESC}"), 0);
  EXPECT_EQ(zrob_browse(0, 0, 0), 0);
  free_browse(&ctx);
  w4close(bar);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  ASSERT_EQ(shots.size(), 3u);
  // Without a record window the list has 23 rows from screen row 5.
  const std::string mark = "FILTR !!!";
  EXPECT_EQ(shots[0].Row(2).find(mark), std::string::npos);
  ListView list = ListOf(shots[0], 5, 23);
  EXPECT_EQ(list.codes[9], "K10");

  EXPECT_EQ(shots[1].Row(2).substr(70, 9), mark);
  list = ListOf(shots[1], 5, 23);
  EXPECT_EQ(list.codes[0], "K05");
  EXPECT_EQ(list.highlighted, 0);
  for (size_t i = 1; i < list.codes.size(); i++) EXPECT_EQ(list.codes[i], "") << i;

  // " Bez filtra " with its question: all records again, no mark.
  EXPECT_EQ(shots[2].Row(2).find(mark), std::string::npos);
  EXPECT_EQ(ListOf(shots[2], 5, 23).codes[9], "K10");
  EXPECT_EQ(set.off, 1);
}

}  // namespace
