// Browse lists run from a bar menu through the headless display: moves,
// append, modify, delete, the common browse keys, the limited browse and
// two workstations.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "env/env_state.h"
#include "platform/resources.h"
#include "tests/ui/browse_fixture.h"
#include "tests/ui/browse_screens.h"
#include "ui/menu_history.h"
#include "ui/record_stamp.h"

namespace {

GoodsTable* shownGoods = nullptr;
std::vector<int> preKeys;
std::function<void(BrowseContext*)> configure;
int browseResult = -2;
int recordLines = 3;

ScrollColumn columns[4];
const std::string deleteText = Utf8ToMazText(" Usuń ");   // menu items keep their texts
TextCtrl texts[3];
EditCtrl edits[3];

int PreKey(int key) {
  preKeys.push_back(key);
  hot_keys(key, 1, 7510, 1, 7520, 1, 7530, shownGoods->inf);
  return 0;
}

int32_t End(int32_t) { return browse_zakoncz(); }

// The action of the outer bar's item: the goods browse with its own bar.
int32_t GoodsBrowse(int32_t) {
  GoodsTable& g = *shownGoods;
  ResetScrollDefinition(columns, sizeof columns);
  DefineScrollColumn(&g.kod, 0, "Kod")->tag = &g.byKod;
  DefineScrollColumn(&g.naz, 0, "Nazwa")->tag = &g.byNaz;
  DefineScrollColumn(&g.ilo, 0, "Ilosc");
  ResetTextCtrlDefinition(texts, sizeof texts);
  DefineTextCtrl(0, 1, &g.kod, 0);
  DefineTextCtrl(0, 10, &g.naz, 0);
  ResetEditCtrlDefinition(edits, sizeof edits);
  DefineEditCtrl(1, 2, &g.kod, EDIT_DATE);
  DefineEditCtrl(1, 12, &g.naz, EDIT_DATE);

  int bar = DefineMainMenuWindow();
  MenuDefineItem(" Dopisz ", 7510, 'd' | 0x80, 1, browse_dopisz, nullptr);
  MenuDefineItem(deleteText.c_str(), 7530, 'u', 1, browse_skasuj, nullptr);
  MenuDefineItem(" Koniec ", 5, 'k', 0, End, nullptr);
  BrowseContext* ctx = nullptr;
  EXPECT_EQ(allocate_browse(&ctx, g.table, g.byKod, columns, bar), 0);
  ctx->record_texts = texts;
  ctx->append_edits = edits;
  ctx->stamp_field = g.inf;
  ctx->pre_key_hook = PreKey;
  ctx->title = "TOWARY";
  if (configure) configure(ctx);
  browseResult = zrob_browse(recordLines, 5, 0);
  free_browse(&ctx);
  EXPECT_EQ(ctx, nullptr);
  w4close(bar);
  return 0;
}

class BrowseTest : public BrowseFixture, public ScreenShots {
 protected:
  void SetUp() override {
    BrowseFixture::SetUp();
    if (HasFatalFailure()) return;
    shownGoods = &goods;
    preKeys.clear();
    configure = nullptr;
    CurrentBrowse = nullptr;   // a test that failed inside a browse leaves nothing behind
    browseResult = -2;
    recordLines = 3;
    InstallShots();
  }
  void TearDown() override {
    configure = nullptr;
    RemoveShots();
    BrowseFixture::TearDown();
  }

