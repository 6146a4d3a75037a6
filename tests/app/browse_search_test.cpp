// The search window of a browse, run from the browse's bar on the headless
// display: seeks by order, pattern searches both ways, and what the window
// keeps between openings.
#include <gtest/gtest.h>

#include <cstring>
#include <regex>
#include <string>
#include <vector>

#include "app/browse_search.h"
#include "tests/ui/browse_fixture.h"
#include "ui/desktop.h"
#include "ui/keyboard.h"
#include "ui/wiget.h"

namespace {

// A screen taken on F10: its rows in UTF-8 and the row of the highlighted list line.
struct Shot {
  std::vector<std::string> rows;
  int highlighted = -1;
};
std::vector<Shot> shots;
constexpr int kListTop = 5, kListRows = 18;

int TakeShot(int32_t, int32_t) {
  Shot shot;
  for (int r = 0; r < Desktop.rows; r++) {
    std::string bytes;
    for (int c = 0; c < Desktop.cols; c++) {
      uint16_t cell = Desktop.cells[r * Desktop.cols + c];
      bytes += static_cast<char>((cell & 0xFF) ? (cell & 0xFF) : ' ');
      if (r >= kListTop && r < kListTop + kListRows && (cell >> 8) == 0x8F && shot.highlighted < 0)
        shot.highlighted = r - kListTop;
    }
    shot.rows.push_back(MazToUtf8Text(bytes.c_str()));
  }
  shots.push_back(shot);
  return 0;
}
std::string CodeOnRow(const Shot& s, int listRow) {
  static const std::regex code("K[0-9][0-9]");
  std::smatch m;
  return std::regex_search(s.rows[kListTop + listRow], m, code) ? m.str() : "";
}
std::string Highlighted(const Shot& s) { return s.highlighted < 0 ? "" : CodeOnRow(s, s.highlighted); }
bool ScreenHas(const Shot& s, const std::string& utf8) {
  for (const std::string& row : s.rows)
    if (row.find(utf8) != std::string::npos) return true;
  return false;
}

GoodsTable* shownGoods = nullptr;
ScrollColumn columns[3];

// The module's browse state: the list, the context and the inputs' storage.
SearchField items[2];
SearchContext context;
char byName[21];
char pattern[21];

struct AfterSearch {
  int result;
  long record;
  DbTag* tag;
};
std::vector<AfterSearch> after;

int32_t Search(int32_t) {
  int result = OknoSzukaj(&context, items);
  DbTag* tag = d4tag_selected(shownGoods->table);
  after.push_back({result, d4recno(shownGoods->table), tag});
  return 0;
}
int32_t End(int32_t) { return browse_zakoncz(); }

int32_t GoodsBrowse(int32_t) {
  GoodsTable& g = *shownGoods;
  ResetScrollDefinition(columns, sizeof columns);
  DefineScrollColumn(&g.kod, 0, "Kod");
  DefineScrollColumn(&g.naz, 0, "Nazwa");
  int bar = DefineMainMenuWindow();
  MenuDefineItem(" Szukaj ", 7540, 's' | 0x80, 0, Search, nullptr);
  MenuDefineItem(" Koniec ", 5, 'k', 0, End, nullptr);
  BrowseContext* ctx = nullptr;
  EXPECT_EQ(allocate_browse(&ctx, g.table, g.byKod, columns, bar), 0);
  InitSzukajPola(items, sizeof items);
  EXPECT_NE(DefineSzukajPole("nazwa", nullptr, &g.byNaz, byName, W_TEXT | WF_LONG), nullptr);
  EXPECT_NE(DefineSzukajPole("w nazwie", &g.naz, nullptr, pattern, W_TEXT), nullptr);
  zrob_browse(0, 0, 0);
  free_browse(&ctx);
  w4close(bar);
  return 0;
}

class BrowseSearchTest : public BrowseFixture {
 protected:
  void SetUp() override {
    BrowseFixture::SetUp();
    if (HasFatalFailure()) return;
    shownGoods = &goods;
    CurrentBrowse = nullptr;
    context = SearchContext{};
    std::memset(byName, ' ', 20);
    std::memset(pattern, ' ', 20);
    byName[20] = pattern[20] = 0;
    after.clear();
    shots.clear();
    g4set_key_to(KEY_F10, TakeShot);
    Seed(10);   // K01..K10 named N10..N01
  }
  void TearDown() override {
    g4set_key_to(KEY_F10, nullptr);
    BrowseFixture::TearDown();
  }
  void Run(const std::string& keys) {
    RunFromBar(GoodsBrowse, keys);
  }
};

TEST_F(BrowseSearchTest, SeekByOrder) {
  struct Case {
    const char* keys;
    std::vector<std::string> topCodes;   // the list's first row in each shot
    const char* boxText;                  // in the first shot, or ""
    long record;
    bool nameOrder;   // the browse is left in the name order
  } cases[] = {
      // Found: the window closes with the browse from the record, in the name order.
      {"sN05{ENTER}{F10}", {"K06"}, "", 6, true},
      // Not exact: the browse stands on the next key while the window waits.
      {"sN055{ENTER}{F10} {F10}{ESC}", {"", "K05"}, "Nie znaleziono.", 5, true},
      // End of file: the old order and record come back.
      {"{DOWN}{DOWN}sZZ{ENTER}{F10} {ESC}", {""}, "Nie znaleziono.", 3, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    after.clear();
    shots.clear();
    context = SearchContext{};
    std::memset(byName, ' ', 20);
    Run(c.keys);
    ASSERT_EQ(shots.size(), c.topCodes.size());
    for (size_t i = 0; i < shots.size(); i++)
      if (!c.topCodes[i].empty()) {
        EXPECT_EQ(CodeOnRow(shots[i], 0), c.topCodes[i]);
      }
    if (*c.boxText) {
      EXPECT_TRUE(ScreenHas(shots[0], c.boxText));
    }
    ASSERT_EQ(after.size(), 1u);
    EXPECT_EQ(after[0].result, 0);
    EXPECT_EQ(after[0].record, c.record);
    EXPECT_EQ(after[0].tag, c.nameOrder ? goods.byNaz : goods.byKod);
  }
}

TEST_F(BrowseSearchTest, PatternSearchesBothWays) {
  // "1" is in N10 (K01) and N01 (K10); the search starts after the current K01.
  Run("s{PGDN}1{ENTER}{F10}{DOWN}{F10} {F10}{UP}{F10}{ENTER}");
  ASSERT_EQ(shots.size(), 4u);
  EXPECT_EQ(Highlighted(shots[0]), "K10");
  EXPECT_TRUE(ScreenHas(shots[1], "Więcej nie ma."));
  EXPECT_EQ(Highlighted(shots[2]), "K10");
  EXPECT_EQ(Highlighted(shots[3]), "K01");
  ASSERT_EQ(after.size(), 1u);
  EXPECT_EQ(after[0].result, 0);
  EXPECT_EQ(after[0].record, 1);
}

TEST_F(BrowseSearchTest, PatternMatchesAndMisses) {
  d4go(goods.table, 4);
  f4assign(goods.naz, Sys("ZAŻÓŁĆ").c_str());
  ASSERT_EQ(d4write(goods.table, 4), 0);
  d4unlock(goods.table);
  struct Case {
    const char* typed;   // put into the input before the window opens
    long record;         // where the browse stands after Enter
  } cases[] = {
      {"", 2},          // an empty pattern matches the very next record
      {"żół", 4},       // lower-case Polish letters match upper case inside the field
      {"n0", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    after.clear();
    context = SearchContext{};
    std::memset(pattern, ' ', 20);
    std::string typed = Sys(c.typed);
    std::memcpy(pattern, typed.data(), typed.size());
    Run("s{PGDN}{ENTER}{ENTER}");
    ASSERT_EQ(after.size(), 1u);
    EXPECT_EQ(after[0].record, c.record);
  }
}

TEST_F(BrowseSearchTest, NothingFoundShowsOneBoxAndKeepsTheWindow) {
  Run("{DOWN}{DOWN}s{PGDN}xyz{ENTER}{F10} {F10}{ESC}");
  ASSERT_EQ(shots.size(), 2u);
  EXPECT_TRUE(ScreenHas(shots[0], "Nie znaleziono."));
  EXPECT_FALSE(ScreenHas(shots[1], "Nie znaleziono."));
  EXPECT_TRUE(ScreenHas(shots[1], "(wzorzec)   2/2"));
  // The backward pass stopped on the first record.
  EXPECT_EQ(CodeOnRow(shots[1], 0), "K01");
}

TEST_F(BrowseSearchTest, ReopeningStartsOnTheLastFieldWithItsValue) {
  Run("s{PGDN}xyz{ENTER} {ESC}s{F10}{ESC}");
  ASSERT_EQ(shots.size(), 1u);
  EXPECT_TRUE(ScreenHas(shots[0], "w nazwie.. xyz"));
  EXPECT_TRUE(ScreenHas(shots[0], "(wzorzec)   2/2"));
  EXPECT_EQ(std::string(pattern, 3), "xyz");
}

TEST_F(BrowseSearchTest, FullListAndNumberWithoutWidthAreShownAsErrors) {
  SearchField one[1];
  int number = 0;
  char date[9] = "        ";
  InitSzukajPola(one, sizeof one);
  // A number without its width is kept all the same.
  ASSERT_EQ(DefineSzukajPole("numer", nullptr, nullptr, &number, W_INT), &one[0]);
  EXPECT_EQ(DefineSzukajPole("data", nullptr, nullptr, date, W_DATE), nullptr);
  EXPECT_EQ(one[0].end_mark & 1, 1u);
  EXPECT_EQ(one[0].buffer, &number);
}

}  // namespace
