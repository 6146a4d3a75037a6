// Message boxes, prompts, the fixed-answer key routines, thousands groups,
// date displays and the busy sign, on the headless screen.
#include <cstring>
#include <filesystem>
#include <vector>

#include "env/dates.h"
#include "ui/message_box.h"
#include "tests/ui/ui_fixture.h"

namespace {

// The grid as it was while a box waited: F9 in the key script takes it.
std::vector<uint16_t> shot;
int TakeShot(int32_t, int32_t) {
  shot.assign(Desktop.cells, Desktop.cells + Desktop.rows * Desktop.cols);
  return 0;
}

class MessageBoxTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    shot.clear();
    g4set_key_to(KEY_F9, TakeShot);
    // A coloured background shows where the box was and that it is restored.
    w4define(0, 0, -1, -1);
    w4attribute(0x17);
    w4activate(-1);
    before.assign(Desktop.cells, Desktop.cells + Desktop.rows * Desktop.cols);
  }
  static int ShotChar(int row, int col) { return shot[static_cast<size_t>(row * Desktop.cols + col)] & 0xFF; }
  static int ShotAttr(int row, int col) { return shot[static_cast<size_t>(row * Desktop.cols + col)] >> 8; }
  static std::string ShotRow(int row, int col = 0, int count = -1) {
    std::string bytes;
    if (count < 0) count = Desktop.cols - col;
    for (int c = col; c < col + count; c++) bytes += static_cast<char>(ShotChar(row, c) ? ShotChar(row, c) : ' ');
    return MazToUtf8Text(bytes.c_str());
  }
  bool ScreenRestored() const {
    return std::equal(before.begin(), before.end(), Desktop.cells);
  }
  std::vector<uint16_t> before;
};

TEST_F(MessageBoxTest, UwagaOnAnEightyByThirtyGrid) {
  HeadlessSetScript("{F9}x");
  EXPECT_EQ(Uwaga(Sys("Brak danych.").c_str()), 0);
  ASSERT_FALSE(shot.empty());
  // Rows 8 to 13, 31 columns from column 24: the 29-character prompt plus the frame.
  EXPECT_EQ(ShotAttr(7, 30), 0x17);
  EXPECT_EQ(ShotAttr(14, 30), 0x17);
  EXPECT_EQ(ShotAttr(10, 23), 0x17);
  EXPECT_EQ(ShotAttr(10, 55), 0x17);
  EXPECT_EQ(ShotRow(8, 24, 31), "             UWAGA             ");
  EXPECT_EQ(ShotAttr(8, 24), 142);
  EXPECT_EQ(ShotAttr(8, 54), 142);
  EXPECT_EQ(ShotChar(9, 24), 0xCC);
  EXPECT_EQ(ShotChar(13, 24), 0xC8);
  EXPECT_EQ(ShotChar(13, 54), 0xBC);
  EXPECT_EQ(ShotAttr(13, 40), 232);
  EXPECT_EQ(ShotRow(9, 25, 29), std::string(29, ' '));
  EXPECT_EQ(ShotRow(10, 25, 29), "        Brak danych.         ");
  EXPECT_EQ(ShotRow(11, 25, 29), " Naciśnij dowolny klawisz... ");
  EXPECT_EQ(ShotRow(12, 25, 29), std::string(29, ' '));
  EXPECT_EQ(ShotAttr(10, 33), 232);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  EXPECT_TRUE(ScreenRestored());
}

struct BoxCase {
  int flags;
  const char* script;     // F9 takes the screen at the first wait
  int result;
  const char* title;      // UTF-8
  int attr, titleAttr;
  const char* prompt;     // UTF-8; NULL when the prompt line is dropped
};