  // The bar " Towary " runs the goods browse; the script follows its Enter.
  void Run(const std::string& keys) {
    RunFromBar(GoodsBrowse, keys);
    EXPECT_EQ(CurrentBrowse, nullptr);
  }
  std::string Stamp(long record) {
    if (d4go(goods.table, record) != 0) return "<no record>";
    std::string s(f4ptr(goods.inf), f4len(goods.inf));
    deconver_pass(&s[0], static_cast<int>(s.size()), 1);
    return s;
  }
  // Runs the keys and checks the list at their end; returns what it saw.
  ListView ExpectList(const std::string& keys, const char* top, const char* second, int highlighted) {
    ClearShots();
    Run(keys + "{F10}");
    EXPECT_EQ(shots.size(), 1u);
    if (shots.size() != 1u) return ListView{};
    ListView list = ListOf(shots[0]);
    EXPECT_EQ(list.codes[0], top);
    EXPECT_EQ(list.codes[1], second);
    EXPECT_EQ(list.highlighted, highlighted);
    return list;
  }
  std::string ErrorLog() {
    std::string text;
    for (const auto& e : std::filesystem::recursive_directory_iterator(dir))
      if (e.path().filename().string().rfind("ER", 0) == 0 && e.path().extension() == ".Log")
        text += ReadFile(e.path().string());
    return text;
  }
};

TEST_F(BrowseTest, MovesKeepTheCurrentRecordOnItsRow) {
  Seed(30);
  struct Case {
    const char* keys;
    const char* top;
    int highlighted;
    const char* second;   // the code on the second row ("" blank)
  };
  const Case cases[] = {
      {"", "K01", 0, "K02"},
      {"{DOWN}{DOWN}", "K01", 2, "K02"},
      {"{DOWN}{DOWN}{DOWN}{DOWN}{DOWN}{DOWN}{DOWN}{DOWN}{DOWN}{DOWN}{DOWN}{DOWN}{DOWN}{DOWN}{DOWN}{DOWN}{DOWN}{DOWN}",
       "K02", 17, "K03"},
      {"{UP}", "K01", 0, "K02"},
      {"/{DOWN}", "K01", 1, "K02"},   // "/" in the bar is swallowed
      {"{PGDN}", "K18", 0, "K19"},
      {"{PGDN}{PGDN}", "K30", 0, ""},
      {"{PGDN}{PGUP}", "K01", 0, "K02"},
      {"{END}", "K30", 0, ""},
      {"{END}{DOWN}", "K30", 0, ""},
      {"{END}{UP}", "K29", 0, "K30"},
      {"{END}{HOME}", "K01", 0, "K02"},
      {"{TAB}", "K30", 0, "K29"},
      {"{TAB}{TAB}", "K01", 0, "K02"},
      {"{TAB}{DOWN}{DOWN}", "K30", 2, "K29"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    const ListView list = ExpectList(c.keys, c.top, c.second, c.highlighted);
    ASSERT_EQ(shots.size(), 1u);
    // The record window shows the highlighted record.
    EXPECT_EQ(RecordCode(shots[0]), list.codes[c.highlighted]);
    EXPECT_EQ(browseResult, 0);
  }
  EXPECT_EQ(ErrorLog().find("ERRCODE"), std::string::npos);
}

TEST_F(BrowseTest, AppendModifyAndTheirStamps) {
  Seed(3);
  // " Dopisz " with F2 and the save question; Alt+M changes the name of K01
  // and saves; a second Alt+M is left with Esc (and Esc to the question).
  Run("dK99{ENTER}Nowy{F2}t{F10}"
      "{ALT+M}{ENTER}Zmieniony{F2}t"
      "{ALT+M}{ENTER}Inny{ESC}{ESC}{F10}");
  ASSERT_EQ(d4reccount(goods.table), 4);
  EXPECT_EQ(Field(4, goods.kod), "K99");
  EXPECT_EQ(Field(4, goods.naz), "Nowy");
  EXPECT_EQ(Stamp(4), "DADMIN          2026121010:00:00");
  EXPECT_EQ(Field(1, goods.naz), "Zmieniony");
  EXPECT_EQ(Stamp(1), "MADMIN          2026121010:00:00");
  EXPECT_EQ(Field(2, goods.naz), "N02");
  // After the append the list shows from the record that was current.
  ASSERT_EQ(shots.size(), 2u);
  ListView list = ListOf(shots[0]);
  EXPECT_EQ(list.codes[0], "K01");
  EXPECT_EQ(list.codes[3], "K99");
  list = ListOf(shots[1]);
  EXPECT_EQ(list.codes[0], "K01");
  EXPECT_EQ(list.highlighted, 0);

  // Both bar items marked for the history wrote their rows.
  HistoryHandles h;
  ASSERT_EQ(open_hist(&h, 0), 0);
  std::vector<std::string> rows;
  for (long n = 1; n <= d4reccount(h.table); n++) {
    ASSERT_EQ(d4go(h.table, n), 0);
    rows.push_back(Text(h.cos) + "|" + Text(h.kto) + "|" + Text(h.dat));
  }
  d4close(h.table);
  EXPECT_EQ(rows, (std::vector<std::string>{" Towary|ADMIN|20261210", " Dopisz|ADMIN|20261210"}));
  EXPECT_EQ(ErrorLog().find("ERRCODE"), std::string::npos);
}

TEST_F(BrowseTest, AppendLeftWithEscKeepsEveryRecord) {
  Seed(3);
  configure = [](BrowseContext* ctx) { ctx->footer = "STOPKA"; };
  Run("{DOWN}dK77{ESC}{ESC}{F10}");
  EXPECT_EQ(d4reccount(goods.table), 3);
  for (long n = 1; n <= 3; n++) EXPECT_EQ(Field(n, goods.kod), Code(static_cast<int>(n)));
  ASSERT_EQ(shots.size(), 1u);
  EXPECT_EQ(ListOf(shots[0]).codes[0], "K02");   // shown from the record that was current
  EXPECT_EQ(shots[0].Row(28), std::string(37, ' ') + "STOPKA" + std::string(37, ' '));
  EXPECT_EQ(shots[0].Attr(28, 0), 0x8E);
}

TEST_F(BrowseTest, BackgroundLinesOfTheRecordAndEditWindows) {
  Seed(2);
  static std::string lines;
  // Text from column 40, clear of the fields and gets of both windows.
  lines = std::string(40, ' ') + "Linia pierwsza" + std::string(24, ' ') + std::string(40, ' ') + "druga linia tla" +
          std::string(23, ' ');
  static const PlatResource table[] = {
      {901, reinterpret_cast<const unsigned char*>(lines.data()), static_cast<uint32_t>(lines.size())}};
  PlatRegisterResources(ENV_PROGRAM_MODULE, table, 1);
  configure = [](BrowseContext* ctx) {
    ctx->record_lines_source = []() -> int16_t { return 901; };
    ctx->record_lines_count = 2;
    ctx->record_lines_fixup = [](char* text) { text[78 + 40] = 'D'; };   // the second line's first letter
  };
  Run("{F10}dK55{F10}{ESC}{ESC}");
  ASSERT_EQ(shots.size(), 2u);
  // The record window (rows 23 to 27, its lines from row 24): line 2 under the texts of line 1.
  EXPECT_EQ(shots[0].Row(25).find("Druga linia tla"), 3u + 40) << shots[0].Row(25);   // after the frame's 3 bytes
  EXPECT_EQ(shots[0].Attr(25, 41), 0x17);
  EXPECT_EQ(shots[0].Row(24).find("Linia pierwsza"), 3u + 40);
  EXPECT_EQ(CodeIn(shots[0].Row(24)), "K01");
  // The append form shows the same background, the record's lines being empty.
  EXPECT_EQ(shots[1].Row(23).find("Druga linia tla"), 3u + 40) << shots[1].Row(23);
  EXPECT_TRUE(ScreenHas(shots[1], "K55"));
}

TEST_F(BrowseTest, SkipBitsOfEditAndTextLists) {
  Seed(1);
  EditCtrl list[3] = {};
  TextCtrl shown[3] = {};
  char a[4], b[4], c[4];
  ResetEditCtrlDefinition(list, sizeof list);
  DefineEditCtrl(0, 0, a, EDIT_TEXT | EDIT_DIRECT);
  DefineEditCtrl(0, 5, b, EDIT_TEXT | EDIT_DIRECT);
  ResetTextCtrlDefinition(shown, sizeof shown);
  DefineTextCtrl(0, 0, &goods.kod, 0);
  DefineTextCtrl(0, 9, &goods.naz, 0);
  struct Case {
    void* data;
    int flag;
    uint32_t first, second;
  };
  const Case cases[] = {
      {b, -1, 0, EDIT_SKIP},   // set on the entry of that data
      {b, 0x1FF, 0, EDIT_SKIP},   // a negative low byte sets too
      {a, 1, 0, EDIT_SKIP},   // a positive flag clears (already clear)
      {b, 0, 0, 0},           // and clears
      {c, -1, 0, 0},          // no entry of that data: nothing
  };
  for (const Case& k : cases) {
    set_is_format(list, k.data, k.flag);
    EXPECT_EQ(list[0].flags & EDIT_SKIP, k.first);
    EXPECT_EQ(list[1].flags & EDIT_SKIP, k.second);
  }
  list[2].data = c;   // past the entry marked last: never searched
  set_is_format(list, c, -1);
  EXPECT_EQ(list[2].flags & EDIT_SKIP, 0u);

  SetTextCtrlEnabled(shown, &goods.naz, -1);
  EXPECT_EQ(shown[1].flags & TEXT_HIDDEN, TEXT_HIDDEN);
  EXPECT_EQ(shown[0].flags & TEXT_HIDDEN, 0);
  SetTextCtrlEnabled(shown, &goods.naz, 0);
  EXPECT_EQ(shown[1].flags & TEXT_HIDDEN, 0);
}

TEST_F(BrowseTest, DeleteShowsThePreviousRecordOnTop) {
  struct Case {
    const char* keys;
    long deleted;
    const char* top;
    int highlighted;
  };
  const Case cases[] = {
      {"{DOWN}{DOWN}{DOWN}{DOWN}ut", 5, "K04", 0},
      {"ut", 1, "K02", 0},
      {"{DOWN}{DEL}t", 2, "K01", 0},     // the common key, with its question
      {"{DOWN}u{ESC}", 0, "K01", 1},     // the question answered with Esc: nothing moves
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    if (goods.table) d4close(goods.table);
    goods = GoodsTable{};
    std::filesystem::remove(Path("TOWARY.DBF"));
    std::filesystem::remove(Path("TOWARY.MDX"));
    Seed(10);
    ClearShots();
    Run(std::string(c.keys) + "{F10}");
    for (long n = 1; n <= 10; n++) {
      ASSERT_EQ(d4go(goods.table, n), 0);
      EXPECT_EQ(d4deleted(goods.table) != 0, n == c.deleted) << n;
    }
    ASSERT_EQ(shots.size(), 1u);
    EXPECT_EQ(ListOf(shots[0]).codes[0], c.top);
    EXPECT_EQ(ListOf(shots[0]).highlighted, c.highlighted);
  }
}

TEST_F(BrowseTest, EmptyTableShowsBlankRowsAndRefusesToDelete) {
  Seed(0);
  Run("{DOWN}x{END}{DEL}{F10} {F10}{INS}K01{ENTER}Pierwszy{F2}t{F10}");
  EXPECT_EQ(preKeys, (std::vector<int>{KEY_DOWN, 'x', KEY_END, KEY_DEL, KEY_INS, KEY_ESC}));
  ASSERT_EQ(shots.size(), 3u);
  EXPECT_TRUE(ScreenHas(shots[0], " Brak pozycji !"));
  const ListView list = ListOf(shots[1]);
  for (const std::string& code : list.codes) EXPECT_EQ(code, "");
  EXPECT_EQ(list.highlighted, -1);
  // Ins appends into the empty table; the list then shows the new record.
  EXPECT_EQ(d4reccount(goods.table), 1);
  EXPECT_EQ(ListOf(shots[2]).codes[0], "K01");
  EXPECT_EQ(ListOf(shots[2]).highlighted, 0);
}

TEST_F(BrowseTest, HotKeysHonourRightsAndEscArguments) {
  Seed(3);
  env->rights[7520 / 8] &= static_cast<unsigned char>(~(0x80 >> (7520 % 8)));
  Run("{ALT+M}{F10} ");
  ASSERT_EQ(shots.size(), 1u);
  EXPECT_TRUE(ScreenHas(shots[0], "Zabroniony dostęp !"));
  EXPECT_EQ(Field(1, goods.naz), "N03");

  // Delete with the argument Esc does nothing, not even the question.
  configure = [](BrowseContext* ctx) {
    ctx->pre_key_hook = [](int key) {
      hot_keys(key, KEY_ESC, -1, KEY_ESC, -1, KEY_ESC, -1, nullptr);
      return 0;
    };
  };
  ClearShots();
  Run("{DEL}{INS}{ALT+M}{F10}");
  ASSERT_EQ(shots.size(), 1u);
  EXPECT_FALSE(ScreenHas(shots[0], "Czy usunąć pozycję ?"));
  EXPECT_EQ(d4reccount(goods.table), 3);
  ASSERT_EQ(d4go(goods.table, 1), 0);
  EXPECT_EQ(d4deleted(goods.table), 0);
}

TEST_F(BrowseTest, RecordStampKeyShowsTheModifyStamp) {
  Seed(2);
  // The stamp window waits for a key or four seconds: a shot after one second.
  int timer = AllocTimer(TIMER_PERIODIC, 1000, TakeShotOnTimer, 0);
  Run("{ALT+M}{ENTER}Nowa{F2}t{ALT+K}{WAIT 1500} ");
  FreeTimer(&timer);
  ASSERT_GE(shots.size(), 1u);
  EXPECT_TRUE(ScreenHas(shots[0], "HISTORIA ZAPISU"));
  EXPECT_TRUE(ScreenHas(shots[0], "Co   - MODYFIKACJA"));
  EXPECT_TRUE(ScreenHas(shots[0], "Kto  - ADMIN"));
  EXPECT_TRUE(ScreenHas(shots[0], "Data - 10-12-2026"));
}

// The modify hooks run in their order; a refusing save hook writes nothing.
std::vector<std::string> hookCalls;
int hookAnswer = 0;
TEST_F(BrowseTest, ModifyHooksRunInOrderAndDecideTheWrite) {
  Seed(2);
  struct Case {
    const char* keys;
    int saveAnswer;
    std::vector<std::string> calls;
    const char* name;
  };
  const Case cases[] = {
      {"{ALT+M}{ENTER}Raz{F2}t", 0, {"before", "prepare", "save", "after"}, "ZMIANA"},
      {"{ALT+M}{ENTER}Dwa{F2}t", 1, {"before", "prepare", "save"}, "N02"},
      {"{ALT+M}{ENTER}Trzy{ESC}{ESC}", 0, {"before", "prepare", "cancel"}, "N02"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    hookCalls.clear();
    hookAnswer = c.saveAnswer;
    f4assign(goods.naz, "N02");
    ASSERT_EQ(d4write(goods.table, 1), 0);
    configure = [](BrowseContext* ctx) {
      ctx->modify_hooks[MODIFY_BEFORE] = [] {
        hookCalls.push_back("before");
        return 0;
      };
      ctx->modify_hooks[MODIFY_PREPARE] = [] {
        hookCalls.push_back("prepare");
        return 0;
      };
      ctx->modify_hooks[MODIFY_SAVE] = [] {
        hookCalls.push_back("save");
        return hookAnswer;
      };
      // The after hook changes the record and relies on the write after it.
      ctx->modify_hooks[MODIFY_AFTER] = [] {
        hookCalls.push_back("after");
        f4assign(shownGoods->naz, "ZMIANA");
        return 0;
      };
      ctx->modify_hooks[MODIFY_CANCEL] = [] {
        hookCalls.push_back("cancel");
        return 0;
      };
    };
    Run(c.keys);
    EXPECT_EQ(hookCalls, c.calls);
    EXPECT_EQ(Field(1, goods.naz), c.name);
  }
}

TEST_F(BrowseTest, LimitedBrowseShowsOnlyTheMatchingRecords) {
  Seed(12);
  // Quantities of records 4..6 become 777, ordered by quantity.
  for (long n = 4; n <= 6; n++) {
    ASSERT_EQ(d4go(goods.table, n), 0);
    f4assign_long(goods.ilo, 777);
    ASSERT_EQ(d4write(goods.table, n), 0);
  }
  ASSERT_EQ(d4flush(goods.table), 0);
  static DbTag* byIlo = nullptr;
  // The quantity tag: a second index over the same table.
  DbfTagDef tags[] = {{"ILO", "ILO", ".NOT.DELETED()", 0, 0}, {nullptr, nullptr, nullptr, 0, 0}};
  DbIndex* extra = i4create(goods.table, "TOWILO", tags);
  ASSERT_NE(extra, nullptr);
  byIlo = i4tag(extra, "ILO");
  struct Case {
    long value;
    const char* keys;
    const char* top;
    const char* second;
    int highlighted;
  };
  const Case cases[] = {
      {777, "", "K04", "K05", 0},
      {777, "{DOWN}{DOWN}{DOWN}{DOWN}", "K04", "K05", 2},   // stays on the last match
      {777, "{END}", "K06", "", 0},
      {777, "{END}{UP}{UP}{UP}", "K04", "K05", 0},
      {555, "{DOWN}", "", "", -1},
  };
  static long limit = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.value) + c.keys);
    limit = c.value;
    configure = [](BrowseContext* ctx) {
      d4tag_select(ctx->table, byIlo);
      ctx->limit_field = shownGoods->ilo;
      ctx->limit_value = limit;
      ctx->top_fn = dynfiltr_top;
      ctx->bottom_fn = dynfiltr_bottom;
      ctx->skip_fn = dynfiltr_skip;
    };
    ExpectList(c.keys, c.top, c.second, c.highlighted);
  }
}

