// Menus on the headless screen: layouts, the menu loop and its keys, the
// rights test and the history around actions, the convenience calls.
#include <cstring>
#include <string>
#include <vector>

#include "db/db_engine.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "ui/menu.h"
#include "ui/menu_history.h"
#include "tests/ui/ui_fixture.h"

namespace {

std::vector<std::string> calls;

// Records the value and the menu level it ran at.
int32_t Record(int32_t value) {
  calls.push_back(std::to_string(value) + "@" + std::to_string(Desktop.menuLevel));
  return 0;
}
int32_t End(int32_t) { return -3; }
int32_t ReturnsValue(int32_t value) { return value; }

class MenuTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    calls.clear();
    d4init(&env->engine);
    std::strcpy(env->operatorName, "ADMIN");
  }
  void TearDown() override {
    env->engine.error_code = 0;
    d4init_undo(&env->engine);
    UiTest::TearDown();
  }
  // A plain window holding the items that follow, without a frame.
  int Plain(int row1, int col1, int row2, int col2) {
    int w = w4define(row1, col1, row2, col2);
    w4popup();
    return w;
  }
  static int Index(const std::vector<int>& items, int value) {
    for (size_t i = 0; i < items.size(); i++)
      if (items[i] == value) return static_cast<int>(i);
    return value;
  }
};

TEST_F(MenuTest, BarWithPullDownsDrivenByHotLettersAndArrows) {
  int32_t startPull = -1, katPull = -1;
  int bar = DefineMainMenuWindow();
  MenuDefineItem(" START ", 8, 's', -1, nullptr, &startPull);
  MenuDefineItem(" Katalogi ", 2, 'k', -1, nullptr, &katPull);
  const std::string endText = Sys(" Zakończ ");
  MenuDefineItem(endText.c_str(), 5, 'z', -1, End, nullptr);
  EXPECT_EQ(n4lotus(bar), 0);

  startPull = DefineMenuWindow();
  w4border(kStdFrame, 7);
  MenuDefineItem(" Firma ", 801, 'f', 1, Record, nullptr);
  n4calc(startPull, Desktop.barRow, 0);
  w4record(startPull)->returnOnOther = 1;
  katPull = DefineMenuWindow();
  w4border(kStdFrame, 7);
  MenuDefineItem(" Towary ", 201, 't', 2, Record, nullptr);
  MenuDefineItem(" Kontrahenci ", 202, 'o', 3, Record, nullptr);
  MenuDefineItem(" Historia ", 203, 'h' | 0x80, 4, Record, nullptr);
  n4calc(katPull, Desktop.barRow, 7);
  // The pull-down hangs under its bar item: frame at row 1, column 7.
  EXPECT_EQ(w4record(katPull)->row, 2);
  EXPECT_EQ(w4record(katPull)->col, 8);
  EXPECT_EQ(w4record(katPull)->width, 15);
  EXPECT_EQ(w4record(katPull)->height, 3);

  env->rights[202 / 8] &= static_cast<unsigned char>(~(0x80 >> (202 % 8)));
  RecordingScreenHook hook;
  // k opens Katalogi, t runs Towary, Down and Enter try Kontrahenci (refused), h runs
  // Historia; Esc closes the pull-down but not the bar; Left and Enter open START, whose
  // Right goes back to the bar and moves it; Down is ignored in the bar; Zakończ ends it.
  HeadlessSetScript("kt{DOWN}{ENTER}h{ESC}{LEFT}{ENTER}{RIGHT}{RIGHT}{DOWN}{ENTER}");
  EXPECT_EQ(n4activate(bar, 1, nullptr, nullptr, 1), -3);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  EXPECT_EQ(calls, (std::vector<std::string>{"2@4", "4@4"}));
  ASSERT_EQ(hook.shown.size(), 1u);
  EXPECT_EQ(MazToUtf8Text(hook.shown[0].text.c_str()), "Zabroniony dostęp !");
  EXPECT_EQ(Desktop.menuLevel, 0);

  // Only the marked item wrote its row, entry and return at the fixed clock.
  HistoryHandles h;
  ASSERT_EQ(open_hist(&h, 0), 0);
  ASSERT_EQ(d4go(h.table, 1), 0);
  EXPECT_EQ(std::string(f4ptr(h.cos), f4len(h.cos)), " Historia      ");
  EXPECT_EQ(std::string(f4ptr(h.kto), f4len(h.kto)), "ADMIN          ");
  EXPECT_EQ(std::string(f4ptr(h.dat), f4len(h.dat)), "20261210");
  EXPECT_EQ(std::string(f4ptr(h.ogo), f4len(h.ogo)), "10:00:00");
  EXPECT_EQ(std::string(f4ptr(h.dgo), f4len(h.dgo)), "10:00:00");
  EXPECT_NE(d4go(h.table, 2), 0);
  d4close(h.table);
}