TEST_F(MessageBoxTest, KindsAndPromptsWaitForTheirKeys) {
  const BoxCase cases[] = {
      {MB_WARNING, "{F9}q", 0, "UWAGA", 232, 142, " Naciśnij dowolny klawisz... "},
      {MB_ERROR, "{F9}{ENTER}", 0, "BŁĄD", 79, 244, " Naciśnij dowolny klawisz... "},
      {MB_INFO, "{F9}{ESC}", 0, "INFORMACJA", 142, 232, " Naciśnij dowolny klawisz... "},
      // 'T' or Esc; 'n' and Enter are not answers of this prompt
      {MB_QUESTION | MB_YES_ESC, "{F9}n{ENTER}t", 't', "PYTANIE", 47, 242, " [T]: Tak     [ESC]: Nie "},
      {MB_QUESTION | MB_YES_ESC, "{F9}{ESC}", KEY_ESC, "PYTANIE", 47, 242, " [T]: Tak     [ESC]: Nie "},
      {MB_QUESTION | MB_ESC_NO, "{F9}tN", 'N', "PYTANIE", 47, 242, " [ESC]: Tak   [N]: Nie "},
      {MB_INFO | MB_F2, "{F9}{ESC}x{F2}", 0, "INFORMACJA", 142, 232, " Naciśnij klawisz F2 "},
      // without its line the prompt still decides which keys end the box
      {MB_WARNING | MB_YES_ESC | MB_NO_PROMPT, "{F9}xT", 'T', "UWAGA", 232, 142, nullptr},
  };
  for (const BoxCase& c : cases) {
    shot.clear();
    HeadlessSetScript(c.script);
    EXPECT_EQ(MessageWindow(c.flags, "Tekst"), c.result) << c.script;
    EXPECT_EQ(HeadlessKeysLeft(), 0) << c.script;
    EXPECT_TRUE(ScreenRestored()) << c.script;
    ASSERT_FALSE(shot.empty());
    int top = c.prompt ? 8 : 9;
    EXPECT_NE(ShotRow(top).find(c.title), std::string::npos) << c.script;
    EXPECT_EQ(ShotAttr(top, 40), c.titleAttr) << c.script;
    EXPECT_EQ(ShotAttr(13, 40), c.attr) << c.script;
    EXPECT_NE(ShotRow(top + 2).find("Tekst"), std::string::npos) << c.script;
    if (c.prompt) {
      EXPECT_NE(ShotRow(11).find(c.prompt), std::string::npos) << c.script;
    }
  }
}

TEST_F(MessageBoxTest, OwnTitleAndMessageNumbers) {
  const std::string typed = Sys("31-02/24");
  HeadlessSetScript("{F9}x");
  EXPECT_EQ(MessageWindow(MB_OWN_TITLE | MB_NO_PROMPT | MB_ERROR, 50136, typed.c_str(), 0), 0);
  // Rows 9 to 13: the title, a blank row, the typed text, a blank row, the frame.
  EXPECT_NE(ShotRow(9).find("Nielegalna data !"), std::string::npos);
  EXPECT_EQ(ShotAttr(9, 40), 244);
  EXPECT_NE(ShotRow(11).find("31-02/24"), std::string::npos);
  EXPECT_EQ(ShotAttr(11, 40), 79);
  EXPECT_EQ(ShotAttr(8, 40), 0x17);
  // An empty title gives -1 without a box or a key.
  HeadlessSetScript("");
  EXPECT_EQ(MessageWindow(MB_OWN_TITLE, nullptr, "Tekst"), -1);
  EXPECT_TRUE(ScreenRestored());
}

TEST_F(MessageBoxTest, LinesAreCutAndCleanedButTheCallersTextIsNot) {
  std::string longText(120, 'x');
  longText[3] = '\n';
  char own[] = "Pierwsza\r\nlinia   ";
  HeadlessSetScript("{F9}x");
  Informacja(longText.c_str());
  EXPECT_EQ(longText.size(), 120u);
  EXPECT_EQ(longText[3], '\n');
  // The box takes the whole width; the line is cut to the inner 78 characters.
  EXPECT_EQ(ShotChar(10, 0), 0xCC);
  EXPECT_EQ(ShotRow(10, 1, 78), "xxx " + std::string(74, 'x'));
  HeadlessSetScript("{F9}x");
  Uwaga(own);
  EXPECT_STREQ(own, "Pierwsza\r\nlinia   ");
  EXPECT_NE(ShotRow(10).find("Pierwsza  linia "), std::string::npos);
}