// While one workstation modifies a record, the other cannot delete it: its
// delete waits for the lock until the operator gives up with Esc.
GoodsTable otherGoods;
ScrollColumn otherColumns[2];
int32_t OtherWorkstation() {
  ResetScrollDefinition(otherColumns, sizeof otherColumns);
  DefineScrollColumn(&otherGoods.kod, 0, "Kod");
  int bar = DefineMainMenuWindow();
  MenuDefineItem(deleteText.c_str(), 7530, 'u', 1, browse_skasuj, nullptr);
  BrowseContext* ctx = nullptr;
  EXPECT_EQ(allocate_browse(&ctx, otherGoods.table, otherGoods.byKod, otherColumns, bar), 0);
  EXPECT_EQ(zrob_browse(0, 0, 0), 0);
  free_browse(&ctx);
  EXPECT_EQ(CurrentBrowse, ctx);   // the outer browse is current again
  w4close(bar);
  return 0;
}

TEST_F(BrowseTest, RecordHeldByAModifyCannotBeDeletedElsewhere) {
  Seed(3);
  OpenGoods(otherGoods);
  d4tag_select(otherGoods.table, otherGoods.byKod);
  env->engine.lock_tries = 1;
  RecordingScreenHook lockWait;    // the operator gives up waiting for the lock
  lockWait.keys = {SCREEN_KEY_ESC};
  configure = [](BrowseContext* ctx) { ctx->modify_hooks[MODIFY_BEFORE] = OtherWorkstation; };
  // Alt+M locks K01; the other browse asks to delete K01, waits, gives up;
  // Esc leaves the other browse, then the form (and its question).
  Run("{ALT+M}ut{ESC}{ESC}{ESC}");
  ASSERT_EQ(lockWait.shown.size(), 1u);
  EXPECT_EQ(lockWait.shown[0].what, "notice");
  EXPECT_EQ(MazToUtf8Text(lockWait.shown[0].text.c_str()), "Oczekiwanie na dostęp do danych.");
  for (DbTable* t : {goods.table, otherGoods.table}) {
    ASSERT_EQ(d4go(t, 1), 0);
    EXPECT_EQ(d4deleted(t), 0);
  }
  EXPECT_EQ(d4reccount(goods.table), 3);
  // Once the modify ended, the other workstation deletes it.
  env->engine.lock_tries = 1;
  ASSERT_EQ(go_and_lock(otherGoods.table, 1), 0);
  d4unlock(otherGoods.table);
  d4close(otherGoods.table);
  otherGoods = GoodsTable{};
}