TEST_F(MenuTest, BarItemsStandSideBySide) {
  const char* texts[] = {" START ", " Katalogi ", " Hasła ", " Opcje główne ", " Pomoc ", " Zakończ "};
  const int columns[] = {0, 7, 17, 24, 38, 45};
  std::vector<std::string> own;
  for (const char* t : texts) own.push_back(Sys(t));
  int bar = DefineMainMenuWindow();
  std::vector<int> items;
  for (const std::string& t : own) items.push_back(MenuDefineItem(t.c_str(), 1, t[1], -1, Record, nullptr));
  EXPECT_EQ(n4lotus(bar), 0);
  for (size_t i = 0; i < items.size(); i++) {
    EXPECT_EQ(n4record(items[i])->row, 0) << texts[i];
    EXPECT_EQ(n4record(items[i])->col, columns[i]) << texts[i];
  }
  Window4* w = w4record(bar);
  EXPECT_EQ(w->height, 1);
  EXPECT_EQ(w->width, 80);
  EXPECT_EQ(w->barMenu, 1);
  EXPECT_EQ(w->exitKey2, '/');
  EXPECT_EQ(Desktop.barRow, 1);
  EXPECT_EQ(Desktop.barCol, 0);

  // Left and Right move, Up and Down are ignored; '/' leaves like Esc.
  HeadlessSetScript("{DOWN}{RIGHT}{UP}{RIGHT}{LEFT}{ENTER}/");
  EXPECT_EQ(n4activate(bar, 0, nullptr, nullptr, 1), '/');
  EXPECT_EQ(calls, (std::vector<std::string>{std::to_string(items[1]) + "@2"}));
  EXPECT_EQ(HeadlessKeysLeft(), 0);

  int second = w4define(3, 5, 3, 5);
  n4item(-1, -1, "A");
  EXPECT_EQ(n4lotus(second), 5);
  EXPECT_EQ(w4record(second)->width, 75);
  EXPECT_EQ(Desktop.barRow, 4);
  EXPECT_EQ(Desktop.barCol, 5);
}

struct NavCase {
  int wrap;
  const char* script;
  int result;   // index of the item, or a key
};

TEST_F(MenuTest, VerticalMenuKeys) {
  int w = Plain(5, 10, 9, 30);
  std::vector<int> items;
  for (const char* t : {"Alfa", "Beta", "Gamma", "Delta"}) items.push_back(n4item(-1, -1, t));
  n4skip_over(items[1], 1);
  const NavCase cases[] = {
      {1, "{UP}{ENTER}", 3},
      {0, "{UP}{ENTER}", 0},
      {1, "{DOWN}{ENTER}", 2},   // the skipped item is passed over
      {1, "{END}{DOWN}{ENTER}", 0},
      {0, "{END}{DOWN}{ENTER}", 3},
      {1, "{LEFT}{RIGHT}{CTRL+DOWN}", 0},
      {1, "{DOWN}{HOME}{ENTER}", 0},
      {1, "{PGDN}{ENTER}", 3},
      {1, "d", 3},
      {1, "b{ENTER}", 0},         // a skipped item's letter finds nothing
      {1, "{CTRL+PGUP}", KEY_ESC},
      {1, "{CTRL+C}", KEY_CTRL_C},
  };
  for (const NavCase& c : cases) {
    HeadlessSetScript(c.script);
    EXPECT_EQ(Index(items, n4activate(w, 0, nullptr, nullptr, c.wrap)), c.result) << c.script;
    EXPECT_EQ(HeadlessKeysLeft(), 0) << c.script;
    EXPECT_EQ(w4record(w)->shown, 0) << c.script;
  }
  HeadlessSetScript("{CTRL+DOWN}");
  n4activate(w, 0, nullptr, nullptr, 1);
  EXPECT_EQ(lastMenuKey, KEY_CTRL_DOWN);
  // startItem: the menu starts there.
  n4start_item(items[2]);
  HeadlessSetScript("{ENTER}");
  EXPECT_EQ(Index(items, n4activate(w, 0, nullptr, nullptr, 1)), 2);
}