TEST_F(MessageBoxTest, TextOfSeveralLines) {
  HeadlessSetScript("{F9}x");
  EXPECT_EQ(MessageWindowText(MB_ERROR, "Alarm", "Brak pliku\r\n\nZ5PASS.DBF\n"), 0);
  // Three lines and the prompt: rows 6 to 13.
  EXPECT_NE(ShotRow(6).find("Alarm"), std::string::npos);
  EXPECT_EQ(ShotAttr(6, 40), 244);
  EXPECT_NE(ShotRow(8).find(" Brak pliku "), std::string::npos);
  EXPECT_EQ(ShotRow(9, 25, 29), std::string(29, ' '));
  EXPECT_NE(ShotRow(10).find("Z5PASS.DBF"), std::string::npos);
  EXPECT_NE(ShotRow(11).find("Naciśnij"), std::string::npos);
  HeadlessSetScript("{F9}t");
  EXPECT_EQ(MessageWindowText(MB_QUESTION | MB_YES_ESC, nullptr, "Dalej?"), 't');
  EXPECT_NE(ShotRow(8).find("PYTANIE"), std::string::npos);
  EXPECT_TRUE(ScreenRestored());
}

TEST_F(MessageBoxTest, TallerGridMovesTheBoxDown) {
  Grid(40, 100);
  w4define(0, 0, -1, -1);
  w4attribute(0x17);
  w4activate(-1);
  HeadlessSetScript("{F9}x");
  Alarm("Tekst");
  // The bottom frame row moves from 13 by half of the ten extra rows; centred on 100 columns.
  EXPECT_EQ(ShotChar(18, 34), 0xC8);
  EXPECT_EQ(ShotAttr(19, 40), 0x17);
  EXPECT_EQ(ShotAttr(12, 40), 0x17);
  EXPECT_EQ(ShotAttr(13, 40), 244);
}

TEST_F(MessageBoxTest, PytanieAnswers27OnEsc) {
  HeadlessSetScript("{ESC}");
  EXPECT_EQ(Pytanie(50006), KEY_ESC);
  HeadlessSetScript("T");
  EXPECT_EQ(Pytanie(50006), 'T');
}

TEST_F(MessageBoxTest, FormQuestions) {
  HeadlessSetScript("{ESC}n{ESC}t{ESC}");
  EXPECT_EQ(LeaveQuestion(), 1);   // Esc: yes, leave
  EXPECT_EQ(LeaveQuestion(), 0);
  EXPECT_EQ(SaveQuestion(0), 0);
  EXPECT_EQ(SaveQuestion(4), 1);
  EXPECT_EQ(ContinueQuestion(), 0);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  // Without confirmation every question is yes and no box waits (an empty script would fail).
  env->confirmSave = 'N';
  HeadlessSetScript("");
  EXPECT_EQ(LeaveQuestion(), 1);
  EXPECT_EQ(SaveQuestion(0), 1);
  EXPECT_EQ(ContinueQuestion(), 1);
  EXPECT_TRUE(ScreenRestored());
}

TEST_F(MessageBoxTest, TakNieRoutineRefusesOtherLetters) {
  char buffer[] = " ";
  HeadlessSetScript("x{F9}{SPACE}n");
  EXPECT_EQ(wybierz_tak_nie(nullptr, buffer, 0), KEY_ENTER);
  EXPECT_STREQ(buffer, "N");
  ASSERT_FALSE(shot.empty());
  EXPECT_NE(ShotRow(11).find("Wybierz 'T'-Tak lub 'N'-Nie"), std::string::npos);
  EXPECT_NE(ShotRow(9).find("INFORMACJA"), std::string::npos);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  EXPECT_TRUE(ScreenRestored());
}

struct AnswerCase {
  int (*routine)(Get4*, char*, int32_t);
  const char* buffer;
  const char* script;
  int result;
  const char* after;
};