TEST_F(BrowseTest, FragmentSearchShowsTheRecordFound) {
  Seed(10);
  // After a find the search waits for a key (Down or Up search on); "Nie
  // znaleziono." waits for one too.
  Run("{CTRL+W}n05{ENTER}x{F10}{DOWN}{CTRL+W}zzz{ENTER}{F10} {F10}");
  ASSERT_EQ(shots.size(), 3u);
  EXPECT_TRUE(ScreenHas(shots[1], "Nie znaleziono."));
  shots.erase(shots.begin() + 1);
  ASSERT_EQ(shots.size(), 2u);
  EXPECT_EQ(ListOf(shots[0]).codes[0], "K06");   // NAZ "N05"
  EXPECT_EQ(ListOf(shots[0]).highlighted, 0);
  // Nothing found: the list stands where it stood.
  EXPECT_EQ(ListOf(shots[1]).codes[0], "K07");
}

std::vector<std::string> printed;
int RecordPrint(TabuColumn*, DbScanCtx* scan, DbTable* table, DbTag* tag, TextRef title, TextRef, const char*, int) {
  printed.push_back(std::string(title.text ? title.text : "") + "|" + (tag ? tag->name : "") + "|" +
                    (scan->table == table ? "scan" : "other"));
  return 0;
}
int32_t Print(int32_t) { return browse_drukuj(); }

