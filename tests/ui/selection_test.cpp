// Selection lists, the pick window and the directory list, on the headless screen.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include "env/paths.h"
#include "tests/ui/ui_fixture.h"
#include "ui/dir_window.h"
#include "ui/menu.h"
#include "ui/selection.h"

namespace fs = std::filesystem;

namespace {

class SelectionTest : public UiTest {
 protected:
  Selection list[7];

  void TearDown() override {
    FreeSelections(list);
    UiTest::TearDown();
  }

  // Three entries, codes 10, 20, 30.
  void Fruits() {
    ResetSelectionDefinition(list, sizeof list, 12, 3);
    DefineSelection(10, Sys("Jabłko").c_str(), nullptr, 0);
    DefineSelection(20, "Gruszka", nullptr, 0);
    DefineSelection(30, Sys("Śliwka").c_str(), nullptr, 0);
  }

  // Runs the pick list with the keys; the screen stays as it was when the keys ran out.
  int Pick(int code, int row, int col, const char* keys, bool* ranOut = nullptr) {
    HeadlessSetScript(keys);
    try {
      return OpenSelectionList(list, code, row, col);
    } catch (const ScriptEnded&) {
      if (ranOut) *ranOut = true;
      return -100;
    }
  }
};

TEST_F(SelectionTest, EntryLinesCarryNumberTextAndRightText) {
  struct Case {
    int32_t code;
    const char* text;
    const char* right;
    int flags;
    const char* line;
  } cases[] = {
      {5, "Gotówka", nullptr, 0, "1. Gotówka     "},
      {5, "Przelew", "P", 0, "2. Przelew    P"},
      {7, "Karta", nullptr, SEL_SHOW_CODE, "7. Karta       "},
      {SEL_BLANK_CODE, "Brak", nullptr, SEL_SHOW_CODE, "0. Brak        "},
      {9, "Czek", nullptr, SEL_TWO_DIGITS, " 5.Czek        "},
      {9, "Kompensata z kontrahentem", "!", 0, "6. Kompensata !"},
  };
  ResetSelectionDefinition(list, sizeof list, 15, 3);
  int n = 0;
  for (const Case& c : cases) DefineSelection(c.code, c.text ? Sys(c.text).c_str() : nullptr, c.right, c.flags);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    ASSERT_NE(list[n].text, nullptr);
    EXPECT_EQ(list[n].text, Sys(c.line));
    EXPECT_EQ(list[n].code, c.code);
    n++;
  }
  EXPECT_EQ(SelectionCount(list), 6);   // seven slots: one stays the end mark
}

TEST_F(SelectionTest, FullListLogsAndKeepsItsEntries) {
  RecordingScreenHook hook;
  ResetSelectionDefinition(list, 3 * sizeof(Selection), 10, 3);
  DefineSelection(1, "A", nullptr, 0);
  DefineSelection(2, "B", nullptr, 0);
  EXPECT_TRUE(hook.shown.empty());
  DefineSelection(3, "C", nullptr, 0);
  ASSERT_EQ(hook.shown.size(), 1u);
  EXPECT_EQ(hook.shown[0].what, "critical");
  EXPECT_EQ(SelectionCount(list), 2);
  EXPECT_EQ(ListCodeIndex(list, 3), -1);
  EXPECT_EQ(list[2].text, nullptr);
}

TEST_F(SelectionTest, EmptyListHasNoEntriesAndPicksNothing) {
  ResetSelectionDefinition(list, sizeof list, 10, 3);
  EXPECT_EQ(SelectionCount(list), 0);
  EXPECT_EQ(ListCodeIndex(list, 0), -1);
  int before = Desktop.curHandle;
  EXPECT_EQ(Pick(0, 1, 1, ""), -1);
  EXPECT_EQ(Desktop.curHandle, before);
}

