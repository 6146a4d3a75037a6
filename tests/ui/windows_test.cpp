#include <cstring>
#include <fstream>
#include <vector>
#include "env/error_log.h"
#include "tests/ui/ui_fixture.h"

namespace {

using Windows = UiTest;

struct Placement {
  int rows, cols;
  int row, col, height, width, flags, placement;
  int wantRow, wantCol, wantHeight, wantWidth, wantFits;
};

TEST_F(Windows, DefineWindowAdaptsTheReferenceLayoutToTheGrid) {
  const Placement cases[] = {
      // 80 x 30: every placement keeps the numbers
      {30, 80, 5, 10, 4, 20, 0, 0x00, 5, 10, 4, 20, 1},
      {30, 80, 5, 10, 4, 20, 0, 0xF0, 5, 10, 4, 20, 1},
      {30, 80, 29, 0, 1, 80, 0, 0xB0, 29, 0, 1, 80, 1},
      // a frame is added around the asked-for size when it fits
      {30, 80, 5, 10, 4, 20, DW_FRAME, 0, 5, 10, 6, 22, 1},
      {30, 80, 20, 10, 8, 20, DW_FRAME, 0, 20, 10, 8, 20, 0},
      {30, 80, 5, 10, 4, 20, DW_FRAME | DW_NO_FRAME_GROWTH, 0, 5, 10, 4, 20, 1},
      // 100 x 40: centre, keep, push, stretch
      {40, 100, 2, 0, 26, 80, 0, 0x00, 7, 10, 26, 80, 1},
      {40, 100, 2, 0, 26, 80, 0, 0x50, 2, 0, 26, 80, 1},
      {40, 100, 2, 0, 26, 80, 0, 0xA0, 12, 20, 26, 80, 1},
      {40, 100, 2, 0, 26, 80, 0, 0xF0, 2, 0, 36, 100, 1},
      {40, 100, 29, 0, 1, 80, 0, 0xB0, 39, 0, 1, 100, 1},
      // flags bits 4-7 replace the placement's
      {40, 100, 2, 0, 26, 80, 0x50, 0xF0, 2, 0, 26, 80, 1},
  };
  for (const Placement& c : cases) {
    if (Desktop.rows != c.rows) Grid(c.rows, c.cols);
    int fits = -1;
    int h = DefineWindow(c.row, c.col, c.height, c.width, c.flags, 0, 0, 1, 1, c.placement, &fits);
    ASSERT_GE(h, 0);
    EXPECT_EQ(w4start_row(), c.wantRow) << c.rows << " placement " << c.placement;
    EXPECT_EQ(w4start_col(), c.wantCol) << c.rows << " placement " << c.placement;
    EXPECT_EQ(w4height(), c.wantHeight) << c.rows << " placement " << c.placement;
    EXPECT_EQ(w4width(), c.wantWidth) << c.rows << " placement " << c.placement;
    EXPECT_EQ(fits, c.wantFits);
    w4close(h);
  }
}

TEST_F(Windows, DefaultsFillNegativeArguments) {
  DefineWindow(-1, 3, -1, -1, 0, 7, 0, 2, 9, 0x50, nullptr);
  EXPECT_EQ(w4start_row(), 7);
  EXPECT_EQ(w4start_col(), 3);
  EXPECT_EQ(w4height(), 2);
  EXPECT_EQ(w4width(), 9);
}

TEST_F(Windows, StandardLayoutsOnALargerGrid) {
  Grid(40, 100);
  open_envr_win();
  w4select(StdHelpWindow());
  EXPECT_EQ(w4start_row(), 39);
  EXPECT_EQ(w4width(), 100);
  w4select(env->statusWindow);
  EXPECT_EQ(w4start_row(), 38);
  DefineFrontoweWindow("F");   // rows 2..37 with its frame
  EXPECT_EQ(w4start_row() - 1, 2);
  EXPECT_EQ(w4start_row() + w4height(), 37);
  DefineZazuveWindow(-1, -1, -1, -1, nullptr);   // centred: outer corner at (16, 31)
  EXPECT_EQ(w4start_row() - 1, 16);
  EXPECT_EQ(w4start_col() - 1, 31);
  close_envr_win();
  EXPECT_EQ(env->statusWindow, -1);
  EXPECT_EQ(env->messageWindow, -1);
  EXPECT_EQ(StdHelpWindow(), -1);
}

TEST_F(Windows, FrameTakesTheOuterCells) {
  int h = w4define(10, 5, 18, 40);
  w4border(kStdFrame, 0x1E);
  EXPECT_EQ(w4start_row(), 11);
  EXPECT_EQ(w4height(), 7);
  EXPECT_EQ(w4start_col(), 6);
  EXPECT_EQ(w4width(), 34);
  w4activate(h);
  EXPECT_EQ(Char(10, 5), 0xC9);
  EXPECT_EQ(Char(10, 6), 0xCB);
  EXPECT_EQ(Char(14, 5), 0xCC);
  EXPECT_EQ(Char(14, 40), 0xB9);
  EXPECT_EQ(Char(18, 40), 0xBC);
  EXPECT_EQ(Char(18, 20), 0xCA);
  EXPECT_EQ(Attr(18, 20), 0x1E);
  EXPECT_EQ(Attr(11, 6), 7);
  w4border(nullptr, 0);   // removing it gives the outer area back
  EXPECT_EQ(w4start_row(), 10);
  EXPECT_EQ(w4height(), 9);
}

TEST_F(Windows, TextWrapsAtTheWindowEdgeAndAfterItsLastRow) {
  w4define(0, 0, -1, -1);
  EXPECT_EQ(w4width(), 80);
  w4num(0, 78, "ABCD", 4);
  EXPECT_EQ(Char(0, 78), 'A');
  EXPECT_EQ(Char(0, 79), 'B');
  EXPECT_EQ(Char(1, 0), 'C');
  EXPECT_EQ(Char(1, 1), 'D');
  EXPECT_EQ(w4row(), 1);
  EXPECT_EQ(w4col(), 2);
  w4define(5, 5, 7, 14);   // 3 rows of 10
  w4num(2, 8, "XYZW", 4);
  EXPECT_EQ(Char(7, 13), 'X');
  EXPECT_EQ(Char(7, 14), 'Y');
  EXPECT_EQ(Char(5, 5), 'Z');
  EXPECT_EQ(Char(5, 6), 'W');
  w4num(0, 25, "Q", 1);   // column 25 is row 2, column 5
  EXPECT_EQ(Char(7, 10), 'Q');
  w4centre(1, "a text wider than ten");
  EXPECT_EQ(Char(6, 5), 'a');
}

TEST_F(Windows, RepeatWritesInPieces) {
  w4define(0, 0, 29, 79);
  w4repeat(2, 5, '-', 300);
  int count = 0;
  for (int i = 0; i < 80 * 30; i++) count += (Desktop.cells[i] & 0xFF) == '-';
  EXPECT_EQ(count, 300);
  EXPECT_EQ(Char(2, 5), '-');
  EXPECT_EQ(Char(5, 64), '-');
  EXPECT_NE(Char(5, 65), '-');
  w4repeat(0, 0, '*', -1);
  EXPECT_NE(Char(0, 0), '*');
}

TEST_F(Windows, SaveUnderRestoresTheScreen) {
  w4define(0, 0, -1, -1);
  w4attribute(0x17);
  w4activate(-1);
  w4(12, 30, "under");
  int h = DefineZazuveWindow(-1, -1, -1, -1, "Okno");
  w4activate(h);
  EXPECT_NE(Char(12, 30), 'u');
  int shown = w4deactivate(h);
  EXPECT_EQ(shown, h);
  EXPECT_EQ(Char(12, 30), 'u');
  EXPECT_EQ(Attr(12, 30), 0x17);
  // a hidden window stays as it is
  uint16_t before = Desktop.cells[12 * 80 + 30];
  w4deactivate(h);
  EXPECT_EQ(Desktop.cells[12 * 80 + 30], before);
}

TEST_F(Windows, EleventhWindowGrowsThePool) {
  int handles[11];
  for (int i = 0; i < 11; i++) {
    handles[i] = w4define(i, i, i, i + 5);
    ASSERT_EQ(handles[i], i);
    w4attribute(0x10 + i);
  }
  EXPECT_EQ(SlotPoolCapacity(Desktop.windowPool), 15);
  for (int i = 0; i < 11; i++) {
    w4select(handles[i]);
    EXPECT_EQ(w4start_row(), i);
    EXPECT_EQ(w4attribute(-1), 0x10 + i);
  }
}

TEST_F(Windows, PoolLinksAndFreeList) {
  struct Rec {
    int32_t next, prev, value;
  };
  Rec* pool = nullptr;
  ASSERT_EQ(SlotPoolCreate(&pool, 2, 1), 0);
  int a = SlotPoolAlloc(&pool, -1);
  int b = SlotPoolAlloc(&pool, a);
  int c = SlotPoolAlloc(&pool, a);   // grows the block; a -> c -> b
  EXPECT_EQ(SlotPoolCapacity(pool), 3);
  EXPECT_EQ(pool[a].next, c);
  EXPECT_EQ(pool[c].next, b);
  EXPECT_EQ(pool[b].prev, c);
  EXPECT_EQ(SlotPoolFree(pool, c), a);
  EXPECT_EQ(pool[a].next, b);
  EXPECT_EQ(SlotPoolFree(pool, 7), -2);
  EXPECT_EQ(SlotPoolAlloc(&pool, -1), c);   // the freed record comes back first
  SlotPoolFreeChain(pool, b);
  EXPECT_EQ(SlotPoolAlloc(&pool, -1), a);
  SlotPoolDestroy(&pool);
  EXPECT_EQ(pool, nullptr);
}

// ---- golden screens through the headless dump

TEST_F(Windows, GoldenFramedWindowWithTitle) {
  int h = DefineZazuveWindow(-1, -1, -1, -1, Sys("Żółw").c_str());
  w4activate(h);
  w4centre(1, Sys("Zażółć gęślą jaźń").c_str());
  std::string dump = Path("screen.txt");
  HeadlessDumpTo(dump.c_str());
  std::string text = ReadFile(dump);
  std::vector<std::string> lines;
  for (size_t at = 0, nl; (nl = text.find('\n', at)) != std::string::npos; at = nl + 1)
    lines.push_back(text.substr(at, nl - at));
  ASSERT_EQ(lines.size(), 61u);
  const std::string pad(21, ' '), tail(22, ' ');
  EXPECT_EQ(lines[11], pad + "                Żółw                 " + tail);
  EXPECT_EQ(lines[12], pad + "╠                                   ╣" + tail);
  EXPECT_EQ(lines[13], pad + "╠         Zażółć gęślą jaźń         ╣" + tail);
  EXPECT_EQ(lines[18], pad + "╚╩╩╩╩╩╩╩╩╩╩╩╩╩╩╩╩╩╩╩╩╩╩╩╩╩╩╩╩╩╩╩╩╩╩╩╝" + tail);
  EXPECT_EQ(lines[30], "");
  // attributes: the title bar in 248, the frame and the text in 143, the desktop in 0
  EXPECT_EQ(lines[31 + 11].substr(42, 4), "F8F8");
  EXPECT_EQ(lines[31 + 12].substr(40, 6), "008F8F");
  EXPECT_EQ(lines[31 + 18].substr(40, 4), "008F");
}

TEST_F(Windows, CriticalErrorWindowShowsItsLinesWhileWaiting) {
  open_envr_win();
  w4define(0, 0, -1, -1);
  w4activate(-1);
  HeadlessSetScript("x");
  std::string dumpPath = Path("crit.txt");
  setenv("ZELKIT_DUMP", dumpPath.c_str(), 1);
  int key = ShowCriticalErrorWindow("ERRCODE(41):\n\n(zapisano w pliku ER.Log)");
  unsetenv("ZELKIT_DUMP");
  EXPECT_EQ(key, 'x');
  std::string text = ReadFile(dumpPath);
  EXPECT_NE(text.find("BŁĄD"), std::string::npos);
  EXPECT_EQ(text.find("BŁĄD KRYTYCZNY"), std::string::npos);
  EXPECT_NE(text.find("ERRCODE(41):"), std::string::npos);
  EXPECT_NE(text.find("(zapisano w pliku ER.Log)"), std::string::npos);
  // hidden again afterwards, the screen under it restored
  EXPECT_EQ(Row(12), std::string(80, ' '));
  EXPECT_EQ(Attr(12, 10), 7);
}

// ---- the key-hint line

TEST_F(Windows, HintLineKeepsOrderAndRefusesDuplicates) {
  open_envr_win();
  w4activate(StdHelpWindow());
  EXPECT_EQ(set_fun_help("F1", "Pomoc", 1), 0);   // no set yet
  add_help_line();
  EXPECT_EQ(set_fun_help("F5", "Piec", 5), 1);
  EXPECT_EQ(set_fun_help("F2", "Dwa", 2), 1);
  EXPECT_EQ(set_fun_help("F8", "Osiem", 8), 1);
  EXPECT_EQ(set_fun_help("F2", "Dwa", 2), 0);
  EXPECT_EQ(Row(29).substr(0, 30), "[F2]-Dwa [F5]-Piec [F8]-Osiem ");
  add_help_line();
  EXPECT_EQ(Row(29), std::string(80, ' '));
  remove_help_line();
  EXPECT_EQ(Row(29).substr(0, 9), "[F2]-Dwa ");
  remove_fun_help("F2");
  EXPECT_EQ(Row(29).substr(0, 10), "[F5]-Piec ");
  remove_help_line();
  EXPECT_EQ(remove_help_line(), 0);
}

TEST_F(Windows, HintLineNeverWritesTheLastThreeColumns) {
  open_envr_win();
  w4activate(StdHelpWindow());
  ImagePutText(77, 29, "XYZ", 3, 0x4F);
  add_help_line();
  set_fun_help("Enter", "Zatwierdzenie wyboru pozycji", 1);
  set_fun_help("Ctrl+Enter", "Zatwierdzenie wszyst", 2);
  set_fun_help("Shift+Enter", "Inne", 3);   // no longer fits: skipped
  set_fun_help("F1", "Pomoc", 4);           // shorter: drawn, its text cut
  std::string row = Row(29);
  EXPECT_EQ(row.substr(71), "[F1]-PXYZ");
  EXPECT_EQ(Attr(29, 77), 0x4F);
  EXPECT_EQ(row.find("Shift"), std::string::npos);
  add_help_line();
  set_fun_help("ThisKeyIsTooLong", "x", 0);   // 12 characters or more: kept empty
  EXPECT_EQ(Row(29).substr(0, 5), "[]-x ");
}

}  // namespace