TEST_F(BrowseTest, PrintGoesThroughThePrintRoutineOnceItIsSet) {
  Seed(5);
  configure = [](BrowseContext* ctx) {
    MenuDefineItem(" Drukuj ", 7550, 'r', 0, Print, nullptr);
    ctx->print_title = "SPIS TOWARÓW";
  };
  Run("{DOWN}{DOWN}r{F10} {F10}");
  ASSERT_EQ(shots.size(), 2u);
  EXPECT_TRUE(ScreenHas(shots[0], "Drukowanie nie jest jeszcze dostępne."));
  EXPECT_EQ(ListOf(shots[1]).highlighted, 0);   // shown from the first record again

  printed.clear();
  BrowsePrintTabulogram = RecordPrint;
  ClearShots();
  Run("{TAB}{DOWN}r{F10}");
  BrowsePrintTabulogram = nullptr;
  EXPECT_EQ(printed, (std::vector<std::string>{"SPIS TOWARÓW|2|scan"}));
  ASSERT_EQ(shots.size(), 1u);
  EXPECT_EQ(ListOf(shots[0]).codes[0], "K05");
  EXPECT_EQ(ListOf(shots[0]).highlighted, 0);
}

GoodsTable related;
ScrollColumn relatedColumns[2];
TEST_F(BrowseTest, RelatedRecordsWindowFollowsTheCurrentRecord) {
  Seed(5);
  OpenGoods(related, "RELACJE");
  const std::pair<const char*, long> rows[] = {{"K71", 20}, {"K72", 20}, {"K73", 20}, {"K81", 30}, {"K91", 10}};
  for (const auto& r : rows) {
    d4append_start(related.table, 0);
    d4blank(related.table);
    f4assign(related.kod, r.first);
    f4assign_long(related.ilo, r.second);
    ASSERT_EQ(d4append(related.table), 0);
  }
  d4unlock(related.table);
  DbfTagDef tags[] = {{"ILO", "ILO", ".NOT.DELETED()", 0, 0}, {nullptr, nullptr, nullptr, 0, 0}};
  DbIndex* byIlo = i4create(related.table, "RELILO", tags);
  ASSERT_NE(byIlo, nullptr);
  static DbTag* linkTag = nullptr;
  linkTag = i4tag(byIlo, "ILO");
  ResetScrollDefinition(relatedColumns, sizeof relatedColumns);
  DefineScrollColumn(&related.kod, 0, "Kod");
  recordLines = 5;   // the window rows 21 to 27: four related rows from row 24
  configure = [](BrowseContext* ctx) {
    ctx->rel_table = related.table;
    ctx->rel_tag = linkTag;
    ctx->rel_key_field = shownGoods->ilo;
    ctx->rel_link_field = related.ilo;
    ctx->rel_columns = relatedColumns;
    ctx->rel_title = "POWIAZANE";
    ctx->key_hook = [](int key) {
      if (key == 0x3F00) browse_active_display_relate(CurrentBrowse);   // F5
      if (key == 0x4000) browse_reset_display_relate(CurrentBrowse);    // F6
      return 0;
    };
  };
  Run("{DOWN}{F5}{F10}{DOWN}{F10}{F6}{F10}");
  ASSERT_EQ(shots.size(), 3u);
  auto codesAt = [](const ScreenShot& shot) {
    std::vector<std::string> codes;
    for (int r = 24; r <= 27; r++) codes.push_back(CodeIn(shot.Row(r)));
    return codes;
  };
  EXPECT_TRUE(ScreenHas(shots[0], "POWIAZANE"));
  EXPECT_EQ(codesAt(shots[0]), (std::vector<std::string>{"K71", "K72", "K73", ""}));
  EXPECT_EQ(shots[0].Row(27).find("───"), 0u);   // the closing rule
  EXPECT_EQ(codesAt(shots[1]), (std::vector<std::string>{"K81", "", "", ""}));
  EXPECT_EQ(shots[1].Row(25).find("───"), 0u);
  EXPECT_FALSE(ScreenHas(shots[2], "POWIAZANE"));
  EXPECT_EQ(CodeIn(shots[2].Row(22)), "K03");   // the record window again
  d4close(related.table);
  related = GoodsTable{};
}

TEST_F(BrowseTest, LargerGridAppendsAndRedrawsTheLongerList) {
  Grid(40, 100);
  Seed(40);
  Run("{END}{F10}dK99{ENTER}Nowy{F10}{F2}t{F10}");
  ASSERT_EQ(shots.size(), 3u);
  // 40 rows: the record window from row 33, the list's 28 rows from row 5.
  ListView list = ListOf(shots[0], 5, 28);
  EXPECT_EQ(list.codes[0], "K40");
  EXPECT_EQ(list.codes[1], "");
  // The form in the edit window (placed by its layout on the larger grid).
  EXPECT_TRUE(ScreenHas(shots[1], "K99"));
  EXPECT_TRUE(ScreenHas(shots[1], "Nowy"));
  EXPECT_EQ(d4reccount(goods.table), 41);
  EXPECT_EQ(Field(41, goods.naz), "Nowy");
  EXPECT_EQ(ListOf(shots[2], 5, 28).codes[0], "K40");
}

}  // namespace