TEST_F(MenuTest, HotLettersExitRangeAndOtherOrientation) {
  int w = Plain(5, 10, 9, 30);
  std::vector<int> items;
  items.push_back(n4item(-1, -1, "Faktura"));
  n4key('F', 0, 0);
  items.push_back(n4item(-1, -1, "Firma"));
  n4key('F', 0, 0);
  items.push_back(n4item(-1, -1, "rachunek"));
  Window4* win = w4record(w);
  win->exitLow = '0';
  win->exitHigh = '9';
  win->returnOnOther = 1;
  const NavCase cases[] = {
      {1, "ff{ENTER}", 0},   // a shared letter cycles without running
      {1, "f{ENTER}", 1},
      {1, "R", 2},           // either case; runs at once
      {1, "5", '5'},
      {1, "x{RIGHT}", KEY_RIGHT},
  };
  for (const NavCase& c : cases) {
    HeadlessSetScript(c.script);
    EXPECT_EQ(Index(items, n4activate(w, 0, nullptr, nullptr, 1)), c.result) << c.script;
    EXPECT_EQ(HeadlessKeysLeft(), 0) << c.script;
  }
  win->ignoreCase = 0;
  HeadlessSetScript("R{ENTER}");
  EXPECT_EQ(Index(items, n4activate(w, 0, nullptr, nullptr, 1)), 0);
}

TEST_F(MenuTest, SearchModeFollowsTheTypedPrefix) {
  int w = Plain(5, 10, 9, 30);
  std::vector<int> items;
  for (const char* t : {"Anna", "Andrzej", "Bogdan"}) items.push_back(n4item(-1, -1, t));
  w4record(w)->hotKeyMode = MENU_HOT_SEARCH;
  HeadlessSetScript("andx{ENTER}");
  EXPECT_EQ(Index(items, n4activate(w, 0, nullptr, nullptr, 1)), 1);
  HeadlessSetScript("an{BS}{BS}b{ENTER}");
  EXPECT_EQ(Index(items, n4activate(w, 0, nullptr, nullptr, 1)), 2);
}

int32_t results[3];
int32_t Scripted(int32_t value) {
  calls.push_back(std::to_string(value));
  return results[value];
}

TEST_F(MenuTest, ActionResultsDecideWhetherTheMenuGoesOn) {
  int w = Plain(5, 10, 9, 30);
  for (int i = 0; i < 3; i++) {
    n4item(-1, -1, "Pozycja");
    n4action(Scripted);
    n4parm(i);
  }
  results[0] = KEY_DOWN;   // becomes the next key: moves on
  results[1] = KEY_ESC;    // an Esc from an action does not end the menu
  results[2] = -3;
  HeadlessSetScript("{ENTER}{ENTER}{DOWN}{ENTER}");
  EXPECT_EQ(n4activate(w, 0, nullptr, nullptr, 1), -3);
  EXPECT_EQ(calls, (std::vector<std::string>{"0", "1", "2"}));
  EXPECT_EQ(HeadlessKeysLeft(), 0);
}

std::vector<int> shadeSeen;
int32_t SeeShade(int32_t) {
  Window4* w = Desktop.curWindow;
  for (int h = w->firstItem; h >= 0; h = n4record(h)->next) shadeSeen.push_back(n4record(h)->skip);
  return 0;
}

TEST_F(MenuTest, ShadeMarksTheOtherItemsWhileTheActionRuns) {
  int w = Plain(5, 10, 9, 30);
  int a = n4item(-1, -1, "A");
  n4action(SeeShade);
  int b = n4item(-1, -1, "B");
  int c = n4item(-1, -1, "C");
  n4skip_over(c, 1);
  shadeSeen.clear();
  HeadlessSetScript("{ENTER}{ESC}");
  EXPECT_EQ(n4activate(w, 1, nullptr, nullptr, 1), KEY_ESC);
  EXPECT_EQ(shadeSeen, (std::vector<int>{0, 1, 1}));
  // Afterwards every item has its own flag again: the skipped one stays skipped.
  EXPECT_EQ(n4record(a)->skip, 0);
  EXPECT_EQ(n4record(b)->skip, 0);
  EXPECT_EQ(n4record(c)->skip, 1);
}