namespace {

// The screen hook the lower layers reach the operator through.
using Hook = UiTest;

TEST_F(Hook, QuestionAndMessageBoxWaitForKeysAndRestoreTheScreen) {
  w4define(0, 0, -1, -1);
  w4attribute(0x17);
  w4activate(-1);
  HeadlessSetScript("xnt{ESC}q");
  EXPECT_EQ(ScreenQuestion("Pytanie", Sys("Usunąć?").c_str()), 'T');   // 'x' and 'n' are not answers
  EXPECT_EQ(ScreenQuestion(nullptr, "Dalej?"), SCREEN_KEY_ESC);
  EXPECT_EQ(Row(14), std::string(80, ' '));
  EXPECT_EQ(Attr(14, 40), 0x17);
  ScreenMessageBox(SCREEN_BOX_INFO, nullptr, "Gotowe");
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  EXPECT_EQ(Attr(14, 40), 0x17);
}

TEST_F(Hook, ErrorEntryOfTheLogShowsTheCriticalErrorWindow) {
  open_envr_win();
  HeadlessSetScript("x");
  std::string dumpPath = Path("crit.txt");
  setenv("ZELKIT_DUMP", dumpPath.c_str(), 1);
  ErrLogMessage(EL_ERROR | EL_TEXT, 41, "Brak pliku");
  unsetenv("ZELKIT_DUMP");
  std::string text = ReadFile(dumpPath);
  EXPECT_NE(text.find("ERRCODE(41)"), std::string::npos) << text;
  EXPECT_NE(text.find("(zapisano w pliku ER.Log)"), std::string::npos) << text;
  EXPECT_EQ(HeadlessKeysLeft(), 0);
}

TEST_F(Hook, NoticeStaysUntilSwitchedOff) {
  ScreenNoticeOn("KOMUNIKAT", "Czekaj...");
  bool found = false;
  for (int r = 0; r < 30; r++) found |= Row(r).find("Czekaj...") != std::string::npos;
  EXPECT_TRUE(found);
  ScreenNoticeOff();
  for (int r = 0; r < 30; r++) EXPECT_EQ(Row(r).find("Czekaj..."), std::string::npos);
}

TEST_F(Hook, LockWaitNoticeShowsInTheNetworkWindow) {
  open_envr_win();
  const std::string title = Sys("SIEĆ"), text = Sys("Oczekiwanie na dostęp do danych.");
  ScreenNoticeOn(title.c_str(), text.c_str());
  // 5 x 36 at row 12, column 22: the title in the top frame row, the text centred in row 1 inside.
  EXPECT_EQ(Row(12).find("SIEĆ"), 38u) << Row(12);
  EXPECT_EQ(Attr(12, 38), 232);
  EXPECT_EQ(Attr(16, 22), 142);
  EXPECT_EQ(Cells(14, 23, 34), " Oczekiwanie na dostęp do danych. ");
  EXPECT_EQ(Attr(14, 30), 143);
  EXPECT_EQ(Attr(16, 57), 142);
  ScreenNoticeOff();
  for (int r = 0; r < 30; r++) EXPECT_EQ(Row(r).find("Oczekiwanie"), std::string::npos) << r;
  // A second wait shows the same window again.
  ScreenNoticeOn(title.c_str(), text.c_str());
  EXPECT_NE(Row(14).find("Oczekiwanie"), std::string::npos);
  ScreenNoticeOff();
  EXPECT_EQ(Row(14).find("Oczekiwanie"), std::string::npos);
  close_envr_win();
}

// The grids while boxes waited: F9 in the key script takes one.
std::vector<std::string> shots;
int TakeShot(int32_t, int32_t) {
  std::string grid;
  for (int i = 0; i < Desktop.rows * Desktop.cols; i++) {
    char c = static_cast<char>(Desktop.cells[i] & 0xFF);
    grid += c ? c : ' ';
    if (i % Desktop.cols == Desktop.cols - 1) grid += '\n';
  }
  shots.push_back(MazToUtf8Text(grid.c_str()));
  return 0;
}

class RecordCountTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    if (HasFatalFailure()) return;
    shots.clear();
    g4set_key_to(KEY_F9, TakeShot);
    d4init(&env->engine);
    const DbfFieldDef fields[] = {{"NAZWA", 'C', 10, 0}, {nullptr, 0, 0, 0}};
    DbTable* made = d4create(&env->engine, "KROTKA.DBF", fields, nullptr);
    ASSERT_NE(made, nullptr);
    d4close(made);
    // The header claims five records the file does not hold.
    std::fstream file(Path("KROTKA.DBF"), std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(4);
    file.write("\x05\0\0\0", 4);
  }
  void TearDown() override {
    StopTestEngine(env, table);
    UiTest::TearDown();
  }
  DbTable* table = nullptr;
};