TEST_F(MessageBoxTest, FixedAnswerRoutines) {
  const AnswerCase cases[] = {
      // a blank buffer takes the default before the first key; a key that ends editing leaves it
      {wybierz_tak_nie, " ", "{TAB}", KEY_TAB, "T"},
      {wybierz_tak_nie, "N", "t", KEY_ENTER, "T"},
      {WybierzTakNie, "   ", "{ESC}", KEY_ESC, "TAK"},
      {WybierzTakNie, "TAK", "N", KEY_ENTER, "NIE"},
      {WybierzTakNie, "NIE", "{F2}", KEY_F2, "NIE"},
      {wybierz_P_W, " ", "{UP}", KEY_UP, "P"},
      {wybierz_P_W, "P", "w", KEY_ENTER, "W"},
      {wybierz_P_W, "W", "t{ENTER}p", KEY_ENTER, "P"},   // 't' refused; the box closes on any key
  };
  for (const AnswerCase& c : cases) {
    char buffer[8];
    std::strcpy(buffer, c.buffer);
    HeadlessSetScript(c.script);
    EXPECT_EQ(c.routine(nullptr, buffer, 0), c.result) << c.script;
    EXPECT_STREQ(buffer, c.after) << c.script;
    EXPECT_EQ(HeadlessKeysLeft(), 0) << c.script;
  }
}

TEST_F(MessageBoxTest, CoreLeftShowsMemoryAndDisk) {
  HeadlessSetScript("{F9}x");
  test_coreleft();
  std::string all;
  for (int r = 0; r < Desktop.rows; r++) all += ShotRow(r) + "\n";
  EXPECT_NE(all.find("INFORMACJA"), std::string::npos);
  EXPECT_NE(all.find("Początkowa ilość pamięci:"), std::string::npos);
  EXPECT_NE(all.find("Bieżąca ilość pamięci   :    1000000"), std::string::npos);
  EXPECT_NE(all.find("Pojemność dysku ( w MB ):"), std::string::npos);
  EXPECT_NE(all.find("Wolne na dysku ( w MB ) :"), std::string::npos);
  EXPECT_EQ(all.find("Naciśnij"), std::string::npos);
}

TEST_F(MessageBoxTest, DiskSpaceSaturatesInsteadOfWrapping) {
  uint32_t total = 1, freeBytes = 1;
  count_disk_space(&total, &freeBytes);
  std::filesystem::space_info space = std::filesystem::space(".");
  auto expect = [](uintmax_t bytes) { return bytes > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(bytes); };
  EXPECT_EQ(total, expect(space.capacity));
  EXPECT_GE(total, freeBytes);
  EXPECT_GT(total, 0u);
}

struct GroupCase {
  const char* text;
  int width, decimals;
  int blanks;
  const char* grouped;
};

TEST(GroupThousands, FixedByTheWidth) {
  const GroupCase cases[] = {
      {"    1234567.89", 14, 2, 3, "     1 234 567.89"},
      {"   12345", 8, 0, 2, "    12 345"},
      {"      12", 8, 0, 2, "        12"},   // groups come from the width, not the digits
      {"123456", 6, 0, 1, "123 456"},
      {"  -1234.5", 9, 1, 2, "   -1 234.5"},
      {"0.50", 4, 2, 0, "0.50"},
      {"12", 2, 0, 0, "12"},
  };
  for (const GroupCase& c : cases) {
    char buffer[40];
    std::memset(buffer, '#', sizeof buffer);
    std::memcpy(buffer, c.text, std::strlen(c.text));
    EXPECT_EQ(GroupThousands(buffer, c.width, c.decimals), c.blanks) << c.text;
    EXPECT_STREQ(buffer, c.grouped) << c.text;
  }
}

TEST_F(MessageBoxTest, NumbersAndDatesInTheWindow) {
  w4double_f(2, 0, 1234567.891, 14, 2);
  EXPECT_EQ(Row(2).substr(0, 18), "     1 234 567.89 ");
  DispDateLong(3, 5, date4long("20240131"));
  EXPECT_EQ(Row(3).substr(5, 9), "31-01/24 ");
  w4(4, 0, "xxxxxxxxxx");
  DispDateLong(4, 1, 0);
  EXPECT_EQ(Row(4).substr(0, 10), "x        x");
}

TEST_F(MessageBoxTest, BusySignTurnsInTheLastColumnOfTheHintLine) {
  open_envr_win();
  int current = w4select(-1);
  std::string signs;
  for (int i = 0; i < 5; i++) {
    ShowBusySpinner();
    signs += static_cast<char>(Char(29, 79));
  }
  // The sign goes round '/', '-', '\\', '|' wherever the last call left it.
  const std::string round = "/-\\|/-\\|";
  EXPECT_EQ(signs, round.substr(round.find(signs[0]), 5));
  EXPECT_EQ(w4select(-1), current);
}

}  // namespace