struct Drawn {
  int value, row, col, hotAttr, nextAttr;
};
std::vector<Drawn> drawn;
void NoteDrawn(void*, int32_t value, int32_t screenRow) {
  int cell = screenRow * Desktop.cols + Desktop.curWindow->col + Desktop.itemCol;
  bool page = value == MENU_PAGE_REDRAW;
  drawn.push_back({value, screenRow, Desktop.itemCol, page ? 0 : Desktop.cells[cell + 1] >> 8,
                   page ? 0 : Desktop.cells[cell + 2] >> 8});
}

TEST_F(MenuTest, MenuDefineItemKeysValuesAndHotLetter) {
  int bar = DefineMainMenuWindow();
  int kat = MenuDefineItem(" Katalogi ", 2, -21, -1, ReturnsValue, nullptr);
  int pomoc = MenuDefineItem(" Pomoc ", 7, 'p', -1, ReturnsValue, nullptr);
  int third = MenuDefineItem(" Trzy ", 9, 't', 3, ReturnsValue, nullptr);
  int fourth = MenuDefineItem(" Cztery ", 9, 'c', 200, ReturnsValue, nullptr);   // 200 is -56 as a byte
  EXPECT_EQ(n4record(kat)->hotKey, 'k');
  EXPECT_EQ(n4record(kat)->history, 1);
  EXPECT_EQ(n4record(kat)->hotPos, 1);
  EXPECT_EQ(n4record(pomoc)->hotPos, 1);
  EXPECT_EQ(n4record(pomoc)->history, 0);
  EXPECT_EQ(n4record(pomoc)->value, pomoc);
  EXPECT_EQ(n4record(pomoc)->rightsNumber, 7);
  EXPECT_EQ(n4record(third)->value, 3);
  EXPECT_EQ(n4record(fourth)->value, fourth);
  n4lotus(bar);
  drawn.clear();
  HeadlessSetScript("{ESC}");
  EXPECT_EQ(n4activate(bar, 0, NoteDrawn, nullptr, 1), KEY_ESC);
  ASSERT_GE(drawn.size(), 5u);
  EXPECT_EQ(drawn[0].value, MENU_PAGE_REDRAW);
  // The selected item is wholly in 240; the others show their hot letter bright.
  EXPECT_EQ(drawn[1].value, kat);
  EXPECT_EQ(drawn[1].hotAttr, 240);
  EXPECT_EQ(drawn[1].nextAttr, 240);
  EXPECT_EQ(drawn[2].value, pomoc);
  EXPECT_EQ(drawn[2].row, 0);
  EXPECT_EQ(drawn[2].col, 10);
  EXPECT_EQ(drawn[2].hotAttr, 15);
  EXPECT_EQ(drawn[2].nextAttr, 7);
}

TEST_F(MenuTest, PullDownLayoutStaysOnTheScreen) {
  struct Case {
    int row, col;
    int wantRow, wantCol;
  } cases[] = {
      {1, 7, 2, 8},
      {-4, -2, 1, 1},
      {28, 75, 26, 64},   // the frame ends on row 28 and column 79
  };
  for (const Case& c : cases) {
    int w = DefineMenuWindow();
    w4border(kStdFrame, 7);
    n4item(-1, -1, " Towary ");
    n4item(-1, -1, " Kontrahenci ");
    EXPECT_EQ(n4calc(w, c.row, c.col), w);
    EXPECT_EQ(w4record(w)->row, c.wantRow) << c.row;
    EXPECT_EQ(w4record(w)->col, c.wantCol) << c.col;
    EXPECT_EQ(w4record(w)->height, 2);
    EXPECT_EQ(w4record(w)->width, 15);
    w4close(w);
  }
  // A long title widens the window; a submenu is laid out beside its item.
  int32_t sub = DefineMenuWindow();
  w4border(kStdFrame, 7);
  n4item(-1, -1, "x");
  int w = DefineMenuWindow();
  w4border(kStdFrame, 7);
  w4title(0, -1, "TYTUL DLUGI", 7);
  MenuDefineItem("Jeden", 1, 'j', -1, Record, nullptr);
  MenuDefineItem("Dwa", 1, 'd', -1, nullptr, &sub);
  n4calc(w, 3, 10);
  EXPECT_EQ(w4record(w)->width, 11);
  EXPECT_EQ(w4record(sub)->row, w4record(w)->row + 2 + 1);
  EXPECT_EQ(w4record(sub)->col, w4record(w)->col + 1 + 1);
}