TEST_F(RecordCountTest, RepairIsAskedInAQuestionBoxAndConfirmedInAnInformationBox) {
  env->refuseDamagedTables = 0;
  HeadlessSetScript("{F9}t{F9}x");
  table = d4open(&env->engine, "KROTKA");
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(d4reccount(table), 0);
  ASSERT_EQ(shots.size(), 2u);
  EXPECT_NE(shots[0].find("PYTANIE"), std::string::npos) << shots[0];
  EXPECT_NE(shots[0].find("[T]: Tak     [ESC]: Nie"), std::string::npos) << shots[0];
  EXPECT_NE(shots[0].find("Liczba rekordów zapisana w nagłówku -     5"), std::string::npos) << shots[0];
  EXPECT_EQ(shots[0].find("UWAGA"), std::string::npos) << shots[0];
  EXPECT_NE(shots[1].find("INFORMACJA"), std::string::npos) << shots[1];
  EXPECT_NE(shots[1].find("Skontroluj poprawność ostatnich zapisów."), std::string::npos) << shots[1];
}

TEST_F(RecordCountTest, DamagedTableIsRefusedInAnErrorBox) {
  HeadlessSetScript("{F9}x");
  EXPECT_EQ(d4open(&env->engine, "KROTKA"), nullptr);
  env->engine.error_code = 0;
  ASSERT_EQ(shots.size(), 1u);
  EXPECT_NE(shots[0].find("BŁĄD"), std::string::npos) << shots[0];
  EXPECT_NE(shots[0].find("jest uszkodzona !"), std::string::npos) << shots[0];
  EXPECT_EQ(shots[0].find("Alarm"), std::string::npos) << shots[0];
}

TEST_F(Hook, WaitKeepsTimeMovingAndFatalStopEnds) {
  int64_t start = PlatMonotonicMs();
  ScreenWaitMs(1200);
  EXPECT_EQ(PlatMonotonicMs() - start, 1200);
  EXPECT_EXIT(ScreenFatalStop(1, "koniec"), ::testing::ExitedWithCode(1), "koniec");
}

}  // namespace