TEST_F(SelectionTest, PickWindowReturnsTheChosenCode) {
  struct Case {
    int32_t start;
    const char* keys;
    int expected;
  } cases[] = {
      {20, "{ENTER}", 20},      {99, "{ENTER}", 10},   // a code not in the list starts on the first entry
      {10, "{DOWN}{F2}", 20},   {30, "{ESC}", -1},     {10, "3", 30},   // the number is the hot key
      {30, "{UP}{UP}{ENTER}", 10},
  };
  Fruits();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    int window = w4define(2, 2, 10, 40);
    w4activate(window);
    EXPECT_EQ(Pick(c.start, 3, 5, c.keys), c.expected);
    EXPECT_EQ(Desktop.curHandle, window);
    EXPECT_EQ(HeadlessKeysLeft(), 0);
    w4close(window);
  }
}

TEST_F(SelectionTest, EntryOfTheCodeLiesOnTheGivenRow) {
  Fruits();
  int window = w4define(4, 6, 20, 60);
  w4activate(window);
  bool ranOut = false;
  Pick(30, 8, 10, "", &ranOut);
  ASSERT_TRUE(ranOut);
  // The window's row 8 is screen row 12; the menu window starts two columns
  // right of the window's column 10, its items one further in.
  EXPECT_EQ(Cells(12, 20, 12), "3. Śliwka   ");
  EXPECT_EQ(Attr(12, 20), 0x70);
  EXPECT_EQ(Cells(11, 20, 12), "2. Gruszka  ");
  EXPECT_EQ(Attr(11, 20), 0xF9);
  EXPECT_NE(Row(9).find("WYBIERZ"), std::string::npos);
}

TEST_F(SelectionTest, CentredPickWindow) {
  Fruits();
  bool ranOut = false;
  Pick(99, -2, -2, "", &ranOut);
  ASSERT_TRUE(ranOut);
  // (30 - 3 - 2) / 2 = 12 and (80 - 12 - 2) / 2 = 33; the window lies one
  // further in and its items one more.
  EXPECT_EQ(Cells(13, 35, 12), "1. Jabłko   ");
  EXPECT_EQ(Cells(15, 35, 12), "3. Śliwka   ");
}

class DirWindowTest : public UiTest {
 protected:
  DirList rec{};
  int window = -1;

  void SetUp() override {
    UiTest::SetUp();
    fs::create_directories(Path("tree/beta"));
    fs::create_directories(Path("tree/Alfa"));
    fs::create_directories(Path("tree/żółw"));
    fs::create_directories(Path("tree/.ukryty"));
    for (const char* f : {"b.txt", "A.TXT", "ćma.txt", ".profile"}) WriteFile(Path("tree/") + f, "x");
    ASSERT_EQ(DirListInit(&rec), 0);
    rec.width = 20;
    rec.lines = 4;
    Use(Path("tree"));
    window = DefineDiskWindow(-1, -1, -1, -1, "KATALOG", nullptr, &rec);
    ASSERT_GE(window, 0);
    w4activate(window);
  }

  void TearDown() override {
    DirListFree(&rec);
    UiTest::TearDown();
  }

  void Use(const std::string& diskPath) {
    std::string path = EnvFromDiskPath(diskPath);
    ASSERT_LT(path.size(), sizeof rec.path);
    std::snprintf(rec.path, sizeof rec.path, "%s", path.c_str());
  }

  // What the form does with a directory list: keys it does not take end the run.
  int Run(const char* keys) {
    HeadlessSetScript(keys);
    DirListDraw(&rec, 0, 1, 1);
    for (;;) {
      int key = g4char();
      if (!DirListKey(&rec, 0, 1, key)) return key;
    }
  }

  std::string Line(int line) {
    Window4* w = w4record(window);
    return Cells(w->row + line, w->col + 1, 20);
  }
  int LineAttr(int line, int offset) {
    Window4* w = w4record(window);
    return Attr(w->row + line, w->col + 1 + offset);
  }
};