TEST_F(MenuTest, LongPullDownPages) {
  int w = DefineMenuWindow();
  w4border(kStdFrame, 7);
  std::vector<std::string> texts;
  for (int i = 0; i < 30; i++) texts.push_back("Pozycja " + std::to_string(i));
  std::vector<int> items;
  for (const std::string& t : texts) items.push_back(n4item(-1, -1, t.c_str()));   // the pool grows past 20
  n4calc(w, 0, 0);
  EXPECT_EQ(w4record(w)->height, 27);
  const NavCase cases[] = {
      {1, "{PGDN}{ENTER}", 26},
      {1, "{PGDN}{PGDN}{ENTER}", 29},
      {1, "{END}{PGUP}{ENTER}", 27},
      {1, "{END}{PGUP}{PGUP}{ENTER}", 0},
      {1, "{UP}{ENTER}", 29},
  };
  for (const NavCase& c : cases) {
    HeadlessSetScript(c.script);
    EXPECT_EQ(Index(items, n4activate(w, 0, nullptr, nullptr, c.wrap)), c.result) << c.script;
  }
  // The second page is drawn from the window's top row.
  HeadlessSetScript("{END}{ESC}");
  n4activate(w, 0, nullptr, nullptr, 1);
  EXPECT_EQ(Desktop.itemRow, 2);
}

TEST_F(MenuTest, MenuWithoutItemsReturnsAtOnce) {
  int w = DefineMenuWindow();
  HeadlessSetScript("");
  EXPECT_EQ(n4activate(w, 1, nullptr, nullptr, 1), 0);
  EXPECT_EQ(w4record(w)->shown, 0);
  EXPECT_EQ(Desktop.menuLevel, 0);
}

TEST_F(MenuTest, ItemMenuWithSeparatorAndF2) {
  int w = Plain(5, 10, 12, 40);
  int print = n4item_menu("[F2]-Drukuj", 0, 0, -4, ReturnsValue, 0x80);
  int save = n4item_menu("Zapisz", 1, 0, -3, ReturnsValue, 1);
  int end = n4item_menu("Koniec", 3, 0, -5, ReturnsValue, 'k');
  EXPECT_EQ(n4record(print)->hotKey, KEY_F2);
  EXPECT_EQ(n4record(save)->hotKey, 'Z');
  EXPECT_EQ(n4record(end)->hotKey, 'k');
  EXPECT_EQ(n4record(end)->hotPos, 0);
  EXPECT_EQ(n4record(save)->itemAttr, 142);
  EXPECT_EQ(w4record(w)->selAttr, 126);
  MenuItem4* separator = n4record(n4record(save)->next);
  ASSERT_NE(separator, nullptr);
  EXPECT_STREQ(separator->text, " ");
  EXPECT_EQ(separator->row, 2);
  EXPECT_EQ(separator->skip, 1);
  const NavCase cases[] = {
      {1, "{F2}", -4},
      {1, "{DOWN}{DOWN}{ENTER}", -5},   // the separator is passed over
      {1, "z", -3},
  };
  for (const NavCase& c : cases) {
    HeadlessSetScript(c.script);
    EXPECT_EQ(n4activate(w, 0, nullptr, nullptr, 1), c.result) << c.script;
  }
}

int OwnKeys() { return g4char(); }

TEST_F(MenuTest, ChoiceListWithTwelveItems) {
  std::vector<std::string> texts = {"            "};
  for (int i = 1; i <= 12; i++) texts.push_back("Wybor " + std::to_string(i));
  std::vector<const char*> items;
  for (const std::string& t : texts) items.push_back(t.c_str());
  items.push_back(nullptr);
  int background = Plain(0, 0, -1, -1);
  w4attribute(0x17);
  w4activate(background);
  std::vector<uint16_t> before(Desktop.cells, Desktop.cells + Desktop.rows * Desktop.cols);
  env->menuKeyRoutine = OwnKeys;
  struct Case {
    const char* script;
    int start, result;
  } cases[] = {
      {"c", 0, 12}, {"9", 1, 9}, {"a", 0, 10}, {"{ESC}", 0, -1}, {"{DOWN}{F2}", 0, 2}, {"{ENTER}", 3, 3},
  };
  for (const Case& c : cases) {
    HeadlessSetScript(c.script);
    EXPECT_EQ(get_menu_function(nullptr, items.data(), c.start, -1, 0), c.result) << c.script;
    EXPECT_EQ(HeadlessKeysLeft(), 0) << c.script;
    EXPECT_EQ(env->menuKeyRoutine, OwnKeys);
    EXPECT_EQ(w4select(-1), background);
    EXPECT_TRUE(std::equal(before.begin(), before.end(), Desktop.cells)) << c.script;
  }
}

}  // namespace