TEST_F(DirWindowTest, DirectoriesFirstThenSortedFilesWithoutHiddenOnes) {
  DirListRead(&rec);
  std::vector<std::string> names;
  for (int i = 0; i < rec.count; i++)
    names.push_back(MazToUtf8Text(rec.entries[i].name) + ((rec.entries[i].attributes & DIR_ATTR_DIRECTORY) ? "/" : ""));
  EXPECT_EQ(names, (std::vector<std::string>{"Alfa/", "beta/", "żółw/", "A.TXT", "b.txt", "ćma.txt"}));
}

TEST_F(DirWindowTest, WindowShowsBracketedDirectoriesAndTheHighlight) {
  Window4* w = w4record(window);
  EXPECT_EQ(w->row, 11);   // the default place: row 10, column 14, inside the frame
  EXPECT_EQ(w->col, 15);
  EXPECT_EQ(w->attr, 0x1F);
  ASSERT_NE(w->colourSet, nullptr);
  EXPECT_EQ(w->colourSet[3], 0x70);
  EXPECT_EQ(w->formData, &rec);
  EXPECT_NE(Row(10).find("KATALOG"), std::string::npos);

  DirListDraw(&rec, 0, 1, 1);
  EXPECT_EQ(Line(0), "[Alfa]              ");
  EXPECT_EQ(LineAttr(0, 0), 0x17);
  EXPECT_EQ(LineAttr(0, 1), 0x70);
  EXPECT_EQ(LineAttr(0, 5), 0x17);
  EXPECT_EQ(Line(2), "[żółw]              ");
  EXPECT_EQ(LineAttr(2, 1), 0x1E);
  EXPECT_EQ(Line(3), "A.TXT               ");
  EXPECT_EQ(LineAttr(3, 0), 0x1F);
  DirListDraw(&rec, 0, 1, 0);   // without the cursor no highlight
  EXPECT_EQ(LineAttr(0, 1), 0x1E);
}

TEST_F(DirWindowTest, KeysMoveScrollAndPickADirectory) {
  EXPECT_EQ(Run("{DOWN}{DOWN}{ENTER}"), KEY_ENTER);
  ASSERT_EQ(rec.current, 2);
  EXPECT_EQ(MazToUtf8Text(rec.entries[rec.current].name), "żółw");
  EXPECT_TRUE(rec.entries[rec.current].attributes & DIR_ATTR_DIRECTORY);
  EXPECT_EQ(LineAttr(2, 1), 0x70);

  // Down past the last line scrolls; the highlight stays on the last line.
  Run("{DOWN}{DOWN}{DOWN}{DOWN}{ESC}");
  EXPECT_EQ(rec.current, 5);
  EXPECT_EQ(rec.highlight, 3);
  EXPECT_EQ(Line(0), "[żółw]              ");
  EXPECT_EQ(Line(3), "ćma.txt             ");
  EXPECT_EQ(LineAttr(3, 0), 0x70);

  // PgUp moves by lines - 1 entries; the highlight shrinks where the list starts.
  Run("{PGUP}{ESC}");
  EXPECT_EQ(rec.current, 2);
  EXPECT_EQ(rec.highlight, 2);
  EXPECT_EQ(Line(0), "[Alfa]              ");
  Run("{PGDN}{PGDN}{ESC}");
  EXPECT_EQ(rec.current, 5);
  Run("{UP}{UP}{UP}{UP}{UP}{UP}{ESC}");
  EXPECT_EQ(rec.current, 0);
  EXPECT_EQ(rec.highlight, 0);
}

TEST_F(DirWindowTest, MissingDirectoryGivesAnEmptyListAndIsNotCreated) {
  Use(Path("nie_ma"));
  EXPECT_EQ(Run("{DOWN}{PGDN}{ENTER}"), KEY_ENTER);
  EXPECT_EQ(rec.count, 0);
  EXPECT_EQ(rec.current, 0);
  EXPECT_EQ(Line(0), std::string(20, ' '));
  EXPECT_FALSE(fs::exists(Path("nie_ma")));
}

}  // namespace
